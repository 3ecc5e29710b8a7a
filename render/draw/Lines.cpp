#include "render/draw/Lines.h"

#include <algorithm>
#include <utility>

#include "glide/Glide.h"
#include "render/RenderState.h"
#include "render/Screen.h"
#include "render/draw/ConstantColour.h"

namespace render
{
namespace
{

std::optional<LineEnds> ClipVerticalLine(int32_t x, int32_t y1, int32_t y2, const Rect& clip)
{
    const int64_t last = int64_t{clip.bottom} - 1;
    const auto [top, bottom] = std::minmax(y1, y2);
    if (x < clip.left || x >= clip.right || bottom < clip.top || top > last)
    {
        return std::nullopt;
    }
    const auto fx = static_cast<float>(x);
    return LineEnds{fx, static_cast<float>(std::max(top, clip.top)), fx,
                    static_cast<float>(std::min<int64_t>(bottom, last))};
}

// Cuts the line p(t) = start + t (end - start), 0 <= t <= 1, to the clip rectangle's pixels.
std::optional<LineEnds> ClipSlantedLine(double x1, double y1, double x2, double y2,
                                        const Rect& clip)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    // Per side: p t <= q keeps the point inside.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - clip.left, clip.right - 1.0 - x1, y1 - clip.top,
                         clip.bottom - 1.0 - y1};
    double enter = 0.0;
    double leave = 1.0;
    for (int side = 0; side < 4; ++side)
    {
        if (p[side] == 0.0)
        {
            if (q[side] < 0.0)
            {
                return std::nullopt;
            }
            continue;
        }
        const double cut = q[side] / p[side];
        if (p[side] < 0.0)
        {
            enter = std::max(enter, cut);
        }
        else
        {
            leave = std::min(leave, cut);
        }
    }
    if (enter > leave)
    {
        return std::nullopt;
    }
    const auto at = [](double from, double delta, double t)
    { return static_cast<float>(from + delta * t); };
    return LineEnds{at(x1, dx, enter), at(y1, dy, enter), at(x1, dx, leave), at(y1, dy, leave)};
}

// The board takes ABGR; the game gives ARGB.
GrColor LineColour(uint32_t argb)
{
    const uint32_t alpha = (argb >> 24) != 0 ? argb >> 24 : 0xFF;
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16 | alpha << 24;
}

GrVertex LineVertex(float x, float y, float oow)
{
    GrVertex vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.oow = oow;
    return vertex;
}

}  // namespace

std::optional<LineEnds> ClipLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Rect& clip)
{
    if (x1 == x2)
    {
        return ClipVerticalLine(x1, y1, y2, clip);
    }
    if (x1 > x2)
    {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    return ClipSlantedLine(x1, y1, x2, y2, clip);
}

void DrawLine(Screen& screen, const Rect& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              uint32_t colour, float depth, bool antialiased)
{
    screen.ReleaseLfb();
    if (!screen.IsActive())
    {
        return;
    }
    const std::optional<LineEnds> ends = ClipLine(x1, y1, x2, y2, clip);
    if (!ends)
    {
        return;
    }
    grDepthBufferFunction(GrCmpFunction::Always);
    grDepthMask(true);
    UseConstantColourAndAlpha();
    grConstantColorValue(LineColour(colour));
    const float oow = OneOverDepth(depth);
    const GrVertex a = LineVertex(ends->x1, ends->y1, oow);
    const GrVertex b = LineVertex(ends->x2, ends->y2, oow);
    if (antialiased)
    {
        grAADrawLine(&a, &b);
    }
    else
    {
        grDrawLine(&a, &b);
    }
    SetRenderStateDefaults();
}

}  // namespace render
