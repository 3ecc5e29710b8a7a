#pragma once

// The game on the scripted machine, started in a fresh folder that holds the demo
// installation. A quit request late in virtual time ends any run that its script does not.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/TestDirectory.h"

// Which file the path names now: a file replaced by another one with the same bytes shows.
inline ino_t FileIdentity(const char* path)
{
    struct stat status
    {
    };
    return stat(path, &status) == 0 ? status.st_ino : 0;
}

class StartupTest : public testing::Test
{
protected:
    static constexpr uint32_t kBackstopMs = 60000;

    StartupTest() : installed_(platform_)
    {
        std::string error;
        EXPECT_TRUE(CopyDemoInstallation(directory_.path(), error)) << error;
        platform_.LimitCapturedFrames(2);
        platform_.AtTime(kBackstopMs, {.kind = PlatformEvent::Kind::Quit});
    }

    static uint32_t RunGame()
    {
        GameApp app;
        return app.InitInstance();
    }

    // The demo's intro movie shows this many pictures before the game's own first frame.
    static constexpr uint32_t kIntroPictures = 50;

    // frame counts the game's frames after the intro.
    void PressEscapeAtFrame(uint32_t frame)
    {
        platform_.AtFrame(kIntroPictures + frame,
                          {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    }

    // True when the run ended before the backstop asked it to.
    bool EndedByScript() { return platform_.NowMs() < kBackstopMs; }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_;
};
