#include "race/ai/PitLane.h"

#include <algorithm>
#include <cmath>

#include "race/RaceServices.h"
#include "race/SimMath.h"
#include "race/ai/RacingDecision.h"

namespace pit_lane
{
namespace
{
constexpr float kPlayerLeavesThrottle = 0.75f;
constexpr uint32_t kPlayerCrew = RaceAi::kPitCrews - 1;
constexpr float kFarAway = 1e10f;
constexpr float kPenaltyStopSeconds = 10.0f;
constexpr float kStoodSpeed = 0.3f;
constexpr uint32_t kPenaltyLookAhead = 10;

bool InRace(const RiderStep& step, uint32_t rider)
{
    return rider < step.ai.riderCount && step.ai.inRace[rider] != 0 &&
           !step.race.bikes[rider].IsInactive();
}

void HoldStill(BikeRecord& bike)
{
    bike.throttle = 0.0f;
    bike.brake = 1.0f;
    bike.clutch = 0.0f;
}

void ReleaseCrew(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    if (bike.aiPitSlot < RaceAi::kPitCrews)
    {
        step.ai.pitCrewBusy[bike.aiPitSlot] = 0;
        step.ai.services->StopPitCrew(bike.aiPitSlot);
    }
    bike.aiPitSlot = BikeRecord::kNoPitSlot;
    bike.aiFlags &= ~ai_flags::kPitCrewClaimed;
}

void LeaveBox(RiderStep& step, uint32_t status)
{
    ReleaseCrew(step);
    step.bike.raceStatus = status;
    step.bike.brake = 0.0f;
    step.bike.aiTimeStamp = step.ai.raceTime;
    // The watched rider's out lap in a timed session is shown from the trackside.
    if (status == race_status::kLeavingPits && !step.IsRace() && !step.IsPlayerDriven() &&
        step.rider == step.race.current.viewedRider)
    {
        step.ai.ViewStretchOf(step.rider);
    }
}

// The machine is prepared afresh for the rider's first run.
void PrepareMachine(RiderStep& step)
{
    step.ai.currentRider = step.rider;
    step.ai.currentBike = &step.bike;
    step.ai.RetuneCurrentRider();
}

uint32_t OutLapStatus(const RiderStep& step)
{
    return step.IsRace() ? race_status::kRacing : race_status::kLeavingPits;
}

// The first free crew from slot 0; the last is kept for the player's rider unless it is the
// player's rider that comes in, or the player's rider is not out on the track.
uint32_t ClaimCrew(RiderStep& step)
{
    const RaceAi& ai = step.ai;
    const uint32_t player = step.race.playerRider.load(std::memory_order_relaxed);
    const bool playerOut =
        player < kRiderCount && step.race.bikes[player].raceStatus != race_status::kFirstPitBox;
    for (uint32_t slot = 0; slot < RaceAi::kPitCrews; ++slot)
    {
        if (ai.pitCrewBusy[slot] != 0)
        {
            continue;
        }
        if (slot == kPlayerCrew && step.bike.raceStatus != race_status::kPlayerToPitBox &&
            playerOut)
        {
            return BikeRecord::kNoPitSlot;
        }
        return slot;
    }
    return BikeRecord::kNoPitSlot;
}

void TakeCrew(RiderStep& step, uint32_t box)
{
    BikeRecord& bike = step.bike;
    if ((bike.aiFlags & ai_flags::kPitCrewClaimed) != 0)
    {
        return;
    }
    const uint32_t slot = ClaimCrew(step);
    if (slot < RaceAi::kPitCrews)
    {
        bike.aiPitSlot = static_cast<uint16_t>(slot);
        step.ai.pitCrewBusy[slot] = 1;
        step.ai.services->StartPitCrew(slot, step.Node(box).x, step.Node(box).z);
        bike.aiFlags |= ai_flags::kPitCrewClaimed;
        return;
    }
    // No crew free: through the lane without stopping.
    bike.aiFlags &= ~ai_flags::kPenaltyPending;
    if (bike.raceStatus == race_status::kPlayerToPitBox)
    {
        bike.raceStatus = race_status::kLeavingPits;
        step.race.current.viewedRider = step.rider;
        step.ai.ViewStretchOf(step.rider);
        return;
    }
    bike.raceStatus = race_status::kRacing;
    bike.frontTyreWear = 0.0f;
    bike.rearTyreWear = 0.0f;
}

rider_control::Aim AimAt(const RiderStep& step, float x, float z)
{
    return {x - step.bike.positionX, z - step.bike.positionZ};
}

rider_control::Aim StopInBox(RiderStep& step, uint32_t box, uint32_t before)
{
    BikeRecord& bike = step.bike;
    const RacingLineNode& b = step.Node(box);
    const RacingLineNode& p = step.Node(before);
    step.ai.targetSpeed = -1.0f;
    bike.kineticEnergy = 0.0f;
    bike.velocity[0] = 0.0f;
    bike.velocity[2] = 0.0f;
    bike.throttle = 0.0f;
    bike.positionX = b.x;
    bike.positionZ = b.z;
    bike.heading = bike.course = sim::WrapAngle(sim::Atan2(b.x - p.x, b.z - p.z));
    bike.aiTargetNode = bike.aiSection = bike.aiAltSection = box;
    bike.raceStatus = race_status::kPitBox;
    if ((bike.aiFlags & ai_flags::kPitCrewClaimed) != 0)
    {
        bike.aiFlags &= ~ai_flags::kPitCrewClaimed;
        step.ai.services->PitCrewToFirstPhase(bike.aiPitSlot);
    }
    else
    {
        bike.aiPitSlot = BikeRecord::kNoPitSlot;
    }
    bike.aiTimeStamp = step.ai.raceTime;
    return AimAt(step, 2.0f * b.x - p.x, 2.0f * b.z - p.z);
}

// The penalty stop: up to the stopping point behind whoever rides ahead in the lane, stood
// there for the stop's time, then back out.
void StopForPenalty(RiderStep& step, bool player)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    if (bike.aiTargetNode < ai.startLineBound)
    {
        bike.penaltyStopTimer = 0.0f;
        const uint32_t ahead =
            racing_decision::FindSlowerRiderAhead(step, bike.aiLineNode, kPenaltyLookAhead);
        if (ahead != racing_decision::kNoRider)
        {
            racing_decision::LimitSpeedBehind(step, ahead);
        }
        return;
    }
    bike.aiSpeedCap = 0.0f;
    if (bike.speed >= kStoodSpeed)
    {
        return;
    }
    bike.penaltyStopTimer += ai.stepLength;
    if (bike.penaltyStopTimer >= kPenaltyStopSeconds)
    {
        bike.penaltyStopTimer = 0.0f;
        bike.raceStatus = player ? race_status::kLeavingPits : race_status::kRacing;
        bike.aiFlags &= ~ai_flags::kPenaltyPending;
        bike.aiSpeedCap = rider_control::kNoLimit;
    }
}

void WaitForPlayer(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const bool leaves = bike.throttle > kPlayerLeavesThrottle;
    HoldStill(bike);
    if (leaves)
    {
        LeaveBox(step, race_status::kLeavingPits);
    }
}

void WaitForRun(RiderStep& step, float since, float waitSeconds, uint32_t status)
{
    HoldStill(step.bike);
    if (step.ai.raceTime - since < waitSeconds)
    {
        return;
    }
    step.bike.aiFlags |= ai_flags::kPitCrewClaimed;  // ready to leave
    if (IsBoxExitFree(step, PitBoxNode(step)))
    {
        LeaveBox(step, status);
    }
}
}  // namespace

