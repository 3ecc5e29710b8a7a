// The rules of the computer riders and of hazard zones: penalties for places gained inside a
// zone and how they are served, excused gains, line changes, the swerve, the avoidance and the
// controllers' limits.

#include <gtest/gtest.h>

#include <cmath>

#include "race/ai/HazardRules.h"
#include "race/ai/PitLane.h"
#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"
#include "tests/race/ai/AiRig.h"

namespace
{
constexpr uint32_t kPlayer = 0;
constexpr uint32_t kComputer = 1;

RiderStep StepOf(AiRig& rig, uint32_t rider)
{
    return RiderStep{rig.Ai(), *rig.race, rider, rig.Bike(rider), rig.race->riderProfiles[rider]};
}

struct ZoneGainCase
{
    const char* name;
    uint32_t timedLap;      // of a five-lap race
    bool tookPlayersPlace;  // the player is now right behind
    float secondsInZone;    // before the gain
    bool noOvertakingRule;  // the settings' switch
    uint32_t status;        // expected
    bool penalty;
};

class ZoneGainTest : public testing::TestWithParam<ZoneGainCase>
{
};

TEST_P(ZoneGainTest, AComputerRiderTakingThePlayersPlaceInsideAZoneIsPenalised)
{
    const ZoneGainCase& c = GetParam();
    AiRig rig(3);
    rig.race->playerRider.store(kPlayer);
    rig.Bike(kPlayer).raceStatus = 0;
    rig.race->standings.Session().noOvertakingEvents = c.noOvertakingRule;
    RaceAi& ai = rig.Ai();
    const uint16_t node = rig.OpenNode();
    ai.raceTime = 100.0f;
    ASSERT_TRUE(ai.OpenHazardZone(node, 0));
    EXPECT_FALSE(ai.OpenHazardZone(node, 0)) << "one zone at a time";
    for (uint32_t rider = 0; rider < 3; ++rider)
    {
        rig.PutOnNode(rider, node, 20.0f);
    }
    BikeRecord& computer = rig.Bike(kComputer);
    computer.timedLap = static_cast<uint16_t>(c.timedLap);
    std::array<int32_t, 26>& places = rig.race->standings.gridOrder;
    places[kPlayer] = 2;
    places[kComputer] = 3;
    places[2] = 1;
    UpdateHazardFlags(ai, *rig.race, kComputer);
    ASSERT_NE(computer.aiFlags & ai_flags::kInHazardZone, 0u);
    ai.raceTime += c.secondsInZone;
    places[kComputer] = 2;
    places[kPlayer] = c.tookPlayersPlace ? 3 : 1;
    places[2] = c.tookPlayersPlace ? 1 : 3;
    UpdateHazardFlags(ai, *rig.race, kComputer);
    EXPECT_EQ(computer.raceStatus, c.status);
    EXPECT_EQ((computer.aiFlags & ai_flags::kPenaltyPending) != 0, c.penalty);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ZoneGainTest,
    testing::Values(ZoneGainCase{"Penalised", 2, true, 3.0f, false, 12, true},
                    ZoneGainCase{"TwoLapsLeftGoesFree", 4, true, 3.0f, false, 9, false},
                    ZoneGainCase{"OneLapLeftGoesFree", 5, true, 3.0f, false, 9, false},
                    ZoneGainCase{"AnotherRidersPlaceIsNotPenalised", 2, false, 3.0f, false, 9,
                                 false},
                    ZoneGainCase{"WithinTwoSecondsThePlaceFollows", 2, true, 1.5f, false, 9, false},
                    ZoneGainCase{"TheSettingsSwitchOffTheRule", 2, true, 3.0f, true, 9, false}),
    [](const testing::TestParamInfo<ZoneGainCase>& info) { return info.param.name; });

TEST(ZoneGainTest, ThePlayersGainInsideAZoneMarksItsPenalty)
{
    AiRig rig(2);
    rig.Bike(kPlayer).raceStatus = 0;
    RaceAi& ai = rig.Ai();
    ai.raceTime = 50.0f;
    ASSERT_TRUE(ai.OpenHazardZone(kComputer, 1));
    rig.PutOnNode(kComputer, rig.OpenNode(), 10.0f);
    rig.PutOnNode(kPlayer, static_cast<uint16_t>(rig.OpenNode() - 5), 20.0f);
    rig.race->standings.gridOrder[kPlayer] = 2;
    UpdateHazardFlags(ai, *rig.race, kPlayer);
    EXPECT_NE(rig.Bike(kPlayer).aiFlags & ai_flags::kBehindHazardRider, 0u);
    ai.raceTime += 3.0f;
    rig.race->standings.gridOrder[kPlayer] = 1;
    UpdateHazardFlags(ai, *rig.race, kPlayer);
    EXPECT_NE(rig.Bike(kPlayer).aiFlags & ai_flags::kPenaltyPending, 0u);
    EXPECT_EQ(rig.Bike(kPlayer).raceStatus, 0u);
}

struct CrossingCase
{
    const char* name;
    bool player;
    bool isRace;
    uint32_t timedLap;  // of five
    uint32_t crossings;
    uint32_t status;  // expected
    bool penalty;
    int16_t rank;
};

class PenaltyCrossingTest : public testing::TestWithParam<CrossingCase>
{
};

TEST_P(PenaltyCrossingTest, APendingPenaltyIsServedOrPunishedAtTheTimingLines)
{
    const CrossingCase& c = GetParam();
    AiRig rig(2);
    const uint32_t rider = c.player ? kPlayer : kComputer;
    BikeRecord& bike = rig.Bike(rider);
    if (c.player)
    {
        rig.race->playerRider.store(kPlayer);
        rig.race->standings.Session().playerRider = kPlayer;
        bike.raceStatus = 0;
    }
    rig.race->standings.Session().isRace = c.isRace;
    bike.timedLap = static_cast<uint16_t>(c.timedLap);
    bike.aiFlags |= ai_flags::kPenaltyPending;
    for (uint32_t i = 0; i < c.crossings; ++i)
    {
        CountPenaltyCrossing(*rig.race, rider);
    }
    EXPECT_EQ(bike.raceStatus, c.status);
    EXPECT_EQ((bike.aiFlags & ai_flags::kPenaltyPending) != 0, c.penalty);
    EXPECT_EQ(rig.race->standings.sessionRanks[rider], c.rank);
    EXPECT_EQ((bike.aiFlags & ai_flags::kDisqualified) != 0, c.rank == session_rank::kDisqualified);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PenaltyCrossingTest,
    testing::Values(
        CrossingCase{"ComputerRidesOnAtTheFirstLine", false, true, 2, 1, 9, true, -1},
        CrossingCase{"ComputerRidesThroughAtTheSecond", false, true, 2, 2, 12, true, -1},
        CrossingCase{"ComputerOnTheLastLapRidesThroughAtOnce", false, true, 5, 1, 12, true, -1},
        CrossingCase{"PlayerStillPendingAfterOneLine", true, true, 2, 1, 0, true, -1},
        CrossingCase{"PlayerStillPendingAfterTwoIsDisqualified", true, true, 2, 2, 7, false,
                     session_rank::kDisqualified},
        CrossingCase{"ATimedSessionDropsIt", false, false, 2, 1, 9, false, -1}),
    [](const testing::TestParamInfo<CrossingCase>& info) { return info.param.name; });

struct ExcuseCase
{
    const char* name;
    uint32_t passedStatus;
    float passedSpeed;
    bool passedInRace;
    uint32_t nodesIntoZone;
    float zoneAge;
    bool excused;
};

class ExcusedGainTest : public testing::TestWithParam<ExcuseCase>
{
};

TEST_P(ExcusedGainTest, AGainOnASlowOrLappedOrFallenRiderOrInANewZoneIsExcused)
{
    const ExcuseCase& c = GetParam();
    AiRig rig(2);
    RaceAi& ai = rig.Ai();
    ai.raceTime = 20.0f;
    const uint16_t node = rig.OpenNode();
    ASSERT_TRUE(ai.OpenHazardZone(node, 0));
    const uint32_t first = ai.hazard.firstNode;
    ai.raceTime += c.zoneAge;
    rig.PutOnNode(0, static_cast<uint16_t>(first + c.nodesIntoZone), 30.0f);
    rig.PutOnNode(1, static_cast<uint16_t>(first + c.nodesIntoZone - 1), c.passedSpeed);
    rig.Bike(1).raceStatus = c.passedStatus;
    ai.inRace[1] = c.passedInRace ? 1 : 0;
    ai.hazardPlace[0] = 4;
    ai.OnPositionGained(0, 1);
    EXPECT_EQ(ai.hazardPlace[0], c.excused ? 3 : 4);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExcusedGainTest,
    testing::Values(ExcuseCase{"FairPassStands", 9, 25.0f, true, 20, 5.0f, false},
                    ExcuseCase{"PassedRiderSlow", 9, 14.0f, true, 20, 5.0f, true},
                    ExcuseCase{"PassedRiderRetiring", 7, 25.0f, true, 20, 5.0f, true},
                    ExcuseCase{"PassedRiderOutOfTheRace", 9, 25.0f, false, 20, 5.0f, true},
                    ExcuseCase{"JustIntoTheZone", 9, 25.0f, true, 3, 5.0f, true},
                    ExcuseCase{"ZoneNewerThanOneAndAHalfSeconds", 9, 25.0f, true, 20, 1.0f, true}),
    [](const testing::TestParamInfo<ExcuseCase>& info) { return info.param.name; });

TEST(LineChangeTest, ChangesTowardsASideUnlessBlockedSlowInAZoneOrAlreadyChanging)
{
    AiRig rig(1);
    RaceAi& ai = rig.Ai();
    const uint16_t node = rig.OpenNode();
    BikeRecord& bike = rig.Bike(0);
    rig.PutOnNode(0, node, 15.0f);
    const RacingLineNode& n = ai.nodes[node];

    bike.aiFlags = ai_flags::kInHazardZone;
    EXPECT_FALSE(ai.ChangeLine(0, 1, 1)) << "below 16.7 m/s inside a hazard zone";
    bike.aiFlags = ai_flags::kBlockedSide1;
    EXPECT_FALSE(ai.ChangeLine(0, 1, 1));

    bike.aiFlags = 0;
    ASSERT_TRUE(ai.ChangeLine(0, 1, 2));
    EXPECT_EQ(bike.aiTargetNode, n.sideLink1);
    EXPECT_EQ(bike.aiSection, ai.nodes[n.sideLink1].section);
    EXPECT_EQ(bike.aiFlags, ai_flags::kChangingToSide1 | ai_flags::kLineChangeReason2);
    EXPECT_FLOAT_EQ(bike.aiLineChangeTime, 2.0f);

    bike.aiLineChangeGain = 1.0f;
    EXPECT_FALSE(ai.ChangeLine(0, 1, 0)) << "no new change while one runs";
    EXPECT_FLOAT_EQ(bike.aiLineChangeGain, 1.1f) << "a close conflict hurries it";

    bike.aiLineChangeTime = 1.5f;
    ASSERT_TRUE(ai.ChangeLine(0, 0, 1)) << "back the other way";
    EXPECT_EQ(bike.aiTargetNode, node);
    EXPECT_FLOAT_EQ(bike.aiLineChangeTime, 0.5f);
    EXPECT_NE(bike.aiFlags & ai_flags::kChangingToSide0, 0u);
}

TEST(SwerveTest, TheTwistRisesToFullAndFallsBackAtTheStepLengthEitherWay)
{
    for (const float start : {0.05f, -0.05f})
    {
        AiRig rig(1);
        BikeRecord& bike = rig.Bike(0);
        RiderStep step = StepOf(rig, 0);
        bike.aiTargetNode = 17;  // no swerve allowed here
        bike.poseTwist = start;
        bike.aiFlags = ai_flags::kSwerving;
        int out = 0;
        while ((bike.aiFlags & ai_flags::kSwerving) != 0 && out < 100)
        {
            rider_control::Swerve(step);
            ++out;
        }
        EXPECT_FLOAT_EQ(bike.poseTwist, start > 0 ? 1.0f : -1.0f);
        int back = 0;
        while (bike.poseTwist != 0.0f && back < 100)
        {
            rider_control::Swerve(step);
            ++back;
        }
        EXPECT_EQ(out, 24) << start;  // 0.05 to 1.0 by 0.04
        EXPECT_EQ(back, 25) << start;
    }
}

TEST(AvoidanceTest, TheSpeedCapBehindARiderCloseAheadIsNeverBelowThreeMetresASecond)
{
    AiRig rig(2);
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, 20.0f);
    rig.PutOnNode(1, node, 1.0f);
    const RacingLineNode& n = rig.Ai().nodes[node];
    rig.Bike(1).positionX += 1.0f * std::sin(n.heading);
    rig.Bike(1).positionZ += 1.0f * std::cos(n.heading);
    RiderStep step = StepOf(rig, 0);
    racing_decision::AvoidRiders(step, true);
    EXPECT_FLOAT_EQ(rig.Bike(0).aiSpeedCap, 3.0f);
    EXPECT_NE(rig.Bike(0).aiFlags & (ai_flags::kBlockedSide0 | ai_flags::kBlockedSide1), 0u);
}

