// The message pump of screen loops that hold no window: it runs the main window's.

#include <gtest/gtest.h>

#include "app/input/KeyState.h"
#include "app/window/OutputWindow.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"

namespace
{
class MainWindowTest : public testing::Test
{
protected:
    MainWindowTest() : installed_(platform_) { ClearAllKeys(); }
    ~MainWindowTest() override
    {
        SetMainWindow(nullptr);
        ClearAllKeys();
    }

    ScriptedPlatform platform_;
    ScopedPlatform installed_;
};

TEST_F(MainWindowTest, PumpsTheMainWindowsMessages)
{
    OutputWindow window;
    SetMainWindow(&window);
    EXPECT_EQ(MainWindow(), &window);
    platform_.Push({.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    EXPECT_TRUE(PumpMessages());
    EXPECT_TRUE(ReadKey(vk::Escape));

    platform_.Push({.kind = PlatformEvent::Kind::Quit});
    EXPECT_FALSE(PumpMessages());
    EXPECT_TRUE(window.IsQuitting());
}

TEST_F(MainWindowTest, WithoutAMainWindowNothingIsTaken)
{
    platform_.Push({.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_TRUE(PumpMessages());
    EXPECT_FALSE(ReadKey(vk::Escape));
}
}  // namespace
