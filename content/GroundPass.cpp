#include "content/GroundPass.h"

#include <algorithm>
#include <cmath>

#include "app/debug/Trace.h"
#include "core/util/MathUtils.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/SimMath.h"
#include "race/ground/GroundQuery.h"

namespace content
{
namespace
{
constexpr float kTwoPi = 6.28319f;
constexpr float kCoincident = 1e-6f;

// Nodes a link may name.
uint32_t NodeLimit(const RacingLine& line)
{
    return std::min<uint32_t>(line.nodeCount, RacingLine::kMaxNodes);
}

// Calls visit(node) along the next links from node 0, for the linked count of nodes at most,
// stopping at a link that names no node.
template <class Visit>
void WalkLinkedLine(const RacingLine& line, Visit visit)
{
    const uint32_t limit = NodeLimit(line);
    const uint32_t count = std::min<uint32_t>(line.pitLaneEndNode, limit);
    uint32_t node = 0;
    for (uint32_t step = 0; step < count && node < limit; ++step)
    {
        visit(node);
        node = line.nodes[node].next;
    }
}

// A series of ground queries, each walking on from the point before.
class GroundSeries
{
public:
    explicit GroundSeries(const GroundMesh& ground)
    {
        query_.triangleList = &ground;
        query_.cachedTriangle = kGroundSeries;
    }

    // The surface at (x, z), -1 off the ground; height() then holds its height.
    int32_t At(float x, float z)
    {
        if (first_)
        {
            query_.x1 = x;
            query_.z1 = z;
            GroundLookup(query_);
            first_ = false;
        }
        else
        {
            query_.x2 = x;
            query_.z2 = z;
            GroundWalk(query_);
            query_.x1 = x;
            query_.z1 = z;
        }
        return query_.surface;
    }
    float Height() const { return query_.height; }

private:
    GroundQuery query_;
    bool first_ = true;
};

// One lookup of its own, with its triangle.
struct GroundPoint
{
    float height;
    uint32_t triangle;
    bool found;
};
GroundPoint LookUp(const GroundMesh& ground, float x, float z)
{
    GroundQuery query;
    query.triangleList = &ground;
    query.cachedTriangle = kGroundSeries;
    query.x1 = x;
    query.z1 = z;
    GroundLookup(query);
    return {query.height, query.cachedTriangle, query.surface != GroundQuery::kNoGround};
}

void DeriveTowardsNext(RacingLine& line, uint32_t node, const RacingLineNode* previous)
{
    RacingLineNode& n = line.nodes[node];
    const RacingLineNode& m = line.nodes[n.next];
    const float dx = m.x - n.x;
    const float dz = m.z - n.z;
    const float d = SqrtFloat(dx * dx + dz * dz);
    if (!(d >= kCoincident))
    {
        n.slope = 0.0f;
        if (previous != nullptr)
        {
            n.heading = previous->heading;
            n.edgeA = previous->edgeA;
            n.edgeB = previous->edgeB;
            n.edgeC = previous->edgeC;
        }
        return;
    }
    n.slope = (m.y - n.y) / d;
    const float angle = sim::Acos(0.99999f * dz / d);
    n.heading = dx >= 0.0f ? angle : kTwoPi - angle;
    n.edgeA = dz / d;
    n.edgeB = -dx / d;
    n.edgeC = -(n.edgeA * n.x + n.edgeB * n.z);
}
}  // namespace

void RunRacingLineGroundPass(RacingLine& line, const GroundMesh& ground,
                             std::vector<uint8_t>& surfaces)
{
    const uint32_t limit = NodeLimit(line);
    {
        GroundSeries series(ground);
        WalkLinkedLine(line,
                       [&](uint32_t node)
                       {
                           RacingLineNode& n = line.nodes[node];
                           if (series.At(n.x, n.z) != GroundQuery::kNoGround)
                           {
                               n.y = series.Height();
                           }
                       });
    }
    surfaces.assign(limit, kNoSurfaceCode);
    {
        GroundSeries series(ground);
        for (uint32_t node = 0; node < limit; ++node)
        {
            const int32_t surface = series.At(line.nodes[node].x, line.nodes[node].z);
            surfaces[node] =
                surface == GroundQuery::kNoGround ? kNoSurfaceCode : static_cast<uint8_t>(surface);
        }
    }
    const RacingLineNode* previous = nullptr;
    WalkLinkedLine(line,
                   [&](uint32_t node)
                   {
                       if (line.nodes[node].next < limit)
                       {
                           DeriveTowardsNext(line, node, previous);
                           previous = &line.nodes[node];
                       }
                   });
}

std::optional<CrashFigurePlace> CrashFigurePlaceOf(const RacingLine& line, uint32_t figure)
{
    const StartSlots& slots = line.startSlots;
    const uint32_t count = std::min<uint32_t>(slots.count, StartSlots::kMaxSlots);
    const uint32_t limit = NodeLimit(line);
    if (count == 0)
    {
        return std::nullopt;
    }
    const uint32_t entry = std::min(slots.firstPracticeSlot + figure, count - 1);
    const uint32_t node = slots.node[entry];
    if (node >= limit)
    {
        return std::nullopt;
    }
    const RacingLineNode& n = line.nodes[node];
    const uint32_t previous = n.previous < limit ? n.previous : node;
    const RacingLineNode& m = line.nodes[previous];
    return CrashFigurePlace{n.x, n.z, sim::Atan2(n.x - m.x, n.z - m.z)};
}

float PlaceOnGround(BikeRecord& bike, const GroundMesh& ground, const RacingLine& line)
{
    const uint32_t lineNode = bike.aiLineNode;
    const float nodeHeight = lineNode < NodeLimit(line) ? line.nodes[lineNode].y : 0.0f;
    const auto heightOf = [&](const GroundPoint& point)
    {
        if (!point.found)
        {
            Trace("bike off the ground at loading: node height %f taken\n", nodeHeight);
        }
        return point.found ? point.height : nodeHeight;
    };
    const float x = bike.positionX;
    const float z = bike.positionZ;
    const float sine = sim::Sin(bike.heading);
    const float cosine = sim::Cos(bike.heading);
    const float a = bike.setup.frontWheelBase + bike.setup.referenceOffset;
    const float b = bike.setup.rearWheelBase + bike.setup.referenceOffset;

    bike.referenceTriangle = LookUp(ground, x, z).triangle;
    bike.frontContactX = x + sine * a;
    bike.frontContactZ = z + cosine * a;
    const GroundPoint front = LookUp(ground, bike.frontContactX, bike.frontContactZ);
    bike.frontGroundHeight = heightOf(front);
    bike.frontTriangle = front.triangle;
    bike.rearContactX = x + sine * b;
    bike.rearContactZ = z + cosine * b;
    const GroundPoint rear = LookUp(ground, bike.rearContactX, bike.rearContactZ);
    bike.rearGroundHeight = heightOf(rear);
    bike.rearTriangle = rear.triangle;

    const float spread = a - b;
    bike.groundHeight = std::fabs(spread) < kCoincident
                            ? bike.frontGroundHeight
                            : bike.frontGroundHeight +
                                  (bike.rearGroundHeight - bike.frontGroundHeight) * a / spread;
    bike.groundTrail.fill({7, bike.rearTriangle, bike.rearContactX, bike.rearContactZ});
    return bike.groundHeight;
}
}  // namespace content
