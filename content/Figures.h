#pragma once

// Figures of 13 parts, riders and marshals alike: each part hangs from its parent part at the
// rider figure's joint, the hip from the given node (or from nothing). Main thread.

#include <array>
#include <cstdint>

#include "content/FieldTables.h"

struct WorldObject;

namespace content
{
struct LoadSession;

// By part number.
using FigureNodes = std::array<WorldObject*, kFigureParts>;

// Attaches every part in joint order; the hip to hipParent unless it is null.
void AttachFigure(LoadSession& session, const FigureNodes& parts, WorldObject* hipParent);
// Clones of every part of the source, in part order; false when the arena is full.
bool CloneFigure(LoadSession& session, const FigureNodes& source, FigureNodes& clones);
}  // namespace content
