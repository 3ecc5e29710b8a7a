#include "platform/scripted/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/VirtualKeys.h"
#include "tests/support/CaseNames.h"

namespace
{
using Kind = PlatformEvent::Kind;

struct TimerSpan
{
    uint32_t periodMs;
    uint32_t quantumMs;
    int yields;
    int expectedTicks;
};

class ScriptedTimerTest : public ::testing::TestWithParam<TimerSpan>
{
};

TEST_P(ScriptedTimerTest, FiresOncePerElapsedPeriod)
{
    const TimerSpan span = GetParam();
    ScriptedPlatform platform;
    platform.SetFrameQuantumMs(span.quantumMs);
    std::vector<uint32_t> tickTimes;
    ASSERT_NE(
        platform.StartPeriodicTimer(span.periodMs, [&] { tickTimes.push_back(platform.NowMs()); }),
        0u);

    for (int i = 0; i < span.yields; ++i)
    {
        platform.Yield();
    }

    EXPECT_EQ(platform.NowMs(), span.quantumMs * span.yields);
    ASSERT_EQ(tickTimes.size(), static_cast<size_t>(span.expectedTicks));
    for (size_t i = 0; i < tickTimes.size(); ++i)
    {
        EXPECT_EQ(tickTimes[i], span.periodMs * (i + 1));  // each tick sees its own time
    }
}

INSTANTIATE_TEST_SUITE_P(Spans, ScriptedTimerTest,
                         ::testing::Values(TimerSpan{2, 20, 1, 10}, TimerSpan{2, 20, 5, 50},
                                           TimerSpan{3, 20, 1, 6}, TimerSpan{3, 20, 2, 13},
                                           TimerSpan{3, 20, 3, 20}, TimerSpan{7, 5, 3, 2},
                                           TimerSpan{40, 20, 1, 0}, TimerSpan{40, 20, 2, 1}),
                         [](const ::testing::TestParamInfo<TimerSpan>& info)
                         {
                             return "Period" + std::to_string(info.param.periodMs) + "Quantum" +
                                    std::to_string(info.param.quantumMs) + "Yields" +
                                    std::to_string(info.param.yields);
                         });

TEST(ScriptedPlatformTest, SleepAdvancesTimeAndTimers)
{
    ScriptedPlatform platform;
    int ticks = 0;
    platform.StartPeriodicTimer(2, [&] { ++ticks; });
    platform.SleepMs(5);
    platform.SleepMs(0);
    platform.SleepMs(1);
    EXPECT_EQ(platform.NowMs(), 6u);
    EXPECT_EQ(ticks, 3);
}

TEST(ScriptedPlatformTest, TimersInterleaveInTimeOrder)
{
    ScriptedPlatform platform;
    std::string order;
    platform.StartPeriodicTimer(5, [&] { order += "A" + std::to_string(platform.NowMs()) + " "; });
    platform.StartPeriodicTimer(2, [&] { order += "B" + std::to_string(platform.NowMs()) + " "; });
    platform.SleepMs(10);
    EXPECT_EQ(order, "B2 B4 A5 B6 B8 A10 B10 ");  // at the same time the older timer first
}

TEST(ScriptedPlatformTest, KillStopsATimerAlsoFromInsideItsOwnTick)
{
    ScriptedPlatform platform;
    int selfKilled = 0;
    int killedOutside = 0;
    Platform::TimerId self = 0;
    self = platform.StartPeriodicTimer(2,
                                       [&]
                                       {
                                           if (++selfKilled == 3)
                                           {
                                               platform.KillTimer(self);
                                           }
                                       });
    const Platform::TimerId other = platform.StartPeriodicTimer(4, [&] { ++killedOutside; });

    platform.Yield();
    platform.KillTimer(other);
    platform.Yield();

    EXPECT_EQ(selfKilled, 3);
    EXPECT_EQ(killedOutside, 5);
    platform.KillTimer(other);  // a second kill is harmless
}

TEST(ScriptedPlatformTest, RefusesATimerWithoutPeriodOrTick)
{
    ScriptedPlatform platform;
    EXPECT_EQ(platform.StartPeriodicTimer(0, [] {}), 0u);
    EXPECT_EQ(platform.StartPeriodicTimer(2, nullptr), 0u);
    platform.Yield();  // and time still passes
    EXPECT_EQ(platform.NowMs(), 20u);
}

std::vector<PlatformEvent> Drain(ScriptedPlatform& platform)
{
    std::vector<PlatformEvent> events;
    PlatformEvent event;
    while (platform.PollEvent(event))
    {
        events.push_back(event);
    }
    return events;
}

FrameView SolidFrame(const std::vector<uint16_t>& pixels, int width, int height)
{
    return {pixels.data(), width, height, width * 2};
}

TEST(ScriptedPlatformTest, ScriptedEventsArriveAtTheirTimeAndFrame)
{
    ScriptedPlatform platform;
    platform.AtTime(50, {.kind = Kind::KeyDown, .virtualKey = 'A'});
    platform.AtFrame(2, {.kind = Kind::MouseMove, .x = 320, .y = 240});
    platform.AtTime(10, {.kind = Kind::KeyDown, .virtualKey = vk::Escape});
    platform.AtTime(10, {.kind = Kind::KeyUp, .virtualKey = vk::Escape});

    EXPECT_TRUE(Drain(platform).empty());

    platform.Yield();  // 20 ms: only the two entries for 10 ms, in script order
    std::vector<PlatformEvent> events = Drain(platform);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, Kind::KeyDown);
    EXPECT_EQ(events[1].kind, Kind::KeyUp);
    EXPECT_FALSE(platform.IsKeyDown(vk::Escape));

