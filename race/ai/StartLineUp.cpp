// The start line-up: in the first seconds after the start the field spreads over the lanes
// across the line, each lane taking its share of the riders ahead.

#include <algorithm>
#include <array>

#include "race/ai/RacingDecision.h"

namespace racing_decision
{
namespace
{
constexpr uint32_t kMaxLanes = 15;
constexpr uint16_t kWideRunAhead = 12;

struct Lanes
{
    std::array<uint32_t, kMaxLanes> node{};
    uint32_t count = 0;
    uint32_t moveSide = 0;
};

uint32_t ChainEnd(const RiderStep& step, uint32_t node, uint32_t side)
{
    for (uint32_t i = 0; i < kMaxLanes; ++i)
    {
        const uint32_t beside = SideLink(step.Node(node), side);
        if (beside >= step.ai.linkLimit)
        {
            break;
        }
        node = beside;
    }
    return node;
}

// The nodes across the rider's main-line node, from the end whose lane runs out sooner.
Lanes LanesAcross(const RiderStep& step)
{
    const uint32_t main = step.bike.aiLineNode;
    const uint32_t end0 = ChainEnd(step, main, 0);
    const uint32_t end1 = ChainEnd(step, main, 1);
    Lanes lanes;
    uint32_t node = end1;
    uint32_t along = 0;
    if (step.Node(end0).runAhead < step.Node(end1).runAhead)
    {
        node = end0;
        along = 1;
    }
    lanes.moveSide = along;
    while (lanes.count < kMaxLanes)
    {
        lanes.node[lanes.count++] = node;
        const uint32_t beside = SideLink(step.Node(node), along);
        if (beside >= step.ai.linkLimit)
        {
            break;
        }
        node = beside;
    }
    return lanes;
}
}  // namespace

uint32_t CountRidersNear(const RiderStep& step, uint32_t node, int32_t place)
{
    const std::array<int32_t, kRiderCount>& places = step.race.standings.gridOrder;
    uint32_t riders = 0;
    for (uint32_t other = 0; other < std::min<uint32_t>(step.ai.riderCount, kRiderCount); ++other)
    {
        const uint32_t target = step.race.bikes[other].aiTargetNode;
        if (places[other] < place && target >= node && target < node + 3)
        {
            ++riders;
        }
    }
    return riders;
}

void LineUpAtStart(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    const RacingLineNode& target = step.Node(bike.aiTargetNode);
    const bool wide = target.runAhead >= kWideRunAhead ||
                      (target.sideLink0 < ai.linkLimit && target.sideLink1 < ai.linkLimit);
    if (bike.aiLineChangeTime > 1.6f || !wide || !step.IsNode(bike.aiLineNode))
    {
        return;
    }
    const Lanes lanes = LanesAcross(step);
    const int32_t place = step.race.standings.gridOrder[step.rider];
    std::array<uint32_t, kMaxLanes> cumulative{};
    std::array<uint32_t, kMaxLanes> wideLanes{};
    uint32_t riders = 0;
    uint32_t wideCount = 0;
    uint32_t own = kMaxLanes;
    for (uint32_t k = 0; k < lanes.count; ++k)
    {
        const uint32_t lane = lanes.node[k];
        riders += CountRidersNear(step, lane, place);
        wideCount += step.Node(lane).runAhead >= kWideRunAhead ? 1 : 0;
        cumulative[k] = riders;
        wideLanes[k] = wideCount;
        if (lane == bike.aiTargetNode)
        {
            own = k;
        }
    }
    const uint32_t last = lanes.count - 1;
    const float share = wideLanes[last] > 0 ? static_cast<float>(cumulative[last]) /
                                                  static_cast<float>(wideLanes[last])
                                            : 0.0f;
    if (own == kMaxLanes)
    {
        // Off every lane across the line: back onto the nearer end of them.
        if (bike.aiTargetNode < ai.linkLimit)
        {
            return;
        }
        bike.aiFlags |= ai_flags::kTargetToChainEnd;
        bike.aiLineChangeTime = 0.0f;
        const uint32_t side = target.sideLink1 < ai.linkLimit ? 1 : 0;
        if (ai.ChangeLine(step.rider, side, 1))
        {
            bike.aiLineChangeGain = 0.75f;
        }
        return;
    }
    const float ownShare = static_cast<float>(wideLanes[own]) * share;
    if (static_cast<float>(cumulative[own]) > ownShare && own < last)
    {
        const uint32_t next = lanes.node[own + 1];
        bike.aiLineChangeTime = 0.0f;
        bike.aiLineChangeGain =
            (static_cast<float>(ToIndex(step.race.current.bikeClass)) + 3.0f) * 0.2f;
        if (!step.IsNode(step.Node(next).previous))
        {
            // A lane that begins here: on it at once.
            bike.aiTargetNode = next;
            bike.aiLineChangeGain = 0.6667f;
        }
        else
        {
            ai.ChangeLine(step.rider, lanes.moveSide, 1);
        }
        return;
    }
    if (own >= 3 && step.Node(lanes.node[own - 1]).runAhead >= kWideRunAhead &&
        step.Node(lanes.node[own]).runAhead >= kWideRunAhead &&
        static_cast<float>(wideLanes[own - 1]) * share <
            static_cast<float>(cumulative[own - 1]) + 1.0f)
    {
        if (ai.ChangeLine(step.rider, 1 - lanes.moveSide, 2))
        {
            bike.aiLineChangeGain = 0.75f;
        }
    }
}
}  // namespace racing_decision
