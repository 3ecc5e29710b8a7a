#include "glide/TriangleSetup.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace glide
{
namespace
{

constexpr int kSubpixels = 16;
constexpr float kCoordinateLimit = 524288.0f;  // 2^19 pixels: edge products stay in 64 bits

struct SnappedPoint
{
    int64_t x = 0;  // 1/16 pixel
    int64_t y = 0;
};

bool Snap(const GrVertex& vertex, SnappedPoint& point)
{
    const auto inRange = [](float v) { return v >= -kCoordinateLimit && v <= kCoordinateLimit; };
    if (!inRange(vertex.x) || !inRange(vertex.y))  // also not a number
    {
        return false;
    }
    point.x = static_cast<int64_t>(std::floor(vertex.x * kSubpixels + 0.5f));
    point.y = static_cast<int64_t>(std::floor(vertex.y * kSubpixels + 0.5f));
    return true;
}

int64_t FloorDivide(int64_t numerator, int64_t denominator)  // denominator > 0
{
    const int64_t quotient = numerator / denominator;
    return quotient - ((numerator % denominator != 0 && numerator < 0) ? 1 : 0);
}

int64_t CeilDivide(int64_t numerator, int64_t denominator)  // denominator > 0
{
    return -FloorDivide(-numerator, denominator);
}

Edge MakeEdge(const SnappedPoint& from, const SnappedPoint& to)
{
    const int64_t dx = to.x - from.x;
    const int64_t dy = to.y - from.y;
    const bool topOrLeft = dy < 0 || (dy == 0 && dx > 0);
    return {-dy, dx, dy * from.x - dx * from.y, topOrLeft ? 0 : -1};
}

// The columns one edge lets through, row after row: the bound is a floor or ceiling of
// need / (16 a), where need falls by 16 b a row, so after the first row it follows by exact
// integer steps (quotient and remainder) instead of a 64-bit division per row.
class EdgeWalker
{
public:
    EdgeWalker(const Edge& edge, int64_t centreY)
        : need_(-(edge.a * (kSubpixels / 2) + edge.b * centreY + edge.c + edge.bias)),
          needStep_(-edge.b * kSubpixels),
          sign_(edge.a > 0 ? 1 : (edge.a < 0 ? -1 : 0))
    {
        if (sign_ == 0)
        {
            return;
        }
        // Inside: 16 a x >= need, so x >= ceil(need / 16a) for a > 0 and
        // x <= floor(-need / -16a) for a < 0.
        divisor_ = sign_ * edge.a * kSubpixels;
        const int64_t value = sign_ * need_;
        quotient_ = FloorDivide(value, divisor_);
        remainder_ = value - quotient_ * divisor_;
        const int64_t step = sign_ * needStep_;
        stepQuotient_ = FloorDivide(step, divisor_);
        stepRemainder_ = step - stepQuotient_ * divisor_;
    }

    // Narrows [first, last] to the columns whose centres lie inside the edge on this row.
    void Limit(int64_t& first, int64_t& last) const
    {
        if (sign_ > 0)
        {
            first = std::max(first, quotient_ + (remainder_ != 0 ? 1 : 0));
        }
        else if (sign_ < 0)
        {
            last = std::min(last, quotient_);
        }
        else if (need_ > 0)
        {
            last = first - 1;
        }
    }

    void NextRow()
    {
        need_ += needStep_;
        remainder_ += stepRemainder_;
        // Without a branch: whether the remainder wraps follows the edge's slope, which no
        // predictor guesses on triangles a few rows high.
        const int64_t wraps = -static_cast<int64_t>(remainder_ >= divisor_);
        remainder_ -= divisor_ & wraps;
        quotient_ += stepQuotient_ - wraps;
    }

private:
    int64_t need_;
    int64_t needStep_;
    int sign_;
    int64_t divisor_ = 1;  // 16 |a|
    int64_t quotient_ = 0;
    int64_t remainder_ = 0;  // 0 <= remainder < divisor
    int64_t stepQuotient_ = 0;
    int64_t stepRemainder_ = 0;
};

class PlaneSetup
{
public:
    PlaneSetup(const SnappedPoint (&points)[3], int64_t doubleArea)
        : x0_(static_cast<double>(points[0].x) / kSubpixels),
          y0_(static_cast<double>(points[0].y) / kSubpixels),
          ex1_(static_cast<double>(points[1].x - points[0].x) / kSubpixels),
          ey1_(static_cast<double>(points[1].y - points[0].y) / kSubpixels),
          ex2_(static_cast<double>(points[2].x - points[0].x) / kSubpixels),
          ey2_(static_cast<double>(points[2].y - points[0].y) / kSubpixels),
          determinant_(static_cast<double>(doubleArea) / (kSubpixels * kSubpixels))
    {
    }

    Plane Make(float f0, float f1, float f2) const
    {
        const double d1 = static_cast<double>(f1) - f0;
        const double d2 = static_cast<double>(f2) - f0;
        Plane plane;
        plane.dx = (d1 * ey2_ - d2 * ey1_) / determinant_;
        plane.dy = (d2 * ex1_ - d1 * ex2_) / determinant_;
        plane.atOrigin = f0 - plane.dx * x0_ - plane.dy * y0_;
        return plane;
    }

private:
    double x0_, y0_, ex1_, ey1_, ex2_, ey2_, determinant_;
};

// The planes along row y (pixel centre y + 0.5) from column originX.
SpanPlanes RowPlanes(const TriangleSetup& t, int y)
{
    const double centreX = t.originX + 0.5;
    const double centreY = y + 0.5;
    const auto base = [&](const Plane& p)
    { return static_cast<float>(p.atOrigin + p.dx * centreX + p.dy * centreY); };
    const auto step = [](const Plane& p) { return static_cast<float>(p.dx); };
    return {t.originX,   base(t.oow), base(t.tmuOow), base(t.sow), base(t.tow),    base(t.r),
            base(t.g),   base(t.b),   base(t.a),      step(t.oow), step(t.tmuOow), step(t.sow),
            step(t.tow), step(t.r),   step(t.g),      step(t.b),   step(t.a)};
}

}  // namespace

bool SetUpTriangle(const Pipeline& pipeline, const ClipWindow& clip, const GrVertex& v0,
                   const GrVertex& v1, const GrVertex& v2, TriangleSetup& setup)
{
    SnappedPoint points[3];
    if (!Snap(v0, points[0]) || !Snap(v1, points[1]) || !Snap(v2, points[2]))
    {
        return false;
    }
    int64_t doubleArea = (points[1].x - points[0].x) * (points[2].y - points[0].y) -
                         (points[1].y - points[0].y) * (points[2].x - points[0].x);
    if (doubleArea == 0)
    {
        return false;
    }
    const GrVertex* second = &v1;
    const GrVertex* third = &v2;
    if (doubleArea < 0)  // either winding is drawn: turn it to the one the edges expect
    {
        std::swap(points[1], points[2]);
        std::swap(second, third);
        doubleArea = -doubleArea;
    }

    const int64_t top = std::min({points[0].y, points[1].y, points[2].y});
    const int64_t bottom = std::max({points[0].y, points[1].y, points[2].y});
    // Rows whose centre 16 y + 8 lies within [top, bottom].
    const int64_t firstRow = std::max<int64_t>(clip.minY, CeilDivide(top - 8, kSubpixels));
    const int64_t lastRow = std::min<int64_t>(clip.maxY - 1, FloorDivide(bottom - 8, kSubpixels));
    if (firstRow > lastRow || clip.minX >= clip.maxX)
    {
        return false;
    }

    setup.pipeline = &pipeline;
    setup.edges[0] = MakeEdge(points[0], points[1]);
    setup.edges[1] = MakeEdge(points[1], points[2]);
    setup.edges[2] = MakeEdge(points[2], points[0]);
    const PlaneSetup planes(points, doubleArea);
    const GrVertex& a = v0;
    const GrVertex& b = *second;
    const GrVertex& c = *third;
    setup.oow = planes.Make(a.oow, b.oow, c.oow);
    setup.tmuOow = planes.Make(a.tmuvtx[0].oow, b.tmuvtx[0].oow, c.tmuvtx[0].oow);
    setup.sow = planes.Make(a.tmuvtx[0].sow, b.tmuvtx[0].sow, c.tmuvtx[0].sow);
    setup.tow = planes.Make(a.tmuvtx[0].tow, b.tmuvtx[0].tow, c.tmuvtx[0].tow);
    setup.r = planes.Make(a.r, b.r, c.r);
    setup.g = planes.Make(a.g, b.g, c.g);
    setup.b = planes.Make(a.b, b.b, c.b);
    setup.a = planes.Make(a.a, b.a, c.a);
    setup.originX = static_cast<int>(
        FloorDivide(std::min({points[0].x, points[1].x, points[2].x}), kSubpixels));
    setup.firstRow = static_cast<int>(firstRow);
    setup.lastRow = static_cast<int>(lastRow);
    setup.minX = clip.minX;
    setup.maxX = clip.maxX;
    return true;
}

void DrawTriangleRows(const TriangleSetup& triangle, int rowBegin, int rowEnd)
{
    const Pipeline& pipeline = *triangle.pipeline;
    const int first = std::max(rowBegin, triangle.firstRow);
    const int last = std::min(rowEnd - 1, triangle.lastRow);
    if (first > last)
    {
        return;
    }
    const int64_t centreY = int64_t{first} * kSubpixels + kSubpixels / 2;
    EdgeWalker walkers[3] = {EdgeWalker(triangle.edges[0], centreY),
                             EdgeWalker(triangle.edges[1], centreY),
                             EdgeWalker(triangle.edges[2], centreY)};
    for (int row = first; row <= last; ++row)
    {
        int64_t firstColumn = triangle.minX;
        int64_t lastColumn = triangle.maxX - 1;
        for (EdgeWalker& walker : walkers)
        {
            walker.Limit(firstColumn, lastColumn);
            walker.NextRow();
        }
        if (firstColumn <= lastColumn)
        {
            pipeline.triangleSpan(pipeline, row, static_cast<int>(firstColumn),
                                  static_cast<int>(lastColumn) + 1, RowPlanes(triangle, row), 255);
        }
    }
}

}  // namespace glide
