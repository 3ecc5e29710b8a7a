// The main menu through the real main routine on the demo installation, in virtual time: the
// player clicks through its pages and panels, the choices are saved in "menustate.dat" and read
// back, and every page is compared with its frozen frame.

#include "tests/frontend/MainMenuScript.h"

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/MenuState.h"
#include "frontend/settings/MenuStateFile.h"
#include "frontend/toolkit/FileRequester.h"
#include "program/GameWindow.h"
#include "race/RaceContext.h"

TEST_F(MainMenuTest, ChoicesMadeInThePanelsAndPagesAreSavedWhenTheSessionStarts)
{
    platform_.LimitCapturedFrames(2);
    ClickAt(3, 100, 115);   // mode
    ClickAt(8, 350, 158);   // "Rennen"
    ClickAt(12, 100, 138);  // level
    ClickAt(16, 400, 235);  // "Profi"
    ClickAt(20, 100, 162);  // rider
    ClickAt(24, 360, 465);  // next
    ClickAt(28, 360, 465);  // next
    ClickAt(32, 320, 460);  // accept
    ClickAt(36, 100, 186);  // circuit
    ClickAt(40, 270, 465);  // previous
    ClickAt(42, 437, 462);  // weather: the next one
    ClickAt(44, 320, 460);  // accept
    ClickAt(48, 600, 460);  // go
    // Go starts the race after the wipe; the race is not what this test looks at.
    platform_.AtFrame(kIntroPictures + 200, {.kind = PlatformEvent::Kind::Quit});

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    g_menuState = MenuState();
    LoadMenuState();
    EXPECT_EQ(g_menuState.U32At(MenuState::kGameModeOffset), 1u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kLevelOffset), 2u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kPlayerRiderOffset),
              (MenuState().U32At(MenuState::kPlayerRiderOffset) + 2) % 25);
    const uint8_t weather = (MenuState().U8At(MenuState::kWeatherOffset) + 1) % 3;
    EXPECT_EQ(g_menuState.U8At(MenuState::kWeatherOffset), weather);
    EXPECT_EQ(g_menuState.U8At(MenuState::kSessionWeatherOffset + 3), weather);
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset),
              (MenuState().U32At(MenuState::kCircuitOffset) + 17) % 18);
}

// Frames: the start page, the mode panel open, the rider page, the circuit page, the quit
// panel; both video buffers are drawn by then.
struct PageShot
{
    const char* name;
    uint32_t frame;
    uint64_t hash;
};

TEST_F(MainMenuTest, EveryPageMatchesItsFrozenFrame)
{
    platform_.LimitCapturedFrames(90);
    ClickAt(10, 100, 115);  // mode panel
    ClickAt(20, 100, 162);  // rider page (the mode panel closes)
    ClickAt(30, 20, 460);   // back
    ClickAt(34, 100, 186);  // circuit page
    ClickAt(44, 150, 460);  // circuit information
    ClickAt(54, 600, 455);  // its OK: the circuit page again
    ClickAt(58, 20, 460);   // back
    ClickAt(62, 20, 460);   // back again: the quit panel
    PressEscapeAt(74);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    const PageShot shots[] = {
        {"mainmenu_start", 8, 0x0330EC1D780EE62C},
        {"mainmenu_mode", 18, 0x70390205AEA3900B},
        {"mainmenu_rider", 28, 0xBBEF3EDFEE797B28},
        {"mainmenu_circuit", 42, 0x6BBCE7543AA514E5},
        {"mainmenu_circuit_again", 57, 0x7AE83404C06FA1AF},
        {"mainmenu_quit", 72, 0xF9B7601ACF96BC81},
    };
    for (const PageShot& shot : shots)
    {
        ExpectGolden(shot.name, shot.frame, shot.hash);
    }
    // The circuit information page above its weather lines, which are rolled afresh.
    const std::optional<FrameView565> info = MenuFrame(52);
    ASSERT_TRUE(info.has_value());
    EXPECT_TRUE(MatchesGolden("mainmenu_info", info->Region(0, 0, 640, 170), 0x607B86E1FECED859,
                              std::string(ZARVO_GOLDEN_DIR) + "/mainmenu_info.bmp"));
}

