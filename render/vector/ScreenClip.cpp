#include "render/vector/ScreenClip.h"

#include <algorithm>

namespace render::vector
{
namespace
{
enum class Axis
{
    X,
    Y,
};

int32_t Along(const ClipVertex& vertex, Axis axis)
{
    return axis == Axis::X ? vertex.screenX : vertex.screenY;
}

// The cut of the edge with the line where the axis' coordinate is limit.
ClipVertex CutAt(const ClipVertex& start, const ClipVertex& end, Axis axis, int32_t limit)
{
    const int64_t from = Along(start, axis);
    const int64_t span = Along(end, axis) - from;  // not 0: the ends lie on both sides
    const int64_t otherStart = axis == Axis::X ? start.screenY : start.screenX;
    const int64_t otherEnd = axis == Axis::X ? end.screenY : end.screenX;
    const auto other =
        static_cast<int32_t>(otherStart + (limit - from) * (otherEnd - otherStart) / span);

    const float s = static_cast<float>(limit - from) / static_cast<float>(span);
    ClipVertex cut;
    cut.q = start.q + s * (end.q - start.q);
    const float t = s * end.q / cut.q;
    cut.u = start.u + t * (end.u - start.u);
    cut.v = start.v + t * (end.v - start.v);
    for (int channel = 0; channel < 3; ++channel)
    {
        cut.colour[channel] = static_cast<int32_t>(
            static_cast<float>(start.colour[channel]) +
            t * static_cast<float>(end.colour[channel] - start.colour[channel]));
    }
    cut.screenX = axis == Axis::X ? limit : other;
    cut.screenY = axis == Axis::X ? other : limit;
    return cut;
}

void ClipAgainstLimit(ClipCorners& polygon, ClipCorners& scratch, Axis axis, int32_t limit,
                      bool keepAbove)
{
    ClipAgainst(
        polygon, scratch,
        [=](const ClipVertex& vertex)
        { return keepAbove ? Along(vertex, axis) >= limit : Along(vertex, axis) <= limit; },
        [=](const ClipVertex& start, const ClipVertex& end)
        { return CutAt(start, end, axis, limit); });
}
}  // namespace

void ClipToScreen(ClipCorners& polygon, ClipCorners& scratch, int32_t width, int32_t height)
{
    // Most polygons lie wholly on the screen: one look at each corner instead of four.
    const auto onScreen = [=](const ClipVertex& vertex)
    {
        return vertex.screenX >= 0 && vertex.screenX <= width && vertex.screenY >= 0 &&
               vertex.screenY <= height;
    };
    if (std::ranges::all_of(polygon, onScreen))
    {
        return;
    }
    ClipAgainstLimit(polygon, scratch, Axis::X, 0, true);
    ClipAgainstLimit(polygon, scratch, Axis::X, width, false);
    ClipAgainstLimit(polygon, scratch, Axis::Y, 0, true);
    ClipAgainstLimit(polygon, scratch, Axis::Y, height, false);
}
}  // namespace render::vector
