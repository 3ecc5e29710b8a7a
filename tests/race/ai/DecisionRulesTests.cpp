// The racing decisions of the computer riders and the player's aids: a refused line change,
// the slow rider inside a hazard zone, yielding in a timed session, the start line-up, the
// steering and braking aids and the celebration after the finish.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "race/RaceServices.h"
#include "race/SimMath.h"
#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"
#include "tests/race/ai/AiRig.h"

namespace
{
RiderStep StepOf(AiRig& rig, uint32_t rider)
{
    return RiderStep{rig.Ai(), *rig.race, rider, rig.Bike(rider), rig.race->riderProfiles[rider]};
}

// A main-line node from which the line runs straight for at least the given nodes.
uint16_t StraightNode(AiRig& rig, uint32_t nodes)
{
    const RaceAi& ai = rig.Ai();
    for (uint16_t start = 0; start < ai.pitLaneFirstNode; ++start)
    {
        bool straight = true;
        uint16_t node = start;
        for (uint32_t i = 0; i < nodes && straight; ++i)
        {
            const uint16_t next = ai.nodes[node].next;
            straight =
                std::fabs(sim::WrapSigned(ai.nodes[next].heading - ai.nodes[node].heading)) < 0.01f;
            node = next;
        }
        if (straight)
        {
            return start;
        }
    }
    return 0;
}

// A main-line node five nodes before a curve begins.
uint16_t CurveNode(AiRig& rig)
{
    const RaceAi& ai = rig.Ai();
    const auto turns = [&](uint16_t node)
    {
        const uint16_t next = ai.nodes[node].next;
        return std::fabs(sim::WrapSigned(ai.nodes[next].heading - ai.nodes[node].heading)) > 0.05f;
    };
    const uint16_t lap = ai.pitLaneFirstNode;
    for (uint16_t node = 0; node < lap; ++node)
    {
        if (turns(node) && !turns(ai.nodes[node].previous))
        {
            return static_cast<uint16_t>((node + lap - 5) % lap);
        }
    }
    return 0;
}

struct RefusedChangeCase
{
    const char* name;
    float changeTimeLeft;
    float gainBefore;
    float changeTimeAfter;
    float gainAfter;
};

class RefusedChangeTest : public testing::TestWithParam<RefusedChangeCase>
{
};

TEST_P(RefusedChangeTest, ARefusedPassEitherClearsTheTimerOrHurriesTheRunningChange)
{
    const RefusedChangeCase& c = GetParam();
    AiRig rig(2);
    const uint16_t node = StraightNode(rig, 30);
    rig.PutOnNode(0, node, 40.0f);
    rig.PutOnNode(1, static_cast<uint16_t>(node + 10), 20.0f);
    BikeRecord& bike = rig.Bike(0);
    bike.aiPerformanceRoot = 1.0f;
    bike.aiFlags |= ai_flags::kBlockedSide0 | ai_flags::kBlockedSide1;
    bike.aiLineChangeTime = c.changeTimeLeft;
    bike.aiLineChangeGain = c.gainBefore;
    RiderStep step = StepOf(rig, 0);
    racing_decision::RiderAhead ahead;
    ahead.rider = 1;
    ahead.nodes = 10;
    ahead.gap = 10.0f * 7.0f / 40.1f;
    racing_decision::RideFree(step, ahead);
    EXPECT_FLOAT_EQ(bike.aiLineChangeTime, c.changeTimeAfter);
    EXPECT_FLOAT_EQ(bike.aiLineChangeGain, c.gainAfter);
    EXPECT_EQ(bike.aiTargetNode, node) << "no change started";
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedChangeTest,
    testing::Values(RefusedChangeCase{"BlockedWithoutAChange", 0.0f, 0.4f, 0.0f, 1.0f},
                    RefusedChangeCase{"ChangeNearlyDone", 1.2f, 0.4f, 0.0f, 1.0f},
                    RefusedChangeCase{"ChangeUnderWayIsHurried", 1.5f, 0.4f, 1.5f, 0.8f}),
    [](const testing::TestParamInfo<RefusedChangeCase>& info) { return info.param.name; });

struct HazardAheadCase
{
    const char* name;
    uint16_t nodesAhead;
    float ownSpeed;
    float otherSpeed;
    bool found;
};

class HazardAheadTest : public testing::TestWithParam<HazardAheadCase>
{
};

TEST_P(HazardAheadTest, InsideAZoneOnlyASlowRiderCloseAheadCounts)
{
    const HazardAheadCase& c = GetParam();
    AiRig rig(2);
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, c.ownSpeed);
    rig.PutOnNode(1, static_cast<uint16_t>(node + c.nodesAhead), c.otherSpeed);
    RiderStep step = StepOf(rig, 0);
    const racing_decision::RiderAhead found =
        racing_decision::FindSlowRiderInHazard(step, racing_decision::RiderAhead{});
    EXPECT_EQ(found.rider == 1, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HazardAheadTest,
    testing::Values(HazardAheadCase{"BelowTheCrawl", 5, 10.0f, 15.0f, true},
                    HazardAheadCase{"SlowerThanThisRider", 5, 30.0f, 20.0f, true},
                    HazardAheadCase{"FasterAndQuick", 5, 10.0f, 20.0f, false},
                    HazardAheadCase{"BeyondTenNodes", 11, 30.0f, 10.0f, false}),
    [](const testing::TestParamInfo<HazardAheadCase>& info) { return info.param.name; });

TEST(YieldTest, InATimedSessionAMuchSlowerRiderAheadLetsTheFasterOneBy)
{
    for (const int32_t rankGap : {7, 8})
    {
        AiRig rig(2);
        rig.race->standings.Session().isRace = false;
        const uint16_t node = rig.OpenNode();
        rig.PutOnNode(0, node, 30.0f);
        rig.PutOnNode(1, static_cast<uint16_t>(node + 3), 25.0f);
        rig.race->riderProfiles[0].paceRank = 10;
        rig.race->riderProfiles[1].paceRank = 10 + rankGap;
        RiderStep step = StepOf(rig, 0);
        racing_decision::Decide(step, false, false);
        EXPECT_EQ(rig.Bike(1).raceStatus, rankGap >= 8 ? 8u : 9u) << "rank gap " << rankGap;
    }
}

TEST(StartLineUpTest, ARiderWithMoreThanItsShareAheadOnItsLaneMovesOver)
{
    AiRig rig(4);
    const uint16_t node = rig.OpenNode();
    for (uint32_t rider = 0; rider < 4; ++rider)
    {
        rig.PutOnNode(rider, node, 10.0f);
    }
    const uint16_t lap = rig.Ai().pitLaneFirstNode;
    // Places 1 to 3 on the middle lane ahead of the last: it takes the side-0 lane.
    RiderStep last = StepOf(rig, 3);
    racing_decision::LineUpAtStart(last);
    EXPECT_EQ(rig.Bike(3).aiTargetNode, lap + node);
    EXPECT_NE(rig.Bike(3).aiFlags & ai_flags::kChangingToSide0, 0u);
    EXPECT_FLOAT_EQ(rig.Bike(3).aiLineChangeGain, 1.0f) << "(class + 3) x 0.2 for the top class";
    // The leader has nobody ahead and keeps its lane.
    RiderStep leader = StepOf(rig, 0);
    racing_decision::LineUpAtStart(leader);
    EXPECT_EQ(rig.Bike(0).aiTargetNode, node);
}

struct SteerAidCase
{
    const char* name;
    float speed;
    bool crashRequested;
    int32_t mode;
};

class SteerAidTest : public testing::TestWithParam<SteerAidCase>
{
};

TEST_P(SteerAidTest, TheAidSteersForTheLineOnlyWhenTheRiderCanTakeIt)
{
    const SteerAidCase& c = GetParam();
    AiRig rig(1);
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, c.speed);
    BikeRecord& bike = rig.Bike(0);
    // Five metres beside the line.
    bike.positionX += 5.0f * sim::Cos(bike.heading);
    bike.positionZ -= 5.0f * sim::Sin(bike.heading);
    bike.crashRequest = c.crashRequested ? 2 : BikeRecord::kNoCrash;
    RiderStep step = StepOf(rig, 0);
    rider_control::SteerAid(step);
    EXPECT_EQ(bike.steeringAidMode, c.mode);
    EXPECT_EQ(bike.aiSteerRadius != 0.0f, c.mode != 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SteerAidTest,
                         testing::Values(SteerAidCase{"OffTheLineAtTenMetresASecond", 10.0f, false,
                                                      1},
                                         SteerAidCase{"AtWalkingSpeed", 2.0f, false, 0},
                                         SteerAidCase{"WithAFallRequested", 10.0f, true, 0}),
                         [](const testing::TestParamInfo<SteerAidCase>& info)
                         { return info.param.name; });

TEST(BrakeAidTest, TheAidBrakesHarderTheFasterTheRiderIsAndNeverEasesWhileTooFast)
{
    AiRig rig(1);
    const uint16_t node = rig.OpenNode();
    rig.PutOnNode(0, node, 150.0f);
    BikeRecord& bike = rig.Bike(0);
    RiderStep step = StepOf(rig, 0);
    rider_control::BrakeAid(step);
    const float first = bike.aiAidBrake;
    EXPECT_GT(first, 0.0f);
    EXPECT_GT(bike.brake, 0.0f);
    bike.speed = 140.0f;  // slower, but still far too fast
    rider_control::BrakeAid(step);
    EXPECT_GE(bike.aiAidBrake, first);

    bike.speed = 5.0f;
    bike.throttle = 0.8f;
    bike.rearGripUse = 0.5f;
    rider_control::BrakeAid(step);
    EXPECT_EQ(bike.aiAidBrake, 0.0f);
    EXPECT_FLOAT_EQ(bike.throttle, 0.4f) << "the throttle follows the rear grip in use";
}

class CelebrationLog : public RaceServices
{
public:
    void StartCelebration(uint32_t rider, uint32_t clip) override
    {
        clips.push_back({rider, clip});
    }
    std::vector<std::pair<uint32_t, uint32_t>> clips;
};

struct CelebrationCase
{
    const char* name;
    int32_t place;
    bool race;
    float brake;
    bool onStraight;
    bool celebrates;
};

class CelebrationTest : public testing::TestWithParam<CelebrationCase>
{
};

TEST_P(CelebrationTest, AFinishedRiderUpFrontCelebratesOnAStraight)
{
    const CelebrationCase& c = GetParam();
    AiRig rig(1);
    CelebrationLog log;
    rig.Ai().services = &log;
    rig.Ai().celebrationsLeft[0] = 3;
    rig.race->standings.Session().isRace = c.race;
    rig.race->standings.gridOrder[0] = c.place;
    const uint16_t node = c.onStraight ? StraightNode(rig, 45) : CurveNode(rig);
    rig.PutOnNode(0, node, 10.0f);
    BikeRecord& bike = rig.Bike(0);
    bike.raceStatus = race_status::kFinished;
    bike.brake = c.brake;
    bike.steer = 0.0f;
    RiderStep step = StepOf(rig, 0);
    rider_control::TryCelebration(step);
    ASSERT_EQ(log.clips.size(), c.celebrates ? 1u : 0u);
    if (c.celebrates)
    {
        EXPECT_EQ(log.clips[0].second, (static_cast<uint32_t>(c.place) + node) & 3u);
        EXPECT_EQ(rig.Ai().celebrationsLeft[0], 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CelebrationTest,
    testing::Values(CelebrationCase{"Winner", 1, true, 0.0f, true, true},
                    CelebrationCase{"ThirdWithThreeLeft", 3, true, 0.0f, true, true},
                    CelebrationCase{"FourthWithThreeLeft", 4, true, 0.0f, true, false},
                    CelebrationCase{"Braking", 1, true, 0.3f, true, false},
                    CelebrationCase{"TimedSession", 1, false, 0.0f, true, false},
                    CelebrationCase{"InACurve", 1, true, 0.0f, false, false}),
    [](const testing::TestParamInfo<CelebrationCase>& info) { return info.param.name; });
}  // namespace