    const std::vector<uint16_t> pixels(4, 0);
    platform.Present(SolidFrame(pixels, 2, 2));
    platform.Yield();
    platform.Yield();  // 60 ms, one frame
    events = Drain(platform);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].virtualKey, 'A');
    EXPECT_TRUE(platform.IsKeyDown('A'));

    platform.Present(SolidFrame(pixels, 2, 2));
    events = Drain(platform);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Kind::MouseMove);
    EXPECT_EQ(platform.MousePosition().x, 320);
    EXPECT_EQ(platform.MousePosition().y, 240);
}

TEST(ScriptedPlatformTest, PushedEventsAreDueAtOnceAndUpdateTheInputState)
{
    ScriptedPlatform platform;
    platform.Push({.kind = Kind::MouseButton, .button = 1, .pressed = true});
    platform.Push({.kind = Kind::MouseButton, .button = 2, .pressed = true});
    platform.Push({.kind = Kind::MouseButton, .button = 2, .pressed = false});

    EXPECT_FALSE(platform.IsKeyDown(vk::LeftButton));  // state follows what was polled
    EXPECT_EQ(Drain(platform).size(), 3u);
    EXPECT_TRUE(platform.IsKeyDown(vk::LeftButton));
    EXPECT_FALSE(platform.IsKeyDown(vk::RightButton));

    platform.Push({.kind = Kind::Quit});
    const std::vector<PlatformEvent> events = Drain(platform);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Kind::Quit);
}

