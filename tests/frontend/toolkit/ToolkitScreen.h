#pragma once

// The game's render library, loaded and bound through RenderDevice as the game does it, on a
// 640 x 480 screen of the game's window under the scripted platform; the menu archive holds
// the demo installation's menu fonts and toolkit pictures and the test's own pictures.
// Presented frames are the platform's captured frames.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/window/OutputWindow.h"
#include "core/archive/CprArchive.h"
#include "kit/CprWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;

// Test pictures in the menu archive: a button, 64 x 24, as it stands and lit, and a slider
// knob texture, 16 x 16.
inline constexpr const char* kButtonName = "test/button.bmp";
inline constexpr const char* kLitButtonName = "test/buttonlit.bmp";
inline constexpr const char* kKnobName = "test/knob.bmp";
inline constexpr int kButtonWidth = 64;
inline constexpr int kButtonHeight = 24;

class ToolkitScreen : public testing::Test
{
protected:
    // Mounts a menu archive with the test pictures and, unless told otherwise, the demo
    // installation's menu fonts and toolkit pictures; then opens the screen.
    void OpenScreen(bool withDemoMenuFiles = true);
    void TearDown() override;

    FrameView565 Frame(size_t index) const;
    // The top-left width x height of the frame against the hash; the reference picture is
    // tests/toolkit/golden/<name>.bmp.
    void ExpectGolden(const std::string& name, size_t frameIndex, int width, int height,
                      uint64_t hash) const;

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    OutputWindow window_;
    std::unique_ptr<CprArchive> menuArchive_;
};
