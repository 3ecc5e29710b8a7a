// The race start: the riders' blocks and performance factors, the grid, the revs held before
// the lights and the start phase after them.

#include <algorithm>
#include <cmath>
#include <numeric>

#include "race/SimMath.h"
#include "race/ai/RiderStep.h"

namespace
{
constexpr float kStartPhaseEnd = 35.0f;
constexpr float kStartPhaseFade = 30.0f;

// Class 0, 1, 2.
constexpr std::array<std::array<float, 3>, kBikeClassCount> kLaunchConstants = {
    {{3.6f, 1.8f, 2.4f}, {3.5f, 1.35f, 1.8f}, {3.5f, 1.27f, 1.7f}}};
constexpr std::array<float, kBikeClassCount> kNormalDifficulty = {0.8075f, 0.7885f, 0.76f};
constexpr std::array<float, 3> kNormalWeather = {1.04f, 1.015f, 1.0075f};
constexpr std::array<float, kBikeClassCount> kHardPlayer = {0.8f, 0.7f, 0.65f};
constexpr std::array<float, kBikeClassCount> kHardComputer = {0.72f, 0.65f, 0.65f};

bool IsPlayerStatus(uint32_t status)
{
    return status < race_status::kPitBox || status == race_status::kPlayerReleased;
}

float PerformanceFactor(bool player, float performance, uint32_t difficulty, uint32_t bikeClass,
                        uint32_t weather)
{
    float factor = player ? 1.0f : performance;
    switch (difficulty)
    {
        case 0:
            return factor * (player ? 1.15f : 1.2f);
        case 1:
            factor *= kNormalDifficulty[bikeClass];
            return player ? factor : factor * kNormalWeather[std::min(weather, 2u)];
        default:
            return factor * (player ? kHardPlayer[bikeClass] : kHardComputer[bikeClass]);
    }
}

void SetBlockOnTarget(const RaceAi& ai, BikeRecord& bike)
{
    const uint16_t target = static_cast<uint16_t>(bike.aiTargetNode);
    const uint16_t section = target < ai.nodeCount ? ai.nodes[target].section : 0;
    bike.aiSection = section;
    bike.aiAltSection = section;
    bike.aiLineNode = ai.CanonicalNode(target);
    bike.aiNextNode = BikeRecord::kNoNode;
    bike.aiLineChangeGain = 1.0f;
    bike.aiLineChangeTime = 0.0f;
    bike.aiSpeedCap = BikeRecord::kNoSpeedCap;
    bike.aiFollowSpeed = BikeRecord::kNoSpeedCap;
    bike.aiPitSlot = BikeRecord::kNoPitSlot;
}
}  // namespace

void RaceAi::PrepareRaceStart()
{
    RaceContext& race = *context_;
    scratchName = std::string(race.current.circuitName);
    hazard = HazardZone{};
    hazardPlace.fill(0);
    incidentCounter = 1000;
    celebrationsLeft.fill(kCelebrations);
    pitCrewBusy.fill(0);
    lastPracticeDeparture = -1e9f;
    playerFinishTime = -1.0f;
    neighbourViewRider = kRiderCount;
    stepLength = 0.04f;
    startPhase = 1;
    const uint32_t bikeClass = std::min<uint32_t>(ToIndex(race.current.bikeClass), 2);
    launchConstants = kLaunchConstants[bikeClass];
    lineAccelerationValue = sim::Sqrt(std::max(9.0f * lineAcceleration, 0.0f));
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        SetBlockOnTarget(*this, bike);
        bike.lapsStarted = 0;
        bike.timedLap = 0;
        bike.enginePowerFactor = PerformanceFactor(
            IsPlayerStatus(bike.raceStatus), race.riderProfiles[rider].performance,
            std::min(race.current.difficulty, 2u), bikeClass, ToIndex(race.current.weather));
    }
    // The pit stop's stopping point: just past the start line's slots in the pit lane.
    uint32_t bound = pitLaneEndNode;
    for (size_t slot = 0; slot < std::min<size_t>(startSlots.count, StartSlots::kMaxSlots); ++slot)
    {
        const uint16_t node = startSlots.node[slot];
        if (node < nodeCount && nodes[node].next > pitLaneFirstNode)
        {
            bound = std::min<uint32_t>(bound, nodes[node].next);
        }
    }
    if (pitLaneEndNode > 40)
    {
        bound = std::min<uint32_t>(bound, pitLaneEndNode - 40u);
    }
    startLineBound = bound + 4;
}

