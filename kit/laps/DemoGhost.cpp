#include "kit/laps/DemoGhost.h"

#include <cmath>
#include <optional>
#include <vector>

#include "kit/laps/DemoLaps.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoRace.h"

namespace kit
{
namespace
{
constexpr float kPaceMetresPerSecond = 25.0f;
constexpr int32_t kStepMs = 40;
constexpr LapHeader kDemoHeader = {0, 0, 0, 20, 0, 1013, 20, 50};

// The step at which the ride first crosses the timing line forwards, as the standings see it.
int32_t CrossingStep(const std::vector<RideState>& ride, const StandingsHeadRecord& head, size_t k)
{
    const auto side = [&](const RideState& s)
    { return s.z < head.lineSlope[k] * s.x + head.lineOffset[k]; };
    const bool forwardSide = head.lineX[k][1] >= head.lineX[k][0];
    const float midX = (head.lineX[k][0] + head.lineX[k][1]) * 0.5f;
    const float midZ = (head.lineZ[k][0] + head.lineZ[k][1]) * 0.5f;
    const float half =
        std::hypot(head.lineX[k][1] - head.lineX[k][0], head.lineZ[k][1] - head.lineZ[k][0]) * 0.5f;
    for (size_t i = 1; i < ride.size(); ++i)
    {
        if (side(ride[i]) != side(ride[i - 1]) && side(ride[i]) == forwardSide &&
            std::fabs(ride[i].x - midX) < half && std::fabs(ride[i].z - midZ) < half)
        {
            return static_cast<int32_t>(i);
        }
    }
    return 0;
}

// A level machine pitches about its front axle, as the race poses it.
void StandOnFrontAxle(std::vector<RideState>& ride, const BikeSetup& setup)
{
    for (RideState& state : ride)
    {
        state.pose[5] = setup.frontTyreRadius;
        state.pose[6] = setup.frontWheelBase + setup.referenceOffset;
    }
}
}  // namespace

bool MakeDemoGhost(LapFileContent& lap, std::string& error)
{
    const std::optional<GeneratedCircuit> circuit =
        GenerateCircuit(DemoCircuitShape(), BikeClass::Class125, error);
    if (!circuit)
    {
        return false;
    }
    const RacingLine& line = *circuit->line;
    std::vector<LinePoint> points;
    for (uint16_t node = 0; node < line.pitLaneFirstNode; ++node)
    {
        points.push_back({node, line.nodes[node].x, line.nodes[node].z});
    }
    std::vector<RideState> ride = RideLap(points, 0.0f, kPaceMetresPerSecond);
    StandOnFrontAxle(ride, ClassStandardSetup(BikeClass::Class125));
    const int32_t lapMs = static_cast<int32_t>(ride.size()) * kStepMs;
    const int32_t line1Ms = CrossingStep(ride, circuit->head, 1) * kStepMs;
    const int32_t line2Ms = CrossingStep(ride, circuit->head, 2) * kStepMs;
    const LapTimes times = {lapMs - line2Ms, line1Ms, line2Ms - line1Ms, lapMs};
    lap = LapOfRide(ride, kDemoHeader, times);
    return true;
}

bool AddDemoGhost(const std::string& directory, std::string& error)
{
    LapFileContent lap;
    return MakeDemoGhost(lap, error) && WriteLapFile(directory + "/" + kDemoGhostPath, lap, error);
}
}  // namespace kit