TEST_F(MainMenuTest, YesOnTheQuitPanelSavesTheSettingsAndEndsTheGame)
{
    platform_.LimitCapturedFrames(2);
    ClickAt(5, 20, 460);    // back on the start page: the quit panel
    ClickAt(10, 470, 238);  // "Nein"
    ClickAt(15, 20, 460);   // back again
    ClickAt(20, 340, 238);  // "Ja"

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    EXPECT_TRUE(EndedByScript());
    EXPECT_EQ(directory_.ReadFile("menustate.dat").size(), MenuState::kSize);
    // The wipe ran before the game ended: the last frame is darker than the start page.
    EXPECT_GT(platform_.PresentCount(), kIntroPictures + 20 + 140);
}

TEST_F(MainMenuTest, EnglishPanelsMatchTheirFrozenFrames)
{
    MenuState english;
    english.SetU32At(MenuState::kLanguageOffset, 1);
    directory_.WriteFile("menustate.dat",
                         std::string(english.Bytes().begin(), english.Bytes().end()));
    platform_.LimitCapturedFrames(40);
    ClickAt(10, 100, 115);  // mode panel
    ClickAt(20, 350, 158);  // "Race"
    ClickAt(24, 20, 460);   // back: the quit panel
    PressEscapeAt(34);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    // The panels' area only: the rest is the German frames' pictures.
    const std::optional<FrameView565> mode = MenuFrame(18);
    const std::optional<FrameView565> quit = MenuFrame(32);
    ASSERT_TRUE(mode && quit);
    const std::string folder = std::string(ZARVO_GOLDEN_DIR) + "/";
    EXPECT_TRUE(MatchesGolden("mainmenu_mode_english", mode->Region(240, 120, 320, 180),
                              0x1CB22BED58FD5209, folder + "mainmenu_mode_english.bmp"));
    EXPECT_TRUE(MatchesGolden("mainmenu_quit_english", quit->Region(240, 120, 320, 180),
                              0x07AC36701281962E, folder + "mainmenu_quit_english.bmp"));
}

TEST_F(MainMenuTest, LoadGameListsTheSavesAndCancelLeavesTheStartPage)
{
    directory_.WriteFile("save/wm/Meisterschaft", std::string(6000, '\0'));
    directory_.WriteFile("save/wm/Zweiter Lauf", std::string(6000, '\0'));
    platform_.LimitCapturedFrames(40);
    ClickAt(5, 60, 260);                                                          // load game
    ClickAt(14, FileRequester::kDefaultX + 200, FileRequester::kDefaultY + 50);   // a save
    ClickAt(18, FileRequester::kDefaultX + 250, FileRequester::kDefaultY + 270);  // cancel
    ClickAt(22, 100, 115);  // the main buttons answer again: the mode panel
    PressEscapeAt(32);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    ExpectGolden("mainmenu_load_game", 16, 0x096406CB16951630);
    const std::optional<FrameView565> after = MenuFrame(30);
    const std::optional<FrameView565> before = MenuFrame(3);
    ASSERT_TRUE(after && before);
    // The requester is gone from the start page, and the mode panel is open over it.
    EXPECT_EQ(HashFrame(after->Region(200, 340, 50, 40)),
              HashFrame(before->Region(200, 340, 50, 40)));
    EXPECT_NE(HashFrame(after->Region(300, 150, 100, 100)),
              HashFrame(before->Region(300, 150, 100, 100)));
}

TEST_F(MainMenuTest, TheObserveButtonStartsARaceThePlayerOnlyWatches)
{
    platform_.LimitCapturedFrames(2);
    ClickAt(5, 60, 285);     // observe: the wipe, then the pre-race screen
    ClickAt(180, 600, 460);  // its start button
    platform_.AtFrame(kIntroPictures + 260, {.kind = PlatformEvent::Kind::Quit});
    g_observationMode = 0;

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    EXPECT_EQ(g_observationMode, 1);
    EXPECT_EQ(g_standings.IsPlayerRacing(), 0u) << "the race was started for watching";
    g_menuState = MenuState();
    LoadMenuState();
    EXPECT_EQ(g_menuState.U32At(MenuState::kGameModeOffset), 1u) << "a race";
}
