#pragma once

// Clipping of a projected polygon to the viewport in integer screen coordinates: against
// x = 0, x = width, y = 0 and y = height, the whole polygon against one boundary at a time,
// so that a polygon over a corner of the screen keeps the corner. A point is inside when
// 0 <= x <= width and 0 <= y <= height.
//
// At a cut the other coordinate is c0 + (limit - x0)(c1 - c0) / (x1 - x0), truncated toward
// zero; with s the screen fraction of the cut from the edge's first corner, q = q0 + s (q1 -
// q0), and u, v and the colours follow the perspective-correct fraction s q1 / q.
//
// Corners live in fixed buffers, so that clipping never allocates. A polygon that would grow
// beyond kMaxClipCorners is not drawn: such a polygon is far beyond anything the board draws.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/world/MeshRecords.h"

namespace render::vector
{
// A polygon corner on its way through clipping.
struct ClipVertex
{
    Vector3 view;
    float q = 0.0f;  // 1 / z; z itself before the near plane
    int32_t screenX = 0;
    int32_t screenY = 0;
    float u = 0.0f;
    float v = 0.0f;
    int32_t colour[3] = {};  // red, green, blue 0-255
};

inline constexpr size_t kMaxClipCorners = 64;

// A polygon's corners, in order, in a buffer of kMaxClipCorners.
class ClipCorners
{
public:
    // False when the buffer is full (the corner is not kept).
    bool Add(const ClipVertex& corner)
    {
        if (count_ == corners_.size())
        {
            return false;
        }
        corners_[count_++] = corner;
        return true;
    }
    void Clear() { count_ = 0; }
    void CopyFrom(const ClipCorners& other)
    {
        std::copy_n(other.corners_.begin(), other.count_, corners_.begin());
        count_ = other.count_;
    }

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    ClipVertex& operator[](size_t i) { return corners_[i]; }
    const ClipVertex& operator[](size_t i) const { return corners_[i]; }
    ClipVertex* begin() { return corners_.data(); }
    ClipVertex* end() { return corners_.data() + count_; }
    const ClipVertex* begin() const { return corners_.data(); }
    const ClipVertex* end() const { return corners_.data() + count_; }

private:
    std::array<ClipVertex, kMaxClipCorners> corners_;
    size_t count_ = 0;
};

// polygon is replaced by the clipped one (empty when nothing is left or it would not fit);
// scratch is working space.
void ClipToScreen(ClipCorners& polygon, ClipCorners& scratch, int32_t width, int32_t height);

// Clips the polygon against one boundary: keeps the corners that are inside and puts a cut,
// computed from the edge's first corner, between an inside and an outside one. A polygon
// wholly inside is left as it is; one that would not fit is emptied.
template <class Inside, class Cut>
void ClipAgainst(ClipCorners& polygon, ClipCorners& scratch, Inside inside, Cut cut)
{
    const size_t count = polygon.size();
    size_t insideCount = 0;
    for (const ClipVertex& corner : polygon)
    {
        insideCount += inside(corner) ? 1 : 0;
    }
    if (insideCount == count)
    {
        return;
    }
    scratch.Clear();
    for (size_t i = 0; i < count && insideCount != 0; ++i)
    {
        const ClipVertex& start = polygon[i];
        const ClipVertex& end = polygon[i + 1 < count ? i + 1 : 0];
        const bool startInside = inside(start);
        if ((startInside && !scratch.Add(start)) ||
            (startInside != inside(end) && !scratch.Add(cut(start, end))))
        {
            scratch.Clear();
            break;
        }
    }
    polygon.CopyFrom(scratch);
}
}  // namespace render::vector
