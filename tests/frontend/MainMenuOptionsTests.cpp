// The main menu's option trees, overviews and championship loading through the real main
// routine: changes reach "menustate.dat" only through OK, the controls swap keys, the
// overviews choose rider and circuit, a picked save starts its championship.

#include "tests/frontend/MainMenuScript.h"

#include <array>

#include "app/config/ConfigFile.h"
#include "app/game/CurrentRace.h"
#include "frontend/netlobby/LobbyPageLayout.h"
#include "frontend/season/ChampionshipSave.h"

namespace
{
// Main buttons and the quit panel.
constexpr int kMainX = 60;
constexpr int kRealismY = 212;
constexpr int kOptionsY = 237;

class MainMenuOptionsTest : public MainMenuTest
{
protected:
    // Back on the start page opens the quit panel; yes saves the settings and ends the game.
    void QuitAt(uint32_t frame)
    {
        ClickAt(frame, 20, 460);
        ClickAt(frame + 12, 340, 238);
    }

    // Opens the riding aids, the race settings, the sound and the controls panels over their
    // trees and compares each with its frozen frame.
    void ExpectOptionPanelGoldens(uint32_t language, const std::array<uint64_t, 4>& hashes)
    {
        MenuState settings;
        settings.SetU32At(MenuState::kLanguageOffset, language);
        WriteSettings(settings);
        platform_.LimitCapturedFrames(230);
        // A panel of the trees takes a quarter of a second to open.
        ClickAt(5, kMainX, kRealismY);
        ClickAt(20, 400, 178);   // riding aids
        ClickAt(52, 296, 362);   // their cancel
        ClickAt(65, 400, 250);   // settings
        ClickAt(97, 258, 298);   // their cancel
        ClickAt(110, 328, 320);  // the realism panel's cancel
        ClickAt(123, kMainX, kOptionsY);
        ClickAt(138, 400, 200);  // sound
        ClickAt(170, 280, 316);  // its cancel
        ClickAt(183, 400, 224);  // controls
        PressEscapeAt(216);

        EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

        const std::string suffix = language == 0 ? "" : "_english";
        const char* names[] = {"mainmenu_ride_aids", "mainmenu_settings", "mainmenu_sound",
                               "mainmenu_controls"};
        const uint32_t frames[] = {50, 95, 168, 213};
        for (size_t shot = 0; shot < hashes.size(); ++shot)
        {
            ExpectGolden(names[shot] + suffix, frames[shot], hashes[shot]);
        }
    }

    void WriteSettings(const MenuState& settings)
    {
        directory_.WriteFile("menustate.dat",
                             std::string(settings.Bytes().begin(), settings.Bytes().end()));
    }
};
}  // namespace

TEST_F(MainMenuOptionsTest, RealismChangesAreSavedThroughOkAndDroppedByCancel)
{
    platform_.LimitCapturedFrames(2);
    ClickAt(5, kMainX, kRealismY);
    ClickAt(20, 400, 178);   // "Fahrhilfen"
    ClickAt(35, 400, 104);   // "Schaltautomatik": off, and the steering aid with it
    ClickAt(45, 400, 224);   // "Kurvenhinweise": off
    ClickAt(55, 530, 362);   // the riding aids' OK
    ClickAt(70, 400, 250);   // "Einstellungen"
    ClickAt(85, 300, 160);   // "Training": 12 laps
    ClickAt(100, 508, 298);  // the settings' OK
    ClickAt(115, 510, 320);  // the realism panel's OK
    ClickAt(130, kMainX, kRealismY);
    ClickAt(145, 400, 202);  // "Wetter"
    ClickAt(160, 300, 200);  // "Beständigkeit": constant
    ClickAt(170, 440, 295);  // the weather's OK
    ClickAt(185, 328, 320);  // the realism panel's cancel drops it
    QuitAt(200);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_TRUE(EndedByScript());

    g_menuState = MenuState();
    LoadMenuState();
    const MenuState defaults;
    EXPECT_EQ(g_menuState.U8At(MenuState::kAutoGearOffset), 1);
    EXPECT_EQ(g_menuState.U8At(MenuState::kSteeringAidOffset), 1);
    EXPECT_EQ(g_menuState.U8At(MenuState::kBendIndicatorOffset), 1);
    EXPECT_EQ(g_menuState.U32At(MenuState::kTrainingLengthOffset), 1u);
    EXPECT_EQ(g_menuState.U8At(MenuState::kWeatherPersistencyOffset),
              defaults.U8At(MenuState::kWeatherPersistencyOffset));
}

