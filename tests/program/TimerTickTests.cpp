#include <gtest/gtest.h>

#include <vector>

#include "platform/scripted/DatagramHub.h"
#include "tests/net/NetTestWorld.h"
#include "tests/program/TickFixture.h"
#include "tests/support/CaseNames.h"

namespace
{

class RaceClockRateTest : public TickTest, public ::testing::WithParamInterface<uint32_t>
{
};

TEST_P(RaceClockRateTest, RaceTimeAdvancesTwoMsTimesTheRatePerTick)
{
    g_clockRate = GetParam();
    for (uint32_t tick = 1; tick <= 30; ++tick)
    {
        RunTicks(1);
        ASSERT_EQ(g_raceClockMs.load(), tick * 2 * GetParam()) << "tick " << tick;
    }
    EXPECT_EQ(g_timerMs.load(), 60u);
}

INSTANTIATE_TEST_SUITE_P(Rates, RaceClockRateTest, ::testing::Values(1u, 2u, 4u, 8u),
                         [](const ::testing::TestParamInfo<uint32_t>& info)
                         { return "Times" + std::to_string(info.param); });

TEST_F(TickTest, NoRaceTimePassesWhileHeldPausedOrStopped)
{
    struct Case
    {
        const char* what;
        std::atomic<bool>& flag;
        bool value;
    };
    const Case cases[] = {
        {"held", g_clockHold, true},
        {"paused", g_racePaused, true},
        {"race clock off", g_raceClockOn, false},
    };
    for (const Case& c : cases)
    {
        c.flag = c.value;
        const uint32_t raceMs = g_raceClockMs;
        const uint32_t timerMs = g_timerMs;
        const uint32_t inputTick = g_inputTick;
        RunInputSteps(3);
        EXPECT_EQ(g_raceClockMs.load(), raceMs) << c.what;
        EXPECT_EQ(g_inputTick.load(), inputTick) << c.what;
        EXPECT_EQ(g_timerMs.load(), timerMs + 3 * 40) << c.what << ": the free clock runs on";
        c.flag = !c.value;
        RunTicks(1);
        EXPECT_EQ(g_raceClockMs.load(), raceMs + 2) << c.what << " ended";
    }
}

TEST_F(TickTest, WatchdogFreezesRaceTimeWithoutAPumpUntilTheNextOne)
{
    g_clockRate = 2;
    RunTicks(300);  // 1200 ms of race time without a pump
    EXPECT_EQ(g_raceClockMs.load(), 1200u);
    EXPECT_EQ(g_pumpWatchdogMs.load(), 1200);

    RunTicks(50);
    EXPECT_EQ(g_raceClockMs.load(), 1200u) << "frozen";

    g_pumpWatchdogMs = 0;  // what a run of the message pump does
    RunTicks(1);
    EXPECT_EQ(g_raceClockMs.load(), 1204u);
    EXPECT_EQ(g_pumpWatchdogMs.load(), 4);
}

TEST_F(TickTest, OneInputStepPer40MsOfRaceTime)
{
    struct Case
    {
        uint32_t rate;
        uint32_t ticksPerStep;
    };
    for (const Case c : {Case{1, 20}, Case{2, 10}, Case{4, 5}})
    {
        window_->ResetRaceClock(0);
        g_inputStepMs = 0;
        g_net.InputRingOf(0).Clear();
        g_clockRate = c.rate;
        std::vector<uint32_t> stepTicks;
        for (uint32_t tick = 1; tick <= 4 * c.ticksPerStep; ++tick)
        {
            const uint32_t before = g_inputTick;
            RunTicks(1);
            if (g_inputTick != before)
            {
                stepTicks.push_back(tick);
                // Each step stores its inputs for the simulation step after it.
                EXPECT_TRUE(g_net.InputRingOf(0).Read(g_inputTick).has_value());
            }
            g_pumpWatchdogMs = 0;
        }
        const uint32_t n = c.ticksPerStep;
        EXPECT_EQ(stepTicks, (std::vector<uint32_t>{n, 2 * n, 3 * n, 4 * n})) << "rate " << c.rate;
        EXPECT_EQ(g_inputTick.load(), 4u);
        EXPECT_FALSE(g_net.InputRingOf(0).Read(0).has_value());
    }
}

TEST_F(TickTest, WaitingForStartIsClearedOnceTheInputStepsReachTheStartTick)
{
    g_raceStartTick = 3;
    int clearings = 0;
    bool wasWaiting = g_waitingForStart;
    for (uint32_t tick = 1; tick <= 8 * kTicksPerInputStep; ++tick)
    {
        RunTicks(1);
        EXPECT_EQ(g_waitingForStart.load(), g_inputTick < 3) << "tick " << tick;
        clearings += wasWaiting && !g_waitingForStart ? 1 : 0;
        wasWaiting = g_waitingForStart;
    }
    EXPECT_EQ(clearings, 1);
}

TEST_F(TickTest, MenuDelayCountsDownToZero)
{
    g_racePaused = true;  // the countdown runs whatever the race clock does
    g_menuDelayMs = 7;
    std::vector<int32_t> seen;
    for (int tick = 0; tick < 5; ++tick)
    {
        RunTicks(1);
        seen.push_back(g_menuDelayMs);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{5, 3, 1, 0, 0}));
}

