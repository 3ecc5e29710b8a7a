// Passing: the line choice of free riding towards a rider ahead, and the attempt of a rider
// held up close behind one.

#include <algorithm>
#include <cmath>

#include "race/SimMath.h"
#include "race/ai/RacingDecision.h"

namespace racing_decision
{
namespace
{
constexpr float kNearSq = 625.0f;  // 25 m: close enough to follow the rider ahead directly
constexpr uint32_t kCapNodes = 14;
constexpr uint32_t kOvertakeReach = 10;

// The line speed of the rider at a node: the node's speed factor at its pace and machine.
float LineSpeedAt(const RiderStep& step, uint32_t node)
{
    return step.Node(node).speedFactor * step.profile.pace * step.bike.aiPerformanceRoot;
}

// The speed on the lane of node over the nodes ahead: the slowest rider on it, else the line.
float LaneSpeed(const RiderStep& step, uint32_t node, uint32_t nodes)
{
    const RaceAi& ai = step.ai;
    float speed = LineSpeedAt(step, node);
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        if (o.aiSection == step.Node(node).section || o.aiTargetNode < node ||
            o.aiTargetNode > node + nodes)
        {
            continue;
        }
        speed = std::min(speed, o.speed);
    }
    return speed;
}

// Whether a slower line ahead makes the pass hopeless: a node within reach no faster than the
// rider ahead can go there.
bool PassHopeless(const RiderStep& step, const BikeRecord& other, const RiderProfile& otherProfile,
                  uint32_t nodes)
{
    const BikeRecord& bike = step.bike;
    const float factor = std::max(step.Node(bike.aiTargetNode).speedFactor, 0.1f);
    const float r = std::max(1.0f, bike.speed / factor);
    const float limit = r * r * (other.speed / std::max(otherProfile.pace, 0.1f));
    uint32_t node = bike.aiTargetNode;
    for (uint32_t i = 0; i < nodes; ++i)
    {
        const uint32_t next = step.Node(node).next;
        if (!step.IsNode(next))
        {
            break;
        }
        node = next;
        if (step.Node(node).speedFactor <= limit)
        {
            return true;
        }
    }
    return false;
}

// Further than 25 m from the rider ahead: the speed the rider can still shed or gain over the
// nodes to it.
void CapBySpeedReach(RiderStep& step, const BikeRecord& other, uint32_t nodes)
{
    BikeRecord& bike = step.bike;
    const float acceleration = step.ai.lineAccelerationValue;
    float cap = other.speed;
    uint32_t node = bike.aiTargetNode;
    for (uint32_t i = 0; i < std::min(nodes, kCapNodes); ++i)
    {
        const uint32_t next = step.Node(node).next;
        if (!step.IsNode(next))
        {
            break;
        }
        const float here = step.Node(node).speedFactor;
        const float change = step.Node(next).speedFactor - here;
        if (change > 0.0f)
        {
            const float share = here > 0.0f ? 1.0f - bike.speed / here : 0.0f;
            cap += change - 0.4f * share * acceleration;
        }
        else if (change < 0.0f)
        {
            cap -= 1.5f * change;
        }
        else
        {
            cap += acceleration;
        }
        node = next;
    }
    bike.aiSpeedCap = std::min(bike.aiSpeedCap, std::max(cap, other.speed));
}
}  // namespace

void RideFree(RiderStep& step, const RiderAhead& ahead)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const BikeRecord& other = step.race.bikes[ahead.rider];
    const RiderProfile& otherProfile = step.race.riderProfiles[ahead.rider];
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    const float d2 = DistanceSqTo(bike, other);
    const bool retiring = other.raceStatus == race_status::kRetiring;
    const bool slower = other.speed < bike.speed && other.speed < target.speedFactor &&
                        (other.raceStatus == race_status::kPlayer ||
                         other.speed < step.profile.pace * target.speedFactor);
    uint32_t gap = ahead.nodes;
    if ((retiring || slower) && !PassHopeless(step, other, otherProfile, gap))
    {
        const float closing = std::max(bike.speed - other.speed, 0.001f);
        const float q = d2 / (closing * closing);
        if (q <= 4.0f * static_cast<float>(gap))
        {
            uint32_t side = 2;
            float gain = 2.0f;
            if (bike.aiTargetNode >= ai.linkLimit)
            {
                side = 1;
                gap = 5;
            }
            else
            {
                const uint32_t side1 = target.sideLink1;
                const uint32_t side0 = target.sideLink0;
                const float speed1 = side1 < ai.linkLimit ? LaneSpeed(step, side1, gap) : -1.0f;
                const float speed0 = side0 < ai.linkLimit ? LaneSpeed(step, side0, gap + 5) : -1.0f;
                const float best = std::max(speed0, speed1);
                if (best > bike.speed)
                {
                    side = speed1 >= speed0 ? 1 : 0;
                }
                const float distance = sim::Sqrt(d2);
                gain = distance > 0.0f ? 2.0f / (distance / std::max(bike.speed, 0.1f)) : 1.5f;
                gain = std::clamp(gain, 0.1f, 1.5f);
            }
            if (side != 2)
            {
                const uint32_t reason = q < 5.0f ? 0 : q < 25.0f ? 1 : 2;
                if (step.ai.ChangeLine(step.rider, side, reason))
                {
                    bike.aiLineChangeGain = gain;
                }
                else if (bike.aiLineChangeTime < 1.4f || gap < 7)
                {
                    bike.aiLineChangeTime = 0.0f;
                    bike.aiLineChangeGain = 1.0f;
                }
                else
                {
                    bike.aiLineChangeGain *= 2.0f;
                }
            }
        }
    }
    if (d2 < kNearSq)
    {
        LimitSpeedBehind(step, ahead.rider);
    }
    else
    {
        CapBySpeedReach(step, other, gap);
    }
}

