#pragma once

// The pit lane: riding into it, stopping in the pit box with a crew, waiting there and leaving
// again, the retiring ride and the ride-through of a penalty. Main thread only, inside the
// race tick.

#include <cstdint>

#include "race/ai/RiderStep.h"

namespace pit_lane
{
inline constexpr float kPitStopSeconds = 8.0f;     // a computer rider's stop with its crew
inline constexpr float kFirstExitSeconds = 15.0f;  // before a computer rider's first exit
inline constexpr float kPracticeSpread = 300.0f;   // s of a practice start per pace unit
inline constexpr float kPracticeDepartureGap = 3.0f;

// The rider's pit box: the start slot of the first practice slot plus the rider number,
// clamped to the last slot; the line's node count when there are no slots.
uint32_t PitBoxNode(const RiderStep& step);
// No rider in the race rides from 6 nodes behind the node to 2 ahead of it.
bool IsBoxExitFree(const RiderStep& step, uint32_t node);
// Whether a rider merging at node at the given speed keeps clear of the nearest slower rider
// ahead; a node at or beyond linkLimit is always clear.
bool IsLaneClear(const RiderStep& step, uint32_t node, float speed);

// Statuses 1 to 6: waiting in the pit box or for a practice run, and the player's release.
void Wait(RiderStep& step);
// Status 0: the player's rider that asked for the pit lane takes the lane's status once in it.
void EnterPitLane(RiderStep& step);
// Statuses 13 and 14: the aim point on the way into the pit box, the crew and the stop.
rider_control::Aim TargetPitBox(RiderStep& step);
// Status 7: slows down and rides into the pit lane, or off the line where there is none.
void RideToPits(RiderStep& step);
// Statuses 12, 15 and 16: into the pit lane at a timing node, through it, back to racing.
void ServePenalty(RiderStep& step);
}  // namespace pit_lane
