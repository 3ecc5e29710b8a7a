#include "race/ai/RacingDecision.h"

#include <algorithm>
#include <cmath>

#include "race/SimMath.h"

namespace racing_decision
{
namespace
{
constexpr float kClosingRate = 0.8f;  // m/s of cap per metre of room beyond the safe gap
constexpr float kHazardCrawl = 16.7f;
constexpr float kSwerveStart = 0.05f;

// Beside a player's rider or the watched one, a rider with its bars straight sometimes swerves
// away; the watched rider is a machine's own choice, so a network race leaves it out.
void StartSwerve(const RiderStep& step, const BikeRecord& other, uint32_t otherRider, float lateral)
{
    BikeRecord& bike = step.bike;
    const bool network = step.race.current.gameMode == GameMode::NetworkRace;
    const bool watched = other.raceStatus == race_status::kPlayer ||
                         (!network && otherRider == step.race.current.viewedRider);
    if ((bike.aiFlags & ai_flags::kSwerveAllowed) == 0 || std::fabs(bike.steer) >= 0.1f || !watched)
    {
        return;
    }
    bike.aiFlags = (bike.aiFlags & ~ai_flags::kSwerveAllowed) | ai_flags::kSwerving;
    bike.poseTwist = lateral >= 0.0f ? kSwerveStart : -kSwerveStart;
}

// On a branch or passing lane: back towards the lower-index line when no rider there is in
// the way.
void FollowBranch(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    uint32_t side = 2;
    for (const uint32_t s : {0u, 1u})
    {
        if (SideLink(target, s) < bike.aiTargetNode && SideLink(target, s) < ai.linkLimit)
        {
            side = s;
            break;
        }
    }
    if (side == 2 || ChangeRunning(bike))
    {
        return;
    }
    const uint32_t own = bike.aiLineNode;
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        const uint32_t ahead = NodesAhead(ai, own, o.aiLineNode);
        const uint32_t behind = NodesAhead(ai, o.aiLineNode, own);
        const bool close = ahead <= 12 || behind <= 6;
        if (!close || o.aiTargetNode >= ai.pitLaneEndNode)
        {
            continue;
        }
        const bool inTheWay =
            ahead < 3 || (behind < 3 && o.speed + 5.0f > bike.speed) ||
            (ahead <= 12 && o.speed < bike.speed &&
             static_cast<float>(ahead) * 5.5f * bike.speed <=
                 static_cast<float>(target.stepLength + 1) * (bike.speed - o.speed));
        if (inTheWay)
        {
            bike.aiFlags |= side == 0 ? ai_flags::kBlockedSide0 : ai_flags::kBlockedSide1;
            return;
        }
    }
    if (step.ai.ChangeLine(step.rider, side, 2))
    {
        bike.aiLineChangeGain = 0.55f;
    }
}
}  // namespace

uint32_t NodesAhead(const RaceAi& ai, uint32_t a, uint32_t b)
{
    const uint32_t lap = ai.pitLaneFirstNode;
    if (lap == 0 || a >= lap || b >= lap)
    {
        return b >= a ? b - a : 0xFFFF;
    }
    return (b + lap - a) % lap;
}

RiderAhead FindRiderAhead(const RiderStep& step)
{
    const BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const RacingLineNode& main = step.Node(bike.aiLineNode);
    uint32_t lookAhead = 0;
    for (const uint32_t side : {0u, 1u})
    {
        const uint32_t beside = SideLink(main, side);
        if (beside < ai.linkLimit)
        {
            lookAhead = std::max<uint32_t>(lookAhead, step.Node(beside).runAhead);
        }
    }
    lookAhead = std::clamp<uint32_t>(std::max<uint32_t>(lookAhead, main.runAhead), 1, 40);
    const float c = sim::Cos(bike.heading);
    const float s = sim::Sin(bike.heading);
    RiderAhead found;
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        if (o.IsDown())
        {
            continue;
        }
        const uint32_t nodes = NodesAhead(ai, bike.aiLineNode, o.aiLineNode);
        if (nodes > lookAhead || (found.rider != kNoRider && nodes >= found.nodes))
        {
            continue;
        }
        const float dx = o.positionX - bike.positionX;
        const float dz = o.positionZ - bike.positionZ;
        const float forward = dz * c + dx * s;
        const float lateral = dx * c - dz * s;
        const bool beside =
            o.aiSection == bike.aiSection && forward > 2.0f && std::fabs(lateral) >= 0.5f;
        if (beside)
        {
            StartSwerve(step, o, other, lateral);
        }
        // Riders beside or on other lanes count only while they are slower.
        if ((beside || o.aiSection != bike.aiSection) && o.speed >= bike.speed)
        {
            continue;
        }
        if (nodes == 0 && !beside)
        {
            continue;
        }
        found.rider = other;
        found.nodes = std::max<uint32_t>(nodes, 1);
    }
    if (found.rider != kNoRider)
    {
        found.gap = static_cast<float>(found.nodes) * 7.0f / (bike.speed + 0.1f);
    }
    return found;
}

