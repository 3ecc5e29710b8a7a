#include "race/ground/GroundQuery.h"

#include <bit>
#include <cmath>

namespace
{
bool InLimits(float value)
{
    return value >= GroundQuery::kLowLimit && value <= GroundQuery::kHighLimit;
}

bool AboveEpsilon(float value)
{
    return std::fabs(value) > GroundQuery::kEpsilon;
}

// Later points along the move compare larger; read as signed integers, no negative t (not
// even -0.0) ever beats the start value kLowLimit.
bool FurtherAlong(float t, float bestT)
{
    return std::bit_cast<int32_t>(t) > std::bit_cast<int32_t>(bestT);
}

// Where the move from (x1, z1) to (x2, z2) meets the edge: t along the move, s along the
// edge. False when they are parallel or either parameter lies outside the limits.
bool IntersectEdge(GroundQuery& query, const GroundTriangle& triangle, int edge)
{
    const int to = edge == 2 ? 0 : edge + 1;
    const float xA = triangle.x[edge];
    const float zA = triangle.z[edge];
    const float ex = triangle.x[to] - xA;
    const float ez = triangle.z[to] - zA;
    const float mx = query.x1 - query.x2;
    const float mz = query.z1 - query.z2;
    if (AboveEpsilon(ez))
    {
        const float r = ex / ez;
        const float den = mx - mz * r;
        if (!AboveEpsilon(den))
        {
            return false;
        }
        query.t = ((query.x1 - xA) - (query.z1 - zA) * r) / den;
        if (!InLimits(query.t))
        {
            return false;
        }
        query.s = ((query.z1 - zA) - mz * query.t) / ez;
        return InLimits(query.s);
    }
    if (!AboveEpsilon(mz))
    {
        return false;
    }
    query.t = (query.z1 - zA) / mz;
    if (!InLimits(query.t) || !AboveEpsilon(ex))
    {
        return false;
    }
    query.s = ((query.x1 - xA) - mx * query.t) / ex;
    return InLimits(query.s);
}

void ScanFrom(GroundQuery& query, uint32_t firstIndex)
{
    const GroundMesh& mesh = *query.triangleList;
    for (uint32_t index = firstIndex; index < mesh.Count(); ++index)
    {
        const GroundTriangle triangle = mesh.Triangle(GroundMesh::OffsetOf(index));
        if (triangle.Contains(query.x1, query.z1))
        {
            query.cachedTriangle = GroundMesh::OffsetOf(index);
            query.height = triangle.HeightAt(query.x1, query.z1);
            query.surface = static_cast<int32_t>(triangle.surface);
            return;
        }
    }
    query.surface = GroundQuery::kNoGround;
}

// The walk has lost its way: a full scan at the move's end.
void FallBackToScan(GroundQuery& query)
{
    query.x1 = query.x2;
    query.z1 = query.z2;
    ++query.fallbackCount;
    ScanFrom(query, 0);
}
}  // namespace

void GroundLookup(GroundQuery& query)
{
    if (query.triangleList == nullptr)
    {
        query.surface = GroundQuery::kNoGround;
        return;
    }
    ScanFrom(query, 0);
}

void GroundLookupCached(GroundQuery& query)
{
    const GroundMesh* mesh = query.triangleList;
    if (mesh == nullptr || query.cachedTriangle == GroundMesh::OffsetOf(mesh->Count()))
    {
        query.surface = GroundQuery::kNoGround;
        return;
    }
    if (!mesh->IsTriangle(query.cachedTriangle))
    {
        ++query.fallbackCount;
        ScanFrom(query, 0);
        return;
    }
    ScanFrom(query, GroundMesh::IndexOf(query.cachedTriangle));
}

void GroundWalk(GroundQuery& query)
{
    const GroundMesh* mesh = query.triangleList;
    if (mesh == nullptr)
    {
        query.surface = GroundQuery::kNoGround;
        return;
    }
    query.bestT = GroundQuery::kLowLimit;
    // Each triangle crossed lies further along the move, so a sound mesh never needs more
    // crossings than it has triangles; a mesh whose links go round in circles does.
    for (uint32_t crossings = 0; crossings <= mesh->Count(); ++crossings)
    {
        if (!mesh->IsTriangle(query.cachedTriangle))
        {
            break;
        }
        const GroundTriangle triangle = mesh->Triangle(query.cachedTriangle);
        if (triangle.Contains(query.x2, query.z2))
        {
            query.height = triangle.HeightAt(query.x2, query.z2);
            query.surface = static_cast<int32_t>(triangle.surface);
            return;
        }
        query.exitEdge = -1;
        for (int edge = 0; edge < 3; ++edge)
        {
            if (IntersectEdge(query, triangle, edge) && FurtherAlong(query.t, query.bestT))
            {
                query.exitEdge = 4 * edge;
                query.bestT = query.t;
            }
        }
        if (query.exitEdge < 0)
        {
            break;
        }
        const uint32_t neighbour = triangle.neighbours[query.exitEdge / 4];
        if (neighbour == GroundTriangle::kBorder)
        {
            query.surface = GroundQuery::kNoGround;
            return;
        }
        query.cachedTriangle = neighbour;
    }
    FallBackToScan(query);
}

void GroundEdgeCheck(GroundQuery& query)
{
    const GroundMesh* mesh = query.triangleList;
    if (mesh == nullptr || !mesh->IsTriangle(query.cachedTriangle))
    {
        query.exitEdge = 0;
        return;
    }
    const int32_t edge = mesh->Triangle(query.cachedTriangle).FirstEdgeOutside(query.x2, query.z2);
    query.exitEdge = edge < 0 ? -1 : 4 * edge;
}
