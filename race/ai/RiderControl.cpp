// The steering and speed controllers of a computer rider: target node, aim point, target
// speed, gear, throttle and brake.

#include <algorithm>
#include <cmath>

#include "race/SimMath.h"
#include "race/ai/PitLane.h"
#include "race/ai/RiderStep.h"

float RiderStep::DistanceSq(uint32_t node) const
{
    if (!IsNode(node))
    {
        return 1e7f;
    }
    const float dx = ai.nodes[node].x - bike.positionX;
    const float dz = ai.nodes[node].z - bike.positionZ;
    return dx * dx + dz * dz;
}

namespace rider_control
{
namespace
{
constexpr float kNoRadius = 1e13f;
constexpr float kRpmPerRadian = 0.10471976f;  // rpm of one rad/s
constexpr int32_t kTopGear = 6;
constexpr float kCoolDownCrawl = 8.0f;
constexpr float kPlayerTakesOverSpeed = 22.222f;  // 80 km/h
constexpr uint32_t kMaxWalk = 400;                // nodes any walk along the line may take

constexpr uint32_t kChangeFlags = ai_flags::kChangingToSide1 | ai_flags::kChangingToSide0;
constexpr uint32_t kReasonFlags =
    ai_flags::kLineChangeReason0 | ai_flags::kLineChangeReason1 | ai_flags::kLineChangeReason2;

// The angular distance of c from the shorter arc between a and b; 0 on it.
float DistanceFromArc(float a, float b, float c)
{
    const float span = sim::WrapSigned(b - a);
    const float fromA = sim::WrapSigned(c - a);
    if ((span >= 0.0f && fromA >= 0.0f && fromA <= span) ||
        (span < 0.0f && fromA <= 0.0f && fromA >= span))
    {
        return 0.0f;
    }
    return std::min(std::fabs(fromA), std::fabs(sim::WrapSigned(c - b)));
}

float HeadingFactor(const RiderStep& step)
{
    const RacingLineNode& target = step.Node(step.bike.aiTargetNode);
    const float a = step.IsNode(target.next) ? step.Node(target.next).heading : target.heading;
    const float b =
        step.IsNode(target.previous) ? step.Node(target.previous).heading : target.heading;
    const float d = DistanceFromArc(a, b, sim::WrapAngle(step.bike.course));
    const float perClass = 8.0f + 2.0f * static_cast<float>(ToIndex(step.race.current.bikeClass));
    return std::clamp(1.0f + d * perClass, 1.0f, 8.0f);
}

// The point L (squared) ahead on the line from the node after `from`, and the nodes walked.
Aim PointAhead(const RiderStep& step, uint32_t from, float lookAhead, uint32_t& walked)
{
    const BikeRecord& bike = step.bike;
    uint32_t before = from;
    uint32_t node = step.IsNode(step.Node(from).next) ? step.Node(from).next : from;
    walked = 0;
    while (step.DistanceSq(node) < lookAhead && walked < kMaxWalk)
    {
        const uint16_t next = step.Node(node).next;
        if (!step.IsNode(next))
        {
            break;
        }
        before = node;
        node = next;
        ++walked;
    }
    const float d1 = step.DistanceSq(before);
    const float d2 = step.DistanceSq(node);
    const float t = d2 > d1 ? std::clamp((lookAhead - d1) / (d2 - d1), 0.0f, 1.0f) : 1.0f;
    const RacingLineNode& p = step.Node(before);
    const RacingLineNode& q = step.Node(node);
    return {p.x + (q.x - p.x) * t - bike.positionX, p.z + (q.z - p.z) * t - bike.positionZ};
}

// The node of the line the rider changes away from, beside the new target.
uint32_t OldLineNode(const RiderStep& step)
{
    const RacingLineNode& target = step.Node(step.bike.aiTargetNode);
    return (step.bike.aiFlags & ai_flags::kChangingToSide1) != 0 ? target.sideLink0
                                                                 : target.sideLink1;
}

}  // namespace

float SteerRate(float speed)
{
    if (speed <= 8.4f)
    {
        return 0.12f;
    }
    return speed <= 16.8f ? 0.11f : 0.06f;
}

float BandRadius(float speed)
{
    if (speed > 25.2f)
    {
        return 15.0f;
    }
    return speed >= 8.4f ? speed * 0.59523815f : 5.0f;
}

Aim TargetOnLine(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const float v = bike.speed;
    float lookAhead = step.race.current.bikeClass == BikeClass::Class500
                          ? std::max(169.0f, 0.16f * v * v)
                          : std::max(169.0f, 7.5f * v);
    lookAhead *= HeadingFactor(step);
    const float t = bike.aiLineChangeTime;
    if ((bike.aiFlags & ai_flags::kChangeForPitLane) != 0)
    {
        lookAhead *= t >= 1.0f ? 0.6f + 0.2f * t : 1.0f - 0.2f * t;
    }
    else if ((bike.aiFlags & ai_flags::kChangeForAvoidance) != 0)
    {
        lookAhead *= t >= 1.0f ? 0.4f + 0.3f * t : 1.0f - 0.3f * t;
    }
    uint32_t walked = 0;
    const Aim onNew = PointAhead(step, bike.aiTargetNode, lookAhead, walked);

    if (bike.aiLineChangeTime > 0.0f)
    {
        const float rate = std::max(bike.setup.steeringRate, 0.01f);
        bike.aiLineChangeTime -=
            step.ai.stepLength * (1.0f - 0.025f * v / rate) * bike.aiLineChangeGain;
        bike.aiLineChangeTime = std::min(bike.aiLineChangeTime, 2.0f);
        const uint32_t old = OldLineNode(step);
        if (old >= step.ai.linkLimit)
        {
            bike.aiLineChangeTime = 0.0f;
        }
        if (bike.aiLineChangeTime <= 0.0f)
        {
            bike.aiLineChangeTime = 0.0f;
            bike.aiFlags &= ~kChangeFlags;
            return onNew;
        }
        if (bike.aiLineChangeTime > 1.0f)
        {
            // The same number of nodes along the old line.
            uint32_t node = old;
            for (uint32_t i = 0; i <= walked && step.IsNode(step.Node(node).next); ++i)
            {
                node = step.Node(node).next;
            }
            const RacingLineNode& o = step.Node(node);
            const float w = bike.aiLineChangeTime - 1.0f;
            return {onNew.dx * (1.0f - w) + (o.x - bike.positionX) * w,
                    onNew.dz * (1.0f - w) + (o.z - bike.positionZ) * w};
        }
    }
    return onNew;
}

namespace
{
// Without ground under a wheel: back to the nearest node of the line, stepping back where the
// line behind is nearer.
Aim TargetOffGround(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    uint32_t target = bike.aiTargetNode;
    float best = target >= ai.linkLimit ? 1e8f : step.DistanceSq(target);
    for (const bool side1 : {true, false})
    {
        const RacingLineNode& node = step.Node(target);
        const uint32_t beside = side1 ? node.sideLink1 : node.sideLink0;
        if (beside < ai.linkLimit && step.DistanceSq(beside) < best)
        {
            target = beside;
            best = step.DistanceSq(beside);
        }
    }
    uint32_t candidate = step.Node(target).previous;
    for (uint32_t i = 0; !step.IsNode(candidate) && i < kMaxWalk; ++i)
    {
        const RacingLineNode& node = step.Node(target);
        const uint32_t beside = node.sideLink1 < target ? node.sideLink1 : node.sideLink0;
        if (beside >= target || !step.IsNode(beside))
        {
            break;
        }
        target = beside;
        candidate = step.Node(target).previous;
    }
    if (target == ai.pitLaneFirstNode && ai.timingNodes[0] < ai.nodeCount)
    {
        candidate = ai.timingNodes[0];
    }
    if (!step.IsNode(candidate))
    {
        candidate = target;
    }
    if (step.DistanceSq(candidate) < step.DistanceSq(target) ||
        std::fabs(bike.aiSteerRadius) > 2500.0f)
    {
        target = candidate;
    }
    bike.aiTargetNode = target;
    const RacingLineNode& node = step.Node(target);
    return {node.x - bike.positionX, node.z - bike.positionZ};
}

Aim TargetNextNode(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RacingLineNode& node = step.Node(bike.aiNextNode);
    const Aim aim{node.x - bike.positionX, node.z - bike.positionZ};
    if (aim.dx * aim.dx + aim.dz * aim.dz < 25.0f)
    {
        bike.aiNextNode = BikeRecord::kNoNode;
        bike.aiLineChangeTime = 0.0f;
    }
    else if (bike.speed > 10.0f)
    {
        step.ai.targetSpeed = std::min(step.ai.targetSpeed, bike.speed);
    }
    return aim;
}

// On a branch line: towards the side node's line, 180 (squared) ahead of it.
Aim TargetOnBranch(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    uint32_t node = target.sideLink1 < step.ai.linkLimit ? target.sideLink1 : target.sideLink0;
    if (node >= step.ai.linkLimit)
    {
        return TargetOnLine(step);
    }
    if (step.DistanceSq(bike.aiTargetNode) > 2.0f * step.DistanceSq(node))
    {
        bike.aiSection = node;
    }
    constexpr float kReach = 180.0f;
    float d1 = 0.0f;
    uint32_t before = node;
    for (uint32_t i = 0; i < kMaxWalk && step.IsNode(step.Node(node).next); ++i)
    {
        const uint32_t next = step.Node(node).next;
        const float d = step.DistanceSq(next);
        before = node;
        node = next;
        if (d >= kReach)
        {
            break;
        }
        d1 = d;
    }
    const float d2 = step.DistanceSq(node);
    const float t = d2 > d1 ? std::clamp((kReach - d1) / (d2 - d1), 0.0f, 1.0f) : 1.0f;
    const RacingLineNode& p = step.Node(before);
    const RacingLineNode& q = step.Node(node);
    return {p.x + (q.x - p.x) * t - bike.positionX, p.z + (q.z - p.z) * t - bike.positionZ};
}

float CorneringSpeed(const BikeRecord& bike, float radius)
{
    return sim::Sqrt(std::fabs((bike.frontGrip + bike.rearGrip) * bike.setup.steeringLock * radius /
                               std::max(bike.setup.mass, 1.0f)));
}

float PerformanceRoot(const RiderStep& step)
{
    const float wet = 1.0f - 0.3f * step.race.current.trackWetness;
    const float grip = 1.0f + step.ai.gripOffset;
    return sim::Sqrt(std::max(step.bike.enginePowerFactor * grip * wet, 0.0f));
}
}  // namespace

void AdvanceTarget(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    if (bike.raceStatus == race_status::kFinished)
    {
        // The cool-down lap eases off but never stops on the line, where riders still racing
        // would pile up behind it.
        const float easing = std::max(0.995f * bike.speed, kCoolDownCrawl);
        bike.aiFollowSpeed = std::min({bike.aiFollowSpeed, 22.0f * step.profile.pace, easing});
    }
    else if (bike.raceStatus == race_status::kLeavingPits)
    {
        ai.targetSpeed = std::max(ai.targetSpeed, 24.0f);
        // Out at racing speed the player takes the controls and the camera back.
        if (step.IsPlayerDriven() && bike.pitRequest == 0 && step.IsNode(bike.aiTargetNode) &&
            step.Node(bike.aiTargetNode).speedFactor >= kPlayerTakesOverSpeed)
        {
            bike.raceStatus = race_status::kPlayer;
            step.race.current.viewedRider = step.rider;
        }
    }
    if (!step.IsNode(bike.aiTargetNode))
    {
        return;
    }
    for (uint32_t i = 0; i < kMaxWalk; ++i)
    {
        const uint16_t next = step.Node(bike.aiTargetNode).next;
        if (!step.IsNode(next) || step.DistanceSq(next) > step.DistanceSq(bike.aiTargetNode))
        {
            break;
        }
        bike.aiTargetNode = next;
    }
    bike.aiFlags &= ~ai_flags::kOvertakingCharge;
    if ((bike.aiFlags & ai_flags::kTargetToChainEnd) != 0)
    {
        bike.aiFlags &= ~ai_flags::kTargetToChainEnd;
        uint32_t best = bike.aiTargetNode;
        for (const bool side1 : {false, true})
        {
            uint32_t node = bike.aiTargetNode;
            for (uint32_t i = 0; i < kMaxWalk; ++i)
            {
                const uint32_t beside =
                    side1 ? step.Node(node).sideLink1 : step.Node(node).sideLink0;
                if (beside >= ai.linkLimit)
                {
                    break;
                }
                node = beside;
            }
            if (step.DistanceSq(node) < step.DistanceSq(best))
            {
                best = node;
            }
        }
        bike.aiTargetNode = best;
    }
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    bike.aiSection = target.section;
    bike.aiAltSection = target.section;
    if (bike.aiLineChangeTime > 1.0f && (bike.aiFlags & kChangeFlags) != 0)
    {
        bike.aiAltSection = OldLineNode(step);
    }
    bike.aiLineNode = ai.CanonicalNode(static_cast<uint16_t>(bike.aiTargetNode));
}

void Steer(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    if (!step.IsNode(bike.aiTargetNode))
    {
        return;
    }
    Aim aim;
    if (bike.frontSurface.surfaceClass == -1 || bike.rearSurface.surfaceClass == -1)
    {
        aim = TargetOffGround(step);
    }
    else if (bike.raceStatus == race_status::kInPitLane ||
             bike.raceStatus == race_status::kPlayerToPitBox)
    {
        aim = pit_lane::TargetPitBox(step);
    }
    else if (step.IsNode(bike.aiNextNode))
    {
        aim = TargetNextNode(step);
    }
    else if (bike.aiTargetNode < ai.linkLimit || bike.raceStatus == race_status::kRetiring)
    {
        aim = TargetOnLine(step);
    }
    else
    {
        aim = TargetOnBranch(step);
    }
    const float c = sim::Cos(bike.heading);
    const float s = sim::Sin(bike.heading);
    const float lateral = aim.dx * c - aim.dz * s;
    const float forward = aim.dz * c + aim.dx * s;
    ai.steeringSide = lateral >= 0.0f ? 1 : 0;
    const float v = bike.speed;

    if (forward < -4.0f)
    {
        if (v < 8.4f)
        {
            if (bike.steer > 0.05f)
            {
                ai.steeringSide = 1;
            }
            else if (bike.steer < -0.05f)
            {
                ai.steeringSide = 0;
            }
            bike.aiSteerRadius = ai.steeringSide == 1 ? 5.0f : -5.0f;
            ai.targetSpeed = std::min(ai.targetSpeed, 7.0f);
        }
        else
        {
            ai.targetSpeed = std::min(ai.targetSpeed, 2.0f);
            bike.aiSteerRadius = kNoRadius;
        }
        return;
    }
    if (forward <= std::fabs(lateral))
    {
        const float rate = SteerRate(v);
        bike.steer = std::clamp(bike.steer + (ai.steeringSide == 1 ? rate : -rate), -1.0f, 1.0f);
        ai.targetSpeed = std::min(ai.targetSpeed, 8.4f);
        bike.aiSteerRadius = ai.steeringSide == 1 ? BandRadius(v) : -BandRadius(v);
        if (2.0f * forward < std::fabs(lateral) &&
            !(bike.aiNextNode > ai.pitLaneFirstNode && bike.aiNextNode < ai.pitLaneEndNode))
        {
            bike.aiNextNode = BikeRecord::kNoNode;
        }
        return;
    }
    bike.aiSteerRadius =
        lateral == 0.0f ? kNoRadius : lateral * 0.5f + forward * forward * 0.5f / lateral;
}

void ChooseTargetSpeed(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    if (!step.IsNode(bike.aiTargetNode))
    {
        return;
    }
    if (step.InPitLane(bike.aiLineNode))
    {
        // Slow to a walk at the box; the lane's own speed still holds elsewhere.
        const uint32_t box = pit_lane::PitBoxNode(step);
        const uint32_t t = bike.aiTargetNode;
        if (t == box)
        {
            ai.targetSpeed = std::min(ai.targetSpeed, 3.0f);
        }
        else if (t == box + 1)
        {
            ai.targetSpeed = std::min(ai.targetSpeed, 4.0f);
        }
        else if (t > box + 1 && t <= box + 5)
        {
            ai.targetSpeed = std::min(ai.targetSpeed, 7.0f);
        }
    }
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    const uint32_t next = step.IsNode(target.next) ? target.next : bike.aiTargetNode;
    const uint32_t previous = step.IsNode(target.previous) ? target.previous : bike.aiTargetNode;
    const float dt = step.DistanceSq(bike.aiTargetNode);
    const float dn = step.DistanceSq(next);
    const float dp = step.DistanceSq(previous);
    const uint32_t other = dn < dp ? next : previous;
    const float dOther = dn < dp ? dn : dp;
    const float sum = dt + dOther;
    bike.aiSpeedFactor =
        sum > 0.0f ? (step.Node(other).speedFactor * dt + dOther * target.speedFactor) / sum
                   : target.speedFactor;
    if (bike.aiPerformanceRoot <= 0.0f || step.Node(next).speedFactor > target.speedFactor)
    {
        bike.aiPerformanceRoot = PerformanceRoot(step);
    }
    float speed = bike.aiPerformanceRoot * bike.aiSpeedFactor * step.profile.pace;
    bike.aiLineSpeed = speed;

    if ((bike.aiFlags & ai_flags::kOvertakingCharge) != 0)
    {
        if (bike.aiTargetNode < ai.linkLimit)
        {
            speed *= 2.0f;
        }
        else
        {
            bike.aiFlags &= ~(ai_flags::kOvertakingCharge | kReasonFlags);
        }
    }
    constexpr struct
    {
        uint32_t flag;
        float factor;
    } kReasons[] = {{ai_flags::kLineChangeReason0, 0.88f},
                    {ai_flags::kLineChangeReason1, 0.94f},
                    {ai_flags::kLineChangeReason2, 0.99f}};
    for (const auto& reason : kReasons)
    {
        if ((bike.aiFlags & reason.flag) == 0)
        {
            continue;
        }
        if (bike.aiLineChangeTime > 0.0f)
        {
            speed *= reason.factor;
        }
        else
        {
            bike.aiFlags &= ~reason.flag;
        }
    }
    if (speed > bike.aiSpeedCap)
    {
        speed = bike.aiSpeedCap;
        bike.aiFlags |= ai_flags::kSlowedByRiderAhead;
    }
    else
    {
        bike.aiFlags &= ~ai_flags::kSlowedByRiderAhead;
    }
    speed = std::min(speed, bike.aiFollowSpeed);
    if ((bike.aiFlags & ai_flags::kInHazardZone) != 0)
    {
        speed = std::min(speed, 34.0f);
    }
    ai.targetSpeed = std::min(ai.targetSpeed, speed);
    const float radius = std::fabs(bike.aiSteerRadius);
    if (radius < 500.0f && radius >= 10.0f)
    {
        ai.targetSpeed = std::min(ai.targetSpeed, CorneringSpeed(bike, radius));
    }
}

float TorqueAt(const BikeRecord& bike, float rpm)
{
    const auto last = static_cast<float>(bike.engineCurve.size() - 1);
    const auto index = static_cast<size_t>(std::clamp(rpm * 0.01f, 0.0f, last));
    return bike.engineCurve[index];
}

float RpmInGear(const BikeRecord& bike, int32_t gear, float speed)
{
    const float radius =
        bike.rearRollingRadius > 0.0f ? bike.rearRollingRadius : bike.setup.rearTyreRadius;
    const auto index = static_cast<size_t>(std::clamp(gear, 1, kTopGear) - 1);
    return bike.setup.overallRatio[index] * speed / (std::max(radius, 0.01f) * kRpmPerRadian);
}

void ShiftGears(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    if (bike.speed <= 15.0f)
    {
        return;
    }
    const float since = step.ai.raceTime - bike.aiTimeStamp;
    const bool lastUp = (bike.aiFlags & ai_flags::kLastShiftUp) != 0;
    const bool mayUp = since >= 0.75f || (lastUp && since >= 0.2f);
    const bool mayDown = since >= 0.75f || (!lastUp && since >= 0.15f);
    const float peak = bike.peakTorqueRpm;
    const float rpm = bike.engineRpm;
    const float torque = TorqueAt(bike, rpm);
    const auto shift = [&](int32_t by)
    {
        bike.gear += by;
        bike.shiftTimer = 0.0f;
        bike.aiTimeStamp = step.ai.raceTime;
        bike.aiFlags =
            by > 0 ? bike.aiFlags | ai_flags::kLastShiftUp : bike.aiFlags & ~ai_flags::kLastShiftUp;
    };
    if (mayDown && bike.gear > 1)
    {
        const float lower = bike.setup.overallRatio[static_cast<size_t>(bike.gear - 2)];
        const float ratio = bike.setup.overallRatio[static_cast<size_t>(bike.gear - 1)];
        const bool down = bike.brake < 0.35f ? RpmInGear(bike, bike.gear - 1, step.ai.targetSpeed) <
                                                   (1.0f + 0.025f * bike.brake) * peak
                                             : TorqueAt(bike, rpm / ratio * lower) > torque;
        if (down)
        {
            shift(-1);
            return;
        }
    }
    if (mayUp && bike.gear < kTopGear)
    {
        const float higherRpm = RpmInGear(bike, bike.gear + 1, bike.speed);
        if (higherRpm > 0.94f * peak && TorqueAt(bike, higherRpm) > torque)
        {
            shift(1);
        }
    }
}

void Accelerate(RiderStep& step, float amount)
{
    BikeRecord& bike = step.bike;
    const float peak = bike.peakTorqueRpm;
    const float rpm = std::max(bike.engineRpm, 1.0f);
    const float v = bike.speed;
    if (bike.gear <= 1 && rpm < 0.85f * peak)
    {
        bike.throttle = std::min(peak / rpm, 1.0f);
        float clutch = bike.clutch;
        clutch = clutch < 0.1f ? clutch + 0.015f : clutch * 1.1f;
        if (v > 12.0f && std::fabs(bike.steer) * bike.setup.steeringLock > step.profile.activeAngle)
        {
            clutch *= 0.95f;
        }
        if (std::fabs(bike.steer) >= 0.99f)
        {
            clutch = v < 10.0f ? 1.0f : clutch * 0.99f;
        }
        bike.clutch = std::clamp(clutch, 0.05f, 1.0f);
        return;
    }
    bike.clutch = 1.0f;
    const float dt = step.ai.stepLength;
    float limit = 1.0f;
    if (amount < 7.0f)
    {
        limit = bike.throttle < 0.1f ? 0.1f + 0.12857142f * amount
                                     : (1.0f + 0.42857143f * amount) * bike.throttle;
    }
    limit = std::min(limit, bike.throttle + step.profile.activeRange * dt);
    const bool towardsTarget = (bike.steer >= 0.0f) == (step.ai.steeringSide == 1);
    const float reference = towardsTarget ? 1.0f : bike.throttle;
    float adjusted = reference;
    const float radius = std::fabs(bike.aiSteerRadius);
    const float headingError = std::fabs(sim::WrapSigned(bike.course - bike.heading));
    if (v > 12.0f && headingError > step.profile.activeAngle)
    {
        adjusted *= radius >= 900.0f ? 0.99f : 0.9f + 0.0001f * radius;
    }
    else if (bike.rearGripUse >= 1.0f)
    {
        adjusted = adjusted < 0.001f ? 0.05f : adjusted * 0.98f;
    }
    else
    {
        adjusted *= std::max(bike.rearGripUse, 0.0f);
    }
    if (!towardsTarget && radius < std::fabs(bike.turnRadius) && bike.turnRadius != 0.0f)
    {
        adjusted *= radius / std::fabs(bike.turnRadius);
    }
    bike.throttle = std::clamp((adjusted + 3.0f * reference) * 0.25f, 0.0f, std::min(limit, 1.0f));
}

void Brake(RiderStep& step, float amount)
{
    BikeRecord& bike = step.bike;
    if (bike.gear < 2)
    {
        bike.clutch = 0.0f;
        bike.throttle =
            std::min(bike.peakTorqueRpm / std::max(bike.engineRpm, 1.0f) * bike.throttle, 1.0f);
    }
    else
    {
        bike.clutch = 1.0f;
        bike.throttle = 0.0f;
    }
    float brake = amount;
    const bool towardsTarget = (bike.steer >= 0.0f) == (step.ai.steeringSide == 1);
    if (brake > 0.0f && !towardsTarget && std::fabs(bike.aiSteerRadius) < 500.0f)
    {
        brake *= 0.8f;
    }
    bike.brake = std::clamp(brake, 0.0f, 1.0f);
}

void ApplyTargetSpeed(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const float target = step.ai.targetSpeed;
    const float v = bike.speed;
    const float e = v - target;
    if (e <= 0.0f)
    {
        bike.brake = 0.0f;
        Accelerate(step, -e);
    }
    else if (target < 0.0f)
    {
        bike.brake = 1.0f;
        bike.throttle = 0.0f;
    }
    else if (v > bike.aiSpeedCap)
    {
        Brake(step, 1.0f);
    }
    else if (e >= 1.0f || bike.throttle == 0.0f)
    {
        float demand = e * e * 0.25f;
        if (demand < bike.brake)
        {
            demand = 0.15f * demand + 0.85f * bike.brake;
        }
        Brake(step, demand);
    }
    else
    {
        bike.throttle *= 1.0f - 0.2f * e;
        bike.brake = std::min(e, 1.0f);
    }
}

void Swerve(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const float dt = step.ai.stepLength;
    if ((bike.aiFlags & ai_flags::kSwerving) != 0)
    {
        const float moved = bike.poseTwist + (bike.poseTwist >= 0.0f ? dt : -dt);
        if (std::fabs(moved) >= 1.0f)
        {
            bike.poseTwist = moved > 0.0f ? 1.0f : -1.0f;
            bike.aiFlags &= ~ai_flags::kSwerving;
        }
        else
        {
            bike.poseTwist = moved;
        }
        return;
    }
    if (bike.poseTwist == 0.0f)
    {
        if ((bike.aiTargetNode & 0xF) == 0)
        {
            bike.aiFlags |= ai_flags::kSwerveAllowed;
        }
        return;
    }
    bike.poseTwist = bike.poseTwist > 0.0f ? std::max(bike.poseTwist - dt, 0.0f)
                                           : std::min(bike.poseTwist + dt, 0.0f);
}
}  // namespace rider_control
