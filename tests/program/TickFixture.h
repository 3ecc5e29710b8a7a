#pragma once

// A game window ticking in virtual time on the scripted machine, with every word the tick
// shares at its start-of-run value, the player on rider 0 with an empty input ring and the
// bike standing still.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "app/clock/RaceClock.h"
#include "app/input/JoystickBlock.h"
#include "app/input/KeyState.h"
#include "net/NetSession.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameWindow.h"
#include "race/BikeRecord.h"
#include "race/PlayerInputState.h"
#include "race/RaceContext.h"
#include "tests/support/TestDirectory.h"

// Joystick axis values: the ends of the default calibration and its centre.
inline constexpr uint32_t kStickMin = 0;
inline constexpr uint32_t kStickCentre = 32768;
inline constexpr uint32_t kStickMax = 65535;

class TickTest : public ::testing::Test
{
protected:
    static constexpr uint32_t kTicksPerInputStep = kInputStepMs / kTimerPeriodMs;

    TickTest() : installed_(platform_)
    {
        g_clockRate = 1;
        g_raceClockOn = true;
        g_racePaused = false;
        g_raceStartTick = kInitialRaceStartTick;
        g_waitingForStart = true;
        g_holdMs = 0;
        g_soundPumpMs = 0;
        g_menuDelayMs = 0;
        g_net.SetActive(false);
        g_net.ResetInputRings();
        g_joystickEnabled = false;
        g_lookBack = false;
        g_playerRider = 0;
        g_playerInputState.Publish(0.0f, 1.0f);
        g_net.InputRingOf(0).Clear();
        ClearAllKeys();
    }

    void SetUp() override { ASSERT_TRUE(window_->Tick().Start()); }

    void RunTicks(uint32_t ticks) { platform_.SleepMs(ticks * kTimerPeriodMs); }

    // Input steps at clock rate 1, with a run of the message pump before each, as a frame
    // loop does.
    void RunInputSteps(uint32_t steps)
    {
        for (uint32_t step = 0; step < steps; ++step)
        {
            g_pumpWatchdogMs = 0;
            RunTicks(kTicksPerInputStep);
        }
    }

    // The inputs of the player's last input step. Offline a step stores them for the next
    // simulation step and then counts itself, so they are stored under the count it left.
    InputFrame LastInputs() const
    {
        const uint32_t step = g_inputTick.load();
        const auto frame = g_net.InputRingOf(0).Read(step);
        EXPECT_TRUE(frame.has_value()) << "no inputs stored for step " << step;
        return frame.value_or(InputFrame{});
    }

    // A joystick on the machine, found by the window.
    void PlugJoystick(const JoystickState& state)
    {
        platform_.SetJoystick(0, state);
        ASSERT_TRUE(window_->Input().SetJoystickDefaults(true));
    }

    TestDirectory directory_;  // the window makes its Debug.Log here
    ScriptedPlatform platform_;
    ScopedPlatform installed_;
    std::unique_ptr<GameWindow> window_ = std::make_unique<GameWindow>();
};