TEST_F(MainMenuOptionsTest, ControlsSwapKeysAndTheSoundPanelChangesTheSetUpRecord)
{
    platform_.LimitCapturedFrames(2);
    ClickAt(5, kMainX, kOptionsY);
    ClickAt(20, 400, 224);   // "Steuerung"
    ClickAt(35, 300, 72);    // "Bremse" waits for a key
    PressKeyAt(40, 'A');     // the throttle's key: the two swap
    ClickAt(50, 540, 354);   // the controls' OK
    ClickAt(65, 400, 200);   // "Sound"
    ClickAt(80, 350, 202);   // "Sampling Rate": the next rate
    ClickAt(90, 546, 316);   // the sound panel's OK
    ClickAt(100, 400, 200);  // "Sound" again
    ClickAt(115, 350, 274);  // "Interpoliert"
    ClickAt(125, 280, 316);  // cancel drops it
    ClickAt(135, 546, 290);  // the options panel's OK
    QuitAt(150);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_TRUE(EndedByScript());

    EXPECT_EQ(g_config.I32At(ConfigBlock::kSoundRateIndexOffset), 2);
    EXPECT_EQ(g_config.I32At(ConfigBlock::kSoundBufferIndexOffset), 3);
    EXPECT_EQ(g_config.U8At(ConfigBlock::kSampleOptionOffset), 1);
    g_menuState = MenuState();
    LoadMenuState();
    EXPECT_EQ(g_menuState.U8At(MenuState::kControlMapOffset), 'Y');
    EXPECT_EQ(g_menuState.U8At(MenuState::kControlMapOffset + 1), 'A');
}

TEST_F(MainMenuOptionsTest, TheOverviewsChooseRiderAndCircuit)
{
    platform_.LimitCapturedFrames(80);
    ClickAt(5, 100, 162);   // rider page
    ClickAt(15, 211, 462);  // overview
    ClickAt(25, 130, 240);  // the tile of rider 7
    ClickAt(35, 320, 460);  // accept
    ClickAt(45, 100, 186);  // circuit page
    ClickAt(55, 211, 462);  // overview
    ClickAt(65, 340, 320);  // the tile of circuit 12
    ClickAt(75, 320, 460);  // accept
    PressEscapeAt(85);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    ExpectGolden("mainmenu_rider_overview", 22, 0x9286F5488F8D0447);
    ExpectGolden("mainmenu_circuit_overview", 62, 0xCBF0E2383098DB74);
    EXPECT_EQ(g_menuState.U32At(MenuState::kPlayerRiderOffset), 7u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 12u);
}

TEST_F(MainMenuOptionsTest, APickedSaveStartsItsChampionshipAndADamagedOneIsRefused)
{
    MenuState championship;
    championship.SetU32At(MenuState::kGameModeOffset, 3);
    championship.SetU32At(MenuState::kCircuitOffset, 5);
    championship.SetU8At(MenuState::kChampionshipOffset + 3 * 18, 2);
    const std::vector<uint8_t> save = EncodeChampionshipSave(championship, BikeSetup{});
    directory_.WriteFile("save/wm/A kaputt", std::string(100, '\x7F'));
    directory_.WriteFile("save/wm/B Meisterschaft", std::string(save.begin(), save.end()));
    platform_.LimitCapturedFrames(2);
    const int listX = FileRequester::kDefaultX + 200;
    const int okX = FileRequester::kDefaultX + 36;
    const int okY = FileRequester::kDefaultY + 275;
    ClickAt(5, kMainX, 260);                            // load game
    ClickAt(14, listX, FileRequester::kDefaultY + 50);  // the damaged save
    ClickAt(18, okX, okY);                              // refused: the start page again
    ClickAt(28, kMainX, 260);
    ClickAt(38, listX, FileRequester::kDefaultY + 62);  // the championship
    ClickAt(42, okX, okY);
    platform_.AtFrame(kIntroPictures + 200, {.kind = PlatformEvent::Kind::Quit});

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    EXPECT_EQ(g_menuState.U32At(MenuState::kGameModeOffset), 3u);
    EXPECT_EQ(g_menuState.U8At(MenuState::kChampionshipOffset + 3 * 18), 2);
}

TEST_F(MainMenuOptionsTest, GermanOptionPanelsMatchTheirFrozenFrames)
{
    ExpectOptionPanelGoldens(
        0, {0xE4038EDCE39E39FC, 0x7EF12BF19594ED17, 0x7A9108B265C812F9, 0x565B78D749BCDF86});
}

TEST_F(MainMenuOptionsTest, EnglishOptionPanelsMatchTheirFrozenFrames)
{
    ExpectOptionPanelGoldens(
        1, {0x41BBCF7D0A7D3C4B, 0xA22496C07BB497C1, 0x1B7EF4DBA89A7605, 0x2A65DCD3564FBAB7});
}

