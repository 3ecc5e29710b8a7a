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

inline bool InRace(const RiderStep& step, uint32_t rider)
{
    return rider < step.ai.riderCount && step.ai.inRace[rider] != 0 &&
           !step.race.bikes[rider].IsInactive();
}
inline float DistanceSqTo(const BikeRecord& a, const BikeRecord& b)
{
    const float dx = b.positionX - a.positionX;
    const float dz = b.positionZ - a.positionZ;
    return dx * dx + dz * dz;
}
inline bool ChangeRunning(const BikeRecord& bike)
{
    return bike.aiLineChangeTime > 0.0f;
}
inline uint32_t SideLink(const RacingLineNode& node, uint32_t side)
{
    return side == 1 ? node.sideLink1 : node.sideLink0;
}

// The nearest rider in the race slower than this one whose main-line node lies 1 to nodes
// ahead of from; kNoRider for none.
uint32_t FindSlowerRiderAhead(const RiderStep& step, uint32_t from, uint32_t nodes);
// Inside a hazard zone: the nearest rider within the next 10 main-line nodes (no farther than
// the rider ahead, not past the lap's end) slower than this one or than 16.7 m/s.
RiderAhead FindSlowRiderInHazard(const RiderStep& step, const RiderAhead& ahead);
// The rider ahead is 0.8 s or more away: a line to pass it on, and the speed to close in at.
void RideFree(RiderStep& step, const RiderAhead& ahead);
// Held up close behind the rider ahead: a change to a side where the pass can be made.
void TryOvertake(RiderStep& step, uint32_t ahead);
// Whether the rider gets along the side lane past the rider ahead in time.
bool IsSideFree(const RiderStep& step, uint32_t ahead, uint32_t side);
// Whether the lane of node is open ahead of the rider.
bool GapOnSide(const RiderStep& step, uint32_t node);
// The riders, in the race or not, placed better than place whose target node lies from node
// to 2 nodes beyond it.
uint32_t CountRidersNear(const RiderStep& step, uint32_t node, int32_t place);
// After the first seconds of the start: the field spreads over the lanes across the line.
void LineUpAtStart(RiderStep& step);

// The nearest rider in the race ahead on the main line within the look-ahead (at most 40
// nodes), and its time gap.
RiderAhead FindRiderAhead(const RiderStep& step);
// Caps the rider's speed so that it closes on the rider ahead no faster than the room between
// them allows.
void LimitSpeedBehind(RiderStep& step, uint32_t ahead);
// Where another rider is, seen from a rider: squared distance, signed squared gap along the
// heading (positive ahead), squared offset across it, and its side (1: bearing >= 0).
struct RiderOffset
{
    float distanceSq = 0.0f;
    float longitudinalSq = 0.0f;
    float lateralSq = 0.0f;
    uint32_t side = 0;
};
RiderOffset OffsetOf(const BikeRecord& bike, const BikeRecord& other);

// The two checks by which the avoidance keeps clear of a rider that may come by beside it.
// CanPassOnSide: the other rides beside, 0.5 to 1.8 m across, and level or drawing level
// within 1 s (the gap along the heading at most the speed difference over 1 s, plus 1 m).
// CanCutInside: the rider's line turns more than 0.1 rad over the 5 nodes after its target
// and the other rides on the inside of that bend.
bool CanPassOnSide(const RiderStep& step, const BikeRecord& other, const RiderOffset& at);
bool CanCutInside(const RiderStep& step, const RiderOffset& at);

// Caps the speed and asks for line changes against the riders within 8 m: marks the sides
// where riders are, and, out of the start phase, keeps clear of riders that may pass beside
// it (a player's rider within the caution distance also of one that may cut inside).
void AvoidRiders(RiderStep& step, bool startPhase);
// Statuses 9 and above: the racing decision of the step; during the start phase only the
// speed behind the rider ahead, and the line-up once lineUp is set.
void Decide(RiderStep& step, bool startPhase, bool lineUp);
// Status 8: lets the faster rider by.
void Yield(RiderStep& step);
}  // namespace racing_decision
