// The player's steering and braking aids: near the racing line they steer for the line's aim
// point in the curves and brake for the speed a computer rider would ride there.

#include <algorithm>
#include <cmath>

#include "race/SimMath.h"
#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"

namespace rider_control
{
namespace
{
constexpr uint8_t kAidZones = 0x30;
constexpr uint8_t kZoneRight = 0x30;
constexpr uint8_t kZoneLeft = 0x20;
constexpr uint32_t kSlowRiderReach = 12;
}  // namespace

void SteerAid(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    bike.steeringAidMode = 0;
    bike.aiSteerRadius = 0.0f;
    const uint32_t main = bike.aiLineNode;
    if (bike.crashRequest != BikeRecord::kNoCrash || bike.speed < 3.0f ||
        main >= ai.aidZoneByNode.size())
    {
        return;
    }
    const uint8_t zone = ai.aidZoneByNode[main] & kAidZones;
    if (zone == 0)
    {
        return;
    }
    const uint32_t slow = racing_decision::FindSlowerRiderAhead(step, main, kSlowRiderReach);
    if (slow != racing_decision::kNoRider)
    {
        racing_decision::LimitSpeedBehind(step, slow);
    }
    const float input = bike.steer;
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    if (zone == kZoneRight)
    {
        bike.steeringAidMode = 3;
        if (input > 0.9f && step.IsNode(target.sideLink1))
        {
            bike.aiTargetNode = target.sideLink1;
        }
    }
    else if (zone == kZoneLeft)
    {
        bike.steeringAidMode = 2;
        if (input < -0.9f && step.IsNode(target.sideLink0))
        {
            bike.aiTargetNode = target.sideLink0;
        }
    }
    else
    {
        bike.steeringAidMode = 1;
    }
    if (bike.aiTargetNode >= ai.linkLimit)
    {
        const RacingLineNode& off = step.Node(bike.aiTargetNode);
        bike.aiTargetNode = step.IsNode(off.sideLink1) ? off.sideLink1 : off.sideLink0;
    }
    const uint32_t keptTarget = bike.aiTargetNode;
    const float keptSpeed = bike.speed;
    const Aim aim = TargetOnLine(step);
    bike.aiTargetNode = keptTarget;
    bike.speed = keptSpeed;
    const float c = sim::Cos(bike.heading);
    const float s = sim::Sin(bike.heading);
    const float lateral = aim.dx * c - aim.dz * s;
    const float forward = aim.dz * c + aim.dx * s;
    if (forward < 0.0f)
    {
        bike.steeringAidMode = 0;
        return;
    }
    if (std::fabs(lateral) < forward)
    {
        bike.aiSteerRadius = lateral == 0.0f ? BikeRecord::kStraight
                                             : lateral * 0.5f + forward * forward * 0.5f / lateral;
        return;
    }
    const float rate = SteerRate(bike.speed);
    bike.steer = std::clamp(bike.steer + (lateral >= 0.0f ? rate : -rate), -1.0f, 1.0f);
    ai.targetSpeed = std::min(ai.targetSpeed, 8.4f);
    bike.aiSteerRadius = lateral >= 0.0f ? BandRadius(bike.speed) : -BandRadius(bike.speed);
}

void BrakeAid(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    ai.targetSpeed = kNoLimit;
    bike.aiSpeedCap = 200.0f;
    bike.aiFollowSpeed = 200.0f;
    step.profile.pace = 1.0f;
    const float steerRadius = bike.aiSteerRadius;
    ChooseTargetSpeed(step);
    float speed = ai.targetSpeed * 0.9f;
    if (bike.steeringAidMode < 2)
    {
        speed *= 0.95f;
    }
    else
    {
        speed =
            std::min(speed, sim::Sqrt(std::fabs((bike.frontGrip + bike.rearGrip) * steerRadius) /
                                      std::max(bike.setup.mass, 1.0f)));
    }
    const float excess = bike.speed - speed;
    if (excess >= 1.0f)
    {
        float demand = 0.1f * excess * excess;
        if (demand < bike.brake)
        {
            demand = 0.2f * demand + 0.8f * bike.aiAidBrake;
        }
        demand = std::max(demand, bike.aiAidBrake);
        bike.aiAidBrake = demand;
        Brake(step, demand);
        return;
    }
    bike.aiAidBrake = 0.0f;
    if (bike.rearGripUse < 1.0f)
    {
        bike.throttle *= bike.rearGripUse;
    }
}
}  // namespace rider_control
