// A race from the interim main menu, end to end on the demo installation: Enter starts a race
// of the full field on the installation's circuit, the player rides it with the keyboard, Esc
// leaves it for the menu and a second Esc ends the game; two runs give the same race.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/DemoInstallation.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"
#include "race/RaceContext.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

namespace
{
// The demo's intro movie shows this many pictures before the game's own first frame.
constexpr uint32_t kIntroPictures = 50;
constexpr uint32_t kRaceStartFrame = kIntroPictures + 3;
// 40 ms a frame: the grid's 5 s, then 4 s of racing.
constexpr uint32_t kFrameMs = 40;
constexpr uint32_t kRaceFrames = 225;
constexpr uint32_t kBackstopMs = 120000;

struct RaceOutcome
{
    uint32_t result = 0;
    bool endedByScript = false;
    std::vector<uint32_t> checksums;
    float playerThrottle = 0.0f;
    std::vector<uint64_t> frameHashes;
    size_t messageBoxes = 0;
};

RaceOutcome RaceOnce()
{
    using Kind = PlatformEvent::Kind;
    TestDirectory directory;
    ScriptedPlatform platform;
    ScopedPlatform installed(platform);
    std::string error;
    EXPECT_TRUE(kit::WriteDemoInstallation(directory.path(), error)) << error;
    platform.SetFrameQuantumMs(kFrameMs);
    platform.LimitCapturedFrames(6);
    platform.AtTime(kBackstopMs, {.kind = Kind::Quit});
    const auto at = [&](uint32_t frame, Kind kind, uint8_t key)
    { platform.AtFrame(kRaceStartFrame + frame, {.kind = kind, .virtualKey = key}); };
    at(0, Kind::KeyDown, vk::Return);
    at(1, Kind::KeyUp, vk::Return);
    // Full throttle as the lights go out.
    at(120, Kind::KeyDown, vk::Letter('A'));
    at(kRaceFrames, Kind::KeyDown, vk::Escape);
    at(kRaceFrames + 1, Kind::KeyUp, vk::Escape);
    at(kRaceFrames + 20, Kind::KeyDown, vk::Escape);

    RaceOutcome outcome;
    GameApp app;
    outcome.result = app.InitInstance();
    outcome.endedByScript = platform.NowMs() < kBackstopMs;
    for (uint32_t rider = 0; rider < g_riderCount; ++rider)
    {
        outcome.checksums.push_back(g_bikes[rider].StateChecksum());
    }
    outcome.playerThrottle = g_bikes[g_playerRider.load() % kRiderCount].throttle;
    for (const CapturedFrame& frame : platform.Frames())
    {
        outcome.frameHashes.push_back(
            HashFrame({frame.pixels.data(), frame.width, frame.height, frame.width * 2}));
    }
    outcome.messageBoxes = platform.MessageBoxes().size();
    return outcome;
}

TEST(RaceSessionTest, EnterRacesTheFieldAndEscapeLeavesForTheMenuTheSameTwice)
{
    const RaceOutcome first = RaceOnce();
    EXPECT_EQ(first.result, GameWindow::kRunEnded);
    EXPECT_TRUE(first.endedByScript);
    EXPECT_EQ(first.messageBoxes, 0u);
    ASSERT_GE(first.checksums.size(), 25u);
    // The keyboard's throttle reached the player's machine through the input step.
    EXPECT_EQ(first.playerThrottle, 1.0f);
    ASSERT_FALSE(first.frameHashes.empty());

    const RaceOutcome second = RaceOnce();
    EXPECT_EQ(second.checksums, first.checksums);
    EXPECT_EQ(second.frameHashes, first.frameHashes);
}
}  // namespace
