// Lines, plain and antialiased. The end points are put in one order first (along the major axis,
// then the other), so a line drawn either way round covers the same pixels. Steps go along the
// major axis from the first end's pixel to the last end's pixel, both included; attributes,
// 1/w among them, are interpolated along the steps. Every pixel goes through the pixel
// pipeline as a one-pixel span.

#include <cassert>
#include <cmath>

#include "glide/Board.h"
#include "glide/Glide.h"

namespace glide
{
namespace
{

constexpr float kCoordinateLimit = 524288.0f;  // as for polygons

struct LineWalk
{
    bool xMajor = true;
    const GrVertex* from = nullptr;
    const GrVertex* to = nullptr;
    int64_t firstStep = 0;  // pixel of the first end along the major axis
    int64_t steps = 0;      // pixels after the first one

    double Fraction(int64_t step) const
    {
        return steps == 0 ? 0.0 : static_cast<double>(step) / static_cast<double>(steps);
    }
    // The minor-axis coordinate at a step.
    double Minor(double fraction) const
    {
        const double a = xMajor ? from->y : from->x;
        const double b = xMajor ? to->y : to->x;
        return a + (b - a) * fraction;
    }
};

bool Prepare(const GrVertex* a, const GrVertex* b, LineWalk& walk)
{
    const auto inRange = [](float v) { return v >= -kCoordinateLimit && v <= kCoordinateLimit; };
    if (!inRange(a->x) || !inRange(a->y) || !inRange(b->x) || !inRange(b->y))
    {
        return false;
    }
    walk.xMajor = std::fabs(b->x - a->x) >= std::fabs(b->y - a->y);
    const auto key = [&](const GrVertex* v)
    { return walk.xMajor ? std::make_pair(v->x, v->y) : std::make_pair(v->y, v->x); };
    walk.from = key(a) <= key(b) ? a : b;
    walk.to = walk.from == a ? b : a;
    const float start = walk.xMajor ? walk.from->x : walk.from->y;
    const float end = walk.xMajor ? walk.to->x : walk.to->y;
    walk.firstStep = static_cast<int64_t>(std::floor(start));
    walk.steps = static_cast<int64_t>(std::floor(end)) - walk.firstStep;
    return true;
}

float Lerp(float a, float b, double t)
{
    return static_cast<float>(a + (b - static_cast<double>(a)) * t);
}

// A one-pixel span: the attributes at the fraction, constant along the row.
SpanPlanes PointPlanes(const LineWalk& walk, double t, int x)
{
    const GrVertex& a = *walk.from;
    const GrVertex& b = *walk.to;
    SpanPlanes planes{};
    planes.originX = x;
    planes.oow = Lerp(a.oow, b.oow, t);
    planes.tmuOow = Lerp(a.tmuvtx[0].oow, b.tmuvtx[0].oow, t);
    planes.sow = Lerp(a.tmuvtx[0].sow, b.tmuvtx[0].sow, t);
    planes.tow = Lerp(a.tmuvtx[0].tow, b.tmuvtx[0].tow, t);
    planes.r = Lerp(a.r, b.r, t);
    planes.g = Lerp(a.g, b.g, t);
    planes.b = Lerp(a.b, b.b, t);
    planes.a = Lerp(a.a, b.a, t);
    return planes;
}

void Plot(const Pipeline& pipeline, const ClipWindow& clip, const LineWalk& walk, double t,
          int64_t major, int64_t minor, int coverage)
{
    const int64_t x = walk.xMajor ? major : minor;
    const int64_t y = walk.xMajor ? minor : major;
    if (coverage <= 0 || x < clip.minX || x >= clip.maxX || y < clip.minY || y >= clip.maxY)
    {
        return;
    }
    const int column = static_cast<int>(x);
    pipeline.lineSpan(pipeline, static_cast<int>(y), column, column + 1,
                      PointPlanes(walk, t, column), coverage);
}

// Plain: the pixel holding the line's minor coordinate at each step.
// Antialiased: the line's centre shares each step between the two pixels whose centres
// straddle it, by distance; coverage 0-255 scales the pixel's alpha.
void DrawLine(const GrVertex* a, const GrVertex* b, bool antialiased)
{
    Board& board = TheBoard();
    assert(!board.lfbLocked && "drawing while the frame buffer is locked");
    LineWalk walk;
    if (a == nullptr || b == nullptr || !board.buffers.IsOpen() || !Prepare(a, b, walk))
    {
        return;
    }
    FinishDrawing();  // lines are drawn at once, after the triangles before them
    const Pipeline& pipeline = CurrentPipeline();
    const ClipWindow clip = VisibleClip(board);
    for (int64_t step = 0; step <= walk.steps; ++step)
    {
        const double t = walk.Fraction(step);
        const double minor = walk.Minor(t);
        const int64_t major = walk.firstStep + step;
        if (!antialiased)
        {
            Plot(pipeline, clip, walk, t, major, static_cast<int64_t>(std::floor(minor)), 255);
            continue;
        }
        const double below = std::floor(minor - 0.5);
        const int share = std::min(255, static_cast<int>((minor - 0.5 - below) * 256.0));
        const int64_t pixel = static_cast<int64_t>(below);
        Plot(pipeline, clip, walk, t, major, pixel, 255 - share);
        Plot(pipeline, clip, walk, t, major, pixel + 1, share);
    }
}

}  // namespace
}  // namespace glide

void grDrawLine(const GrVertex* a, const GrVertex* b)
{
    glide::DrawLine(a, b, false);
}

void grAADrawLine(const GrVertex* a, const GrVertex* b)
{
    glide::DrawLine(a, b, true);
}
