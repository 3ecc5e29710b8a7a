// A championship over two runs of the game on one installation, played as a player plays it:
// started from the main menu, two rounds raced, saved from the pit box's calendar, the game
// ended; the game started again, the save loaded from the main menu and the third round raced.
// A scripted player looks at the screen every 100 ms of virtual time and acts on what is shown.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/clock/RaceClock.h"
#include "app/settings/MenuState.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/MenuBackground.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/TestDirectory.h"

namespace
{
// The demo's intro movie shows this many pictures before the menu's first frame.
constexpr uint32_t kIntroPictures = 50;
constexpr uint32_t kBackstopMs = 900000;
constexpr uint32_t kLookEveryMs = 100;
constexpr uint32_t kSettleMs = 1500;  // between two actions on the same screen
constexpr uint32_t kMenuFrameMs = 40;
constexpr uint32_t kRaceFrameMs = 400;  // the grid and the race in few frames
// The pit box's calendar: Sunday's race, the save button.
constexpr int kRaceX = 500;
constexpr int kRaceY = 290;
constexpr int kSaveX = 520;
constexpr int kSaveY = 460;
// The pit box's leave and continue buttons.
constexpr int kLeaveX = 40;
constexpr int kContinueX = 600;
constexpr int kPitBoxButtonY = 460;
// The pre-race screen's start button.
constexpr int kStartX = 600;
constexpr int kStartY = 460;
constexpr const char* kSaveName = "wm";

enum class Screen
{
    Other,
    Calendar,
    PreRace,
    Race,
    PitBox,  // over the race, or its results after it
};

Screen ShownScreen()
{
    if (g_raceClockOn.load())
    {
        return Screen::Race;
    }
    const std::string& background = g_menuBackground.Name();
    if (background == "boxenmenu/training1.jpg")
    {
        return Screen::Calendar;
    }
    if (background.starts_with("boxenmenu/"))
    {
        return Screen::PitBox;
    }
    return background.starts_with("streckeninfo/info") ? Screen::PreRace : Screen::Other;
}

// Races the rounds up to lastRound, then on that round's calendar saves the championship (when
// asked to) and ends the game.
class ScriptedPlayer
{
public:
    ScriptedPlayer(ScriptedPlatform& platform, uint32_t lastRound, bool save)
        : platform_(platform), lastRound_(lastRound), save_(save)
    {
        platform_.SetFrameQuantumMs(kMenuFrameMs);
        platform_.StartPeriodicTimer(kLookEveryMs, [this] { Look(); });
    }

    void ClickInMenu(uint32_t menuFrame, int x, int y)
    {
        ClickAtFrame(kIntroPictures + menuFrame, x, y);
    }

private:
    void ClickAtFrame(uint32_t frame, int x, int y)
    {
        using Kind = PlatformEvent::Kind;
        platform_.AtFrame(frame, {.kind = Kind::MouseMove, .x = x, .y = y});
        platform_.AtFrame(frame, {.kind = Kind::MouseButton, .button = 1, .pressed = true});
        platform_.AtFrame(frame + 1, {.kind = Kind::MouseButton, .button = 1, .pressed = false});
    }

    void KeyAtFrame(uint32_t frame, uint8_t key)
    {
        platform_.AtFrame(frame, {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = key});
        platform_.AtFrame(frame + 1, {.kind = PlatformEvent::Kind::KeyUp, .virtualKey = key});
    }

    void Look()
    {
        const Screen screen = ShownScreen();
        platform_.SetFrameQuantumMs(screen == Screen::Race ? kRaceFrameMs : kMenuFrameMs);
        const uint32_t now = platform_.NowMs();
        if (now < settledAtMs_ || screen == Screen::Other)
        {
            return;
        }
        settledAtMs_ = now + kSettleMs;
        const uint32_t next = platform_.PresentCount() + 2;
        const uint32_t round = g_menuState.U32At(MenuState::kCircuitOffset);
        switch (screen)
        {
            case Screen::Calendar:
                if (round < lastRound_)
                {
                    ClickAtFrame(next, kRaceX, kRaceY);
                }
                else if (save_ && !saved_)
                {
                    ClickAtFrame(next, kSaveX, kSaveY);
                    KeyAtFrame(next + 20, vk::Letter('W'));
                    KeyAtFrame(next + 22, vk::Letter('M'));
                    KeyAtFrame(next + 24, vk::Return);
                    saved_ = true;
                }
                else
                {
                    platform_.Push({.kind = PlatformEvent::Kind::Quit});
                }
                break;
            case Screen::PreRace:
                ClickAtFrame(next, kStartX, kStartY);
                break;
            case Screen::Race:
                // Once the lights are out, Esc opens the pit box over the race, whose leave
                // button ends it: it is scored as it stands.
                if (g_waitingForStart.load())
                {
                    settledAtMs_ = now;
                }
                else
                {
                    KeyAtFrame(next, vk::Escape);
                    leaving_ = true;
                }
                break;
            case Screen::PitBox:
                ClickAtFrame(next, leaving_ ? kLeaveX : kContinueX, kPitBoxButtonY);
                leaving_ = false;
                break;
            default:
                break;
        }
    }

