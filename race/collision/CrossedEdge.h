#pragma once

// The border edge a ground walk crossed when it left the ground, as a direction to bounce
// off: what a sliding bike and a knocked object both need. Main thread.

#include "race/ground/GroundQuery.h"

struct CrossedEdge
{
    float x0, z0;  // the edge's first corner
    float ux, uz;  // unit direction along it; the ground lies on the side of (uz, -ux)
    int corner;    // 0..2: the edge's index in its triangle

    // The walk's crossed edge; false when it crossed none or the edge has no length.
    static bool Of(const GroundQuery& query, CrossedEdge& edge);

    // How far (x, z) lies beyond the edge; negative on the ground's side.
    float Outside(float x, float z) const { return (z - z0) * ux - (x - x0) * uz; }

    // (vx, vz) mirrored about the edge and scaled.
    void Reflect(float& vx, float& vz, float scale) const
    {
        const float along = vx * ux + vz * uz;
        vx = (2.0f * along * ux - vx) * scale;
        vz = (2.0f * along * uz - vz) * scale;
    }
};