TEST_F(TickTest, ResetRaceClockStartsTheRaceClockAfresh)
{
    RunInputSteps(3);
    g_frameClockMs = 80;
    g_ticksDone = 2;
    g_clockHold = true;

    window_->ResetRaceClock(5000);

    EXPECT_EQ(g_raceClockMs.load(), 5000u);
    EXPECT_EQ(g_inputTick.load(), 0u);
    EXPECT_EQ(g_frameClockMs.load(), 0u);
    EXPECT_EQ(g_ticksDone.load(), 0u);
    EXPECT_FALSE(g_clockHold.load());
    RunTicks(1);
    EXPECT_EQ(g_raceClockMs.load(), 5002u);
}

TEST_F(TickTest, TheTimerStopsWithStopTimerAndWithTheWindow)
{
    RunTicks(5);
    window_->Tick().Stop();
    RunTicks(5);
    EXPECT_EQ(g_timerMs.load(), 10u);

    ASSERT_TRUE(window_->Tick().Start());
    ASSERT_TRUE(window_->Tick().Start()) << "a second start replaces the running timer";
    RunTicks(5);
    EXPECT_EQ(g_timerMs.load(), 20u);

    window_.reset();
    RunTicks(5);
    EXPECT_EQ(g_timerMs.load(), 20u);
}

TEST_F(TickTest, NetworkPlayKeepsTheSessionsTime)
{
    // A lone host on a network of its own: its session runs on the window's tick.
    DatagramHub hub;
    const std::unique_ptr<DatagramNetwork> network = hub.AddMachine(MakeIpv4(10, 0, 0, 1));
    TestNetMachine machine;
    machine.playerRider = 0;
    g_net.Attach(machine, machine, *network);
    g_net.SetHost(true);
    g_net.SetInputDelay(3);
    ASSERT_TRUE(g_net.Startup());
    ASSERT_TRUE(g_net.OpenSocket());
    g_net.OpenLobby();

    g_net.SetActive(true);
    RunInputSteps(2);
    EXPECT_EQ(g_raceClockMs.load(), 0u) << "no race runs";
    EXPECT_EQ(g_inputTick.load(), 0u);
    EXPECT_TRUE(g_net.InputRingOf(0).Read(3).has_value()) << "inputs are sampled meanwhile";
    EXPECT_EQ(hub.DatagramsSent(), 1u) << "the host's status went out";

    ASSERT_TRUE(g_net.StartRaceAsHost());
    g_raceClockOn = false;
    RunTicks(5);
    EXPECT_EQ(g_raceClockMs.load(), 10u) << "the session's clock runs without the race loop";
    EXPECT_EQ(g_inputTick.load(), 0u) << "input steps only with the race loop";

    g_raceClockOn = true;
    g_net.InputRingOf(0).Clear();
    RunInputSteps(1);
    EXPECT_EQ(g_inputTick.load(), 1u);
    EXPECT_TRUE(g_net.InputRingOf(0).Read(3).has_value()) << "stored the delay ahead";
    g_net.Shutdown();
    g_net.Detach();
}

}  // namespace
