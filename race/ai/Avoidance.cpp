// The avoidance of a computer rider: speed caps and line changes against the riders within
// 8 m, and keeping clear of a rider that may pass beside it or cut inside it in a bend.

#include <algorithm>
#include <cmath>

#include "race/SimMath.h"
#include "race/ai/RacingDecision.h"

namespace racing_decision
{
namespace
{
constexpr float kNear = 64.0f;  // squared: riders within 8 m
constexpr float kFloorCap = 3.0f;
constexpr float kChangeGain = 0.7f;
constexpr float kAvoidChangeTime = 1.7f;
constexpr float kPassLevelSeconds = 1.0f;
constexpr float kPassSideBySideSq = 1.8f * 1.8f;
constexpr float kInLineSq = 0.5f * 0.5f;  // closer across is riding in line, not beside
constexpr float kLevelMargin = 1.0f;      // m along the heading that still counts as level
constexpr float kBendTurn = 0.1f;         // rad over kBendNodes
constexpr uint32_t kBendNodes = 5;
constexpr float kCutInsideSlowdown = 5.0f;

uint32_t SideFlag(uint32_t side)
{
    return side == 1 ? ai_flags::kBlockedSide1 : ai_flags::kBlockedSide0;
}

// A line change the avoidance asks for; the closer conflicts (reason 0) win.
struct ChangeRequest
{
    bool needed = false;
    uint32_t reason = 1;

