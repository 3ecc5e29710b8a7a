// The track-edge contacts: a rider at the controls who runs into the edge of the ground is
// pushed back onto it, loses energy, and is turned along the edge.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/RaceEvents.h"
#include "race/SimMath.h"
#include "race/dynamics/BikeDynamics.h"
#include "race/ground/GroundQuery.h"

namespace
{
using dynamics::kDt;
using dynamics::kPi;

constexpr float kTurnStep = 0.2513274f;
constexpr float kPushMargin = 0.001f;  // beyond the edge, so the point lands inside

struct EdgeHit
{
    float penetration = 0.0f;    // metres outside the edge
    float ax = 0.0f, az = 0.0f;  // the edge, from its first corner
    float ex = 0.0f, ez = 0.0f;
    bool found = false;
};

bool Movable(const BikeRecord& bike)
{
    return IsUprightAndActive(bike) && bike.raceStatus == 0;
}

// Walks from the rear wheel to the hull point; an edge crossed on the way is the edge hit.
// Returns false when the point lies off the ground with no edge crossed.
bool ProbePoint(DynamicsContext& context, const BikeRecord& bike, float x, float z, EdgeHit& hit)
{
    GroundQuery& query = context.ground;
    query.cachedTriangle = bike.rearTriangle;
    query.x1 = bike.rearContactX;
    query.z1 = bike.rearContactZ;
    query.x2 = x;
    query.z2 = z;
    query.exitEdge = -1;
    GroundWalk(query);
    if (query.surface != GroundQuery::kNoGround)
    {
        return true;
    }
    if (query.exitEdge < 0 || !query.triangleList->IsTriangle(query.cachedTriangle))
    {
        return false;
    }
    const GroundTriangle triangle = query.triangleList->Triangle(query.cachedTriangle);
    const int from = query.exitEdge / 4;
    const int to = from == 2 ? 0 : from + 1;
    const float ex = triangle.x[to] - triangle.x[from];
    const float ez = triangle.z[to] - triangle.z[from];
    const float length = SqrtFloat(ex * ex + ez * ez);
    if (!(length > 0.0f))
    {
        return true;
    }
    const float penetration = -triangle.EdgeValue(from, x, z) / length;
    if (penetration < 100.0f && (!hit.found || penetration < hit.penetration))
    {
        hit = {std::max(penetration, 0.0f), triangle.x[from], triangle.z[from], ex, ez, true};
    }
    return true;
}

void PushBack(DynamicsContext& context, uint32_t rider, BikeRecord& bike, const EdgeHit& hit)
{
    const float length = SqrtFloat(hit.ex * hit.ex + hit.ez * hit.ez);
    const float ux = hit.ex / length;
    const float uz = hit.ez / length;
    float c = 0.0f;
    if (bike.speed > 0.01f)
    {
        c = (bike.velocity[0] * ux + bike.velocity[2] * uz) / bike.speed;
        c = std::clamp(c, -1.0f, 1.0f);
    }
    // Inwards: the side of the edge on which the triangle lies.
    const float push = hit.penetration + kPushMargin;
    bike.positionX += uz * push;
    bike.positionZ -= ux * push;
    if (bike.speed > 20.0f)
    {
        bike.crashRequest = 1;
    }
    context.events.AddSound(RaceSound::Collision, rider, context.step);
    bike.kineticEnergy *= 1.0f - std::fabs(c) * 0.2f;
    bike.speed = SqrtFloat(2.0f * bike.kineticEnergy * bike.inverseMass);
    const float along = c > 0.0f ? 1.0f : -1.0f;
    bike.velocity[0] = bike.speed * ux * along;
    bike.velocity[2] = bike.speed * uz * along;
    const float turn = c <= 0.0f ? -(c + 1.0f) * kTurnStep : (1.0f - c) * kTurnStep;
    bike.course = dynamics::WrapPositive(bike.course + turn);
    bike.heading = dynamics::WrapPositive(bike.heading + turn);
}
}  // namespace

bool TrackEdgePass(DynamicsContext& context, uint32_t riderCount)
{
    bool pushed = false;
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        BikeRecord& bike = context.records[rider];
        if (!Movable(bike) || context.ground.triangleList == nullptr)
        {
            continue;
        }
        bike.edgePassX = bike.positionX;
        bike.edgePassZ = bike.positionZ;
        const float sinH = sim::Sin(bike.heading);
        const float cosH = sim::Cos(bike.heading);
        EdgeHit hit;
        bool turnedRound = false;
        for (const auto& point : context.params.hullPoints)
        {
            const float x = bike.positionX + point[0] * cosH + point[1] * sinH;
            const float z = bike.positionZ - point[0] * sinH + point[1] * cosH;
            if (!ProbePoint(context, bike, x, z, hit) && !turnedRound)
            {
                turnedRound = true;
                bike.course = dynamics::WrapPositive(bike.course + kPi);
                bike.velocity[0] = -bike.velocity[0];
                bike.velocity[2] = -bike.velocity[2];
            }
        }
        if (hit.found)
        {
            PushBack(context, rider, bike, hit);
            pushed = true;
        }
    }
    return pushed;
}