TEST(ControllerTest, ATargetBehindAtWalkingSpeedTurnsTheRiderRoundSlowly)
{
    AiRig rig(1);
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, 3.0f);
    BikeRecord& bike = rig.Bike(0);
    bike.heading = bike.course = std::fmod(bike.heading + 3.14159f, 6.28318f);
    RiderStep step = StepOf(rig, 0);
    rig.Ai().targetSpeed = rider_control::kNoLimit;
    rider_control::Steer(step);
    EXPECT_FLOAT_EQ(rig.Ai().targetSpeed, 7.0f);
    EXPECT_FLOAT_EQ(std::fabs(bike.aiSteerRadius), 5.0f);
}

TEST(ControllerTest, InFirstGearTheClutchIsWorkedButNeverBelowItsLeastAndTheThrottleAtMostFull)
{
    AiRig rig(1);
    BikeRecord& bike = rig.Bike(0);
    RiderStep step = StepOf(rig, 0);
    bike.gear = 1;
    bike.peakTorqueRpm = 11000.0f;
    for (const float rpm : {150.0f, 3000.0f, 9000.0f})
    {
        for (const float clutch : {0.0f, 0.04f, 0.9f})
        {
            bike.engineRpm = rpm;
            bike.clutch = clutch;
            bike.throttle = 0.3f;
            rider_control::Accelerate(step, 20.0f);
            EXPECT_GE(bike.clutch, 0.05f) << rpm << " " << clutch;
            EXPECT_LE(bike.clutch, 1.0f);
            EXPECT_LE(bike.throttle, 1.0f);
        }
    }
}
}  // namespace

