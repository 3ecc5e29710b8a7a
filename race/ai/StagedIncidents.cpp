#include "race/ai/StagedIncidents.h"

#include <cmath>

#include "race/ai/RacingDecision.h"
#include "race/collision/CollisionManager.h"

namespace
{
constexpr int16_t kStagedCrashRank = -4;
constexpr uint32_t kNoRider = racing_decision::kNoRider;

bool InRace(const RiderStep& step, uint32_t rider)
{
    return rider < step.ai.riderCount && step.ai.inRace[rider] != 0 &&
           !step.race.bikes[rider].IsInactive() && !step.race.bikes[rider].IsDown();
}

uint32_t RiderAtPlace(const RiderStep& step, int32_t place)
{
    if (place < 1 || place > static_cast<int32_t>(kRiderCount))
    {
        return kNoRider;
    }
    const int32_t rider = step.race.standings.positionTable[static_cast<size_t>(place - 1)];
    return rider >= 0 && InRace(step, static_cast<uint32_t>(rider)) ? static_cast<uint32_t>(rider)
                                                                    : kNoRider;
}

// The nearest rider slower than the current one whose main-line node lies from node to count
// nodes beyond it.
uint32_t FindSlowerRiderAhead(const RiderStep& step, uint32_t node, uint32_t count)
{
    uint32_t best = kNoRider;
    uint32_t bestNodes = count + 1;
    for (uint32_t other = 0; other < step.ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        const uint32_t nodes = racing_decision::NodesAhead(step.ai, node, o.aiLineNode);
        if (nodes < bestNodes && o.speed < step.bike.speed)
        {
            best = other;
            bestNodes = nodes;
        }
    }
    return best;
}

// The main-line node reached from node along next once the line units reach units.
uint32_t NodeAfterUnits(const RaceAi& ai, uint32_t node, uint32_t units)
{
    uint32_t walked = 0;
    for (uint32_t i = 0; i < ai.pitLaneFirstNode && walked < units; ++i)
    {
        const RacingLineNode& n = ai.nodes[node];
        if (n.next >= ai.nodeCount)
        {
            break;
        }
        walked += n.stepLength + 1u;
        node = n.next;
    }
    return node;
}

bool ChangingOrCharging(const BikeRecord& bike)
{
    return bike.aiLineChangeTime > 0.0f || (bike.aiFlags & ai_flags::kOvertakingCharge) != 0;
}

bool BackMarker(RiderStep& step)
{
    int32_t place = step.race.standings.gridOrder[step.rider] - 1;
    uint32_t candidate = RiderAtPlace(step, place);
    while (candidate != kNoRider && ChangingOrCharging(step.race.bikes[candidate]) && place > 5)
    {
        candidate = RiderAtPlace(step, --place);
    }
    if (candidate == kNoRider || ChangingOrCharging(step.race.bikes[candidate]))
    {
        return false;
    }
    step.race.bikes[candidate].aiFlags |= ai_flags::kOvertakingCharge;
    return true;
}

bool TechnicalFailure(RiderStep& step, uint32_t randomWord)
{
    RaceStandings& standings = step.race.standings;
    const uint32_t from = NodeAfterUnits(step.ai, step.bike.aiLineNode, 185);
    uint32_t candidate = FindSlowerRiderAhead(step, from, 15);
    if (candidate == kNoRider)
    {
        const int32_t own = standings.gridOrder[step.rider];
        int32_t place = own + 1;
        if (place < 7)
        {
            place = place < 5 ? 5 + static_cast<int32_t>(randomWord & 3) : place;
        }
        else
        {
            place = own - 2;
        }
        candidate = RiderAtPlace(step, place);
    }
    if (candidate == kNoRider)
    {
        return false;
    }
    BikeRecord& bike = step.race.bikes[candidate];
    if (bike.raceStatus != race_status::kRacing || bike.aiLineChangeTime > 0.0f ||
        standings.gridOrder[candidate] <= 4 || !step.ai.OpenHazardZone(candidate, 1))
    {
        return false;
    }
    bike.raceStatus = race_status::kRetiring;
    ++standings.failureCount;
    if ((bike.aiTargetNode & 0xF) > 10)
    {
        standings.SetFinalStatus(candidate, session_rank::kDroppedOut);
    }
    else
    {
        bike.retirementFlag = 1;
        standings.SetFinalStatus(candidate, session_rank::kRetired);
    }
    return true;
}

bool StagedCrash(RiderStep& step, CollisionManager& collisions)
{
    const RaceAi& ai = step.ai;
    if (step.bike.aiLineNode >= ai.pitLaneFirstNode)
    {
        return false;
    }
    const uint32_t from = NodeAfterUnits(ai, step.bike.aiLineNode, 120);
    for (uint32_t rider = ai.riderCount; rider-- > 0;)
    {
        if (rider == step.rider || !InRace(step, rider))
        {
            continue;
        }
        BikeRecord& bike = step.race.bikes[rider];
        const uint32_t beyond = racing_decision::NodesAhead(ai, from, bike.aiLineNode);
        const bool midChange = bike.aiLineChangeTime > 0.0f && bike.aiLineChangeTime < 0.8f;
        if (beyond > 39 || bike.aiLineNode >= ai.pitLaneFirstNode ||
            bike.raceStatus != race_status::kRacing || step.race.standings.gridOrder[rider] < 5 ||
            midChange)
        {
            continue;
        }
        if (!step.ai.OpenHazardZone(bike.aiTargetNode, 0))
        {
            return false;
        }
        if (std::fabs(bike.steer) > 0.8f)
        {
            collisions.CrashSideways(rider);
        }
        else if ((bike.aiTargetNode & 1) == 0)
        {
            collisions.CrashForward(rider);
        }
        else
        {
            collisions.CrashPlain(rider);
        }
        ++step.race.standings.crashCount;
        step.race.standings.SetFinalStatus(rider, kStagedCrashRank);
        return true;
    }
    return false;
}

bool StagedFall(RiderStep& step, CollisionManager& collisions)
{
    const RacingLineNode& target = step.Node(step.bike.aiTargetNode);
    const uint32_t from = step.ai.CanonicalNode(
        static_cast<uint16_t>(step.IsNode(target.next) ? target.next : step.bike.aiTargetNode));
    const uint32_t candidate = FindSlowerRiderAhead(step, from, 1);
    if (candidate == kNoRider)
    {
        return false;
    }
    BikeRecord& bike = step.race.bikes[candidate];
    if (bike.raceStatus != race_status::kRacing || bike.aiLineChangeTime > 0.0f ||
        std::fabs(bike.steer) < 0.1f)
    {
        return false;
    }
    collisions.FallFromBike(candidate);
    const uint32_t side = bike.steer <= 0.0f ? 1 : 0;
    const RacingLineNode& at = step.Node(bike.aiTargetNode);
    const uint32_t beside = side == 1 ? at.sideLink1 : at.sideLink0;
    if (beside >= step.ai.linkLimit)
    {
        bike.aiFlags |= side == 1 ? ai_flags::kChangingToSide0 : ai_flags::kChangingToSide1;
        bike.aiLineChangeGain = 0.1f;
        bike.aiLineChangeTime = 1.9f;
    }
    else if (step.ai.ChangeLine(candidate, side, 1))
    {
        bike.aiFlags |= ai_flags::kChangeForPitLane;
        bike.aiLineChangeGain = 0.1f;
        bike.aiLineChangeTime = 1.0f;
    }
    ++step.race.standings.requestCount;
    return true;
}
}  // namespace

void StageIncident(RiderStep& step, CollisionManager& collisions, uint32_t randomWord)
{
    IncidentRequests& requests = step.race.incidentRequests;
    if (step.race.current.gameMode == GameMode::NetworkRace)
    {
        requests.any = false;
        return;
    }
    const bool pending =
        requests.backMarker || requests.technicalFailure || requests.crash || requests.fall;
    if (!pending)
    {
        requests.any = false;
        return;
    }
    if (requests.backMarker && BackMarker(step))
    {
        requests.backMarker = false;
    }
    if (requests.technicalFailure)
    {
        requests.technicalFailure = !TechnicalFailure(step, randomWord);
    }
    else if (requests.crash)
    {
        requests.crash = !StagedCrash(step, collisions);
    }
    else if (requests.fall)
    {
        requests.fall = !StagedFall(step, collisions);
    }
}
