// Placing riders off the grid: on the line or in the pit lane's slots for practice; and the
// gap estimate of the pit-box standings.

#include <algorithm>
#include <cmath>

#include "race/SimMath.h"
#include "race/ai/RiderStep.h"

namespace
{
constexpr float kFlyingStartUnits = 350.0f;
constexpr float kFlyingGapUnits = 60.0f;
constexpr float kSharedSlotSpread = 1.2f;

// The node reached walking back along the line from node until the line units reach units.
uint16_t WalkBack(const RaceAi& ai, uint16_t node, float units)
{
    float walked = 0.0f;
    for (uint32_t i = 0; i < RacingLine::kMaxNodes && walked < units; ++i)
    {
        const uint16_t previous = ai.nodes[node].previous;
        if (previous >= ai.nodeCount)
        {
            break;
        }
        walked += 1.0f + static_cast<float>(ai.nodes[previous].stepLength);
        node = previous;
    }
    return node;
}

float BearingAhead(const RaceAi& ai, uint16_t node, float x, float z)
{
    uint16_t ahead = node;
    for (int i = 0; i < 2 && ai.nodes[ahead].next < ai.nodeCount; ++i)
    {
        ahead = ai.nodes[ahead].next;
    }
    return sim::WrapAngle(sim::Atan2(ai.nodes[ahead].x - x, ai.nodes[ahead].z - z));
}

void PlaceAt(RaceAi& ai, BikeRecord& bike, uint16_t node, float x, float z)
{
    bike.positionX = x;
    bike.positionZ = z;
    bike.aiTargetNode = node;
    bike.aiSection = bike.aiAltSection = ai.nodes[node].section;
    bike.aiLineNode = ai.CanonicalNode(node);
    bike.aiNextNode = BikeRecord::kNoNode;
    bike.heading = bike.course = BearingAhead(ai, node, x, z);
    bike.lapsStarted = 1;
    bike.timedLap = 0;
    bike.throttle = 0.0f;
}
}  // namespace

void RaceAi::PlaceRidersForPractice(bool flying)
{
    RaceContext& race = *context_;
    const uint32_t slots = std::min<uint32_t>(startSlots.count, StartSlots::kMaxSlots);
    if (slots == 0 || nodeCount == 0)
    {
        return;
    }
    const bool onTheLine = flying || race.current.gameMode == GameMode::GhostRace;
    startGridMode = onTheLine ? 1 : 0;
    float behind = kFlyingStartUnits;
    uint32_t placed = 0;
    std::array<uint32_t, StartSlots::kMaxSlots> sharing{};
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        if (inRace[rider] == 0)
        {
            continue;
        }
        BikeRecord& bike = race.bikes[rider];
        if (onTheLine)
        {
            const uint16_t node = WalkBack(*this, startSlots.node[0], behind);
            PlaceAt(*this, bike, node, nodes[node].x, nodes[node].z);
            behind += kFlyingGapUnits;
            continue;
        }
        const uint32_t slot = std::min<uint32_t>(startSlots.firstPracticeSlot + placed, slots - 1);
        ++placed;
        const uint16_t node = startSlots.node[slot];
        const float side = kSharedSlotSpread * static_cast<float>(sharing[slot]++);
        const float heading = BearingAhead(*this, node, startSlots.x[slot], startSlots.z[slot]);
        PlaceAt(*this, bike, node, startSlots.x[slot] + side * sim::Cos(heading),
                startSlots.z[slot] - side * sim::Sin(heading));
    }
}

int32_t RaceAi::EstimateGapMs(uint32_t a, uint32_t& b) const
{
    const RaceContext& race = *context_;
    if (a >= kRiderCount || inRace[a] == 0)
    {
        return -1;
    }
    const RaceStandings& standings = race.standings;
    const BikeRecord& bike = race.bikes[a];
    if (standings.gridOrder[a] <= 1 || b >= kRiderCount)
    {
        if (bike.aiLineNode < pitLaneFirstNode)
        {
            b = a;
        }
        return 0;
    }
    if (standings.sessionRanks[a] >= 0)
    {
        const float gap = standings.sessionTimes[a] - standings.sessionTimes[b];
        b = a;
        return static_cast<int32_t>(gap * 1000.0f);
    }
    if (bike.aiLineNode >= pitLaneFirstNode)
    {
        b = a;
        return 25;
    }
    // Riding the line from a to b at the speed the line and the machine allow.
    constexpr float kTopSpeed[] = {60.0f, 70.0f, 78.0f};
    constexpr float kGain[] = {1.48f, 2.08f, 2.75f};
    const size_t bikeClass = std::min<size_t>(ToIndex(race.current.bikeClass), 2);
    float top = kTopSpeed[bikeClass];
    float gain = kGain[bikeClass];
    if (race.current.difficulty == 0)
    {
        top *= 1.05f;
        gain *= 1.1f;
    }
    else if (race.current.difficulty >= 2)
    {
        top *= 0.94f;
        gain *= 0.91f;
    }
    const float root =
        sim::Sqrt(std::max(bike.enginePowerFactor * (1.0f + gripOffset) * 0.6666667f, 0.0f));
    const uint32_t target = race.bikes[b].aiLineNode;
    const uint32_t stop = nodes[bike.aiLineNode].previous;
    float v = bike.speed;
    float sum = 0.0f;
    for (uint32_t node = bike.aiLineNode, i = 0;
         node != target && node != stop && node < nodeCount && i < kMaxNodes;
         node = nodes[node].next, ++i)
    {
        v = std::min(std::clamp(v, 10.0f, std::max(nodes[node].speedFactor * root, 10.0f)), top);
        sum += static_cast<float>(nodes[node].stepLength) / v;
        v += gain;
    }
    b = a;
    return static_cast<int32_t>((0.00125f + sum) * 1000.0f);
}