namespace
{
TEST(PlayerLineTest, ThePlayersTargetFollowsWhereItRidesAndCountsRidingTheWrongWay)
{
    AiRig rig(1);
    rig.race->current.gameMode = GameMode::Race;
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, 20.0f);
    BikeRecord& bike = rig.Bike(0);
    const RaceAi& ai = rig.Ai();
    // Ridden on to a lane node ten nodes ahead.
    const uint16_t lane = ai.nodes[static_cast<uint16_t>(node + 10)].sideLink1;
    bike.positionX = ai.nodes[lane].x;
    bike.positionZ = ai.nodes[lane].z;
    RiderStep step = StepOf(rig, 0);
    EXPECT_TRUE(rider_control::TrackPlayerLine(step));
    EXPECT_EQ(bike.aiTargetNode, lane);
    EXPECT_EQ(bike.aiLineNode, node + 10u);
    EXPECT_EQ(bike.wrongWayDistance, 0);
    // Then back, the wrong way, to where it started.
    bike.positionX = ai.nodes[node].x;
    bike.positionZ = ai.nodes[node].z;
    rider_control::TrackPlayerLine(step);
    EXPECT_EQ(bike.aiLineNode, node);
    EXPECT_GT(bike.wrongWayDistance, 0);
    // Far off the line it is not near it, and the main line nearest it is found again.
    const float heading = ai.nodes[node].heading;
    bike.positionX += 30.0f * std::cos(heading);
    bike.positionZ -= 30.0f * std::sin(heading);
    EXPECT_FALSE(rider_control::TrackPlayerLine(step));
    EXPECT_EQ(bike.aiLineNode, node);
}

