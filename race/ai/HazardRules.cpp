// Hazard zones, the penalty for gaining places inside one, line changes and retirement.

#include "race/ai/HazardRules.h"

#include <algorithm>
#include <cmath>

#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"

namespace
{
constexpr float kZoneLifetime = 15.0f;
constexpr uint32_t kZoneBehindRider = 20;  // main-line nodes a following zone covers
constexpr float kZoneBehindUnits = 300.0f;
constexpr float kZoneAheadUnits = 150.0f;
constexpr float kMinChangeSpeedInZone = 16.7f;
constexpr float kReferenceFollowTime = 2.0f;

constexpr uint32_t kChangeFlags = ai_flags::kChangingToSide1 | ai_flags::kChangingToSide0;
constexpr uint32_t kReasonFlags =
    ai_flags::kLineChangeReason0 | ai_flags::kLineChangeReason1 | ai_flags::kLineChangeReason2;

// The main-line node reached from node walking the line units along a link.
uint32_t WalkUnits(const RaceAi& ai, uint32_t node, float units, bool forward)
{
    float walked = 0.0f;
    for (uint32_t i = 0; i < ai.pitLaneFirstNode && walked < units; ++i)
    {
        const RacingLineNode& n = ai.nodes[node];
        const uint32_t to = forward ? n.next : n.previous;
        if (to >= ai.nodeCount)
        {
            break;
        }
        walked += 1.0f + static_cast<float>(forward ? n.stepLength : ai.nodes[to].stepLength);
        node = to;
    }
    return node;
}
}  // namespace

float RaceAi::NodeDistanceSq(uint32_t node) const
{
    if (node >= nodeCount || currentBike == nullptr)
    {
        return 1e7f;
    }
    const float dx = nodes[node].x - currentBike->positionX;
    const float dz = nodes[node].z - currentBike->positionZ;
    return dx * dx + dz * dz;
}

bool RaceAi::ChangeLine(uint32_t rider, uint32_t side, uint32_t reason)
{
    BikeRecord& bike = context_->bikes[rider];
    const uint32_t blocked = side == 1 ? ai_flags::kBlockedSide1 : ai_flags::kBlockedSide0;
    if ((bike.aiFlags & blocked) != 0 ||
        ((bike.aiFlags & ai_flags::kInHazardZone) != 0 && bike.speed < kMinChangeSpeedInZone) ||
        bike.aiTargetNode >= nodeCount)
    {
        return false;
    }
    const uint32_t towards = side == 1 ? ai_flags::kChangingToSide1 : ai_flags::kChangingToSide0;
    const RacingLineNode& target = nodes[bike.aiTargetNode];
    const uint32_t beside = side == 1 ? target.sideLink1 : target.sideLink0;
    if (bike.aiLineChangeTime > 0.0f && (bike.aiFlags & kChangeFlags & ~towards) != 0 &&
        beside < linkLimit)
    {
        // Back to the line it came from: as far from it as the change had gone.
        bike.aiLineChangeTime = 2.0f - bike.aiLineChangeTime;
        bike.aiTargetNode = beside;
        bike.aiSection = nodes[beside].section;
        bike.aiFlags = (bike.aiFlags & ~kChangeFlags) | towards;
        return true;
    }
    if (bike.aiLineChangeTime > 0.0f)
    {
        if (reason == 0)
        {
            bike.aiLineChangeGain *= 1.1f;
        }
        return false;
    }
    if (beside >= nodeCount || beside >= linkLimit)
    {
        return false;
    }
    constexpr uint32_t kReasonFlag[] = {ai_flags::kLineChangeReason0, ai_flags::kLineChangeReason1,
                                        ai_flags::kLineChangeReason2};
    bike.aiAltSection = bike.aiTargetNode;
    bike.aiTargetNode = beside;
    bike.aiSection = nodes[beside].section;
    bike.aiFlags = (bike.aiFlags & ~(kChangeFlags | kReasonFlags)) | towards |
                   kReasonFlag[std::min(reason, 2u)];
    bike.aiLineChangeTime = std::max(bike.aiLineChangeTime, 2.0f);
    return true;
}

bool RaceAi::OpenHazardZone(uint32_t nodeOrRider, uint32_t mode)
{
    if (hazard.active || pitLaneFirstNode == 0)
    {
        return false;
    }
    HazardZone zone;
    zone.mode = mode;
    zone.active = true;
    zone.expiry = raceTime + kZoneLifetime;
    if (mode == 0)
    {
        if (nodeOrRider >= nodeCount)
        {
            return false;
        }
        const uint32_t main = CanonicalNode(static_cast<uint16_t>(nodeOrRider));
        zone.firstNode = WalkUnits(*this, main, kZoneBehindUnits, false);
        zone.lastNode = WalkUnits(*this, main, kZoneAheadUnits, true);
    }
    else
    {
        if (nodeOrRider >= kRiderCount)
        {
            return false;
        }
        zone.rider = nodeOrRider;
        zone.firstNode = context_->bikes[nodeOrRider].aiLineNode;
    }
    hazard = zone;
    return true;
}

void RaceAi::ExpireHazard()
{
    if (!hazard.active || raceTime < hazard.expiry)
    {
        return;
    }
    const RaceContext& race = *context_;
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        const BikeRecord& bike = race.bikes[rider];
        const bool watched = rider == race.current.viewedRider || bike.raceStatus == 0;
        if (watched && (bike.aiFlags & ai_flags::kInHazardZone) != 0)
        {
            return;
        }
    }
    hazard = HazardZone{};
}