// Go in game mode 5, the mode the menu opens in, offers hosting or joining; hosting opens the
// server page, which takes clicks and typed keys, and its back button gives the menu back.
TEST_F(MainMenuOptionsTest, HostingOpensTheServerPageAndItsBackButtonGivesTheMenuBack)
{
    const auto clickCommand = [this](uint32_t frame, int32_t command)
    {
        const ScreenRect area = ServerCommandArea(command);
        ClickAt(frame, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    };
    platform_.LimitCapturedFrames(110);
    ClickAt(5, 600, 460);   // go
    ClickAt(22, 300, 174);  // "Neues Spiel starten"
    clickCommand(30, 0);    // the server name
    uint32_t frame = 32;
    for (int i = 0; i < 8; ++i, frame += 2)
    {
        PressKeyAt(frame, vk::Back);
    }
    for (const char letter : {'W', 'M'})
    {
        PressKeyAt(frame, static_cast<uint8_t>(vk::LetterA + (letter - 'A')));
        frame += 2;
    }
    PressKeyAt(frame, vk::Return);
    clickCommand(60, 13);   // back
    ClickAt(72, 100, 115);  // the mode button answers again
    ClickAt(82, 350, 158);  // "Rennen"
    PressEscapeAt(95);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    ExpectGolden("mainmenu_network", 20, 0x33EFB6737277B0A0);
    ExpectGolden("mainmenu_server_page", 58, 0x0E9AED3B59B9E74F);
    ExpectGolden("mainmenu_lobby_left", 70, 0x67F2270BA3ADFB8F);
    EXPECT_EQ(g_menuState.U8At(MenuState::kNetworkRoleOffset), 1);
    EXPECT_EQ(g_menuState.ServerName(), "wm");
    EXPECT_EQ(g_gameMode, GameMode::Race);
}

// Joining opens the player page; leaving it returns to the start page as a client.
TEST_F(MainMenuOptionsTest, JoiningOpensThePlayerPageAndLeavingGivesTheMenuBack)
{
    platform_.LimitCapturedFrames(80);
    ClickAt(5, 600, 460);   // go
    ClickAt(22, 300, 222);  // "In ein Spiel einsteigen"
    ClickAt(35, (kLeaveArea.left + kLeaveArea.right) / 2, (kLeaveArea.top + kLeaveArea.bottom) / 2);
    ClickAt(47, 100, 115);  // mode
    ClickAt(57, 350, 158);  // "Rennen"
    PressEscapeAt(67);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    ExpectGolden("mainmenu_player_page", 30, 0x15606C5728F5122B);
    EXPECT_EQ(g_menuState.U8At(MenuState::kNetworkRoleOffset), 0);
    EXPECT_EQ(g_gameMode, GameMode::Race);
}

TEST_F(MainMenuOptionsTest, TheEnglishNetworkPanelIsNarrowerAndClosesWithoutAChoice)
{
    MenuState settings;
    settings.SetU32At(MenuState::kLanguageOffset, 1);
    settings.SetU8At(MenuState::kNetworkRoleOffset, 0);
    WriteSettings(settings);
    platform_.LimitCapturedFrames(60);
    ClickAt(5, 600, 460);   // go
    ClickAt(22, 464, 264);  // close
    ClickAt(35, 100, 115);  // mode
    ClickAt(45, 350, 158);  // "Race"
    PressEscapeAt(55);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    const std::optional<FrameView565> panel = MenuFrame(20);
    ASSERT_TRUE(panel.has_value());
    EXPECT_TRUE(MatchesGolden("mainmenu_network_english", panel->Region(240, 120, 320, 180),
                              0xEA3C97D1EB224DDE,
                              std::string(ZARVO_GOLDEN_DIR) + "/mainmenu_network_english.bmp"));
    EXPECT_EQ(g_menuState.U8At(MenuState::kNetworkRoleOffset), 0);
    EXPECT_EQ(g_gameMode, GameMode::Race);
}

// Dragging the start position to the last place, then the opponents down to the fewest, pulls
// the start position down with them.
TEST_F(MainMenuOptionsTest, FewerOpponentsPullTheStartPositionDown)
{
    // Pressed on the slider, moved on to toX while held, released.
    const auto dragAt = [this](uint32_t frame, int x, int y, int toX)
    {
        const uint32_t at = kIntroPictures + frame;
        platform_.AtFrame(at, {.kind = PlatformEvent::Kind::MouseMove, .x = x, .y = y});
        platform_.AtFrame(at,
                          {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
        platform_.AtFrame(at + 2, {.kind = PlatformEvent::Kind::MouseMove, .x = toX, .y = y});
        platform_.AtFrame(
            at + 4, {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
    };
    platform_.LimitCapturedFrames(2);
    ClickAt(5, kMainX, kRealismY);
    ClickAt(20, 400, 250);      // settings
    dragAt(50, 440, 136, 500);  // the start position's slider past its right end
    dragAt(60, 400, 112, 300);  // the opponents' slider past its left end
    ClickAt(70, 508, 298);      // the settings' OK
    ClickAt(80, 510, 320);      // the realism panel's OK
    QuitAt(90);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_TRUE(EndedByScript());

    g_menuState = MenuState();
    LoadMenuState();
    EXPECT_EQ(g_menuState.U32At(MenuState::kOpponentsOffset), 4u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kGridPositionOffset), 5u);
}
