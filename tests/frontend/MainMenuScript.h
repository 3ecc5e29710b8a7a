#pragma once

// The main menu driven through the real main routine on the demo installation, in virtual
// time: clicks and keys at menu frames, captured frames compared with frozen ones.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/MenuState.h"
#include "frontend/settings/MenuStateFile.h"
#include "frontend/toolkit/FileRequester.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

// The demo's intro movie shows this many pictures before the menu's first frame.
inline constexpr uint32_t kIntroPictures = 50;
inline constexpr uint32_t kBackstopMs = 120000;

class MainMenuTest : public testing::Test
{
protected:
    MainMenuTest() : installed_(platform_)
    {
        std::string error;
        EXPECT_TRUE(CopyDemoInstallation(directory_.path(), error)) << error;
        platform_.AtTime(kBackstopMs, {.kind = PlatformEvent::Kind::Quit});
    }

    // frame counts the menu's frames.
    void ClickAt(uint32_t frame, int x, int y)
    {
        const uint32_t at = kIntroPictures + frame;
        platform_.AtFrame(at, {.kind = PlatformEvent::Kind::MouseMove, .x = x, .y = y});
        platform_.AtFrame(at,
                          {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
        platform_.AtFrame(
            at + 1, {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
    }

    void PressKeyAt(uint32_t frame, uint8_t key)
    {
        platform_.AtFrame(kIntroPictures + frame,
                          {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = key});
        platform_.AtFrame(kIntroPictures + frame + 1,
                          {.kind = PlatformEvent::Kind::KeyUp, .virtualKey = key});
    }

    void PressEscapeAt(uint32_t frame)
    {
        platform_.AtFrame(kIntroPictures + frame,
                          {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    }

    static uint32_t RunGame()
    {
        GameApp app;
        return app.InitInstance();
    }

    std::optional<FrameView565> MenuFrame(uint32_t frame) const
    {
        for (const CapturedFrame& captured : platform_.Frames())
        {
            if (captured.frameNumber == kIntroPictures + frame)
            {
                return FrameView565{captured.pixels.data(), captured.width, captured.height,
                                    captured.width * 2};
            }
        }
        return std::nullopt;
    }

    void ExpectGolden(const std::string& name, uint32_t frame, uint64_t hash) const
    {
        const std::optional<FrameView565> view = MenuFrame(frame);
        ASSERT_TRUE(view.has_value()) << name;
        const std::string reference = std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp";
        EXPECT_TRUE(MatchesGolden(name, *view, hash, reference));
    }

    bool EndedByScript() { return platform_.NowMs() < kBackstopMs; }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_;
};
