#pragma once

// The flat ground of a generated circuit: cross-sections half a node step either side of every
// main-line node, across the track (surface 4) and a grass run-off (surface 3) on both sides,
// two triangles per quad, each wound as the ground lookup expects and linked to its neighbours.
// The cross-sections' columns keep clear of the line's nodes, so that no node or start slot
// lies on a triangle's edge.

#include <cstdint>
#include <vector>

#include "kit/race/CentreLine.h"
#include "kit/race/CircuitGenerator.h"

namespace kit
{
// nodes cross-sections' worth of quads from the node at start on, spacing apart.
std::vector<TrackTriangle> BuildGroundMesh(const CentreLine& centre, double start, double spacing,
                                           uint16_t nodes, const CircuitShape& shape);

// Twice the signed area of the triangle in the x/z plane; the ground lookup's inside test
// wants it negative.
double SignedArea(const TrackTriangle& triangle);
}  // namespace kit