    void Ask(uint32_t why)
    {
        needed = true;
        reason = std::min(reason, why);
    }
};

// A change running towards the other rider's side is taken back.
void StopChangeTowards(RiderStep& step, uint32_t side)
{
    BikeRecord& bike = step.bike;
    const uint32_t towards = side == 1 ? ai_flags::kChangingToSide1 : ai_flags::kChangingToSide0;
    if (ChangeRunning(bike) && (bike.aiFlags & towards) != 0)
    {
        step.ai.ChangeLine(step.rider, 1 - side, 0);
    }
}

bool HoldsTargetOrBeside(const RiderStep& step, const BikeRecord& other)
{
    const uint32_t target = step.bike.aiTargetNode;
    const RacingLineNode& node = step.Node(target);
    return other.aiTargetNode == target || other.aiTargetNode == node.sideLink0 ||
           other.aiTargetNode == node.sideLink1;
}

// The close conflicts by the other rider's place around this one.
void AvoidClose(RiderStep& step, const BikeRecord& other, const RiderOffset& at,
                ChangeRequest& change)
{
    BikeRecord& bike = step.bike;
    const float l = at.longitudinalSq;
    const float s = at.lateralSq;
    const uint32_t mark = SideFlag(at.side);
    const bool sameSection = other.aiSection == bike.aiSection;
    if (l > 4.41f)
    {
        if (other.speed >= bike.speed)
        {
            return;
        }
        if (s <= 0.25f && sameSection)
        {
            bike.aiFlags |= mark;
        }
        const uint32_t target = bike.aiTargetNode;
        if (s < 1.21f && l < step.profile.avoidDistanceSq && other.aiTargetNode != target &&
            other.aiTargetNode != step.Node(target).next)
        {
            bike.aiFlags |= mark;
        }
        if (s <= 0.81f && l < 16.0f)
        {
            StopChangeTowards(step, at.side);
            const uint32_t steeringTo = bike.aiSteerRadius >= 0.0f ? 1 : 0;
            if (s < 0.25f || steeringTo == at.side)
            {
                bike.aiSpeedCap = std::min(bike.aiSpeedCap, other.speed * l / 9.0f);
            }
        }
    }
    else if (l > 0.0f && s > 0.25f && s <= 2.25f)
    {
        bike.aiFlags |= mark;
        if (s <= 1.21f || sameSection)
        {
            change.Ask(0);
        }
        if (s <= 0.81f && sameSection)
        {
            bike.aiSpeedCap = std::min(bike.aiSpeedCap, other.speed * l * s * 0.27994737f);
        }
    }
    else if (l > 0.0f && s <= 0.25f)
    {
        bike.aiFlags |= mark;
        bike.aiSpeedCap =
            std::min(bike.aiSpeedCap,
                     HoldsTargetOrBeside(step, other) ? 0.0f : other.speed * l * 0.22675738f);
        change.Ask(0);
    }
    else if (l <= 0.0f && l > -3.24f && s <= 2.25f)
    {
        bike.aiFlags |= mark;
        if (s <= 0.49f && l > -1.0f && sameSection)
        {
            change.Ask(0);
        }
    }
}
}  // namespace

RiderOffset OffsetOf(const BikeRecord& bike, const BikeRecord& other)
{
    const float d2 = DistanceSqTo(bike, other);
    const float bearing = sim::WrapSigned(
        sim::Atan2(other.positionX - bike.positionX, other.positionZ - bike.positionZ) -
        sim::WrapSigned(bike.heading));
    const float c = sim::Cos(bearing);
    const float s = sim::Sin(bearing);
    RiderOffset at;
    at.distanceSq = d2;
    at.longitudinalSq = std::fabs(c) * c * d2;
    at.lateralSq = s * s * d2;
    at.side = bearing >= 0.0f ? 1 : 0;
    return at;
}

bool CanPassOnSide(const RiderStep& step, const BikeRecord& other, const RiderOffset& at)
{
    const float level = std::fabs(other.speed - step.bike.speed) * kPassLevelSeconds + kLevelMargin;
    return at.lateralSq >= kInLineSq && at.lateralSq < kPassSideBySideSq &&
           std::fabs(at.longitudinalSq) <= level * level;
}

bool CanCutInside(const RiderStep& step, const RiderOffset& at)
{
    uint32_t ahead = step.bike.aiTargetNode;
    for (uint32_t i = 0; i < kBendNodes && step.IsNode(step.Node(ahead).next); ++i)
    {
        ahead = step.Node(ahead).next;
    }
    const float turn =
        sim::WrapSigned(step.Node(ahead).heading - step.Node(step.bike.aiTargetNode).heading);
    const uint32_t inside = turn >= 0.0f ? 1 : 0;
    return std::fabs(turn) > kBendTurn && at.side == inside;
}

void AvoidRiders(RiderStep& step, bool startPhase)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    bike.aiSpeedCap = rider_control::kNoLimit;
    bike.aiFollowSpeed = rider_control::kNoLimit;
    bike.aiFlags &= ~(ai_flags::kBlockedSide0 | ai_flags::kBlockedSide1);
    ChangeRequest change;
    for (uint32_t otherRider = 0; otherRider < ai.riderCount; ++otherRider)
    {
        if (otherRider == step.rider || !InRace(step, otherRider))
        {
            continue;
        }
        const BikeRecord& other = step.race.bikes[otherRider];
        if (DistanceSqTo(bike, other) >= kNear)
        {
            continue;
        }
        const RiderOffset at = OffsetOf(bike, other);
        AvoidClose(step, other, at, change);
        if (startPhase)
        {
            continue;
        }
        const bool player = other.raceStatus == race_status::kPlayer;
        const float l = at.longitudinalSq;
        bool cutsInside = false;
        bool keepClear = false;
        if (player && at.distanceSq < ai.cautionDistanceSq)
        {
            keepClear = CanPassOnSide(step, other, at);
            cutsInside = !keepClear && CanCutInside(step, at);
        }
        else if (!player && l > -25.0f && l < 36.0f)
        {
            keepClear = CanPassOnSide(step, other, at);
        }
        if (keepClear || cutsInside)
        {
            bike.aiFlags |= SideFlag(at.side);
            change.Ask(1);
        }
        if (cutsInside && bike.speed <= l + other.speed)
        {
            bike.aiSpeedCap = std::min(bike.aiSpeedCap, other.speed - kCutInsideSlowdown);
        }
    }
    bike.aiSpeedCap = std::max(bike.aiSpeedCap, kFloorCap);
    if (!change.needed || startPhase)
    {
        return;
    }
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    for (const uint32_t side : {1u, 0u})
    {
        if ((bike.aiFlags & SideFlag(side)) == 0 && SideLink(target, side) < ai.linkLimit &&
            step.ai.ChangeLine(step.rider, side, change.reason))
        {
            bike.aiSpeedCap = rider_control::kNoLimit;
            bike.aiLineChangeGain = kChangeGain;
            bike.aiLineChangeTime = kAvoidChangeTime;
            // The forced change looks less far ahead than the one that keeps clear.
            bike.aiFlags |=
                change.reason == 0 ? ai_flags::kChangeForAvoidance : ai_flags::kChangeForPitLane;
            return;
        }
    }
}
}  // namespace racing_decision