bool IsSideFree(const RiderStep& step, uint32_t ahead, uint32_t side)
{
    const BikeRecord& bike = step.bike;
    const BikeRecord& other = step.race.bikes[ahead];
    if (other.speed < 4.0f || other.raceStatus == race_status::kRetiring)
    {
        return true;
    }
    const float d2 = DistanceSqTo(bike, other);
    if ((bike.aiFlags & ai_flags::kSlowedByRiderAhead) != 0 && 0.25f * bike.speed * bike.speed > d2)
    {
        return true;
    }
    const RaceAi& ai = step.ai;
    const uint32_t own = SideLink(step.Node(bike.aiTargetNode), side);
    const uint32_t theirs = other.aiTargetNode < ai.nodeCount
                                ? SideLink(step.Node(other.aiTargetNode), side)
                                : ai.nodeCount;
    if (!step.IsNode(own))
    {
        return false;
    }
    const float ownLength = static_cast<float>(step.Node(own).stepLength + 1);
    const float theirLength =
        step.IsNode(theirs) ? static_cast<float>(step.Node(theirs).stepLength + 1) : ownLength;
    const float lineSpeed = std::max(LineSpeedAt(step, own), 0.1f);
    const float extra = std::max(ownLength - theirLength, 0.0f);
    const float mean = std::max(0.5f * (lineSpeed + bike.speed), 0.1f);
    const float ownTime = (ownLength - extra) / lineSpeed + extra / mean;
    const float theirTime = other.speed < 1.0f ? 1e9f : theirLength / other.speed;
    return ownTime < theirTime + 0.12f;
}

bool GapOnSide(const RiderStep& step, uint32_t node)
{
    const BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const auto reach = static_cast<uint32_t>(std::max(3.0f, 0.2f * bike.speed));
    uint32_t nearest = kNoRider;
    uint32_t nearestNodes = reach + 1;
    const uint32_t from = ai.CanonicalNode(static_cast<uint16_t>(node));
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        if (o.aiSection != step.Node(node).section && o.aiTargetNode != node)
        {
            const uint32_t nodes = NodesAhead(ai, from, o.aiLineNode);
            const bool onLane = o.aiTargetNode >= node && o.aiTargetNode <= node + reach;
            if (!onLane || nodes >= nearestNodes)
            {
                continue;
            }
            nearest = other;
            nearestNodes = nodes;
            continue;
        }
        nearest = other;
        nearestNodes = 0;
    }
    if (nearest == kNoRider)
    {
        return true;
    }
    const BikeRecord& o = step.race.bikes[nearest];
    if (o.speed >= bike.speed || static_cast<int32_t>(nearest) == bike.slipstreamRider ||
        step.Node(bike.aiTargetNode).speedFactor < o.speed)
    {
        return true;
    }
    float lineSpeed = step.Node(node).speedFactor * step.profile.pace;
    if ((bike.aiFlags & ai_flags::kLineChangeReason1) != 0)
    {
        lineSpeed *= 0.9f;
    }
    if ((bike.aiFlags & ai_flags::kLineChangeReason2) != 0)
    {
        lineSpeed += 1.5f;
    }
    return o.speed > lineSpeed;
}
}  // namespace racing_decision

