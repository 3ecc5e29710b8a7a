// The real 2 ms timer thread against a main thread that pumps, reads and resets the clocks,
// presses keys, reads the input ring and polls the joystick, for a few seconds. Built with
// ThreadSanitizer it shows that nothing the two threads share is a data race.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/clock/RaceClock.h"
#include "app/input/JoystickReader.h"
#include "app/input/KeyState.h"
#include "net/NetSession.h"
#include "platform/PeriodicTimer.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameWindow.h"
#include "race/BikeRecord.h"
#include "race/PlayerInputState.h"
#include "race/RaceContext.h"
#include "tests/support/TestDirectory.h"

namespace
{
using namespace std::chrono_literals;

TEST(TickStressTest, TimerThreadAndMainThreadShareClocksKeysAndRings)
{
    const TestDirectory directory;  // the window makes its Debug.Log here
    ScriptedPlatform platform;      // only its joystick is used, which any thread may read
    const ScopedPlatform installed(platform);
    platform.SetJoystick(0, {32768, 32768, 32768, 32768, 0});

    GameWindow window;
    g_clockRate = 1;
    g_raceClockOn = true;
    g_racePaused = false;
    g_raceStartTick = 50;
    g_waitingForStart = true;
    g_playerRider = 0;
    g_playerInputState.Publish(0.0f, 1.0f);
    g_net.InputRingOf(0).Clear();
    ClearAllKeys();
    const ControlMap keys;
    ASSERT_TRUE(window.Input().SetJoystickDefaults(true));
    window.Input().SetControlMap(keys);

    PeriodicTimer timer(kTimerPeriodMs, [&window] { window.OnTimerTick(); });
    ASSERT_TRUE(timer.IsRunning());

    const auto end = std::chrono::steady_clock::now() + 2s;
    uint32_t lastTimerMs = 0;
    uint32_t inputsSeen = 0;
    for (uint32_t round = 0; std::chrono::steady_clock::now() < end; ++round)
    {
        g_pumpWatchdogMs = 0;
        const uint32_t timerMs = g_timerMs;
        ASSERT_GE(timerMs, lastTimerMs);
        lastTimerMs = timerMs;

        if (round % 2 == 0)
        {
            PressKey(keys.throttle);
            PressKey(keys.right);
        }
        else
        {
            ReleaseKey(keys.throttle);
            ReleaseKey(keys.right);
        }
        ReadKey(vk::Escape);
        inputsSeen += g_net.InputRingOf(0).Read(g_inputTick).has_value() ? 1 : 0;
        g_playerInputState.Publish(static_cast<float>(round % 50), 1.0f);
        window.Input().SetAutoCentre(round % 3 == 0);

        if (round % 25 == 0)
        {
            g_raceClockOn = false;
            window.ResetRaceClock(0);
            // No tick that started before the reset can advance the clock after it.
            ASSERT_EQ(g_raceClockMs.load(), 0u);
            ASSERT_EQ(g_inputTick.load(), 0u);
            g_waitingForStart = true;
            g_clockRate = 1 + round % 4;
            g_raceClockOn = true;
        }
        if (round % 40 == 0)
        {
            ClearAllKeys();
            g_menuDelayMs = 100;
            platform.SetJoystick(0,
                                 {round % 65536, 32768, 65535 - round % 65536, 32768, round & 15});
            g_joystick.Poll();  // as the settings page does
            window.Input().SetControlMap(keys);
        }
        std::this_thread::sleep_for(300us);
    }
    timer.Stop();

    ReleaseKey(keys.throttle);
    EXPECT_EQ(g_keyState[keys.throttle] & kKeyHeld, 0) << "a release was lost";
    EXPECT_GT(lastTimerMs, 0u);
    EXPECT_GT(inputsSeen, 0u);
}

}  // namespace
