// Lookups of the current rider among the field: a rider on a stretch of the line, the rider of
// the next better place, and keeping in the shadow of a rider on another stretch.

#include <algorithm>

#include "race/RaceContext.h"
#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"

namespace
{
constexpr uint32_t kNoRider = racing_decision::kNoRider;
constexpr uint32_t kStretchNodes = 2;     // beyond the stretch's first node
constexpr uint32_t kNextPlaceReach = 40;  // main-line nodes ahead the lookups reach
constexpr uint32_t kOwnLineChange = 1;    // the line-change reason of the rider's own choices

bool HasCurrentRider(const RaceAi& ai)
{
    return ai.currentBike != nullptr && ai.currentRider < kRiderCount;
}

RiderStep CurrentStep(RaceAi& ai, RaceContext& race)
{
    return RiderStep{ai, race, ai.currentRider, *ai.currentBike,
                     race.riderProfiles[ai.currentRider]};
}
}  // namespace

uint32_t RaceAi::FindRiderOnStretch(uint32_t node)
{
    if (!HasCurrentRider(*this) || node >= nodeCount)
    {
        return kNoRider;
    }
    const RiderStep step = CurrentStep(*this, *context_);
    const BikeRecord& own = *currentBike;
    const uint32_t from = CanonicalNode(static_cast<uint16_t>(node));
    for (uint32_t other = 0; other < riderCount; ++other)
    {
        if (other == currentRider || !racing_decision::InRace(step, other))
        {
            continue;
        }
        const BikeRecord& o = context_->bikes[other];
        if (racing_decision::NodesAhead(*this, from, o.aiLineNode) > kStretchNodes)
        {
            continue;
        }
        // Only a rider the current one closes on, or that closes on it, meets it there.
        const bool ahead = racing_decision::NodesAhead(*this, own.aiLineNode, o.aiLineNode) <=
                           racing_decision::NodesAhead(*this, o.aiLineNode, own.aiLineNode);
        if (ahead ? o.speed < own.speed : o.speed > own.speed)
        {
            return other;
        }
    }
    return kNoRider;
}

uint32_t RaceAi::FindNextPlaceRider()
{
    const uint32_t viewed = context_->current.viewedRider;
    if (!HasCurrentRider(*this))
    {
        return viewed;
    }
    const RiderStep step = CurrentStep(*this, *context_);
    const uint32_t slower =
        racing_decision::FindSlowerRiderAhead(step, currentBike->aiLineNode, kNextPlaceReach);
    if (slower != kNoRider)
    {
        return slower;
    }
    const RaceStandings& standings = context_->standings;
    const int32_t better = standings.gridOrder[currentRider] - 1;
    if (better >= 1 && better <= static_cast<int32_t>(kRiderCount))
    {
        const int32_t rider = standings.positionTable[static_cast<size_t>(better - 1)];
        if (rider >= 0 && racing_decision::InRace(step, static_cast<uint32_t>(rider)))
        {
            return static_cast<uint32_t>(rider);
        }
    }
    return viewed;
}

bool RaceAi::ShadowRider(uint32_t rider)
{
    if (!HasCurrentRider(*this) || rider == currentRider)
    {
        return false;
    }
    RiderStep step = CurrentStep(*this, *context_);
    if (!racing_decision::InRace(step, rider))
    {
        return false;
    }
    const BikeRecord& other = context_->bikes[rider];
    if (other.aiSection == currentBike->aiSection || currentBike->aiTargetNode >= nodeCount ||
        other.aiTargetNode >= nodeCount)
    {
        return false;
    }
    // The own lane followed up to the other's stretch; the lane beside it nearer to the other
    // rider's node is the side to take.
    uint32_t own = currentBike->aiTargetNode;
    const uint32_t stretch =
        std::min(racing_decision::NodesAhead(*this, CanonicalNode(static_cast<uint16_t>(own)),
                                             other.aiLineNode),
                 kNextPlaceReach);
    for (uint32_t i = 0; i < stretch && nodes[own].next < nodeCount; ++i)
    {
        own = nodes[own].next;
    }
    bool changed = false;
    if (own != other.aiTargetNode)
    {
        const RacingLineNode& there = nodes[other.aiTargetNode];
        float nearest = 1e30f;
        uint32_t side = 2;
        for (const uint32_t s : {0u, 1u})
        {
            const uint32_t beside = racing_decision::SideLink(nodes[own], s);
            if (beside >= linkLimit)
            {
                continue;
            }
            const float dx = nodes[beside].x - there.x;
            const float dz = nodes[beside].z - there.z;
            if (dx * dx + dz * dz < nearest)
            {
                nearest = dx * dx + dz * dz;
                side = s;
            }
        }
        changed = side < 2 && ChangeLine(currentRider, side, kOwnLineChange);
    }
    racing_decision::LimitSpeedBehind(step, rider);
    return changed;
}
