// The current rider's lookups among the field: the rider on a stretch of the line, the rider of
// the next better place, and shadowing a rider on another lane.

#include <gtest/gtest.h>

#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"
#include "tests/race/ai/AiRig.h"

namespace
{
constexpr uint32_t kNoRider = racing_decision::kNoRider;
constexpr float kOwnSpeed = 30.0f;

// Rider 0 is the current rider, on the open node at 30 m/s; the others wait far behind it.
struct LookupRig
{
    explicit LookupRig(uint32_t riders) : rig(riders), node(rig.OpenNode())
    {
        for (uint32_t rider = 1; rider < riders; ++rider)
        {
            rig.PutOnNode(rider, At(-40 - static_cast<int32_t>(rider)), kOwnSpeed);
        }
        rig.PutOnNode(0, node, kOwnSpeed);
        rig.Bike(0).aiSpeedCap = rider_control::kNoLimit;
        rig.Ai().currentRider = 0;
        rig.Ai().currentBike = &rig.Bike(0);
    }
    uint16_t At(int32_t offset) const { return static_cast<uint16_t>(node + offset); }

    AiRig rig;
    uint16_t node;
};

struct StretchCase
{
    const char* name;
    int32_t stretch;  // nodes from the current rider
    bool laneNode;    // the stretch given by the side-1 lane's node
    int32_t other;    // rider 1's node, nodes from the current rider
    float otherSpeed;
    bool found;
};

class StretchTest : public testing::TestWithParam<StretchCase>
{
};

TEST_P(StretchTest, FindsARiderTheCurrentOneMeetsWithinTwoNodesOfTheStretch)
{
    const StretchCase& c = GetParam();
    LookupRig r(2);
    r.rig.PutOnNode(1, r.At(c.other), c.otherSpeed);
    uint32_t stretch = r.At(c.stretch);
    if (c.laneNode)
    {
        stretch = r.rig.Ai().nodes[stretch].sideLink1;
        ASSERT_LT(stretch, r.rig.Ai().linkLimit);
    }
    EXPECT_EQ(r.rig.Ai().FindRiderOnStretch(stretch), c.found ? 1u : kNoRider);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StretchTest,
    testing::Values(StretchCase{"SlowerAtTheStretchStart", 5, false, 5, 20.0f, true},
                    StretchCase{"SlowerTwoNodesOn", 5, false, 7, 20.0f, true},
                    StretchCase{"SlowerThreeNodesOnIsPast", 5, false, 8, 20.0f, false},
                    StretchCase{"SlowerJustBeforeTheStretch", 5, false, 4, 20.0f, false},
                    StretchCase{"FasterAheadNeverMet", 5, false, 6, 40.0f, false},
                    StretchCase{"FasterBehindCatchesUp", -6, false, -5, 40.0f, true},
                    StretchCase{"SlowerBehindFallsBack", -6, false, -5, 20.0f, false},
                    StretchCase{"LaneNodeStandsForItsMainLineNode", 5, true, 6, 20.0f, true}),
    [](const testing::TestParamInfo<StretchCase>& info) { return info.param.name; });

TEST(StretchTest, TheFirstRiderInTheRaceOnTheStretchIsFound)
{
    LookupRig r(3);
    r.rig.PutOnNode(2, r.At(5), 20.0f);
    r.rig.PutOnNode(1, r.At(7), 20.0f);
    RaceAi& ai = r.rig.Ai();
    EXPECT_EQ(ai.FindRiderOnStretch(r.At(5)), 1u);
    ai.inRace[1] = 0;
    EXPECT_EQ(ai.FindRiderOnStretch(r.At(5)), 2u);
    EXPECT_EQ(ai.FindRiderOnStretch(ai.nodeCount), kNoRider);
}

struct NextPlaceCase
{
    const char* name;
    int32_t ahead;  // rider 1's node, nodes from the current rider
    float aheadSpeed;
    int32_t ownPlace;
    bool placeAheadInRace;  // rider 2, placed one better than the current rider
    uint32_t expected;
};

class NextPlaceTest : public testing::TestWithParam<NextPlaceCase>
{
};

TEST_P(NextPlaceTest, TheSlowerRiderAheadThenTheStandingsThenTheViewedRider)
{
    const NextPlaceCase& c = GetParam();
    constexpr uint32_t kViewed = 3;
    LookupRig r(4);
    r.rig.race->current.viewedRider = kViewed;
    r.rig.PutOnNode(1, r.At(c.ahead), c.aheadSpeed);
    RaceStandings& standings = r.rig.race->standings;
    standings.positionTable.fill(-1);
    standings.gridOrder[0] = c.ownPlace;
    standings.positionTable[static_cast<size_t>(c.ownPlace - 1)] = 0;
    if (c.ownPlace > 1)
    {
        standings.gridOrder[2] = c.ownPlace - 1;
        standings.positionTable[static_cast<size_t>(c.ownPlace - 2)] = 2;
    }
    r.rig.Ai().inRace[2] = c.placeAheadInRace ? 1 : 0;
    EXPECT_EQ(r.rig.Ai().FindNextPlaceRider(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NextPlaceTest,
    testing::Values(NextPlaceCase{"SlowerRiderAheadComesFirst", 10, 20.0f, 3, true, 1},
                    NextPlaceCase{"SlowerRiderOutOfReach", 41, 20.0f, 3, true, 2},
                    NextPlaceCase{"FasterRiderAhead", 10, 40.0f, 3, true, 2},
                    NextPlaceCase{"TheLeader", 10, 40.0f, 1, true, 3},
                    NextPlaceCase{"PlaceAheadOutOfTheRace", 10, 40.0f, 3, false, 3}),
    [](const testing::TestParamInfo<NextPlaceCase>& info) { return info.param.name; });

struct ShadowCase
{
    const char* name;
    int32_t lane;  // rider 1 a node ahead on the side-0 or side-1 lane; -1: on the own lane
    uint32_t blockedFlags;
    bool sameSection;  // rider 1 beside on the current rider's stretch
    bool changes;
    bool capped;
};

class ShadowTest : public testing::TestWithParam<ShadowCase>
{
};

TEST_P(ShadowTest, MovesTowardsTheOtherLaneAndHoldsBehindTheRiderThere)
{
    const ShadowCase& c = GetParam();
    LookupRig r(2);
    const RacingLineNode& own = r.rig.Ai().nodes[r.node];
    const RacingLineNode& ahead = r.rig.Ai().nodes[r.At(1)];
    const uint32_t lane = c.lane == 1 ? ahead.sideLink1 : c.lane == 0 ? ahead.sideLink0 : r.At(1);
    ASSERT_LT(lane, r.rig.Ai().linkLimit);
    r.rig.PutOnNode(1, static_cast<uint16_t>(lane), 20.0f);
    if (c.sameSection)
    {
        r.rig.Bike(1).aiSection = r.rig.Bike(0).aiSection;
    }
    BikeRecord& bike = r.rig.Bike(0);
    bike.aiFlags |= c.blockedFlags;
    EXPECT_EQ(r.rig.Ai().ShadowRider(1), c.changes);
    if (c.changes)
    {
        EXPECT_EQ(bike.aiTargetNode, c.lane == 1 ? own.sideLink1 : own.sideLink0);
        EXPECT_NE(
            bike.aiFlags & (c.lane == 1 ? ai_flags::kChangingToSide1 : ai_flags::kChangingToSide0),
            0u);
    }
    else
    {
        EXPECT_EQ(bike.aiTargetNode, r.node);
    }
    if (c.capped)
    {
        EXPECT_LT(bike.aiSpeedCap, kOwnSpeed) << "held behind the rider it shadows";
    }
    else
    {
        EXPECT_EQ(bike.aiSpeedCap, rider_control::kNoLimit);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ShadowTest,
                         testing::Values(ShadowCase{"OnTheSide1Lane", 1, 0, false, true, true},
                                         ShadowCase{"OnTheSide0Lane", 0, 0, false, true, true},
                                         ShadowCase{"OnTheOwnLane", -1, 0, false, false, true},
                                         ShadowCase{"BlockedSideStillHoldsTheSpeed", 1,
                                                    ai_flags::kBlockedSide1, false, false, true},
                                         ShadowCase{"SameStretchIsNoShadow", 1, 0, true, false,
                                                    false}),
                         [](const testing::TestParamInfo<ShadowCase>& info)
                         { return info.param.name; });

TEST(ShadowTest, NoRiderAndTheRiderItselfCastNoShadow)
{
    LookupRig r(2);
    EXPECT_FALSE(r.rig.Ai().ShadowRider(kNoRider));
    EXPECT_FALSE(r.rig.Ai().ShadowRider(0));
    EXPECT_EQ(r.rig.Bike(0).aiTargetNode, r.node);
    EXPECT_EQ(r.rig.Bike(0).aiSpeedCap, rider_control::kNoLimit);
}
}  // namespace
