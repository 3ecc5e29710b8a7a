#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "app/game/CurrentRace.h"
#include "frontend/settings/MenuStateFile.h"
#include "kit/settings/MenuStateWriter.h"
#include "race/RaceContext.h"
#include "tests/support/TestDirectory.h"

namespace
{
class MenuStateFileTest : public ::testing::Test
{
protected:
    MenuStateFileTest() { g_menuState = MenuState(); }

    static void WriteSettings(const MenuState& state)
    {
        std::string error;
        ASSERT_TRUE(kit::WriteMenuState("menustate.dat", state, error)) << error;
    }

    static void WriteOldSettings(const MenuState& state, const kit::OldControlKeys& keys)
    {
        std::string error;
        ASSERT_TRUE(kit::WriteOldMenuState("menustate.dat", state, keys, error)) << error;
    }

    static std::string StringOf(const MenuState& state)
    {
        return {state.Bytes().begin(), state.Bytes().end()};
    }

    TestDirectory directory;
};

// A record with a value of its own in every part, every value in range.
MenuState PlayedRecord()
{
    MenuState state;
    state.SetU32At(MenuState::kLanguageOffset, 1);
    state.SetU32At(MenuState::kBikeClassOffset, 2);
    state.SetU32At(MenuState::kPlayerRiderOffset, 7);
    state.SetU32At(MenuState::kGameModeOffset, 3);
    state.SetU8At(MenuState::kLevelOffset, 2);
    state.SetU32At(MenuState::kControlDeviceOffset, 1);
    state.SetU32At(MenuState::kCircuitOffset, 12);
    state.SetU32At(MenuState::kCameraViewOffset, 7);
    state.SetU8At(MenuState::kIdealLinesOffset, 1);
    state.SetU32At(MenuState::kRaceLapsOffset, 21);
    state.SetF32At(MenuState::kVolumeOffset, 0.25f);
    state.SetU32At(MenuState::kViewDistanceOffset, 1200);
    state.SetU16At(MenuState::kSessionPressureOffset + 6, 1013);
    state.SetU32At(MenuState::kWeekendBestOffset + 4 * 25, 95432);
    state.SetU8At(MenuState::kChampionshipOffset + 25 * 18 + 17, 0x7F);
    state.SetPlayerName("J\xFCrgen");
    state.SetU32At(MenuState::kTimeLimitIndexOffset, 3);
    state.SetI8At(MenuState::kNetworkCircuitsOffset + 1, 17);
    state.SetControls({.throttle = 0x51, .clutchSelector = 5, .steeringSensitivity = 100});
    return state;
}

TEST_F(MenuStateFileTest, RecordWrittenByTheGameIsReadBackEqual)
{
    g_menuState = PlayedRecord();
    g_menuState.SetU32At(MenuState::kSessionOffset, 3);
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, 1);
    const MenuState saved = g_menuState;
    ASSERT_TRUE(SaveMenuState());
    EXPECT_EQ(directory.ReadFile("menustate.dat"), StringOf(saved));

    g_menuState = MenuState();
    LoadMenuState();
    MenuState expected = saved;  // the session and the time-limit switch start afresh
    expected.SetU32At(MenuState::kSessionOffset, 0);
    expected.SetU8At(MenuState::kTimeLimitOnOffset, 0);
    EXPECT_EQ(StringOf(g_menuState), StringOf(expected));
}

TEST_F(MenuStateFileTest, LoadingAppliesTheChoicesToTheCurrentRace)
{
    WriteSettings(PlayedRecord());
    LoadMenuState();
    EXPECT_EQ(g_language, Language::English);
    EXPECT_EQ(g_menuState.U32At(MenuState::kLanguageOffset), 1u);
    EXPECT_EQ(g_bikeClass, BikeClass::Class500);
    EXPECT_EQ(g_playerRider, 7u);
    EXPECT_EQ(g_circuitIndex, CircuitId::Catalunya);
    EXPECT_EQ(g_gameMode, GameMode::Championship);
}

