// Placing riders for practice and back on the line after a fall, and the gap estimate.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/race/ai/AiRig.h"

namespace
{
// Line units from node back to the node `from` walking previous.
float UnitsBehind(const RaceAi& ai, uint16_t from, uint16_t node)
{
    float units = 0.0f;
    for (uint16_t n = from; n != node; n = ai.nodes[n].previous)
    {
        units += 1.0f + static_cast<float>(ai.nodes[ai.nodes[n].previous].stepLength);
    }
    return units;
}

TEST(PracticePlacementTest, AFlyingStartStringsTheRidersOutBehindTheLine)
{
    AiRig rig(3);
    RaceAi& ai = rig.Ai();
    ai.PlaceRidersForPractice(true);
    const uint16_t start = ai.startSlots.node[0];
    const float first = UnitsBehind(ai, start, static_cast<uint16_t>(rig.Bike(0).aiTargetNode));
    const float second = UnitsBehind(ai, start, static_cast<uint16_t>(rig.Bike(1).aiTargetNode));
    EXPECT_GE(first, 350.0f);
    EXPECT_LT(first, 350.0f + 20.0f);
    EXPECT_GE(second, first + 60.0f - 20.0f);
    EXPECT_EQ(rig.Bike(2).lapsStarted, 1);
    EXPECT_FLOAT_EQ(rig.Bike(0).positionX, ai.nodes[rig.Bike(0).aiTargetNode].x);
    EXPECT_EQ(ai.startGridMode, 1u) << "the player's rider goes back out behind the line";
}

TEST(PracticePlacementTest, OtherwiseRidersTakeThePracticeSlotsAndShareTheLastSideBySide)
{
    AiRig rig(3);
    RaceAi& ai = rig.Ai();
    ai.startSlots.firstPracticeSlot = static_cast<uint16_t>(ai.startSlots.count - 2);
    ai.startGridMode = 1;
    ai.PlaceRidersForPractice(false);
    EXPECT_EQ(ai.startGridMode, 0u);
    const StartSlots& slots = ai.startSlots;
    const uint32_t last = slots.count - 1u;
    EXPECT_FLOAT_EQ(rig.Bike(0).positionX, slots.x[last - 1]);
    EXPECT_FLOAT_EQ(rig.Bike(1).positionX, slots.x[last]);
    EXPECT_EQ(rig.Bike(2).aiTargetNode, slots.node[last]);
    const float dx = rig.Bike(2).positionX - slots.x[last];
    const float dz = rig.Bike(2).positionZ - slots.z[last];
    EXPECT_NEAR(std::sqrt(dx * dx + dz * dz), 1.2f, 1e-3f);
}

TEST(PutBackTest, AFallenPlayerStandsOnTheNearestLaneFacingAlongTheLine)
{
    AiRig rig(1);
    RaceAi& ai = rig.Ai();
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, 30.0f);
    BikeRecord& bike = rig.Bike(0);
    const uint16_t lane = ai.nodes[node].sideLink0;
    bike.positionX = ai.nodes[lane].x + 4.0f * (ai.nodes[lane].x - ai.nodes[node].x);
    bike.positionZ = ai.nodes[lane].z + 4.0f * (ai.nodes[lane].z - ai.nodes[node].z);
    bike.gear = 4;
    bike.raceStatus = 5;
    ai.PutRiderBackOnLine(0);
    EXPECT_EQ(bike.aiTargetNode, lane);
    EXPECT_EQ(bike.aiLineNode, node);
    EXPECT_FLOAT_EQ(bike.positionX, ai.nodes[lane].x);
    EXPECT_FLOAT_EQ(bike.heading, ai.nodes[lane].heading);
    EXPECT_EQ(bike.gear, 1);
    EXPECT_LT(bike.speed, 0.1f);
    EXPECT_EQ(bike.raceStatus, 0u);
    EXPECT_EQ(rig.race->standings.sessionRanks[0], session_rank::kRacing);
}

TEST(GapEstimateTest, TheGapIsRiddenAlongTheLineAndHandsOnTheRider)
{
    AiRig rig(3);
    RaceAi& ai = rig.Ai();
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, static_cast<uint16_t>(node + 20), 30.0f);  // the leader
    rig.PutOnNode(1, node, 30.0f);
    rig.race->standings.gridOrder[0] = 1;
    rig.race->standings.gridOrder[1] = 2;
    uint32_t ahead = 0;
    const int32_t gap = ai.EstimateGapMs(1, ahead);
    EXPECT_GT(gap, 0);
    EXPECT_LT(gap, 20 * 5 * 100) << "twenty nodes at no less than 10 m/s";
    EXPECT_EQ(ahead, 1u);

    uint32_t none = 0;
    EXPECT_EQ(ai.EstimateGapMs(0, none), 0) << "the leader";
    EXPECT_EQ(none, 0u);
    ai.inRace[2] = 0;
    EXPECT_EQ(ai.EstimateGapMs(2, none), -1);

    rig.race->standings.sessionRanks[1] = 1;  // classified: the times' difference
    rig.race->standings.sessionTimes[0] = 100.0f;
    rig.race->standings.sessionTimes[1] = 101.5f;
    ahead = 0;
    EXPECT_EQ(ai.EstimateGapMs(1, ahead), 1500);
}
}  // namespace