uint32_t FindSlowerRiderAhead(const RiderStep& step, uint32_t from, uint32_t nodes)
{
    const RaceAi& ai = step.ai;
    uint32_t found = kNoRider;
    uint32_t foundNodes = nodes + 1;
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        const uint32_t ahead = NodesAhead(ai, from, o.aiLineNode);
        if (ahead >= 1 && ahead < foundNodes && o.speed < step.bike.speed)
        {
            found = other;
            foundNodes = ahead;
        }
    }
    return found;
}

RiderAhead FindSlowRiderInHazard(const RiderStep& step, const RiderAhead& ahead)
{
    const BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    uint32_t reach = ahead.rider != kNoRider ? std::min(ahead.nodes, 10u) : 10u;
    if (bike.aiLineNode < ai.pitLaneFirstNode)
    {
        reach = std::min(reach, ai.pitLaneFirstNode - 1u - bike.aiLineNode);
    }
    RiderAhead found;
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        const uint32_t nodes = NodesAhead(ai, bike.aiLineNode, o.aiLineNode);
        if (nodes == 0 || nodes > reach || (found.rider != kNoRider && nodes >= found.nodes) ||
            !(o.speed < bike.speed || o.speed < kHazardCrawl))
        {
            continue;
        }
        found.rider = other;
        found.nodes = nodes;
        found.gap = static_cast<float>(nodes) * 7.0f / (bike.speed + 0.1f);
    }
    return found;
}

void LimitSpeedBehind(RiderStep& step, uint32_t ahead)
{
    BikeRecord& bike = step.bike;
    const BikeRecord& other = step.race.bikes[ahead];
    const float distance = sim::Sqrt(DistanceSqTo(bike, other));
    const float safe = 5.0f + 0.25f * other.speed;
    const float cap = std::max(other.speed + (distance - safe) * kClosingRate, 0.0f);
    bike.aiSpeedCap = std::min(bike.aiSpeedCap, cap);
}

void Decide(RiderStep& step, bool startPhase, bool lineUp)
{
    BikeRecord& bike = step.bike;
    RiderAhead ahead = FindRiderAhead(step);
    if (startPhase)
    {
        if (ahead.rider != kNoRider)
        {
            LimitSpeedBehind(step, ahead.rider);
        }
        if (lineUp)
        {
            LineUpAtStart(step);
        }
        return;
    }
    if ((bike.aiFlags & ai_flags::kInHazardZone) != 0)
    {
        ahead = FindSlowRiderInHazard(step, ahead);
    }
    if (ahead.rider != kNoRider)
    {
        BikeRecord& other = step.race.bikes[ahead.rider];
        if (other.raceStatus == race_status::kRacing)
        {
            const bool yields = step.IsRace() ? bike.timedLap > other.timedLap && ahead.gap < 1.0f
                                              : step.race.riderProfiles[ahead.rider].paceRank >=
                                                    step.profile.paceRank + 8;
            if (yields)
            {
                other.raceStatus = race_status::kYielding;
            }
        }
        if (ahead.gap >= 0.8f)
        {
            RideFree(step, ahead);
            return;
        }
        LimitSpeedBehind(step, ahead.rider);
        if (bike.aiSpeedCap < bike.aiLineSpeed && !ChangeRunning(bike))
        {
            TryOvertake(step, ahead.rider);
        }
        return;
    }
    const RaceAi& ai = step.ai;
    if (bike.aiTargetNode >= ai.pitLaneEndNode)
    {
        FollowBranch(step);
        return;
    }
    if (bike.raceStatus == race_status::kFinished && !ChangeRunning(bike))
    {
        // The cool-down lap: out towards the higher-numbered lane.
        const RacingLineNode& target = step.Node(bike.aiTargetNode);
        const auto index = [&](uint32_t link)
        { return link < ai.linkLimit ? static_cast<int64_t>(link) : -1; };
        const uint32_t side = index(target.sideLink1) > index(target.sideLink0) ? 1 : 0;
        if (index(SideLink(target, side)) > static_cast<int64_t>(bike.aiTargetNode) &&
            step.ai.ChangeLine(step.rider, side, 1))
        {
            bike.aiLineChangeGain = 0.5f;
        }
    }
}

void Yield(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RiderAhead ahead = FindRiderAhead(step);
    if (ahead.rider != kNoRider && ahead.gap < 0.75f)
    {
        LimitSpeedBehind(step, ahead.rider);
    }
    const RaceAi& ai = step.ai;
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    uint32_t side = 0;
    if (bike.aiTargetNode < ai.pitLaneEndNode)
    {
        const bool has0 = target.sideLink0 < ai.linkLimit;
        const bool has1 = target.sideLink1 < ai.linkLimit;
        side = has1 && (!has0 || step.Node(target.sideLink0).stepLength <
                                     step.Node(target.sideLink1).stepLength)
                   ? 1
                   : 0;
    }
    else
    {
        side = target.sideLink0 < bike.aiTargetNode ? 1 : 0;
    }
    if (SideLink(target, side) >= ai.linkLimit)
    {
        bike.raceStatus = race_status::kRacing;
    }
    else if (step.ai.ChangeLine(step.rider, side, 1))
    {
        bike.aiLineChangeGain = 0.6f;
    }
}
}  // namespace racing_decision