TEST_F(MenuStateFileTest, OlderFormOfAKeyboardPlayerKeepsItsKeys)
{
    const MenuState played = PlayedRecord();
    WriteOldSettings(played, {'Q', 'W', 'E', 'R', 'T', 'Z', 'U', 'I'});
    LoadMenuState();
    const ControlMap expected{.throttle = 'Q',
                              .brake = 'W',
                              .left = 'E',
                              .right = 'R',
                              .clutchSelector = 8,
                              .shiftUp = 'T',
                              .shiftDown = 'Z',
                              .wheelie = 'U',
                              .lookBack = 'I',
                              .throttleSensitivity = 0x32,
                              .brakeSensitivity = 0x64,
                              .steeringSensitivity = 0x50};
    EXPECT_EQ(g_menuState.Controls(), expected);
    // Everything before the control map is the file's, the old keys included.
    EXPECT_EQ(StringOf(g_menuState).substr(0, MenuState::kControlMapOffset),
              directory.ReadFile("menustate.dat").substr(0, MenuState::kControlMapOffset));
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 12u);
    EXPECT_EQ(g_menuState.PlayerName(), "J\xFCrgen");
    EXPECT_EQ(g_menuState.U8At(MenuState::kSize - 1), 0);
}

TEST_F(MenuStateFileTest, OlderFormOfAJoystickPlayerGetsTheStandardButtons)
{
    MenuState played = PlayedRecord();
    played.SetU32At(MenuState::kControlDeviceOffset, 0);
    WriteOldSettings(played, {'Q', 'W', 'E', 'R', 'T', 'Z', 'U', 'I'});
    LoadMenuState();
    const ControlMap expected{.throttle = 7,
                              .brake = 6,
                              .left = 5,
                              .right = 4,
                              .clutchSelector = 8,
                              .shiftUp = 0,
                              .shiftDown = 2,
                              .wheelie = 1,
                              .lookBack = 3,
                              .throttleSensitivity = 0x64,
                              .brakeSensitivity = 0x64,
                              .steeringSensitivity = 0x50};
    EXPECT_EQ(g_menuState.Controls(), expected);
    EXPECT_EQ(g_bikeClass, BikeClass::Class500);
}

// No file, or one of any other length, gives the defaults; the player's last set-up stays,
// as it is checked when it is read.
TEST_F(MenuStateFileTest, MissingOrDamagedFileGivesTheDefaultsAndKeepsTheLastSetUp)
{
    const std::string lastSetup(67, '\x01');
    struct Case
    {
        const char* name;
        bool present;
        std::string content;
    };
    const Case cases[] = {
        {"missing", false, ""},
        {"empty", true, ""},
        {"short", true, std::string(5000, '\x02')},
        {"between the two forms", true, std::string(5350, '\x02')},
        {"long", true, std::string(5361, '\x02')},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("menustate.dat");
        if (c.present)
        {
            directory.WriteFile("menustate.dat", c.content);
        }
        directory.WriteFile("setup.tmp", lastSetup);
        g_menuState = PlayedRecord();
        LoadMenuState();
        EXPECT_EQ(StringOf(g_menuState), StringOf(MenuState()));
        EXPECT_EQ(g_bikeClass, BikeClass::Class250);
        EXPECT_EQ(g_playerRider, 20u);
        EXPECT_EQ(directory.ReadFile("setup.tmp"), lastSetup);
    }
}

