#pragma once

// The decisions of a computer rider that set the limits its controllers obey: the rider ahead
// and the speed behind it, passing, the line changes of the avoidance and of branch lines,
// yielding to faster riders. Main thread only, inside the race tick.

#include <cstdint>

#include "race/ai/RiderStep.h"

namespace racing_decision
{
inline constexpr uint32_t kNoRider = 0xFFFF;

struct RiderAhead
{
    uint32_t rider = kNoRider;
    uint32_t nodes = 0;  // main-line nodes to it
    float gap = 1e9f;    // s at the present speed
};

// Main-line nodes from node a forward to node b over the lap's end.
uint32_t NodesAhead(const RaceAi& ai, uint32_t a, uint32_t b);

// The nearest rider in the race ahead on the main line within the look-ahead (at most 40
// nodes), and its time gap.
RiderAhead FindRiderAhead(const RiderStep& step);
// Caps the rider's speed so that it closes on the rider ahead no faster than the room between
// them allows.
void LimitSpeedBehind(RiderStep& step, uint32_t ahead);
// Caps the speed and asks for line changes against the riders within 8 m.
void AvoidRiders(RiderStep& step, bool startPhase);
// Statuses 9 and above: the racing decision of the step.
void Decide(RiderStep& step, bool startPhase);
// Status 8: lets the faster rider by.
void Yield(RiderStep& step);
}  // namespace racing_decision
