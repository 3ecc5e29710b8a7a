// The pit lane: the way into the box with its speeds, the crews, the stop, waiting in the box
// and leaving it, the retiring ride into the lane and the player's rider entering it.

#include <gtest/gtest.h>

#include <vector>

#include "race/RaceServices.h"
#include "race/ai/PitLane.h"
#include "tests/race/ai/AiRig.h"

namespace
{
constexpr uint32_t kRider = 1;
constexpr uint32_t kOther = 2;
constexpr uint32_t kPlayer = 0;

class CrewLog : public RaceServices
{
public:
    void StartPitCrew(uint32_t slot, float, float) override { started.push_back(slot); }
    void PitCrewToFirstPhase(uint32_t slot) override { firstPhase.push_back(slot); }
    void StopPitCrew(uint32_t slot) override { stopped.push_back(slot); }
    void RequestRaceMenu() override { ++menus; }

    std::vector<uint32_t> started;
    std::vector<uint32_t> firstPhase;
    std::vector<uint32_t> stopped;
    int menus = 0;
};

class PitLaneTest : public testing::Test
{
protected:
    PitLaneTest() : rig(3)
    {
        rig.AddPitLane();
        rig.Ai().services = &crews;
        rig.Ai().raceTime = 50.0f;
        rig.race->standings.Session().isRace = true;
        for (uint32_t rider = 0; rider < 3; ++rider)
        {
            rig.race->standings.sessionRanks[rider] = session_rank::kRacing;
        }
    }

    RiderStep StepOf(uint32_t rider)
    {
        return RiderStep{rig.Ai(), *rig.race, rider, rig.Bike(rider),
                         rig.race->riderProfiles[rider]};
    }
    // The rider on the pit lane `before` nodes ahead of its box (negative: behind it).
    void PutBeforeBox(uint32_t rider, int32_t before, float speed, uint32_t status)
    {
        rig.PutOnNode(rider, static_cast<uint16_t>(rig.PitBox(rider) - before), speed);
        rig.Bike(rider).raceStatus = status;
    }
    float AimSpeed(uint32_t rider)
    {
        rig.Ai().targetSpeed = 111.111f;
        RiderStep step = StepOf(rider);
        pit_lane::TargetPitBox(step);
        return rig.Ai().targetSpeed;
    }