void RaceAi::OnPositionGained(uint32_t a, uint32_t b)
{
    if (a >= kRiderCount || b >= kRiderCount)
    {
        return;
    }
    const RaceContext& race = *context_;
    const BikeRecord& gainer = race.bikes[a];
    const BikeRecord& passed = race.bikes[b];
    const bool bInRace = inRace[b] != 0;
    if (bInRace && gainer.aiLineNode != passed.aiLineNode + 1)
    {
        return;
    }
    const auto statusIs = [](uint32_t status, std::initializer_list<uint32_t> values)
    { return std::find(values.begin(), values.end(), status) != values.end(); };
    const uint32_t pastFirst =
        racing_decision::NodesAhead(*this, hazard.firstNode, gainer.aiLineNode);
    const bool excused = !bInRace || !statusIs(passed.raceStatus, {0, 8, 9}) ||
                         passed.speed < 15.0f || passed.IsDown() ||
                         !statusIs(gainer.raceStatus, {0, 8, 9, 12}) || pastFirst < 5 ||
                         hazard.expiry - raceTime > kZoneLifetime - 1.5f;
    if (excused)
    {
        hazardPlace[a] = std::max(hazardPlace[a] - 1, 1);
    }
}

void RaceAi::RetireRider(uint32_t rider)
{
    if (rider >= kRiderCount)
    {
        return;
    }
    RaceContext& race = *context_;
    race.standings.SetFinalStatus(rider, session_rank::kRetiredByNetwork);
    inRace[rider] = 0;
    BikeRecord& bike = race.bikes[rider];
    bike.flags |= bike_flags::kInactive;
    bike.raceStatus = race_status::kRetiring;
    race.standings.ridersInRace = static_cast<uint16_t>(
        std::count_if(inRace.begin(), inRace.begin() + std::min<size_t>(riderCount, kRiderCount),
                      [](uint32_t in) { return in != 0; }));
}

void UpdateHazardFlags(RaceAi& ai, RaceContext& race, uint32_t rider)
{
    BikeRecord& bike = race.bikes[rider];
    const bool wasInside = (bike.aiFlags & ai_flags::kInHazardZone) != 0;
    bike.aiFlags &=
        ~(ai_flags::kInHazardZone | ai_flags::kWasInHazardZone | ai_flags::kBehindHazardRider);
    if (wasInside)
    {
        bike.aiFlags |= ai_flags::kWasInHazardZone;
    }
    if (!ai.hazard.active || bike.aiLineNode >= ai.pitLaneFirstNode)
    {
        return;
    }
    bool inside = false;
    if (ai.hazard.mode == 0)
    {
        const uint32_t span =
            racing_decision::NodesAhead(ai, ai.hazard.firstNode, ai.hazard.lastNode);
        inside = racing_decision::NodesAhead(ai, ai.hazard.firstNode, bike.aiLineNode) <= span;
    }
    else if (rider != ai.hazard.rider)
    {
        const uint32_t behind = racing_decision::NodesAhead(ai, bike.aiLineNode,
                                                            race.bikes[ai.hazard.rider].aiLineNode);
        inside = behind <= kZoneBehindRider;
        if (inside)
        {
            bike.aiFlags |= ai_flags::kBehindHazardRider;
        }
    }
    if (!inside)
    {
        return;
    }
    bike.aiFlags |= ai_flags::kInHazardZone;
    const int32_t place = race.standings.gridOrder[rider];
    if (!wasInside)
    {
        bike.hazardZoneTime = ai.raceTime;
        ai.hazardPlace[rider] = place;
        return;
    }
    if (ai.raceTime - bike.hazardZoneTime < kReferenceFollowTime)
    {
        ai.hazardPlace[rider] = place;
        return;
    }
    const StandingsSession& session = race.standings.Session();
    if (place >= ai.hazardPlace[rider] || session.noOvertakingEvents ||
        (bike.aiFlags & ai_flags::kPenaltyPending) != 0)
    {
        return;
    }
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    if (bike.raceStatus == race_status::kRacing)
    {
        const bool tookPlayersPlace = player < kRiderCount && player != rider &&
                                      race.standings.gridOrder[player] == place + 1;
        const int32_t lapsLeft =
            static_cast<int32_t>(session.laps) + 1 - static_cast<int32_t>(bike.timedLap);
        if (tookPlayersPlace && lapsLeft > 2)
        {
            bike.raceStatus = race_status::kPenaltyPending;
            bike.aiFlags |= ai_flags::kPenaltyPending;
            bike.penaltyCount = 0;
        }
    }
    else if (bike.raceStatus == race_status::kPlayer)
    {
        bike.aiFlags |= ai_flags::kPenaltyPending;
        bike.penaltyCount = 0;
    }
}

void CountPenaltyCrossing(RaceContext& race, uint32_t rider)
{
    BikeRecord& bike = race.bikes[rider];
    const StandingsSession& session = race.standings.Session();
    if (!session.isRace)
    {
        bike.aiFlags &= ~ai_flags::kPenaltyPending;
        return;
    }
    ++bike.penaltyCount;
    const bool lastLap = bike.timedLap >= session.laps;
    if (bike.raceStatus == race_status::kPlayer)
    {
        if (bike.penaltyCount >= 2)
        {
            bike.raceStatus = race_status::kRetiring;
            race.standings.SetFinalStatus(rider, session_rank::kDisqualified);
            bike.aiFlags = (bike.aiFlags | ai_flags::kDisqualified) & ~ai_flags::kPenaltyPending;
        }
        return;
    }
    if ((bike.penaltyCount >= 2 || lastLap) && bike.raceStatus == race_status::kRacing)
    {
        bike.raceStatus = race_status::kPenaltyPending;
    }
}
