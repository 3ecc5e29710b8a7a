// The player's rider: where it is on the racing line, and the riding aids that work its own
// inputs: the automatic gearbox and the automatic clutch.

#include <algorithm>
#include <cmath>

#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"

namespace rider_control
{
namespace
{
constexpr uint32_t kMaxWalk = 400;
constexpr float kNearLineSq = 400.0f;  // 20 m
constexpr float kLostSq = 6400.0f;     // 80 m
constexpr float kFoundSq = 2500.0f;    // 50 m

// The node before node, or where a line without one continues.
uint32_t StepBack(const RiderStep& step, uint32_t node)
{
    const RaceAi& ai = step.ai;
    const uint32_t previous = step.Node(node).previous;
    if (step.IsNode(previous))
    {
        return previous;
    }
    const uint32_t canonical = ai.CanonicalNode(static_cast<uint16_t>(node));
    return canonical >= ai.pitLaneFirstNode ? ai.timingNodes[0] : canonical;
}

void MoveWhileNearer(const RiderStep& step, uint32_t& node, uint16_t RacingLineNode::*link)
{
    for (uint32_t i = 0; i < kMaxWalk; ++i)
    {
        const uint32_t to = step.Node(node).*link;
        if (to >= step.ai.linkLimit || !(step.DistanceSq(to) < step.DistanceSq(node)))
        {
            return;
        }
        node = to;
    }
}

// The lapping and finish-zone flags of the player's rider.
void CheckStartLine(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const uint32_t lap = ai.pitLaneFirstNode;
    if (bike.aiLineNode < lap)
    {
        bike.aiFlags &= ~ai_flags::kLappingRiderBehind;
        for (uint32_t other = 0; other < ai.riderCount; ++other)
        {
            const BikeRecord& o = step.race.bikes[other];
            if (other == step.rider || ai.inRace[other] == 0 || o.IsInactive() ||
                o.timedLap <= bike.timedLap)
            {
                continue;
            }
            const uint32_t behind = racing_decision::NodesAhead(ai, o.aiLineNode, bike.aiLineNode);
            if (behind <= 5)
            {
                bike.aiFlags |= ai_flags::kLappingRiderBehind;
            }
        }
        const StandingsSession& session = step.race.standings.Session();
        const bool done = bike.timedLap > session.laps;
        const uint32_t zone =
            racing_decision::NodesAhead(ai, ai.finishZoneFirst, ai.finishZoneLast);
        const bool inZone =
            racing_decision::NodesAhead(ai, ai.finishZoneFirst, bike.aiLineNode) <= zone;
        if (done && inZone)
        {
            bike.aiFlags |= ai_flags::kInFinishZone;
        }
        else
        {
            bike.aiFlags &= ~ai_flags::kInFinishZone;
        }
        return;
    }
    bike.aiFlags &= ~(ai_flags::kLappingRiderBehind | ai_flags::kInFinishZone);
}
}  // namespace

bool TrackPlayerLine(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    if (!step.IsNode(bike.aiTargetNode))
    {
        return false;
    }
    const GameMode mode = step.race.current.gameMode;
    const bool countsWrongWay = mode != GameMode::TestRide && mode != GameMode::GhostRace;
    uint32_t node = bike.aiTargetNode;
    for (uint32_t i = 0; i < kMaxWalk; ++i)
    {
        const uint32_t back = StepBack(step, node);
        if (!step.IsNode(back) || !(step.DistanceSq(back) < step.DistanceSq(node)))
        {
            break;
        }
        node = back;
        if (countsWrongWay)
        {
            bike.wrongWayDistance +=
                step.Node(ai.CanonicalNode(static_cast<uint16_t>(node))).stepLength;
        }
    }
    for (uint32_t i = 0; i < kMaxWalk; ++i)
    {
        const uint32_t ahead = step.Node(node).next;
        if (!step.IsNode(ahead) || !(step.DistanceSq(ahead) < step.DistanceSq(node)))
        {
            break;
        }
        node = ahead;
        bike.wrongWayDistance = 0;
    }
    MoveWhileNearer(step, node, &RacingLineNode::sideLink1);
    MoveWhileNearer(step, node, &RacingLineNode::sideLink0);
    const float nearest = step.DistanceSq(node);
    const bool nearLine = nearest < kNearLineSq;
    if (nearest >= kLostSq || bike.aiLineNode >= ai.pitLaneFirstNode)
    {
        const bool beyond = bike.aiLineNode >= ai.pitLaneFirstNode;
        uint32_t search = beyond ? 0 : ai.CanonicalNode(static_cast<uint16_t>(node));
        float best = beyond ? 3000.0f : step.DistanceSq(search);
        for (uint32_t i = 0; i < ai.pitLaneFirstNode && best >= kFoundSq; ++i)
        {
            const float d = step.DistanceSq(search);
            if (d < best)
            {
                best = d;
                node = search;
            }
            search = step.Node(search).next;
            if (!step.IsNode(search))
            {
                break;
            }
        }
    }
    bike.aiTargetNode = node;
    bike.aiSection = bike.aiAltSection = step.Node(node).section;
    bike.aiLineNode = ai.CanonicalNode(static_cast<uint16_t>(node));
    CheckStartLine(step);
    return nearLine;
}

void GearAid(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    if (bike.clutch < 0.975f)
    {
        return;
    }
    const float now = step.ai.raceTime;
    if (bike.speed < 15.0f)
    {
        bike.gear = 1;
        bike.aiTimeStamp = now;
        return;
    }
    const float since = now - bike.aiTimeStamp;
    const bool lastUp = (bike.aiFlags & ai_flags::kLastShiftUp) != 0;
    const float rpm = bike.engineRpm;
    const float torque = TorqueAt(bike, rpm);
    const auto ratio = [&](int32_t gear)
    { return bike.setup.overallRatio[static_cast<size_t>(std::clamp(gear, 1, 6) - 1)]; };
    const auto shift = [&](int32_t by)
    {
        bike.gear += by;
        bike.shiftTimer = 0.0f;
        bike.aiTimeStamp = now;
        bike.aiFlags =
            by > 0 ? bike.aiFlags | ai_flags::kLastShiftUp : bike.aiFlags & ~ai_flags::kLastShiftUp;
    };
    if ((since >= 0.75f || (lastUp && since >= 0.2f)) && bike.gear < 6 &&
        torque <= TorqueAt(bike, rpm / ratio(bike.gear) * ratio(bike.gear + 1)))
    {
        shift(1);
        return;
    }
    const float peak = bike.peakTorqueRpm;
    if ((since >= 0.75f || (!lastUp && since >= 0.15f)) && bike.gear > 1)
    {
        const float lowerRpm = rpm / ratio(bike.gear) * ratio(bike.gear - 1);
        if (lowerRpm <= peak - 1000.0f && lowerRpm < 0.94f * peak &&
            TorqueAt(bike, lowerRpm) > torque)
        {
            shift(-1);
        }
    }
}

void ClutchAid(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const float peak = bike.peakTorqueRpm;
    const float rpm = bike.engineRpm;
    if (bike.gear != 1 || rpm >= 0.6667f * peak)
    {
        return;
    }
    if (bike.brake >= 0.05f)
    {
        bike.clutch = 0.0f;
        return;
    }
    // An automatic clutch has no hand to start it from nothing.
    bike.clutch = std::max(bike.clutch, 0.01f);
    float aim = rpm / (0.6667f * peak);
    if (rpm < 0.9f * 0.6667f * peak)
    {
        aim = std::min(aim, 0.9f);
    }
    if (bike.rearGripUse < 1.0f)
    {
        aim = std::clamp(aim, std::min(0.95f, bike.rearGrip), std::max(0.95f, bike.rearGrip));
    }
    if (std::fabs(bike.steer) >= 0.98f)
    {
        aim = std::min(aim, 1.005f);
    }
    const float dt = step.ai.stepLength;
    bike.clutch =
        std::clamp(bike.clutch + std::clamp(aim * bike.clutch - bike.clutch, -dt, dt), 0.0f, 1.0f);
}
}  // namespace rider_control