TEST(ScriptedPlatformTest, FramesAreCapturedWithoutPitch)
{
    ScriptedPlatform platform;
    constexpr uint16_t kPad = 0xDEAD;
    // 3 x 2 picture in rows of 5 pixels.
    const std::vector<uint16_t> padded = {1, 2, 3, kPad, kPad, 4, 5, 6, kPad, kPad};
    platform.Present({padded.data(), 3, 2, 10});
    const std::vector<uint16_t> second = {7, 8};
    platform.Present(SolidFrame(second, 1, 2));

    ASSERT_EQ(platform.PresentCount(), 2u);
    ASSERT_EQ(platform.Frames().size(), 2u);
    const CapturedFrame& first = platform.Frames()[0];
    EXPECT_EQ(first.frameNumber, 0u);
    EXPECT_EQ(first.width, 3);
    EXPECT_EQ(first.height, 2);
    EXPECT_EQ(first.pixels, (std::vector<uint16_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(platform.Frames()[1].frameNumber, 1u);
    EXPECT_EQ(platform.Frames()[1].pixels, second);
}

TEST(ScriptedPlatformTest, AFrameLimitKeepsTheNewestFrames)
{
    ScriptedPlatform platform;
    platform.LimitCapturedFrames(2);
    for (uint16_t value = 0; value < 5; ++value)
    {
        const std::vector<uint16_t> pixel = {value};
        platform.Present(SolidFrame(pixel, 1, 1));
    }
    EXPECT_EQ(platform.PresentCount(), 5u);
    ASSERT_EQ(platform.Frames().size(), 2u);
    EXPECT_EQ(platform.Frames()[0].frameNumber, 3u);
    EXPECT_EQ(platform.Frames()[1].pixels, std::vector<uint16_t>{4});
}

TEST(ScriptedPlatformTest, MessageBoxesAreRecordedAsGiven)
{
    ScriptedPlatform platform;
    platform.ShowMessageBox("Timer initialization failed!");
    platform.ShowMessageBox("Fehler beim anfordern des Bildschirmaufl\xF6sung");
    EXPECT_EQ(platform.MessageBoxes(),
              (std::vector<std::string>{"Timer initialization failed!",
                                        "Fehler beim anfordern des Bildschirmaufl\xF6sung"}));
}

TEST(ScriptedPlatformTest, JoysticksAnswerOnlyWhilePresent)
{
    ScriptedPlatform platform;
    JoystickState state;
    EXPECT_EQ(platform.JoystickCount(), 0);
    EXPECT_FALSE(platform.ReadJoystick(0, state));

    platform.SetJoystick(1, {.x = 0, .y = 65535, .z = 100, .r = 200, .buttons = 0b101});
    EXPECT_EQ(platform.JoystickCount(), 2);
    EXPECT_FALSE(platform.ReadJoystick(0, state));
    ASSERT_TRUE(platform.ReadJoystick(1, state));
    EXPECT_EQ(state.y, 65535u);
    EXPECT_EQ(state.buttons, 0b101u);
    EXPECT_FALSE(platform.ReadJoystick(2, state));
    EXPECT_FALSE(platform.ReadJoystick(-1, state));

    platform.RemoveJoystick(1);
    EXPECT_EQ(platform.JoystickCount(), 0);
    EXPECT_FALSE(platform.ReadJoystick(1, state));
}

TEST(ScriptedPlatformTest, WindowCursorAndScreenSaverAreObservable)
{
    ScriptedPlatform platform;
    EXPECT_TRUE(platform.IsScreenSaverEnabled());
    EXPECT_TRUE(platform.IsCursorVisible());
    EXPECT_FALSE(platform.IsMouseCaptured());

    platform.SetScreenSaverEnabled(false);
    ASSERT_TRUE(platform.CreateGameWindow("Zarvo", 640, 480));
    platform.SetFullScreen(true);
    platform.ShowCursor(false);
    platform.CaptureMouse(true);
    platform.DestroyGameWindow();

    EXPECT_FALSE(platform.IsScreenSaverEnabled());
    EXPECT_FALSE(platform.IsCursorVisible());
    EXPECT_TRUE(platform.IsMouseCaptured());
    const std::vector<WindowChange>& changes = platform.WindowChanges();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].kind, WindowChange::Kind::Created);
    EXPECT_EQ(changes[0].title, "Zarvo");
    EXPECT_EQ(changes[0].width, 640);
    EXPECT_EQ(changes[0].height, 480);
    EXPECT_EQ(changes[1].kind, WindowChange::Kind::FullScreen);
    EXPECT_EQ(changes[2].kind, WindowChange::Kind::Destroyed);
}
}  // namespace