TEST(PlayerAidTest, TheAutomaticGearboxHoldsFirstGearBelowFifteenMetresASecond)
{
    AiRig rig(1);
    BikeRecord& bike = rig.Bike(0);
    RiderStep step = StepOf(rig, 0);
    bike.clutch = 1.0f;
    bike.gear = 3;
    bike.speed = 10.0f;
    rig.Ai().raceTime = 7.0f;
    rider_control::GearAid(step);
    EXPECT_EQ(bike.gear, 1);
    EXPECT_FLOAT_EQ(bike.aiTimeStamp, 7.0f);
    bike.clutch = 0.5f;  // not while the clutch slips
    bike.speed = 40.0f;
    bike.gear = 4;
    rider_control::GearAid(step);
    EXPECT_EQ(bike.gear, 4);
}
}  // namespace

namespace
{
struct RideThroughCase
{
    const char* name;
    uint16_t pitLaneNodes;  // 0: the circuit has no pit lane
    bool isRace;
    uint32_t status;  // expected after the step at the entry
    bool penalty;
};

class RideThroughTest : public testing::TestWithParam<RideThroughCase>
{
};

TEST_P(RideThroughTest, APenalisedRiderTurnsIntoThePitLaneAtATimingNode)
{
    const RideThroughCase& c = GetParam();
    AiRig rig(1);
    RaceAi& ai = rig.Ai();
    ai.pitLaneEndNode = static_cast<uint16_t>(ai.pitLaneFirstNode + c.pitLaneNodes);
    rig.race->standings.Session().isRace = c.isRace;
    const uint16_t entry = rig.OpenNode();
    ai.timingNodes[1] = entry;
    rig.PutOnNode(0, entry, 25.0f);
    BikeRecord& bike = rig.Bike(0);
    bike.raceStatus = 12;
    bike.aiFlags |= ai_flags::kPenaltyPending;
    RiderStep step = StepOf(rig, 0);
    pit_lane::ServePenalty(step);
    EXPECT_EQ(bike.raceStatus, c.status);
    EXPECT_EQ((bike.aiFlags & ai_flags::kPenaltyPending) != 0, c.penalty);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RideThroughTest,
    testing::Values(RideThroughCase{"RaceRidesThrough", 10, true, 15, true},
                    RideThroughCase{"TimedSessionGoesToThePitBox", 10, false, 13, true},
                    RideThroughCase{"WithoutAPitLaneThePenaltyLapses", 0, true, 9, false}),
    [](const testing::TestParamInfo<RideThroughCase>& info) { return info.param.name; });
}  // namespace