uint32_t PitBoxNode(const RiderStep& step)
{
    const StartSlots& slots = step.ai.startSlots;
    const uint32_t count = std::min<uint32_t>(slots.count, StartSlots::kMaxSlots);
    if (count == 0)
    {
        return step.ai.nodeCount;
    }
    return slots.node[std::min<uint32_t>(slots.firstPracticeSlot + step.rider, count - 1)];
}

bool IsBoxExitFree(const RiderStep& step, uint32_t node)
{
    const RaceAi& ai = step.ai;
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        const uint32_t status = o.raceStatus;
        if (status == race_status::kPitBox || status == race_status::kFirstPitBox ||
            status == race_status::kWaitingForRun || status == race_status::kPlayerInPitBox)
        {
            continue;
        }
        if (o.aiTargetNode + 6 >= node && o.aiTargetNode <= node + 2)
        {
            return false;
        }
    }
    return true;
}

bool IsLaneClear(const RiderStep& step, uint32_t node, float speed)
{
    const RaceAi& ai = step.ai;
    if (node >= ai.linkLimit)
    {
        return true;
    }
    uint32_t walked = 0;
    uint32_t at = node;
    while (walked < 20 && speed < step.Node(at).speedFactor)
    {
        const uint32_t previous = step.Node(at).previous;
        if (!step.IsNode(previous))
        {
            break;
        }
        speed += step.Node(at).speedFactor - step.Node(previous).speedFactor;
        at = previous;
        ++walked;
    }
    const uint32_t from = ai.CanonicalNode(static_cast<uint16_t>(node));
    uint32_t nearest = racing_decision::kNoRider;
    uint32_t nearestNodes = walked + 1;
    for (uint32_t other = 0; other < ai.riderCount; ++other)
    {
        if (other == step.rider || !InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = step.race.bikes[other];
        const uint32_t nodes = racing_decision::NodesAhead(ai, from, o.aiLineNode);
        if (nodes <= walked && nodes < nearestNodes && o.speed < step.bike.speed)
        {
            nearest = other;
            nearestNodes = nodes;
        }
    }
    return nearest == racing_decision::kNoRider || speed < step.race.bikes[nearest].speed;
}

void Wait(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    switch (bike.raceStatus)
    {
        case race_status::kPlayerInPitBox:
            WaitForPlayer(step);
            break;
        case race_status::kFirstPitBox:
            if (step.IsPlayerDriven())
            {
                // Ready: the player's rider waits for its rider's key.
                HoldStill(bike);
                bike.raceStatus = race_status::kPlayerInPitBox;
                PrepareMachine(step);
                break;
            }
            WaitForRun(step, bike.aiTimeStamp, kFirstExitSeconds, OutLapStatus(step));
            if (bike.raceStatus != race_status::kFirstPitBox)
            {
                PrepareMachine(step);
            }
            break;
        case race_status::kPitBox:
            // A rider out of the race stays where it stopped.
            if (step.race.standings.sessionRanks[step.rider] >= session_rank::kRacing)
            {
                WaitForRun(step, bike.aiTimeStamp, kPitStopSeconds, OutLapStatus(step));
            }
            else
            {
                HoldStill(bike);
            }
            break;
        case race_status::kPlayerReleased:
        {
            // Held until the start releases the field.
            const bool released = ai.raceTime >= step.race.standings.sessionStartTime;
            bike.throttle = 0.2f;
            bike.brake = 1.0f;
            bike.clutch = 0.0f;
            if (released)
            {
                bike.raceStatus = race_status::kPlayer;
            }
            break;
        }
        case race_status::kWaitingForRun:
        {
            const float start = std::max((step.profile.paceBase - 0.92f) * kPracticeSpread,
                                         ai.lastPracticeDeparture + kPracticeDepartureGap);
            WaitForRun(step, start, 0.0f, race_status::kLeavingPits);
            if (bike.raceStatus != race_status::kWaitingForRun)
            {
                step.ai.lastPracticeDeparture = ai.raceTime;
            }
            break;
        }
        default:
            break;
    }
}

void EnterPitLane(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    if (bike.pitRequest == 0 || !step.InPitLane(bike.aiLineNode))
    {
        return;
    }
    if ((bike.aiFlags & ai_flags::kPenaltyPending) != 0)
    {
        bike.raceStatus = race_status::kPlayerRideThrough;
    }
    else
    {
        bike.raceStatus = step.IsRace() ? race_status::kLeavingPits : race_status::kPlayerToPitBox;
    }
}

rider_control::Aim TargetPitBox(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    const uint32_t box = PitBoxNode(step);
    const uint32_t outStatus = bike.raceStatus == race_status::kPlayerToPitBox
                                   ? race_status::kLeavingPits
                                   : race_status::kRacing;
    if (!step.InPitLane(box))
    {
        // No box in the lane: through it without a stop.
        if (!step.InPitLane(bike.aiTargetNode))
        {
            bike.raceStatus = outStatus;
        }
        return rider_control::TargetOnLine(step);
    }
    const uint32_t previous = step.IsNode(step.Node(box).previous) ? step.Node(box).previous : box;
    const uint32_t boxOnLine = previous != box ? step.Node(previous).next : box;
    const uint32_t after = step.IsNode(step.Node(box).next) ? step.Node(box).next : box;
    const uint32_t t = bike.aiTargetNode;
    const RacingLineNode& b = step.Node(box);
    const RacingLineNode& p = step.Node(previous);
    if (t + 7 < boxOnLine)
    {
        if (bike.aiLineNode < ai.pitLaneFirstNode)
        {
            bike.raceStatus = outStatus;
        }
        return rider_control::TargetOnLine(step);
    }
    if (t + 5 < boxOnLine)
    {
        ai.targetSpeed = std::min(ai.targetSpeed, 15.0f);
        TakeCrew(step, box);
        return rider_control::TargetOnLine(step);
    }
    if (t + 1 < boxOnLine)
    {
        ai.targetSpeed = std::min(ai.targetSpeed, t + 5 == boxOnLine ? 11.0f : 8.0f);
        return AimAt(step, 0.5f * (p.x + b.x), 0.5f * (p.z + b.z));
    }
    if (t + 1 < after)
    {
        bike.aiClosestApproachSq = kFarAway;
        ai.targetSpeed = std::min(ai.targetSpeed, 5.0f);
        return AimAt(step, b.x, b.z);
    }
    if (bike.raceStatus == race_status::kPlayerToPitBox)
    {
        ReleaseCrew(step);
        bike.raceStatus = race_status::kFirstPitBox;
        // As after Esc: the lap starts again and the rider stands in its box under the menu.
        ai.SelectRider(false);
        ai.services->RequestRaceMenu();
        return AimAt(step, b.x, b.z);
    }
    const float d2 = step.DistanceSq(box);
    if (t + 1 > after && d2 > 9.0f)
    {
        bike.raceStatus = race_status::kRacing;  // overshot the box
        return rider_control::TargetOnLine(step);
    }
    if (d2 <= bike.aiClosestApproachSq)
    {
        bike.aiClosestApproachSq = d2;
        ai.targetSpeed = std::min(ai.targetSpeed, 2.5f);
        return AimAt(step, b.x, b.z);
    }
    return StopInBox(step, box, previous);
}

void RideToPits(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    if ((bike.aiFlags & ai_flags::kDisqualified) == 0 && step.InPitLane(bike.aiLineNode))
    {
        bike.raceStatus = race_status::kInPitLane;
        return;
    }
    const bool pitLane = ai.pitLaneFirstNode < ai.pitLaneEndNode;
    if (!pitLane || bike.aiTargetNode >= ai.linkLimit)
    {
        // Nowhere to go: slow to a stop beside the line and leave the race.
        bike.aiFollowSpeed = bike.speed > 3.0f ? 0.7f * bike.speed : 0.0f;
        if (bike.speed < 0.3f)
        {
            // Out of the race for good: off the line, so nobody rides into it.
            bike.raceStatus = race_status::kFallenOut;
            bike.flags |= bike_flags::kInactive;
            step.ai.inRace[step.rider] = 0;
            if (step.race.standings.sessionRanks[step.rider] == session_rank::kRacing)
            {
                step.race.standings.SetFinalStatus(step.rider, session_rank::kDroppedOut);
            }
        }
        return;
    }
    bike.aiFollowSpeed = bike.speed > 15.0f ? 0.97f * bike.speed : 15.0f;
    const bool atEntry = std::find(ai.timingNodes.begin(), ai.timingNodes.end(),
                                   bike.aiTargetNode) != ai.timingNodes.end();
    if (atEntry)
    {
        bike.aiTargetNode = bike.aiSection = bike.aiAltSection = bike.aiLineNode =
            ai.pitLaneFirstNode;
        return;
    }
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    for (const uint32_t side : {0u, 1u})
    {
        const uint32_t beside = side == 0 ? target.sideLink0 : target.sideLink1;
        if (step.InPitLane(beside) && IsLaneClear(step, beside, bike.speed) &&
            step.ai.ChangeLine(step.rider, side, 2))
        {
            bike.aiLineChangeGain = 0.5f;
            bike.aiFlags |= ai_flags::kChangeForPitLane;
            return;
        }
    }
}

void ServePenalty(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    const RaceAi& ai = step.ai;
    const bool pitLane = ai.pitLaneFirstNode < ai.pitLaneEndNode;
    if (bike.raceStatus == race_status::kPenaltyPending)
    {
        // A circuit without a pit lane has nowhere to serve a ride-through.
        if (!pitLane)
        {
            bike.raceStatus = race_status::kRacing;
            bike.aiFlags &= ~ai_flags::kPenaltyPending;
            return;
        }
        const bool atEntry = std::find(ai.timingNodes.begin(), ai.timingNodes.end(),
                                       bike.aiTargetNode) != ai.timingNodes.end();
        if (!atEntry)
        {
            return;
        }
        bike.aiTargetNode = bike.aiSection = bike.aiAltSection = bike.aiLineNode =
            ai.pitLaneFirstNode;
        bike.raceStatus = step.IsRace() ? race_status::kRideThrough : race_status::kInPitLane;
    }
    else if ((bike.raceStatus == race_status::kRideThrough ||
              bike.raceStatus == race_status::kPlayerRideThrough) &&
             step.InPitLane(bike.aiLineNode))
    {
        const bool player = bike.raceStatus == race_status::kPlayerRideThrough;
        // A stopping point outside the lane could never be reached: ride through instead.
        if (bike.pitRequest != 0 && step.InPitLane(ai.startLineBound))
        {
            StopForPenalty(step, player);
            return;
        }
        bike.raceStatus = player ? race_status::kPlayer : race_status::kRacing;
        bike.aiFlags &= ~ai_flags::kPenaltyPending;
    }
}
}  // namespace pit_lane
