#pragma once

// The ground queries: height and surface id of the ground under a point, by a full scan of
// the circuit's triangles, from a cached triangle, or by walking from the cached triangle
// along a move. A caller fills a GroundQuery, calls, and reads the results from it; each
// rider and object keeps its own cached triangle and copies it in and out around the call,
// so that a moving bike walks a few triangles a step and never scans the whole list.
//
// A cached triangle that names no triangle of the list (0 before the first lookup, or any
// stale value) costs a full scan, counted in fallbackCount. No query reads outside the list.
// Main thread; nothing allocates.

#include <cstdint>

#include "race/ground/GroundMesh.h"

struct GroundQuery
{
    static constexpr float kEpsilon = 1e-5f;
    static constexpr float kLowLimit = -0.01f;
    static constexpr float kHighLimit = 1.01f;
    static constexpr int32_t kNoGround = -1;

    uint32_t cachedTriangle = 0;  // byte offset of the last triangle found
    const GroundMesh* triangleList = nullptr;
    float x1 = 0.0f;  // the query point, and the start of a move
    float z1 = 0.0f;
    float x2 = 0.0f;  // the end of a move
    float z2 = 0.0f;
    float height = 0.0f;          // result
    int32_t surface = kNoGround;  // result
    uint32_t fallbackCount = 0;   // lookups that ended in a full scan
    float t = 0.0f;               // intersection parameters of the last edge tried
    float s = 0.0f;
    float bestT = kLowLimit;
    int32_t exitEdge = -1;  // -1, or 0, 4, 8 for edges 0, 1, 2
};

// Full scan for (x1, z1): the first triangle that holds it gives height, surface and the
// cached triangle; none gives surface -1 and leaves the rest.
void GroundLookup(GroundQuery& query);
// The same from the cached triangle to the end of the list; a cache one past the last
// triangle gives -1 at once.
void GroundLookupCached(GroundQuery& query);
// Height and surface at (x2, z2), walking from the cached triangle across the edges the move
// from (x1, z1) crosses. A move that leaves the ground at a border gives surface -1 and keeps
// the last triangle crossed; one that crosses no edge of a triangle it has left ends in a full
// scan.
void GroundWalk(GroundQuery& query);
// Which edge of the cached triangle (x2, z2) lies outside of: -1 inside; a cache that names no
// triangle counts as outside edge 0.
void GroundEdgeCheck(GroundQuery& query);
