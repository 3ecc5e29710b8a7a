#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "app/window/KeyListeners.h"
#include "app/window/OutputWindow.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameWindow.h"
#include "tests/support/TestDirectory.h"

namespace
{
using Heard = std::vector<std::pair<uint32_t, uint32_t>>;  // kind, key

Heard g_heard;

int32_t Record(uint32_t kind, uint32_t virtualKey)
{
    g_heard.emplace_back(kind, virtualKey);
    return 0;
}

// Takes every key it hears.
int32_t Take(uint32_t kind, uint32_t virtualKey)
{
    g_heard.emplace_back(kind + 100, virtualKey);
    return 1;
}

PlatformEvent KeyDown(uint8_t virtualKey, bool repeat = false)
{
    return {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = virtualKey, .repeat = repeat};
}

PlatformEvent KeyUp(uint8_t virtualKey)
{
    return {.kind = PlatformEvent::Kind::KeyUp, .virtualKey = virtualKey};
}

PlatformEvent Button(uint8_t button, bool pressed)
{
    return {.kind = PlatformEvent::Kind::MouseButton, .button = button, .pressed = pressed};
}

class MessagePumpTest : public testing::Test
{
protected:
    MessagePumpTest() : installed_(platform_)
    {
        ClearAllKeys();
        g_heard.clear();
        AddKeyListener(Record);
    }

    ~MessagePumpTest() override
    {
        RemoveKeyListener(Record);
        RemoveKeyListener(Take);
    }

    // Hands the events to the window in one run of the pump.
    bool Pump(std::initializer_list<PlatformEvent> events)
    {
        for (const PlatformEvent& event : events)
        {
            platform_.Push(event);
        }
        return window_.PumpMessages();
    }

    static uint8_t State(uint8_t virtualKey) { return g_keyState[virtualKey].load(); }

