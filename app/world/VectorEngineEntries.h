#pragma once

// The vector engine's entry points as the object world calls them: the render library's
// vecdll_ exports, bound by name when the library is loaded. An unbound entry is skipped.

#include "render/RenderApi.h"

struct VectorEngineEntries
{
    decltype(&vecdll_init) init = nullptr;
    decltype(&vecdll_SetVectorVars) setVectorVars = nullptr;
    decltype(&vecdll_Draw) draw = nullptr;
    decltype(&vecdll_recalc_matrix) recalcMatrix = nullptr;
    decltype(&vecdll_collrotateall) collRotateAll = nullptr;
};