namespace racing_decision
{
namespace
{
constexpr float kFastStretch = 50.0f;

// Whether the walk along the line from the own target meets the main-line node of the rider
// ahead within reach.
bool Reaches(const RiderStep& step, uint32_t mainNode)
{
    uint32_t node = step.bike.aiTargetNode;
    for (uint32_t i = 0; i <= kOvertakeReach; ++i)
    {
        if (step.ai.CanonicalNode(static_cast<uint16_t>(node)) == mainNode)
        {
            return true;
        }
        node = step.Node(node).next;
        if (!step.IsNode(node))
        {
            return false;
        }
    }
    return false;
}

uint32_t MainNodeAhead(const RiderStep& step, uint32_t node, uint32_t nodes)
{
    for (uint32_t i = 0; i < nodes && step.IsNode(step.Node(node).next); ++i)
    {
        node = step.Node(node).next;
    }
    return node;
}

struct PassChoice
{
    uint32_t side = 2;  // 2: none
    float gain = 0.0f;
    bool sideMustBeFree = false;
};

PassChoice ChooseFastStretchSide(const RiderStep& step, const BikeRecord& other, bool can0,
                                 bool can1)
{
    const BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    PassChoice choice;
    if (bike.speed <= other.speed + 0.2f &&
        !(bike.throttle > other.throttle && DistanceSqTo(bike, other) < 100.0f))
    {
        return choice;
    }
    if (std::fabs(bike.steer) > 0.4f)
    {
        return choice;
    }
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    if (bike.aiTargetNode < ai.pitLaneFirstNode)
    {
        const uint32_t ahead0 = can0 ? step.Node(target.sideLink0).runAhead : 0;
        const uint32_t ahead1 = can1 ? step.Node(target.sideLink1).runAhead : 0;
        choice.side = ahead1 > ahead0 ? 1 : 0;
        const uint32_t count = choice.side == 1 ? ahead1 : ahead0;
        const uint32_t otherCount = choice.side == 1 ? ahead0 : ahead1;
        const uint32_t end = MainNodeAhead(step, bike.aiLineNode, count);
        if (step.Node(end).speedFactor < bike.speed && otherCount > 2)
        {
            choice.side = 1 - choice.side;
        }
    }
    else
    {
        // Off the main line: the side whose link leads on towards it.
        choice.side = can1 && target.sideLink1 < bike.aiTargetNode ? 1 : 0;
    }
    choice.gain = 1.0f - bike.speed * 0.006666667f;
    choice.sideMustBeFree = true;
    return choice;
}

PassChoice ChooseSlowStretchSide(const RiderStep& step, const BikeRecord& other)
{
    const BikeRecord& bike = step.bike;
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    const float d2 = DistanceSqTo(bike, other);
    PassChoice choice;
    const bool falling =
        step.IsNode(target.next) && step.Node(target.next).speedFactor < target.speedFactor;
    if (falling)
    {
        if (bike.speed >= other.speed || d2 >= 100.0f)
        {
            return choice;
        }
        const uint32_t side = bike.steer >= 0.0f ? 1 : 0;
        const uint32_t beside = SideLink(target, side);
        // Only onto a line that begins here.
        if (step.IsNode(beside) && !step.IsNode(step.Node(beside).previous))
        {
            choice.side = side;
            choice.gain = 0.6f;
        }
        return choice;
    }
    if (bike.speed <= other.speed || d2 >= 64.0f || std::fabs(bike.steer) < 0.1f)
    {
        return choice;
    }
    const uint32_t side = bike.steer > 0.0f ? 1 : 0;
    const uint32_t beside = SideLink(target, side);
    if (step.IsNode(beside) && step.Node(beside).runAhead >= 4)
    {
        choice.side = side;
        choice.gain = 0.7f;
        choice.sideMustBeFree = true;
    }
    return choice;
}
}  // namespace

void TryOvertake(RiderStep& step, uint32_t ahead)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const BikeRecord& other = step.race.bikes[ahead];
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    const bool can1 =
        target.sideLink1 < ai.linkLimit && (bike.aiFlags & ai_flags::kBlockedSide1) == 0;
    const bool can0 =
        target.sideLink0 < ai.linkLimit && (bike.aiFlags & ai_flags::kBlockedSide0) == 0;
    if ((!can0 && !can1) || !Reaches(step, other.aiLineNode))
    {
        return;
    }
    PassChoice choice;
    if (other.raceStatus == race_status::kRetiring)
    {
        // Away from the retiring rider.
        if (other.aiTargetNode < ai.pitLaneFirstNode)
        {
            choice.side = other.steer > 0.0f ? 0 : 1;
        }
        else
        {
            choice.side = step.IsNode(other.aiTargetNode) &&
                                  step.Node(other.aiTargetNode).sideLink0 < ai.linkLimit
                              ? 0
                              : 1;
        }
        choice.gain = 2.0f;
    }
    else if (step.IsNode(other.aiLineNode) &&
             step.Node(other.aiLineNode).speedFactor >= kFastStretch)
    {
        choice = ChooseFastStretchSide(step, other, can0, can1);
    }
    else
    {
        choice = ChooseSlowStretchSide(step, other);
    }
    if (choice.side == 2 || !(choice.side == 1 ? can1 : can0))
    {
        return;
    }
    const uint32_t beside = SideLink(target, choice.side);
    if (beside >= ai.linkLimit ||
        (choice.sideMustBeFree && !IsSideFree(step, ahead, choice.side)) ||
        !GapOnSide(step, beside))
    {
        return;
    }
    if (step.ai.ChangeLine(step.rider, choice.side, 2))
    {
        bike.aiFlags &= ~(ai_flags::kChangeForPitLane | ai_flags::kChangeForAvoidance);
        bike.aiLineChangeGain = std::max(choice.gain, 0.1f);
        bike.aiSpeedCap = rider_control::kNoLimit;
    }
}
}  // namespace racing_decision
