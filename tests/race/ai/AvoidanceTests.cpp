// The avoidance against the riders within 8 m: which side it marks, the line change it asks
// for and the speed cap, by where the other rider rides.

#include <gtest/gtest.h>

#include <cmath>

#include "race/SimMath.h"
#include "race/ai/RacingDecision.h"
#include "tests/race/ai/AiRig.h"

namespace
{
constexpr uint32_t kNone = 0;

struct AvoidCase
{
    const char* name;
    float forward;  // m of the other rider ahead of this one
    float lateral;  // m across, positive on side 1
    float otherSpeed;
    bool holdsTarget;  // the other steers for this rider's target node
    bool startPhase;
    uint32_t marked;      // side flags
    uint32_t changeFlag;  // set by the change it made, or kNone
    float cap;
};

class AvoidanceTableTest : public testing::TestWithParam<AvoidCase>
{
};

TEST_P(AvoidanceTableTest, MarksTheSideChangesLineAndCapsTheSpeedByWhereTheOtherRides)
{
    const AvoidCase& c = GetParam();
    AiRig rig(2);
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, 20.0f);
    const RacingLineNode& n = rig.Ai().nodes[rig.Bike(0).aiTargetNode];
    const uint16_t otherNode = c.holdsTarget ? node : static_cast<uint16_t>(node + 1);
    rig.PutOnNode(1, otherNode, c.otherSpeed);
    const float s = sim::Sin(n.heading);
    const float co = sim::Cos(n.heading);
    BikeRecord& other = rig.Bike(1);
    other.positionX = rig.Bike(0).positionX + c.forward * s + c.lateral * co;
    other.positionZ = rig.Bike(0).positionZ + c.forward * co - c.lateral * s;
    other.aiSection = rig.Bike(0).aiSection;
    RiderStep step{rig.Ai(), *rig.race, 0, rig.Bike(0), rig.race->riderProfiles[0]};
    racing_decision::AvoidRiders(step, c.startPhase);
    const BikeRecord& bike = rig.Bike(0);
    constexpr uint32_t kSides = ai_flags::kBlockedSide0 | ai_flags::kBlockedSide1;
    constexpr uint32_t kChanges = ai_flags::kChangeForAvoidance | ai_flags::kChangeForPitLane;
    EXPECT_EQ(bike.aiFlags & kSides, c.marked);
    EXPECT_EQ(bike.aiFlags & kChanges, c.changeFlag);
    EXPECT_FLOAT_EQ(bike.aiLineChangeTime, c.changeFlag != kNone ? 1.7f : 0.0f);
    EXPECT_NEAR(bike.aiSpeedCap, c.cap, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AvoidanceTableTest,
    testing::Values(
        // In line behind a slower rider: capped behind it, no change.
        AvoidCase{"SlowerInLineAhead", 3.5f, 0.1f, 10.0f, false, false, ai_flags::kBlockedSide1,
                  kNone, 10.0f * 12.25f / 9.0f},
        // Close ahead, half beside: a change away from it, which lifts the cap.
        AvoidCase{"CloseAheadHalfBeside", 1.5f, 1.0f, 18.0f, false, false, ai_flags::kBlockedSide1,
                  ai_flags::kChangeForAvoidance, 111.111f},
        // Right ahead on the rider's own target during the start: stopped, but never below 3.
        AvoidCase{"OnTheTargetAtTheStart", 1.5f, 0.1f, 5.0f, true, true, ai_flags::kBlockedSide1,
                  kNone, 3.0f},
        // Level beside: it may pass there, so the rider moves over to the other side.
        AvoidCase{"LevelBeside", -0.5f, -1.2f, 20.0f, false, false, ai_flags::kBlockedSide0,
                  ai_flags::kChangeForPitLane, 111.111f},
        // The same during the start only marks the side.
        AvoidCase{"LevelBesideAtTheStart", -0.5f, -1.2f, 20.0f, false, true,
                  ai_flags::kBlockedSide0, kNone, 111.111f},
        // Far beside and well behind: nothing.
        AvoidCase{"FarBehindBeside", -6.0f, 2.0f, 20.0f, false, false, kNone, kNone, 111.111f}),
    [](const testing::TestParamInfo<AvoidCase>& info) { return info.param.name; });

TEST(AvoidanceTest, APlayerOnTheInsideOfABendMakesTheRiderMoveOutAndBackOff)
{
    AiRig rig(2);
    RaceAi& ai = rig.Ai();
    // A main-line node before a bend.
    uint16_t node = rig.OpenNode();
    const auto turn = [&](uint16_t at)
    {
        uint16_t ahead = at;
        for (int i = 0; i < 5; ++i)
        {
            ahead = ai.nodes[ahead].next;
        }
        return sim::WrapSigned(ai.nodes[ahead].heading - ai.nodes[at].heading);
    };
    while (std::fabs(turn(node)) <= 0.15f)
    {
        node = ai.nodes[node].next;
        ASSERT_NE(node, rig.OpenNode()) << "the circuit has no bend";
    }
    const float inside = turn(node) > 0.0f ? 1.0f : -1.0f;
    rig.PutOnNode(0, node, 20.0f);
    rig.PutOnNode(1, node, 19.0f);
    rig.race->playerRider.store(1);
    rig.Bike(1).raceStatus = race_status::kPlayer;
    const RacingLineNode& n = ai.nodes[node];
    // Beside on the inside, 2 m across: too far to pass beside, close enough to cut in.
    rig.Bike(1).positionX += 2.0f * inside * sim::Cos(n.heading);
    rig.Bike(1).positionZ -= 2.0f * inside * sim::Sin(n.heading);
    RiderStep step{ai, *rig.race, 0, rig.Bike(0), rig.race->riderProfiles[0]};
    ai.cautionDistanceSq = 1.0f;
    racing_decision::AvoidRiders(step, false);
    EXPECT_EQ(rig.Bike(0).aiLineChangeTime, 0.0f) << "outside the caution distance";

    ai.cautionDistanceSq = 64.0f;
    racing_decision::AvoidRiders(step, false);
    const uint32_t insideFlag = inside > 0.0f ? ai_flags::kBlockedSide1 : ai_flags::kBlockedSide0;
    EXPECT_NE(rig.Bike(0).aiFlags & insideFlag, 0u);
    EXPECT_FLOAT_EQ(rig.Bike(0).aiLineChangeTime, 1.7f) << "moved out of the way";
}
}  // namespace
