#include "kit/race/CircuitChecks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kit/race/GroundMesh.h"
#include "race/RacingLineFile.h"

namespace kit
{
namespace
{
constexpr size_t kLanes = 3;
constexpr float kShortStep = 0.4f;  // metres a sample
constexpr float kLongStep = 3.2f;   // about a fast rider's 40 ms

struct Point
{
    float x;
    float z;
};

// The ground lookup's test: every edge's value has its sign bit clear.
bool Contains(const TrackTriangle& triangle, Point q)
{
    const auto& c = triangle.corners;
    if (q.x < std::min({c[0], c[2], c[4]}) || q.x > std::max({c[0], c[2], c[4]}) ||
        q.z < std::min({c[1], c[3], c[5]}) || q.z > std::max({c[1], c[3], c[5]}))
    {
        return false;
    }
    for (size_t edge = 0; edge < 3; ++edge)
    {
        const float xP = triangle.corners[2 * edge];
        const float zP = triangle.corners[2 * edge + 1];
        const float xR = triangle.corners[2 * ((edge + 1) % 3)];
        const float zR = triangle.corners[2 * ((edge + 1) % 3) + 1];
        const float e = (zR - zP) * (q.x - xP) - (xR - xP) * (q.z - zP);
        if (std::signbit(e))
        {
            return false;
        }
    }
    return true;
}

void CheckGround(const std::vector<TrackTriangle>& ground, std::vector<std::string>& problems)
{
    for (size_t t = 0; t < ground.size(); ++t)
    {
        if (!(SignedArea(ground[t]) < 0.0))
        {
            problems.push_back("triangle " + std::to_string(t) + " is wound the other way");
        }
        for (size_t edge = 0; edge < 3; ++edge)
        {
            const int32_t neighbour = ground[t].neighbours[edge];
            if (neighbour < 0)
            {
                continue;
            }
            const auto& back = ground[static_cast<size_t>(neighbour)].neighbours;
            if (std::find(back.begin(), back.end(), static_cast<int32_t>(t)) == back.end())
            {
                problems.push_back("triangle " + std::to_string(t) + " is not linked back");
            }
        }
    }
}

// A place riders stand on: inside exactly one triangle, and that one on the track.
void CheckPlace(const std::vector<TrackTriangle>& ground, Point place, const std::string& what,
                std::vector<std::string>& problems)
{
    size_t holders = 0;
    uint32_t surface = 0;
    for (const TrackTriangle& triangle : ground)
    {
        if (Contains(triangle, place))
        {
            ++holders;
            surface = triangle.surface;
        }
    }
    if (holders != 1 || surface != kTrackSurface)
    {
        problems.push_back(what + " lies in " + std::to_string(holders) + " triangles, surface " +
                           std::to_string(surface));
    }
}

struct Crossing
{
    size_t line;
    bool forward;
    bool operator==(const Crossing&) const = default;
};

// The standings' crossing rule along the points: the first line whose side differs is the one
// crossed, and it counts only inside the square around the line's middle.
std::vector<Crossing> Crossings(const StandingsHeadRecord& head, const std::vector<Point>& path)
{
    std::array<bool, StandingsHeadRecord::kLines> sides{};
    const auto sideOf = [&](size_t k, Point p)
    { return p.z < head.lineSlope[k] * p.x + head.lineOffset[k]; };
    for (size_t k = 0; k < sides.size(); ++k)
    {
        sides[k] = sideOf(k, path.front());
    }
    std::vector<Crossing> crossings;
    for (const Point p : path)
    {
        for (size_t k = 0; k < sides.size(); ++k)
        {
            if (sideOf(k, p) == sides[k])
            {
                continue;
            }
            sides[k] = !sides[k];
            const float midX = (head.lineX[k][0] + head.lineX[k][1]) / 2;
            const float midZ = (head.lineZ[k][0] + head.lineZ[k][1]) / 2;
            const float half = std::hypot(head.lineX[k][1] - head.lineX[k][0],
                                          head.lineZ[k][1] - head.lineZ[k][0]) /
                               2;
            if (std::fabs(p.x - midX) < half && std::fabs(p.z - midZ) < half)
            {
                const bool forwardSide = head.lineX[k][1] >= head.lineX[k][0];
                crossings.push_back({k, sides[k] == forwardSide});
            }
            break;
        }
    }
    return crossings;
}

// Points every step metres along a lane from one of its nodes, for the given number of nodes.
std::vector<Point> RideLane(const RacingLine& line, uint16_t from, size_t nodes, float step)
{
    std::vector<Point> path;
    uint16_t node = from;
    float carried = 0.0f;
    for (size_t i = 0; i < nodes; ++i)
    {
        const RacingLineNode& a = line.nodes[node];
        const RacingLineNode& b = line.nodes[a.next];
        const float length = std::hypot(b.x - a.x, b.z - a.z);
        float at = carried;
        for (; at < length; at += step)
        {
            path.push_back({a.x + (b.x - a.x) * at / length, a.z + (b.z - a.z) * at / length});
        }
        carried = at - length;
        node = a.next;
    }
    return path;
}

void CheckTiming(const GeneratedCircuit& circuit, std::vector<std::string>& problems)
{
    const RacingLine& line = *circuit.line;
    const uint16_t lap = line.pitLaneFirstNode;
    const std::vector<Crossing> twoLaps = {{0, true}, {1, true}, {2, true},
                                           {0, true}, {1, true}, {2, true}};
    for (const float step : {kShortStep, kLongStep})
    {
        for (uint16_t lane = 0; lane < kLanes; ++lane)
        {
            // Two laps from a few nodes behind the start line.
            const auto from = static_cast<uint16_t>(lane * lap + lap - 4);
            if (Crossings(circuit.head, RideLane(line, from, 2 * lap, step)) != twoLaps)
            {
                problems.push_back("lane " + std::to_string(lane) +
                                   " does not cross the timing lines in lap order at " +
                                   std::to_string(step) + " m steps");
            }
        }
        for (uint16_t slot = 1; slot < line.startSlots.count; ++slot)
        {
            const std::vector<Crossing> crossings =
                Crossings(circuit.head, RideLane(line, line.startSlots.node[slot], lap + 8, step));
            if (crossings.size() < 3 ||
                !std::equal(twoLaps.begin(), twoLaps.begin() + 3, crossings.begin()))
            {
                problems.push_back("from start slot " + std::to_string(slot) +
                                   " the timing lines are not crossed in lap order");
            }
        }
    }
}
}  // namespace

std::vector<std::string> CheckCircuit(const GeneratedCircuit& circuit)
{
    std::vector<std::string> problems;
    const RacingLine& line = *circuit.line;
    if (!IsUsableRacingLine(line, circuit.head))
    {
        problems.push_back("the racing line is not usable");
        return problems;
    }
    CheckGround(circuit.ground, problems);
    for (uint16_t node = 0; node < line.nodeCount; ++node)
    {
        CheckPlace(circuit.ground, {line.nodes[node].x, line.nodes[node].z},
                   "node " + std::to_string(node), problems);
    }
    for (uint16_t slot = 0; slot < line.startSlots.count; ++slot)
    {
        CheckPlace(circuit.ground, {line.startSlots.x[slot], line.startSlots.z[slot]},
                   "start slot " + std::to_string(slot), problems);
    }
    CheckTiming(circuit, problems);
    return problems;
}
}  // namespace kit
