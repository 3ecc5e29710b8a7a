#pragma once

// The computer-rider code's view of one rider in one step: the race object, the race it works
// on, the rider's record and profile. The controllers turn the step's decisions into the
// record's inputs; the racing decision sets the limits they obey. Main thread only, inside
// the race tick.

#include <cstdint>

#include "race/BikeRecord.h"
#include "race/RaceAi.h"
#include "race/RaceContext.h"
#include "race/RiderProfile.h"

struct RiderStep
{
    RaceAi& ai;
    RaceContext& race;
    uint32_t rider;
    BikeRecord& bike;
    RiderProfile& profile;

    const RacingLineNode& Node(uint32_t node) const { return ai.nodes[node]; }
    bool IsNode(uint32_t node) const { return node < ai.nodeCount; }
    // Squared x/z distance from the rider to a node; 1e7 for no node.
    float DistanceSq(uint32_t node) const;
    bool IsRace() const { return race.standings.Session().isRace; }
    bool InPitLane(uint32_t node) const
    {
        return node >= ai.pitLaneFirstNode && node < ai.pitLaneEndNode;
    }
    bool IsPlayerDriven() const
    {
        return rider == race.playerRider.load(std::memory_order_relaxed);
    }
};

// The status values of the rider state machine.
namespace race_status
{
inline constexpr uint32_t kPlayer = 0;
inline constexpr uint32_t kPlayerInPitBox = 1;
inline constexpr uint32_t kFirstPitBox = 2;
inline constexpr uint32_t kPitBox = 3;
inline constexpr uint32_t kPlayerReleased = 4;
inline constexpr uint32_t kFallenOut = 5;
inline constexpr uint32_t kWaitingForRun = 6;
inline constexpr uint32_t kRetiring = 7;
inline constexpr uint32_t kYielding = 8;
inline constexpr uint32_t kRacing = 9;
inline constexpr uint32_t kFinished = 10;
inline constexpr uint32_t kLeavingPits = 11;
inline constexpr uint32_t kPenaltyPending = 12;
inline constexpr uint32_t kInPitLane = 13;
inline constexpr uint32_t kPlayerToPitBox = 14;
inline constexpr uint32_t kRideThrough = 15;
inline constexpr uint32_t kPlayerRideThrough = 16;
}  // namespace race_status

// The controllers of a computer rider (statuses 7 and above), in the order the update calls
// them.
namespace rider_control
{
inline constexpr float kNoLimit = 111.111f;

// A point the rider steers for, relative to its position.
struct Aim
{
    float dx = 0.0f;
    float dz = 0.0f;
};

// How far the steer moves in a step towards an aim well to the side, and the turn radius
// taken meanwhile, by the speed band.
float SteerRate(float speed);
float BandRadius(float speed);

// The point the look-ahead reaches along the rider's line, blended from the old line while a
// line change runs; counts the change time down.
Aim TargetOnLine(RiderStep& step);

// Moves the target node on along the line and keeps the sections and the main-line node.
void AdvanceTarget(RiderStep& step);
// The aim point and from it the signed steering radius the dynamics steer by.
void Steer(RiderStep& step);
// The step's target speed from the line, the rider's pace and the limits of the step.
void ChooseTargetSpeed(RiderStep& step);
// Computer riders with the clutch fully engaged, above 15 m/s.
void ShiftGears(RiderStep& step);
// Throttle or brake from the difference between speed and target speed.
void ApplyTargetSpeed(RiderStep& step);
void Accelerate(RiderStep& step, float amount);
void Brake(RiderStep& step, float amount);
// The pose twist of a swerve.
void Swerve(RiderStep& step);
// Status 10 in a race: a finished rider up front on a straight starts a celebration.
void TryCelebration(RiderStep& step);

// The player's rider: its target and main-line node from where it rides, the lapping and
// finish-zone flags; true while it is within 20 m of the line.
bool TrackPlayerLine(RiderStep& step);
// The automatic gearbox and clutch of the player's rider, on its own inputs.
void GearAid(RiderStep& step);
// Near the line, in the curves the aid zones mark: the steering radius towards the line's aim
// point, and the steering-aid mode the dynamics blend the player's steer with.
void SteerAid(RiderStep& step);
// Near the line: brakes for a little below what a computer rider would ride there.
void BrakeAid(RiderStep& step);
void ClutchAid(RiderStep& step);

// The engine's torque figure at an engine speed, from the record's curve.
float TorqueAt(const BikeRecord& bike, float rpm);
// The rpm the gear (1..6) gives at the speed.
float RpmInGear(const BikeRecord& bike, int32_t gear, float speed);
}  // namespace rider_control
