#pragma once

// Triangles prepared for drawing, so that their rows can be drawn later and in any grouping.
//
// Vertex positions are snapped to 1/16 pixel. A pixel is covered when its centre
// (x + 0.5, y + 0.5) lies inside the triangle by exact 64-bit edge functions; a centre on an
// edge belongs to the triangle only on a top or left edge, so triangles sharing an edge (the
// fan's own, or a neighbour's) cover each of its pixels exactly once. Attribute planes are set
// up in double from the snapped positions and evaluated at each pixel centre; colours are
// affine in screen space, texture coordinates perspective-correct through the unit's 1/w.

#include <cstdint>

#include "glide/Glide.h"
#include "glide/Pipeline.h"
#include "glide/RenderState.h"

namespace glide
{

// E(px, py) = a px + b py + c over pixel centres in 1/16 pixel, positive inside; a centre is
// in when E + bias >= 0.
struct Edge
{
    int64_t a = 0;
    int64_t b = 0;
    int64_t c = 0;
    int64_t bias = 0;
};

// One attribute over the triangle: value(x, y) = atOrigin + dx x + dy y at pixel coordinates.
struct Plane
{
    double atOrigin = 0.0;
    double dx = 0.0;
    double dy = 0.0;
};

struct TriangleSetup
{
    const Pipeline* pipeline = nullptr;
    Edge edges[3];
    Plane oow, tmuOow, sow, tow, r, g, b, a;
    int originX = 0;   // column the span planes start from: the leftmost vertex's
    int firstRow = 0;  // rows with covered pixels, inside the clip window
    int lastRow = -1;
    int minX = 0;  // clip window columns, maxX exclusive
    int maxX = 0;
};

// False when the triangle covers no pixel row inside the clip window (or a position is not a
// number or beyond 2^19 pixels).
bool SetUpTriangle(const Pipeline& pipeline, const ClipWindow& clip, const GrVertex& v0,
                   const GrVertex& v1, const GrVertex& v2, TriangleSetup& setup);

// Draws the triangle's rows that lie in [rowBegin, rowEnd).
void DrawTriangleRows(const TriangleSetup& triangle, int rowBegin, int rowEnd);

}  // namespace glide