    ScriptedPlatform platform_;
    ScopedPlatform installed_;
    OutputWindow window_;
};

TEST_F(MessagePumpTest, KeysGoingDownRepeatingAndUpReachTheTableAndTheListeners)
{
    EXPECT_TRUE(Pump({KeyDown('A'), KeyDown('A', true)}));
    EXPECT_EQ(State('A'), kKeyHeld | kKeyPressed);
    EXPECT_TRUE(Pump({KeyUp('A')}));
    EXPECT_EQ(State('A'), kKeyPressed);  // the press is still there to be read

    EXPECT_EQ(g_heard, (Heard{{kKeyWentDown, 'A'}, {kKeyWentDown, 'A'}, {kKeyWentUp, 'A'}}));
    EXPECT_EQ(ReadKey('A'), kKeyPressed);
    EXPECT_EQ(ReadKey('A'), 0);
}

TEST_F(MessagePumpTest, AListenerThatTakesAKeyIsTheLastToHearOfIt)
{
    RemoveKeyListener(Record);
    AddKeyListener(Take);
    AddKeyListener(Record);
    Pump({KeyDown(vk::Return)});
    EXPECT_EQ(g_heard, (Heard{{100 + kKeyWentDown, vk::Return}}));
    EXPECT_EQ(State(vk::Return), kKeyHeld | kKeyPressed);  // the table has it all the same
}

TEST_F(MessagePumpTest, ShiftCtrlAndAltAreKeptByTheirSide)
{
    Pump({KeyDown(vk::LeftShift), KeyDown(vk::RightMenu)});
    EXPECT_EQ(State(vk::LeftShift), kKeyHeld | kKeyPressed);
    EXPECT_EQ(State(vk::RightMenu), kKeyHeld | kKeyPressed);
    Pump({KeyUp(vk::LeftShift)});
    EXPECT_EQ(State(vk::LeftShift), kKeyPressed);
    EXPECT_EQ(g_heard, (Heard{{kKeyWentDown, vk::LeftShift},
                              {kKeyWentDown, vk::RightMenu},
                              {kKeyWentUp, vk::LeftShift}}));
    // Read as the generic key, either side answers.
    EXPECT_EQ(ReadKey(vk::Menu), kKeyHeld | kKeyPressed);
}

TEST_F(MessagePumpTest, AModifierOfUnknownSideIsKeptAsTheGenericKey)
{
    Pump({KeyDown(vk::Control)});
    EXPECT_EQ(State(vk::Control), kKeyHeld | kKeyPressed);
    EXPECT_EQ(State(vk::LeftControl), 0);
    Pump({KeyUp(vk::Control)});
    EXPECT_EQ(State(vk::Control), kKeyPressed);
    EXPECT_EQ(g_heard, (Heard{{kKeyWentDown, vk::Control}, {kKeyWentUp, vk::Control}}));
}

TEST_F(MessagePumpTest, MouseButtonsAreKeysOneAndTwo)
{
    Pump({Button(2, true)});
    EXPECT_EQ(State(vk::RightButton), kKeyHeld | kKeyPressed);
    Pump({Button(2, false), Button(1, true)});
    EXPECT_EQ(State(vk::RightButton), kKeyPressed);
    EXPECT_EQ(State(vk::LeftButton), kKeyHeld | kKeyPressed);
    EXPECT_TRUE(g_heard.empty());  // the listeners hear keys only
}

TEST_F(MessagePumpTest, AltF4AsksToQuitInEitherOrder)
{
    for (const auto& [first, second] :
         {std::pair{vk::LeftMenu, vk::F4}, std::pair{vk::F4, vk::RightMenu},
          std::pair{vk::Menu, vk::F4}})
    {
        ClearAllKeys();
        OutputWindow window;
        platform_.Push(KeyDown(first));
        EXPECT_TRUE(window.PumpMessages());
        EXPECT_FALSE(window.IsQuitting());
        platform_.Push(KeyDown(second));
        EXPECT_TRUE(window.PumpMessages());
        EXPECT_TRUE(window.IsQuitting()) << int{first} << " then " << int{second};
    }
}

TEST_F(MessagePumpTest, F4AloneOrAfterAltWasReleasedDoesNotQuit)
{
    Pump({KeyDown(vk::LeftMenu), KeyUp(vk::LeftMenu), KeyDown(vk::F4)});
    EXPECT_FALSE(window_.IsQuitting());
}

TEST_F(MessagePumpTest, TheCloseButtonQuitsAndTheWindowStays)
{
    ASSERT_TRUE(window_.Create(640, 480));
    EXPECT_TRUE(Pump({{.kind = PlatformEvent::Kind::Close}}));
    EXPECT_TRUE(window_.IsQuitting());
    EXPECT_EQ(platform_.WindowChanges().back().kind, WindowChange::Kind::FullScreen);
}

TEST_F(MessagePumpTest, AQuitRequestEndsThePumpAtOnce)
{
    EXPECT_FALSE(Pump({{.kind = PlatformEvent::Kind::Quit}, KeyDown('B')}));
    EXPECT_TRUE(window_.IsQuitting());
    EXPECT_EQ(State('B'), 0);  // left waiting for the next run
}

TEST_F(MessagePumpTest, TellsTheTickTheMainThreadIsAliveAndYields)
{
    g_pumpWatchdogMs = 800;
    const uint32_t before = platform_.NowMs();
    Pump({});
    EXPECT_EQ(g_pumpWatchdogMs.load(), 0);
    EXPECT_EQ(platform_.NowMs(), before + ScriptedPlatform::kDefaultFrameQuantumMs);
}

TEST_F(MessagePumpTest, MouseMovementIsNotTakenAsInput)
{
    EXPECT_FALSE(window_.TranslateInput({.kind = PlatformEvent::Kind::MouseMove, .x = 5}));
    EXPECT_FALSE(window_.TranslateInput(Button(3, true)));
}

TEST(MousePositionTest, IsScaledToTheViewAndMeasuredFromItsCentreOnRequest)
{
    const TestDirectory directory;  // the window makes its log
    ScriptedPlatform platform;
    const ScopedPlatform installed(platform);
    const ScreenMode mode{640, 480, 16, 60, 0};
    g_renderDevice.SwitchScreenMode(&mode);
    GameWindow window;

    platform.Push({.kind = PlatformEvent::Kind::MouseMove, .x = 100, .y = 50});
    window.PumpMessages();
    EXPECT_EQ(window.GetMousePosition(false).x, 100);
    EXPECT_EQ(window.GetMousePosition(false).y, 50);
    EXPECT_EQ(window.GetMousePosition(true).x, 100 - 320);
    EXPECT_EQ(window.GetMousePosition(true).y, 240 - 50);

    platform.Push({.kind = PlatformEvent::Kind::MouseMove, .x = 700, .y = -3});
    window.PumpMessages();
    EXPECT_EQ(window.GetMousePosition(false).x, 639);
    EXPECT_EQ(window.GetMousePosition(false).y, 0);
}
}  // namespace
