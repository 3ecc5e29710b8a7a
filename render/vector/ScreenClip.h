#pragma once

// Clipping of a projected polygon to the viewport in integer screen coordinates: against
// x = 0, x = width, y = 0 and y = height, the whole polygon against one boundary at a time,
// so that a polygon over a corner of the screen keeps the corner. A point is inside when
// 0 <= x <= width and 0 <= y <= height.
//
// At a cut the other coordinate is c0 + (limit - x0)(c1 - c0) / (x1 - x0), truncated toward
// zero; with s the screen fraction of the cut from the edge's first corner, q = q0 + s (q1 -
// q0), and u, v and the colours follow the perspective-correct fraction s q1 / q.

#include <cstdint>
#include <vector>

#include "render/vector/VectorEngine.h"

namespace render::vector
{
// polygon is replaced by the clipped one (empty when nothing is left); scratch is working
// space.
void ClipToScreen(std::vector<ClipVertex>& polygon, std::vector<ClipVertex>& scratch, int32_t width,
                  int32_t height);

// Keeps the corners that are inside and puts a cut between an inside and an outside one,
// computed from the edge's first corner.
template <class Inside, class Cut>
void ClipPolygon(const std::vector<ClipVertex>& polygon, std::vector<ClipVertex>& clipped,
                 Inside inside, Cut cut)
{
    clipped.clear();
    const size_t count = polygon.size();
    for (size_t i = 0; i < count; ++i)
    {
        const ClipVertex& start = polygon[i];
        const ClipVertex& end = polygon[i + 1 < count ? i + 1 : 0];
        const bool startInside = inside(start);
        if (startInside)
        {
            clipped.push_back(start);
        }
        if (startInside != inside(end))
        {
            clipped.push_back(cut(start, end));
        }
    }
}
}  // namespace render::vector