    AiRig rig;
    CrewLog crews;
};

struct ApproachCase
{
    int32_t nodesBeforeBox;
    float speed;  // the most the way in allows there
    bool crewClaimed;
};

class PitApproachTest : public PitLaneTest, public testing::WithParamInterface<ApproachCase>
{
};

TEST_P(PitApproachTest, TheWayIntoTheBoxSlowsStepByStep)
{
    const ApproachCase& c = GetParam();
    PutBeforeBox(kRider, c.nodesBeforeBox, 20.0f, race_status::kInPitLane);
    EXPECT_FLOAT_EQ(AimSpeed(kRider), c.speed);
    EXPECT_EQ(rig.Bike(kRider).raceStatus, race_status::kInPitLane);
    EXPECT_EQ((rig.Bike(kRider).aiFlags & ai_flags::kPitCrewClaimed) != 0, c.crewClaimed);
}

INSTANTIATE_TEST_SUITE_P(Table, PitApproachTest,
                         testing::Values(ApproachCase{12, 111.111f, false},
                                         ApproachCase{7, 15.0f, true}, ApproachCase{6, 15.0f, true},
                                         ApproachCase{5, 11.0f, false},
                                         ApproachCase{3, 8.0f, false}, ApproachCase{2, 8.0f, false},
                                         ApproachCase{1, 5.0f, false}));

TEST_F(PitLaneTest, TheRiderTakesTheFirstFreeCrewAndStopsWhereItCameClosest)
{
    rig.Ai().pitCrewBusy[0] = 1;
    PutBeforeBox(kRider, 7, 15.0f, race_status::kInPitLane);
    AimSpeed(kRider);
    EXPECT_EQ(rig.Bike(kRider).aiPitSlot, 1);
    EXPECT_EQ(crews.started, std::vector<uint32_t>{1});

    PutBeforeBox(kRider, 1, 5.0f, race_status::kInPitLane);
    AimSpeed(kRider);
    // On the box node: closer each step, then one step farther away stops it there.
    BikeRecord& bike = rig.Bike(kRider);
    const RacingLineNode& box = rig.Ai().nodes[rig.PitBox(kRider)];
    bike.aiTargetNode = rig.PitBox(kRider);
    bike.positionX = box.x - 1.0f;
    bike.positionZ = box.z;
    EXPECT_FLOAT_EQ(AimSpeed(kRider), 2.5f);
    bike.positionX = box.x - 0.5f;
    EXPECT_FLOAT_EQ(AimSpeed(kRider), 2.5f);
    bike.positionX = box.x + 0.8f;
    EXPECT_FLOAT_EQ(AimSpeed(kRider), -1.0f);
    EXPECT_EQ(bike.raceStatus, race_status::kPitBox);
    EXPECT_FLOAT_EQ(bike.positionX, box.x);
    EXPECT_FLOAT_EQ(bike.aiTimeStamp, 50.0f);
    EXPECT_EQ(bike.aiFlags & ai_flags::kPitCrewClaimed, 0u);
    EXPECT_EQ(crews.firstPhase, std::vector<uint32_t>{1});
}

TEST_F(PitLaneTest, ARiderPastItsBoxRacesOn)
{
    PutBeforeBox(kRider, -2, 4.0f, race_status::kInPitLane);
    AimSpeed(kRider);
    EXPECT_EQ(rig.Bike(kRider).raceStatus, race_status::kRacing);
}

TEST_F(PitLaneTest, TheLastCrewIsKeptForThePlayerAndWithoutACrewTheRiderDoesNotStop)
{
    rig.race->playerRider.store(kPlayer);
    rig.Bike(kPlayer).raceStatus = race_status::kPlayer;
    rig.Ai().pitCrewBusy.fill(1);
    rig.Ai().pitCrewBusy[9] = 0;
    BikeRecord& bike = rig.Bike(kRider);
    PutBeforeBox(kRider, 7, 15.0f, race_status::kInPitLane);
    bike.aiFlags |= ai_flags::kPenaltyPending;
    bike.frontTyreWear = bike.rearTyreWear = 0.5f;
    AimSpeed(kRider);
    EXPECT_EQ(bike.raceStatus, race_status::kRacing);
    EXPECT_EQ(bike.aiFlags & (ai_flags::kPenaltyPending | ai_flags::kPitCrewClaimed), 0u);
    EXPECT_EQ(bike.frontTyreWear, 0.0f);
    EXPECT_TRUE(crews.started.empty());

    // With the player's rider in its own box the last crew is free for others.
    rig.Bike(kPlayer).raceStatus = race_status::kFirstPitBox;
    PutBeforeBox(kRider, 7, 15.0f, race_status::kInPitLane);
    AimSpeed(kRider);
    EXPECT_EQ(bike.aiPitSlot, 9);
}

TEST_F(PitLaneTest, ThePlayersRiderAtItsBoxGetsTheMenu)
{
    rig.race->playerRider.store(kPlayer);
    PutBeforeBox(kPlayer, 7, 15.0f, race_status::kPlayerToPitBox);
    AimSpeed(kPlayer);
    ASSERT_EQ(rig.Bike(kPlayer).aiPitSlot, 0);
    PutBeforeBox(kPlayer, 0, 2.0f, race_status::kPlayerToPitBox);
    AimSpeed(kPlayer);
    EXPECT_EQ(rig.Bike(kPlayer).raceStatus, race_status::kFirstPitBox);
    EXPECT_EQ(rig.Bike(kPlayer).aiPitSlot, BikeRecord::kNoPitSlot);
    EXPECT_EQ(crews.stopped, std::vector<uint32_t>{0});
    EXPECT_EQ(crews.menus, 1);
    EXPECT_EQ(rig.Ai().pitCrewBusy[0], 0);
    // Taken over as after Esc: the lap recording starts again from the box.
    EXPECT_EQ(rig.Ai().currentRider, kPlayer);
    EXPECT_EQ(rig.Bike(kPlayer).pitRequest, 1);
}

struct WaitCase
{
    const char* name;
    uint32_t status;
    float secondsWaited;
    bool laneBusy;  // another rider rides past the box
    bool outOfRace;
    bool timedSession;
    uint32_t expected;
};

class PitWaitTest : public PitLaneTest, public testing::WithParamInterface<WaitCase>
{
};

TEST_P(PitWaitTest, ARiderLeavesItsBoxOnceItsTimeIsUpAndTheLaneIsFree)
{
    const WaitCase& c = GetParam();
    rig.race->standings.Session().isRace = !c.timedSession;
    PutBeforeBox(kRider, 0, 0.0f, c.status);
    BikeRecord& bike = rig.Bike(kRider);
    bike.aiTimeStamp = 50.0f - c.secondsWaited;
    if (c.outOfRace)
    {
        rig.race->standings.sessionRanks[kRider] = session_rank::kDroppedOut;
    }
    if (c.laneBusy)
    {
        PutBeforeBox(kOther, 0, 10.0f, race_status::kInPitLane);
        rig.Bike(kOther).aiTargetNode = rig.PitBox(kRider) - 2;
    }
    RiderStep step = StepOf(kRider);
    pit_lane::Wait(step);
    EXPECT_EQ(bike.raceStatus, c.expected);
    if (c.expected == c.status)
    {
        EXPECT_EQ(bike.brake, 1.0f) << "held in the box";
        EXPECT_EQ(bike.throttle, 0.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PitWaitTest,
    testing::Values(WaitCase{"StopNotOver", 3, 7.0f, false, false, false, 3},
                    WaitCase{"StopOverRaceOn", 3, 8.5f, false, false, false, 9},
                    WaitCase{"StopOverOutLap", 3, 8.5f, false, false, true, 11},
                    WaitCase{"LaneBusy", 3, 8.5f, true, false, false, 3},
                    WaitCase{"OutOfTheRaceStays", 3, 60.0f, false, true, false, 3},
                    WaitCase{"FirstExitWaits", 2, 14.0f, false, false, true, 2},
                    WaitCase{"FirstExit", 2, 15.5f, false, false, true, 11}),
    [](const testing::TestParamInfo<WaitCase>& info) { return info.param.name; });

TEST_F(PitLaneTest, AtItsFirstExitARidersMachineIsPreparedAfresh)
{
    rig.race->standings.Session().isRace = false;
    PutBeforeBox(kRider, 0, 0.0f, race_status::kFirstPitBox);
    BikeRecord& bike = rig.Bike(kRider);
    bike.aiTimeStamp = 30.0f;
    bike.engineTemperature = 75.0f;
    bike.frontTyreWear = bike.rearTyreWear = 0.4f;
    bike.frontGripWear = 0.8f;
    bike.frontWearRate = 0.0f;
    RiderStep step = StepOf(kRider);
    pit_lane::Wait(step);
    ASSERT_EQ(bike.raceStatus, race_status::kLeavingPits);
    EXPECT_EQ(bike.engineTemperature, 60.0f);
    EXPECT_EQ(bike.frontTyreWear, 0.0f);
    EXPECT_EQ(bike.rearTyreWear, 0.0f);
    EXPECT_EQ(bike.frontGripWear, 1.0f);
    EXPECT_GT(bike.frontWearRate, 0.0f) << "its tyres chosen again";
}

TEST_F(PitLaneTest, PracticeRunsStartByPaceAndNotTogether)
{
    RiderProfile& first = rig.race->riderProfiles[kRider];
    RiderProfile& second = rig.race->riderProfiles[kOther];
    first.paceBase = 0.95f;    // leaves at 9 s
    second.paceBase = 0.955f;  // at 10.5 s, but 3 s after the one before
    PutBeforeBox(kRider, 0, 0.0f, race_status::kWaitingForRun);
    PutBeforeBox(kOther, 0, 0.0f, race_status::kWaitingForRun);
    RaceAi& ai = rig.Ai();
    std::vector<float> departures(3, -1.0f);
    for (ai.raceTime = 0.0f; ai.raceTime < 20.0f; ai.raceTime += 0.04f)
    {
        for (const uint32_t rider : {kRider, kOther})
        {
            RiderStep step = StepOf(rider);
            pit_lane::Wait(step);
            if (rig.Bike(rider).raceStatus == race_status::kLeavingPits && departures[rider] < 0.0f)
            {
                departures[rider] = ai.raceTime;
                rig.Bike(rider).aiTargetNode += 20;  // on its way
            }
        }
    }
    EXPECT_NEAR(departures[kRider], 9.0f, 0.05f);
    EXPECT_NEAR(departures[kOther], 12.0f, 0.05f);
}

TEST_F(PitLaneTest, ARetiringRiderRidesIntoThePitLaneAtTheTimingNodeAndToItsBox)
{
    BikeRecord& bike = rig.Bike(kRider);
    rig.PutOnNode(kRider, rig.OpenNode(), 30.0f);
    bike.raceStatus = race_status::kRetiring;
    RiderStep step = StepOf(kRider);
    pit_lane::RideToPits(step);
    EXPECT_FLOAT_EQ(bike.aiFollowSpeed, 0.97f * 30.0f);
    EXPECT_EQ(bike.aiTargetNode, rig.Ai().pitLaneFirstNode);
    pit_lane::RideToPits(step);
    EXPECT_EQ(bike.raceStatus, race_status::kInPitLane);
}

struct PenaltyStopCase
{
    const char* name;
    uint32_t status;
    bool pitRequest;
    bool stopInLane;    // the stopping point lies in the pit lane
    uint32_t expected;  // after the step in the lane
};

class PenaltyStopTest : public PitLaneTest, public testing::WithParamInterface<PenaltyStopCase>
{
};

TEST_P(PenaltyStopTest, OnlyThePlayerAskingForThePitLaneStopsAndOnlyWhereItCan)
{
    const PenaltyStopCase& c = GetParam();
    RaceAi& ai = rig.Ai();
    ai.startLineBound = c.stopInLane ? ai.pitLaneFirstNode + 30u : rig.OpenNode() + 30u;
    BikeRecord& bike = rig.Bike(kRider);
    rig.PutOnNode(kRider, static_cast<uint16_t>(ai.pitLaneFirstNode + 10), 15.0f);
    bike.raceStatus = c.status;
    bike.pitRequest = c.pitRequest ? 1 : 0;
    bike.aiFlags |= ai_flags::kPenaltyPending;
    RiderStep step = StepOf(kRider);
    pit_lane::ServePenalty(step);
    EXPECT_EQ(bike.raceStatus, c.expected);
    EXPECT_EQ((bike.aiFlags & ai_flags::kPenaltyPending) != 0, c.expected == c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PenaltyStopTest,
    testing::Values(PenaltyStopCase{"PlayerStops", 16, true, true, 16},
                    PenaltyStopCase{"PlayerWithoutRequestRidesThrough", 16, false, true, 0},
                    PenaltyStopCase{"StopOutsideTheLaneRidesThrough", 16, true, false, 0},
                    PenaltyStopCase{"ComputerRiderRidesThrough", 15, false, true, 9}),
    [](const testing::TestParamInfo<PenaltyStopCase>& info) { return info.param.name; });

TEST_F(PitLaneTest, ThePenaltyStopHoldsTheRiderTenSecondsAtTheStoppingPointOnceItStands)
{
    RaceAi& ai = rig.Ai();
    ai.startLineBound = ai.pitLaneFirstNode + 30u;
    BikeRecord& bike = rig.Bike(kPlayer);
    rig.PutOnNode(kPlayer, static_cast<uint16_t>(ai.pitLaneFirstNode + 20), 15.0f);
    bike.raceStatus = race_status::kPlayerRideThrough;
    bike.pitRequest = 1;
    bike.aiFlags |= ai_flags::kPenaltyPending;
    // On the way: capped only behind a slower rider in the lane ahead.
    rig.PutOnNode(kOther, static_cast<uint16_t>(ai.pitLaneFirstNode + 25), 3.0f);
    bike.aiSpeedCap = 111.111f;
    RiderStep step = StepOf(kPlayer);
    pit_lane::ServePenalty(step);
    EXPECT_LT(bike.aiSpeedCap, 20.0f);

    // At the stopping point: stopped, and the stop counts only once it stands.
    rig.PutOnNode(kPlayer, static_cast<uint16_t>(ai.startLineBound), 2.0f);
    pit_lane::ServePenalty(step);
    EXPECT_EQ(bike.aiSpeedCap, 0.0f);
    EXPECT_EQ(bike.penaltyStopTimer, 0.0f);
    bike.speed = 0.1f;
    int steps = 0;
    while (bike.raceStatus == race_status::kPlayerRideThrough && steps < 300)
    {
        pit_lane::ServePenalty(step);
        ++steps;
    }
    EXPECT_NEAR(steps * 0.04f, 10.0f, 0.05f);
    EXPECT_EQ(bike.raceStatus, race_status::kLeavingPits);
    EXPECT_EQ(bike.aiFlags & ai_flags::kPenaltyPending, 0u);
}

struct EntryCase
{
    bool penalty;
    bool race;
    uint32_t expected;
};

class PlayerPitEntryTest : public PitLaneTest, public testing::WithParamInterface<EntryCase>
{
};

TEST_P(PlayerPitEntryTest, ThePlayersRiderTakesTheLanesStatusOnceInIt)
{
    const EntryCase& c = GetParam();
    rig.race->standings.Session().isRace = c.race;
    BikeRecord& bike = rig.Bike(kPlayer);
    bike.raceStatus = race_status::kPlayer;
    bike.pitRequest = 1;
    bike.aiFlags = c.penalty ? ai_flags::kPenaltyPending : 0;
    RiderStep step = StepOf(kPlayer);
    rig.PutOnNode(kPlayer, rig.OpenNode(), 20.0f);
    pit_lane::EnterPitLane(step);
    EXPECT_EQ(bike.raceStatus, race_status::kPlayer) << "still on the track";
    PutBeforeBox(kPlayer, 20, 20.0f, race_status::kPlayer);
    pit_lane::EnterPitLane(step);
    EXPECT_EQ(bike.raceStatus, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, PlayerPitEntryTest,
                         testing::Values(EntryCase{true, true, 16}, EntryCase{false, false, 14},
                                         EntryCase{false, true, 11}));
}  // namespace

namespace
{
TEST(RetiringWithoutPitLaneTest, ARiderWithNowhereToGoStopsAndLeavesTheLineClear)
{
    AiRig rig(2);
    BikeRecord& bike = rig.Bike(1);
    rig.PutOnNode(1, rig.OpenNode(), 20.0f);
    bike.raceStatus = race_status::kRetiring;
    rig.race->standings.sessionRanks[1] = session_rank::kRacing;
    RiderStep step{rig.Ai(), *rig.race, 1, bike, rig.race->riderProfiles[1]};
    pit_lane::RideToPits(step);
    EXPECT_FLOAT_EQ(bike.aiFollowSpeed, 14.0f);
    EXPECT_EQ(rig.Ai().inRace[1], 1u);
    bike.speed = 0.2f;
    pit_lane::RideToPits(step);
    EXPECT_EQ(bike.raceStatus, race_status::kFallenOut);
    EXPECT_EQ(rig.race->standings.sessionRanks[1], session_rank::kDroppedOut);
    EXPECT_EQ(rig.Ai().inRace[1], 0u) << "riders behind no longer wait for it";
    EXPECT_TRUE(bike.IsInactive());
}
}  // namespace
