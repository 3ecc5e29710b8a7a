#include "kit/race/CircuitGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "kit/race/CentreLine.h"
#include "kit/race/GroundMesh.h"
#include "race/SimMath.h"

namespace kit
{
namespace
{
constexpr size_t kLanes = 3;  // the line, the side-0 lane, the side-1 lane
constexpr size_t kGridSlots = 27;
constexpr double kGridRowMetres = 8.0;
constexpr double kStartAlongStraight = 0.6;  // of straight 0: room for the grid behind it
constexpr double kCurveSignMetres = 120.0;   // signs ahead of a bend
constexpr uint16_t kRunAhead = 255;          // every lane is a closed loop
constexpr float kCameraHeight = 5.0f;
constexpr uint16_t kFinishZoneNodes = 30;
constexpr float kTopSpeedReference = 3.6f;  // m/s in km/h

// What a machine of the class manages, in m/s and m/s^2.
struct ClassPace
{
    double topSpeed;
    double cornering;  // lateral acceleration
    double braking;
    float lineAcceleration;
    float tyreWearScale;  // of the tyre preparation's targets
};

constexpr std::array<ClassPace, kBikeClassCount> kPace = {{
    {56.0, 11.0, 8.0, 5.0f, 1.0f},
    {66.0, 11.5, 8.5, 6.0f, 0.52f},
    {80.0, 12.0, 9.0, 7.0f, 0.37f},
}};

// The lateral offset of each lane towards the inside of the bends.
std::array<double, kLanes> LaneOffsets(const CircuitShape& shape)
{
    return {0.0, -shape.laneOffsetMetres, shape.laneOffsetMetres};
}

std::optional<std::string> ShapeProblem(const CircuitShape& shape)
{
    const double arcs = 2.0 * std::numbers::pi * shape.bendRadiusMetres;
    const double straight = (shape.lapLengthMetres - arcs) / std::max(shape.bends, 1);
    const double edge = shape.trackHalfWidthMetres + shape.runOffMetres;
    if (shape.bends < 2)
    {
        return "a lap needs two bends at least";
    }
    if (straight * kStartAlongStraight < kGridRowMetres * (kGridSlots / 2 + 1))
    {
        return "the straights are too short for the grid";
    }
    if (shape.laneOffsetMetres <= 0.0f ||
        1.5f * shape.laneOffsetMetres + 0.5f > shape.trackHalfWidthMetres)
    {
        return "the lanes do not fit on the track";
    }
    if (shape.runOffMetres <= 0.0f || edge + 1.0 >= shape.bendRadiusMetres)
    {
        return "the run-off reaches past the centre of the bends";
    }
    return std::nullopt;
}

// The heading from one node to the next as the race loader figures it.
float HeadingTowards(const RacingLineNode& from, const RacingLineNode& to)
{
    const float dx = to.x - from.x;
    const float dz = to.z - from.z;
    const float d = std::sqrt(dx * dx + dz * dz);
    const float angle = sim::Acos(0.99999f * dz / d);
    return dx >= 0.0f ? angle : 6.28319f - angle;
}

// Heading, edge equation and step length of every node from its next one.
void DeriveFromNext(RacingLine& line)
{
    for (uint16_t i = 0; i < line.nodeCount; ++i)
    {
        RacingLineNode& node = line.nodes[i];
        const RacingLineNode& next = line.nodes[node.next];
        const float dx = next.x - node.x;
        const float dz = next.z - node.z;
        const float d = std::sqrt(dx * dx + dz * dz);
        node.heading = HeadingTowards(node, next);
        node.edgeA = dz / d;
        node.edgeB = -dx / d;
        node.edgeC = -(node.edgeA * node.x + node.edgeB * node.z);
        node.stepLength = static_cast<uint16_t>(std::max(std::lround(d) - 1, 0L));
    }
}

// Each lane's speed: what the bend allows, lowered ahead of it so that the class can brake.
void SetSpeedFactors(RacingLine& line, const std::vector<CentrePose>& poses,
                     const CircuitShape& shape, const ClassPace& pace)
{
    const auto count = static_cast<uint16_t>(poses.size());
    const std::array<double, kLanes> offsets = LaneOffsets(shape);
    for (size_t lane = 0; lane < kLanes; ++lane)
    {
        const auto first = static_cast<uint16_t>(lane * count);
        const double radius = shape.bendRadiusMetres - offsets[lane];
        for (uint16_t i = 0; i < count; ++i)
        {
            const double corner = std::sqrt(pace.cornering * radius);
            line.nodes[first + i].speedFactor = static_cast<float>(
                poses[i].inBend ? std::min(corner, pace.topSpeed) : pace.topSpeed);
        }
        // Twice round, so that the braking reaches back over the lap's end.
        for (int pass = 0; pass < 2 * count; ++pass)
        {
            const uint16_t i = static_cast<uint16_t>(first + (2 * count - 1 - pass) % count);
            RacingLineNode& node = line.nodes[i];
            const float after = line.nodes[node.next].speedFactor;
            const double reach =
                std::sqrt(after * after + 2.0 * pace.braking * (node.stepLength + 1));
            node.speedFactor = std::min(node.speedFactor, static_cast<float>(reach));
        }
    }
}

void BuildNodes(RacingLine& line, const std::vector<CentrePose>& poses, const CircuitShape& shape)
{
    const auto count = static_cast<uint16_t>(poses.size());
    const std::array<double, kLanes> offsets = LaneOffsets(shape);
    line.nodeCount = static_cast<uint16_t>(kLanes * count);
    line.pitLaneFirstNode = count;
    line.pitLaneEndNode = count;
    line.linkLimit = line.nodeCount;
    for (size_t lane = 0; lane < kLanes; ++lane)
    {
        const auto first = static_cast<uint16_t>(lane * count);
        for (uint16_t i = 0; i < count; ++i)
        {
            RacingLineNode& node = line.nodes[first + i];
            node = {};
            node.x = static_cast<float>(poses[i].LateralX(offsets[lane]));
            node.z = static_cast<float>(poses[i].LateralZ(offsets[lane]));
            node.next = static_cast<uint16_t>(first + (i + 1) % count);
            node.previous = static_cast<uint16_t>(first + (i + count - 1) % count);
            node.section = i;
            node.runAhead = kRunAhead;
            node.sideLink0 = lane == 0   ? static_cast<uint16_t>(count + i)
                             : lane == 2 ? i
                                         : RacingLine::kNoNode;
            node.sideLink1 = lane == 0   ? static_cast<uint16_t>(2 * count + i)
                             : lane == 1 ? i
                                         : RacingLine::kNoNode;
        }
    }
    DeriveFromNext(line);
}

// The curve sign ahead of and in each bend, the steering aid on the line, and the television
// class of the bends; the camera of the nearest bend for every main-line node.
void BuildNodeTables(RacingLine& line, const std::vector<CentrePose>& poses,
                     const CentreLine& centre, const CircuitShape& shape)
{
    const int severity = shape.bendRadiusMetres >= 100.0f  ? 0
                         : shape.bendRadiusMetres >= 60.0f ? 1
                         : shape.bendRadiusMetres >= 35.0f ? 2
                                                           : 3;
    const auto rightSign = static_cast<uint8_t>(2 * severity + 1);
    line.aidZoneByNode.fill(RacingLine::kNoCurveSign);
    line.tvCameraByNode.fill(RacingLine::kNoTvCamera);
    line.tvCameraCount = static_cast<uint16_t>(shape.bends);
    for (int bend = 0; bend < shape.bends; ++bend)
    {
        const CentrePose middle = centre.BendMiddle(bend);
        const double outside = -(shape.trackHalfWidthMetres + shape.runOffMetres + 10.0);
        line.tvCameras[bend] = {static_cast<float>(middle.LateralX(outside)), kCameraHeight,
                                static_cast<float>(middle.LateralZ(outside))};
    }
    for (size_t i = 0; i < poses.size(); ++i)
    {
        const CentrePose& pose = poses[i];
        const bool withSign = pose.inBend || pose.toNextBend < kCurveSignMetres;
        line.aidZoneByNode[i] = static_cast<uint8_t>(
            (withSign ? rightSign : RacingLine::kNoCurveSign) | 0x10 | (pose.inBend ? 0x80 : 0x00));
        uint8_t nearest = 0;
        float best = std::numeric_limits<float>::infinity();
        for (uint8_t camera = 0; camera < line.tvCameraCount; ++camera)
        {
            const float dx = line.tvCameras[camera].x - line.nodes[i].x;
            const float dz = line.tvCameras[camera].z - line.nodes[i].z;
            if (dx * dx + dz * dz < best)
            {
                best = dx * dx + dz * dz;
                nearest = camera;
            }
        }
        line.tvCameraByNode[i] = nearest;
    }
}

// Slot 0 on the start line, then rows of two on the lanes, 8 m apart.
void BuildStartSlots(RacingLine& line, uint16_t count, double spacing)
{
    StartSlots& slots = line.startSlots;
    slots = {};
    slots.count = kGridSlots;
    slots.gridHeading = line.nodes[0].heading;
    for (uint16_t slot = 0; slot < kGridSlots; ++slot)
    {
        const int row = (slot + 1) / 2;
        const auto back = static_cast<int>(std::lround(row * kGridRowMetres / spacing));
        const auto along = static_cast<uint16_t>((count - back % count) % count);
        const uint16_t lane = slot == 0 ? 0 : slot % 2 == 1 ? 2 : 1;
        const auto node = static_cast<uint16_t>(lane * count + along);
        slots.node[slot] = node;
        slots.x[slot] = line.nodes[node].x;
        slots.z[slot] = line.nodes[node].z;
    }
}

// A main-line node near the wanted one whose line the timing line can cross at a moderate slope.
uint16_t TimingNode(const RacingLine& line, uint16_t wanted, uint16_t count)
{
    for (uint16_t step = 0; step < count; ++step)
    {
        for (const int direction : {1, -1})
        {
            const auto node = static_cast<uint16_t>((wanted + direction * step + count) % count);
            if (std::fabs(std::cos(line.nodes[node].heading)) >= 0.5f)
            {
                return node;
            }
        }
    }
    return wanted;
}

// Lines 0 (the start line, across node 0), 1 and 2 a third and two thirds of a lap on, each
// across the whole ground. The inside end comes first, so that a rider crossing forwards lands
// on the side the standings take for forwards.
StandingsHeadRecord BuildTimingLines(const RacingLine& line, const std::vector<CentrePose>& poses,
                                     const CircuitShape& shape)
{
    const auto count = static_cast<uint16_t>(poses.size());
    const double reach = shape.trackHalfWidthMetres + shape.runOffMetres;
    const uint16_t nodes[StandingsHeadRecord::kLines] = {
        0, TimingNode(line, static_cast<uint16_t>(count / 3), count),
        TimingNode(line, static_cast<uint16_t>(2 * count / 3), count)};
    StandingsHeadRecord head;
    for (size_t k = 0; k < StandingsHeadRecord::kLines; ++k)
    {
        const RacingLineNode& node = line.nodes[nodes[k]];
        const double across[2] = {reach, -reach};
        for (size_t end = 0; end < 2; ++end)
        {
            head.lineX[k][end] = node.x + static_cast<float>(across[end] * std::cos(node.heading));
            head.lineZ[k][end] = node.z - static_cast<float>(across[end] * std::sin(node.heading));
        }
        head.lineSlope[k] =
            (head.lineZ[k][1] - head.lineZ[k][0]) / (head.lineX[k][1] - head.lineX[k][0]);
        head.lineOffset[k] = head.lineZ[k][0] - head.lineSlope[k] * head.lineX[k][0];
    }
    return head;
}

// The line's header: the race distance, what the computer riders and the tyre preparation take
// from it, the finish zone behind the start line.
void SetHeader(RacingLine& line, const CircuitShape& shape, const ClassPace& pace, uint16_t count)
{
    line.lapLengthUnits = shape.fullRaceLaps;
    line.lineAcceleration = pace.lineAcceleration;
    line.gripFactor = 1.0f;
    // Aims the automatic tyre choice at the middle dry compound for a full race at 25 deg C:
    // wear 11.83 x 600000 / the class's wear scale against the track's abrasion x laps.
    const float target =
        11.83f * 600000.0f / pace.tyreWearScale / (25.0f / 35.0f * shape.fullRaceLaps);
    line.speedScaleA = target;
    line.speedScaleB = target;
    line.telemetryLimit = static_cast<float>(pace.topSpeed) * kTopSpeedReference;
    line.finishZoneFirst = 0;
    line.finishZoneLast = std::min<uint16_t>(kFinishZoneNodes, static_cast<uint16_t>(count - 1));
}
}  // namespace

std::optional<GeneratedCircuit> GenerateCircuit(const CircuitShape& shape, BikeClass bikeClass,
                                                std::string& error)
{
    if (const std::optional<std::string> problem = ShapeProblem(shape))
    {
        error = *problem;
        return std::nullopt;
    }
    const double arcs = 2.0 * std::numbers::pi * shape.bendRadiusMetres;
    const CentreLine centre(shape.bends, (shape.lapLengthMetres - arcs) / shape.bends,
                            shape.bendRadiusMetres);
    const auto count = static_cast<uint16_t>(std::clamp<long>(
        std::lround(centre.LapLength() / shape.nodeSpacingMetres), 8, RacingLine::kAidZoneNodes));
    const double spacing = centre.LapLength() / count;
    const double start = kStartAlongStraight * centre.StraightLength();
    std::vector<CentrePose> poses;
    for (uint16_t i = 0; i < count; ++i)
    {
        poses.push_back(centre.At(start + i * spacing));
    }

    const ClassPace& pace = kPace[std::min<size_t>(ToIndex(bikeClass), kBikeClassCount - 1)];
    GeneratedCircuit circuit{.line = std::make_unique<RacingLine>(), .head = {}, .ground = {}};
    RacingLine& line = *circuit.line;
    BuildNodes(line, poses, shape);
    SetSpeedFactors(line, poses, shape, pace);
    BuildNodeTables(line, poses, centre, shape);
    BuildStartSlots(line, count, spacing);
    SetHeader(line, shape, pace, count);
    circuit.head = BuildTimingLines(line, poses, shape);
    circuit.ground = BuildGroundMesh(centre, start, spacing, count, shape);
    return circuit;
}
}  // namespace kit
