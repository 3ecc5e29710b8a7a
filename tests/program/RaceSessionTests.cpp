// A race from the main menu, end to end on the demo installation: Go starts a race of the
// full field, the player rides it with the keyboard, Esc leaves it for the menu and a second
// Esc ends the game; two runs give the same race.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/game/CurrentRace.h"
#include "core/util/RuntimeRandom.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"
#include "race/RaceContext.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

namespace
{
// The demo's intro movie shows this many pictures before the game's own first frame.
constexpr uint32_t kIntroPictures = 50;
constexpr uint32_t kMenuFrame = kIntroPictures + 3;
// The menus and the loading at 40 ms a frame; the race, from the time its clock starts, at
// 400 ms a frame, so that the grid's 25 s for the full field and 4 s of racing take few frames.
constexpr uint32_t kFrameMs = 40;
constexpr uint32_t kRaceClockStartMs = 13160;
constexpr uint32_t kRaceFrameMs = 400;
// The lights go out 25 s after the race clock starts.
constexpr uint32_t kLightsOutMs = kRaceClockStartMs + 25000;
constexpr uint32_t kBackstopMs = 120000;

struct RaceOutcome
{
    uint32_t result = 0;
    bool endedByScript = false;
    std::vector<uint32_t> checksums;
    float playerThrottle = 0.0f;
    float playerSpeed = 0.0f;
    float slowestComputerRider = 0.0f;
    std::vector<uint64_t> frameHashes;
    size_t messageBoxes = 0;
    GameMode menuModeAfterRace = GameMode::NetworkRace;
};

// How the script ends the game: Esc out of the race and the menu, or the window closed while
// the grid is still shown.
enum class Ending
{
    EscapeAfterStart,
    QuitInTheRace,
};

RaceOutcome RaceOnce(Ending ending = Ending::EscapeAfterStart)
{
    using Kind = PlatformEvent::Kind;
    TestDirectory directory;
    std::string error;
    EXPECT_TRUE(CopyDemoInstallation(directory.path(), error)) << error;
    ScriptedPlatform platform;
    ScopedPlatform installed(platform);
    // A fresh process's runtime random sequence.
    RuntimeSeed(1);
    platform.SetFrameQuantumMs(kFrameMs);
    platform.SetFrameQuantumMsFrom(kRaceClockStartMs, kRaceFrameMs);
    platform.LimitCapturedFrames(6);
    platform.AtTime(kBackstopMs, {.kind = Kind::Quit});
    const auto at = [&](uint32_t ms, Kind kind, uint8_t key)
    { platform.AtTime(kLightsOutMs + ms, {.kind = kind, .virtualKey = key}); };
    const auto click = [&](uint32_t frame, int32_t x, int32_t y)
    {
        platform.AtFrame(kMenuFrame + frame, {.kind = Kind::MouseMove, .x = x, .y = y});
        platform.AtFrame(kMenuFrame + frame + 2,
                         {.kind = Kind::MouseButton, .button = 1, .pressed = true, .x = x, .y = y});
        platform.AtFrame(
            kMenuFrame + frame + 4,
            {.kind = Kind::MouseButton, .button = 1, .pressed = false, .x = x, .y = y});
    };
    // A race: the mode entry's panel, its race row; then the rider page, whose Go button
    // starts the chosen session.
    click(0, 80, 116);
    click(20, 400, 158);
    click(40, 80, 164);
    click(50, 600, 460);
    // The pre-race screen's start button, where Go was.
    click(80, 600, 460);
    // Full throttle as the lights go out; Esc 4 s later leaves the race, Esc in the menu the
    // game.
    at(0, Kind::KeyDown, vk::Letter('A'));
    if (ending == Ending::QuitInTheRace)
    {
        platform.AtTime(kLightsOutMs + 8000, {.kind = Kind::Quit});
    }
    else
    {
        at(4000, Kind::KeyDown, vk::Escape);
        at(4200, Kind::KeyUp, vk::Escape);
        at(6000, Kind::KeyDown, vk::Escape);
    }

    RaceOutcome outcome;
    GameApp app;
    outcome.result = app.InitInstance();
    outcome.endedByScript = platform.NowMs() < kBackstopMs;
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        outcome.checksums.push_back(g_bikes[rider].StateChecksum());
    }
    const uint32_t player = g_playerRider.load() % kRiderCount;
    outcome.playerThrottle = g_bikes[player].throttle;
    outcome.playerSpeed = g_bikes[player].speed;
    outcome.slowestComputerRider = 1000.0f;
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        if (rider != player)
        {
            outcome.slowestComputerRider =
                std::min(outcome.slowestComputerRider, g_bikes[rider].speed);
        }
    }
    for (const CapturedFrame& frame : platform.Frames())
    {
        outcome.frameHashes.push_back(
            HashFrame({frame.pixels.data(), frame.width, frame.height, frame.width * 2}));
    }
    outcome.messageBoxes = platform.MessageBoxes().size();
    outcome.menuModeAfterRace = g_gameMode;
    return outcome;
}

TEST(RaceSessionTest, GoRacesTheFieldAndEscapeLeavesForTheMenuTheSameTwice)
{
    const RaceOutcome first = RaceOnce();
    EXPECT_EQ(first.result, GameWindow::kRunEnded);
    EXPECT_TRUE(first.endedByScript);
    EXPECT_EQ(first.messageBoxes, 0u);
    // The keyboard's throttle reached the player's machine through the input step.
    EXPECT_EQ(first.playerThrottle, 1.0f);
    // Four seconds after the lights the whole field rides: the player's machine under full
    // throttle, every computer rider with it.
    EXPECT_GT(first.playerSpeed, 10.0f);
    EXPECT_GT(first.slowestComputerRider, 1.0f);
    ASSERT_FALSE(first.frameHashes.empty());
    // The menu the race returned to offers a race again.
    EXPECT_EQ(first.menuModeAfterRace, GameMode::Race);

    // A game closed in mid-race leaves the riders' records as they were; the next race must
    // not start from them.
    const RaceOutcome closed = RaceOnce(Ending::QuitInTheRace);
    EXPECT_EQ(closed.result, GameWindow::kRunEnded);

    const RaceOutcome second = RaceOnce();
    EXPECT_EQ(second.checksums, first.checksums);
    EXPECT_EQ(second.frameHashes, first.frameHashes);
}
}  // namespace