    ScriptedPlatform& platform_;
    uint32_t lastRound_;
    bool save_;
    bool saved_ = false;
    bool leaving_ = false;
    uint32_t settledAtMs_ = 0;
};

uint32_t RunGame(ScriptedPlatform& platform)
{
    platform.AtTime(kBackstopMs, {.kind = PlatformEvent::Kind::Quit});
    platform.LimitCapturedFrames(1);
    GameApp app;
    return app.InitInstance();
}

std::array<std::array<uint8_t, 3>, MenuState::kRiders> PlacesOfFirstRounds()
{
    std::array<std::array<uint8_t, 3>, MenuState::kRiders> places{};
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        for (uint32_t round = 0; round < 3; ++round)
        {
            places[rider][round] = ChampionshipPlace(g_menuState, rider, round);
        }
    }
    return places;
}

TEST(ChampionshipGameTest, TwoRoundsRacedSavedAndLoadedInTheNextRunGoOnWithTheThird)
{
    TestDirectory directory;
    std::string error;
    ASSERT_TRUE(CopyDemoInstallation(directory.path(), error)) << error;
    // The settings as a new process of the game holds them before it reads any file.
    const MenuState fresh = g_menuState;
    uint32_t fieldMask = 0;
    std::array<std::array<uint8_t, 3>, MenuState::kRiders> saved{};
    {
        ScriptedPlatform platform;
        ScopedPlatform installed(platform);
        ScriptedPlayer player(platform, 2, true);
        player.ClickInMenu(3, 100, 115);   // mode
        player.ClickInMenu(8, 350, 206);   // "Meisterschaft"
        player.ClickInMenu(14, 600, 460);  // go
        EXPECT_EQ(RunGame(platform), GameWindow::kRunEnded);
        EXPECT_LT(platform.NowMs(), kBackstopMs);
        EXPECT_TRUE(platform.MessageBoxes().empty());
    }
    ASSERT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 2u);
    ASSERT_TRUE(std::filesystem::exists(directory.path() + "/save/wm/" + kSaveName));
    fieldMask = g_menuState.U32At(MenuState::kFieldMaskOffset);
    saved = PlacesOfFirstRounds();
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        const bool inField = ((fieldMask >> rider) & 1) != 0;
        for (uint32_t round = 0; round < 2; ++round)
        {
            EXPECT_EQ(saved[rider][round] != kNotRaced, inField) << rider << " " << round;
        }
        EXPECT_EQ(saved[rider][2], kNotRaced) << rider;
    }

    // The next run starts from the settings file, which holds the championship as the menu
    // started it; the save brings back its third round.
    g_menuState = fresh;
    {
        ScriptedPlatform platform;
        ScopedPlatform installed(platform);
        ScriptedPlayer player(platform, 3, false);
        player.ClickInMenu(5, 60, 260);  // load game
        player.ClickInMenu(14, FileRequester::kDefaultX + 200, FileRequester::kDefaultY + 50);
        player.ClickInMenu(18, FileRequester::kDefaultX + 36, FileRequester::kDefaultY + 275);
        EXPECT_EQ(RunGame(platform), GameWindow::kRunEnded);
        EXPECT_LT(platform.NowMs(), kBackstopMs);
        EXPECT_TRUE(platform.MessageBoxes().empty());
    }
    EXPECT_EQ(g_menuState.U32At(MenuState::kGameModeOffset), 3u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 3u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kFieldMaskOffset), fieldMask) << "one field all season";
    const auto places = PlacesOfFirstRounds();
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        EXPECT_EQ(places[rider][0], saved[rider][0]) << rider;
        EXPECT_EQ(places[rider][1], saved[rider][1]) << rider;
        EXPECT_EQ(places[rider][2] != kNotRaced, ((fieldMask >> rider) & 1) != 0) << rider;
    }
}
}  // namespace
