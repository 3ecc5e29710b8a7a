#pragma once

// The library-wide state of 2D drawing and fog: the clip rectangle that blits, fills, text and
// overlays are cut to, and the fog tables generated so far. One instance, living as long as
// the library; main thread only.

#include "render/draw/Fog.h"
#include "render/draw/PixelSurface.h"

namespace render
{

struct DrawState
{
    Rect clip{0, 0, 640, 480};
    FogTables fogTables;
};

DrawState& TheDrawState();

}  // namespace render