void RaceAi::PlaceRidersOnGrid()
{
    RaceContext& race = *context_;
    const std::array<int32_t, kRiderCount>& order = race.standings.gridOrder;
    std::array<uint32_t, kRiderCount> riders{};
    uint32_t count = 0;
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        if (inRace[rider] != 0)
        {
            riders[count++] = rider;
        }
    }
    std::stable_sort(riders.begin(), riders.begin() + count,
                     [&](uint32_t a, uint32_t b) { return order[a] < order[b]; });
    // Every rider starts on the near side of the start line, the pole rider too, who stands
    // on it: its start is then its first crossing, as everybody else's.
    const std::array<float, 2>& startLine = race.standings.head.lineX[0];
    const bool forwardSide = startLine[1] >= startLine[0];
    const uint32_t slots = std::min<uint32_t>(startSlots.count, StartSlots::kMaxSlots);
    for (uint32_t k = 0; k < std::min(count, slots); ++k)
    {
        BikeRecord& bike = race.bikes[riders[k]];
        const uint16_t node = startSlots.node[k];
        bike.positionX = startSlots.x[k];
        bike.positionZ = startSlots.z[k];
        bike.lapsStarted = 1;
        bike.timedLap = 0;
        bike.aiTargetNode = node;
        SetBlockOnTarget(*this, bike);
        uint16_t ahead = node;
        for (int i = 0; i < 2 && ahead < nodeCount && nodes[ahead].next < nodeCount; ++i)
        {
            ahead = nodes[ahead].next;
        }
        const float heading = ahead < nodeCount
                                  ? sim::WrapAngle(sim::Atan2(nodes[ahead].x - bike.positionX,
                                                              nodes[ahead].z - bike.positionZ))
                                  : startSlots.gridHeading;
        bike.heading = heading;
        bike.course = heading;
        bike.throttle = 0.0f;
        bike.aiFlags = forwardSide ? bike.aiFlags & ~ai_flags::kTimingSide0
                                   : bike.aiFlags | ai_flags::kTimingSide0;
    }
}

void RaceAi::PrepareGridStart()
{
    PrepareRaceStart();
    PlaceRidersOnGrid();
    AssignBikeTuning(0, std::min<uint32_t>(riderCount, kRiderCount));
    FillGearReserves();
    AssignAiParameters();
}

void RaceAi::PreparePracticeStart(bool flying)
{
    PrepareRaceStart();
    PlaceRidersForPractice(flying);
    AssignBikeTuning(0, std::min<uint32_t>(riderCount, kRiderCount));
    FillGearReserves();
    AssignAiParameters();
}

void RaceAi::HoldStartRevs(bool armed)
{
    RaceContext& race = *context_;
    const float time = race.standings.Session().raceTime;
    race.standings.sessionStartTime = time;
    const auto stampMs = static_cast<int32_t>((time + 0.0005f) * 1000.0f);
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        if (inRace[rider] == 0 || bike.IsInactive())
        {
            continue;
        }
        bike.brake = 1.0f;
        bike.steer = 0.0f;
        bike.clutch = 0.0f;
        bike.aiLapStartMs = stampMs;
        bike.aiRunStartMs = stampMs;
        const float peak = bike.peakTorqueRpm;
        const float rpm = bike.engineRpm;
        float aim = 0.0f;
        if (bike.raceStatus == race_status::kRacing)
        {
            const int32_t g = race.standings.gridOrder[rider];
            if (!armed)
            {
                const auto beat = static_cast<uint32_t>(
                    std::floor((35.0f - static_cast<float>(rider & 7)) * time));
                aim = ((beat + rider) & 63) <= 40 ? 1.1f * peak : 0.3f * peak;
            }
            else if (g < 8)
            {
                aim = 1.05f * peak;
            }
            else
            {
                aim = (1.0f - static_cast<float>((g - 9) / 4) * 0.05f) *
                      race.riderProfiles[rider].launchFactor * peak;
            }
        }
        else if (rider == player && bike.autoClutch != 0)
        {
            aim = 0.95f * peak;
        }
        else
        {
            if (rider == player && bike.raceStatus == race_status::kWaitingForRun)
            {
                bike.throttle = rpm < 1000.0f ? 1.0f : 3000.0f / rpm;
            }
            continue;
        }
        float throttle = bike.throttle;
        if (rpm < 100.0f)
        {
            throttle = 1.0f;
        }
        else if (aim <= rpm)
        {
            throttle = !armed || rpm <= aim ? aim / rpm * throttle : 0.2f * throttle;
        }
        else
        {
            throttle = peak / rpm;
        }
        bike.throttle = std::clamp(throttle, 0.005f, 1.0f);
    }
}

bool RaceAi::UpdateStartPhase(float time)
{
    RaceContext& race = *context_;
    const bool over = time >= kStartPhaseEnd;
    const uint32_t starters = std::max<uint32_t>(race.standings.riderCount, 1);
    const float k = 1.0f / static_cast<float>(starters);
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        if (inRace[rider] == 0 || bike.raceStatus != race_status::kRacing)
        {
            continue;
        }
        RiderProfile& profile = race.riderProfiles[rider];
        if (over)
        {
            bike.frontTyreHeatBase = savedTyreHeatBases[0];
            bike.rearTyreHeatBase = savedTyreHeatBases[1];
            profile.activeRange = 50.0f;
            profile.pace = 1.0f;
            continue;
        }
        const auto g = static_cast<float>(race.standings.gridOrder[rider]);
        float w = std::clamp(1.0f - (g - 1.0f) * k, 0.0f, 1.0f);
        if (time >= kStartPhaseFade)
        {
            w *= (kStartPhaseEnd - time) * 0.2f;
        }
        bike.frontTyreHeatBase = savedTyreHeatBases[0] + 0.25f * w;
        bike.rearTyreHeatBase = savedTyreHeatBases[1] + 0.25f * w;
        profile.pace = 0.9f + 0.1f * w;
    }
    return !over;
}
