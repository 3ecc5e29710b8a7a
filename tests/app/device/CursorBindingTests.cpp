// The mouse as the menus read it: from the platform through the game's window, into the
// render library that the game loaded, and back as a position on the 640 x 480 game picture.

#include <gtest/gtest.h>

#include <array>

#include "app/device/RenderDevice.h"
#include "app/window/OutputWindow.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/support/TestDirectory.h"

namespace
{
TEST(CursorBindingTest, TheLibraryReportsTheMouseOverTheGamePicture)
{
    const TestDirectory directory;  // the window makes its log
    ScriptedPlatform platform;
    const ScopedPlatform installed(platform);
    RenderDevice device;
    ASSERT_TRUE(device.InitHardware("ZarvoGlide2.so"));
    OutputWindow window;
    ASSERT_TRUE(window.Create(640, 480));
    // A screen larger than the picture: the mouse is still measured on the picture.
    const ScreenMode mode{800, 600, 16, 60, 0};
    ASSERT_EQ(device.InitScreen(window.RenderTarget(), 0, "", &mode), 1);

    platform.Push({.kind = PlatformEvent::Kind::MouseMove, .x = 320, .y = 120});
    window.PumpMessages();
    std::array<int32_t, 3> cursor{-1, -1, -1};
    device.GetCursorData(cursor.data());
    EXPECT_EQ(cursor, (std::array<int32_t, 3>{320, 120, 0}));

    platform.Push({.kind = PlatformEvent::Kind::MouseMove, .x = 639, .y = 479});
    window.PumpMessages();
    device.GetCursorData(cursor.data());
    EXPECT_EQ(cursor, (std::array<int32_t, 3>{639, 479, 0}));
    EXPECT_TRUE(device.ShotDown());
}
}  // namespace