// Every value that picks, counts or indexes takes its default when it lies out of range;
// its neighbours in range stay as they were.
TEST_F(MenuStateFileTest, OutOfRangeValuesTakeTheirDefaults)
{
    enum class Width
    {
        U8,
        U32,
    };
    struct Case
    {
        const char* field;
        size_t offset;
        Width width;
        uint32_t stored;
        uint32_t loaded;
    };
    const uint32_t kNaN = std::bit_cast<uint32_t>(std::numeric_limits<float>::quiet_NaN());
    const Case cases[] = {
        {"language", 0, Width::U32, 2, 0},
        {"language kept", 0, Width::U32, 1, 1},
        {"class", 4, Width::U32, 3, 1},
        {"class far off", 4, Width::U32, 0xFFFFFFFF, 1},
        {"class kept", 4, Width::U32, 0, 0},
        {"rider", 8, Width::U32, 26, 20},
        {"rider kept", 8, Width::U32, 25, 25},
        {"game mode", 16, Width::U32, 7, 0},
        {"game mode kept", 16, Width::U32, 6, 6},
        {"level", 20, Width::U8, 3, 0},
        {"circuit", 28, Width::U32, 18, 0},
        {"circuit kept", 28, Width::U32, 17, 17},
        {"camera view", 44, Width::U32, 4, 0},
        {"camera view kept", 44, Width::U32, 1, 1},
        {"race laps none", 68, Width::U32, 0, 5},
        {"race laps", 68, Width::U32, 22, 5},
        {"grid position none", 76, Width::U32, 0, 1},
        {"grid position", 76, Width::U32, 27, 1},
        {"grid position kept", 76, Width::U32, 26, 26},
        {"volume", 88, Width::U32, std::bit_cast<uint32_t>(1.5f), 0x3F800000},
        {"volume negative", 88, Width::U32, std::bit_cast<uint32_t>(-0.1f), 0x3F800000},
        {"volume NaN", 88, Width::U32, kNaN, 0x3F800000},
        {"volume kept", 88, Width::U32, 0, 0},
        {"view distance near", 96, Width::U32, 199, 600},
        {"view distance far", 96, Width::U32, 1201, 600},
        {"view distance kept", 96, Width::U32, 200, 200},
        {"model detail", 100, Width::U8, 3, 2},
        {"telemetry channel", 111, Width::U8, 13, 2},
        {"telemetry channel kept", 111, Width::U8, 12, 12},
        {"weather", 116, Width::U8, 3, 0},
        {"weather persistency", 117, Width::U8, 3, 0},
        {"opponent level", 118, Width::U8, 3, 1},
        {"session weather", 123, Width::U8, 0xFF, 0},
        {"session weather kept", 123, Width::U8, 2, 2},
        {"time-limit index", 5216, Width::U32, 4, 2},
        {"time-limit index kept", 5216, Width::U32, 3, 3},
        {"network race", 5224, Width::U32, 19, 0},
        {"network race kept", 5224, Width::U32, 18, 18},
        {"network race weather", 5249, Width::U8, 3, 0},
        {"first network circuit", 5322, Width::U8, 18, 0},
        {"later network circuit", 5340, Width::U8, 18, 0xFF},
        {"network circuit kept", 5330, Width::U8, 17, 17},
        {"network list end kept", 5322, Width::U8, 0x80, 0x80},
        {"server name ends in its field", 5163, Width::U8, 'x', 0},
        {"player name ends in its field", 5183, Width::U8, 'x', 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.field);
        MenuState stored = PlayedRecord();
        if (c.width == Width::U8)
        {
            stored.SetU8At(c.offset, static_cast<uint8_t>(c.stored));
        }
        else
        {
            stored.SetU32At(c.offset, c.stored);
        }
        WriteSettings(stored);
        LoadMenuState();
        const uint32_t loaded =
            c.width == Width::U8 ? g_menuState.U8At(c.offset) : g_menuState.U32At(c.offset);
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), c.offset == 28 ? c.loaded : 12u);
    }
}

TEST_F(MenuStateFileTest, SaveReplacesTheFileWholeOrLeavesItAlone)
{
    directory.WriteFile("menustate.dat", std::string(9000, 'z'));
    g_menuState = PlayedRecord();
    ASSERT_TRUE(SaveMenuState());
    EXPECT_EQ(directory.ReadFile("menustate.dat"), StringOf(g_menuState));

    std::filesystem::remove("menustate.dat");
    std::filesystem::create_directory("menustate.dat");
    EXPECT_FALSE(SaveMenuState());
    EXPECT_TRUE(std::filesystem::is_directory("menustate.dat"));
}
}  // namespace
