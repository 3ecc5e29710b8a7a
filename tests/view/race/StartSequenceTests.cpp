// The start lights from the simulation's steps against the start step.

#include <gtest/gtest.h>

#include <string>

#include "view/race/StartSequence.h"

namespace
{
constexpr uint32_t kStart = 200;

struct LightCase
{
    std::string name;
    int32_t stepsFromStart;
    int32_t light;
};

class StartLightTest : public testing::TestWithParam<LightCase>
{
};

// "after X" is a step beyond X.
const LightCase kLightCases[] = {
    {"BeforeTheProcedure", -76, StartSequence::kLightsOff},
    {"ProcedureBegins", -75, 1},
    {"AtMinus73", -73, 1},
    {"AfterMinus73", -72, 2},
    {"AfterMinus50", -49, 3},
    {"AfterMinus48", -47, 4},
    {"AfterMinus25", -24, 5},
    {"AfterMinus23", -22, 6},
    {"LastStepBefore", -1, 6},
    {"Start", 0, 7},
    {"AtPlus2", 2, 7},
    {"AfterPlus2", 3, 8},
    {"AtPlus25", 25, 8},
    {"Out", 26, StartSequence::kLightsOff},
};

TEST_P(StartLightTest, ShowsTheStateOfTheStep)
{
    StartSequence start;
    start.Reset();
    const int32_t steps = GetParam().stepsFromStart;
    // Every step from well before the start up to the case's.
    for (int32_t step = -80; step <= steps; ++step)
    {
        start.Update(static_cast<uint32_t>(static_cast<int32_t>(kStart) + step), kStart, true, true,
                     0.04f);
    }
    EXPECT_EQ(start.lightState, GetParam().light);
}

INSTANTIATE_TEST_SUITE_P(Steps, StartLightTest, testing::ValuesIn(kLightCases),
                         [](const auto& info) { return info.param.name; });

TEST(StartSequenceTest, ViewAndSoundOnceAtTheProcedureAndTheStartOnce)
{
    StartSequence start;
    start.Reset();
    int views = 0;
    int sounds = 0;
    int starts = 0;
    for (uint32_t step = 100; step < 260; ++step)
    {
        const StartSequence::Moments moments = start.Update(step, kStart, true, true, 0.04f);
        views += moments.restoreView;
        sounds += moments.startSound;
        starts += moments.started;
    }
    EXPECT_EQ(views, 1);
    EXPECT_EQ(sounds, 1);
    EXPECT_EQ(starts, 1);
}

TEST(StartSequenceTest, AStartStepBelowTheProcedureLengthStillRunsEveryLight)
{
    StartSequence start;
    start.Reset();
    start.Update(0, 74, true, true, 0.04f);
    EXPECT_EQ(start.lightState, 1);
}

TEST(StartSequenceTest, ARestartRunsTheProcedureAgainFromTheFirstLight)
{
    StartSequence start;
    start.Reset();
    start.Update(176, kStart, true, true, 0.04f);
    ASSERT_EQ(start.lightState, 5);
    start.Restart();
    const StartSequence::Moments moments = start.Update(181, 181 + 75, true, true, 0.04f);
    EXPECT_EQ(start.lightState, 1);
    EXPECT_TRUE(moments.restoreView);
}

TEST(StartSequenceTest, WithoutAStandingStartTheRaceStartsOnTheFirstWaitingFrame)
{
    StartSequence start;
    start.Reset();
    EXPECT_TRUE(start.Update(0, 4000, false, true, 0.04f).started);
    EXPECT_FALSE(start.Update(1, 4000, false, true, 0.04f).started);
    EXPECT_EQ(start.lightState, StartSequence::kLightsOff);
}
}  // namespace
