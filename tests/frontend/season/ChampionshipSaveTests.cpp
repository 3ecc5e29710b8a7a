#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/game/CurrentRace.h"
#include "core/util/LittleEndian.h"
#include "frontend/season/ChampionshipSave.h"
#include "frontend/season/ChampionshipTable.h"
#include "kit/race/ClassSetups.h"
#include "kit/season/ChampionshipSaveWriter.h"
#include "race/RaceContext.h"
#include "setup/SetupStream.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr std::string_view kSavePath = "save/wm/Saison";

// A championship under way: round 5 of the 500 class with rider 7, keys and sound of the
// machine it was saved on.
MenuState SavedRecord()
{
    MenuState settings;
    settings.SetU32At(MenuState::kBikeClassOffset, 2);
    settings.SetU32At(MenuState::kPlayerRiderOffset, 7);
    settings.SetU32At(MenuState::kGameModeOffset, 3);
    settings.SetU32At(MenuState::kCircuitOffset, 5);
    settings.SetU32At(MenuState::kSessionOffset, 2);
    settings.SetU32At(MenuState::kFieldMaskOffset, 0x03FFFFFF);
    ClearChampionship(settings);
    SetChampionshipPlace(settings, 7, 4, 0);
    SetChampionshipPlace(settings, 3, 4, kUnplaced);
    settings.SetF32At(MenuState::kVolumeOffset, 0.3f);
    settings.SetU8At(MenuState::kMenuMusicOffOffset, 1);
    settings.SetU32At(MenuState::kViewDistanceOffset, 300);
    settings.SetU32At(MenuState::kControlDeviceOffset, 1);
    settings.SetControls({.throttle = 0x51,
                          .brake = 0x52,
                          .shiftUp = 0x53,
                          .throttleSensitivity = 11,
                          .brakeSensitivity = 22,
                          .steeringSensitivity = 33});
    return settings;
}

// This machine's own choices, which a loaded save must not take away.
MenuState ThisMachine()
{
    MenuState settings;
    settings.SetF32At(MenuState::kVolumeOffset, 0.8f);
    settings.SetU8At(MenuState::kIntroOffset, 1);
    settings.SetU8At(MenuState::kRaceMusicOffOffset, 1);
    settings.SetU32At(MenuState::kViewDistanceOffset, 1100);
    settings.SetU8At(MenuState::kModelDetailOffset, 0);
    settings.SetControls({.throttle = 0x41,
                          .brake = 0x42,
                          .left = 0x43,
                          .right = 0x44,
                          .clutchSelector = 9,
                          .shiftUp = 0x45,
                          .shiftDown = 0x46,
                          .wheelie = 0x47,
                          .lookBack = 0x48,
                          .throttleSensitivity = 90,
                          .brakeSensitivity = 91,
                          .steeringSensitivity = 92});
    return settings;
}

BikeSetup TunedSetup()
{
    BikeSetup setup = kit::ClassStandardSetup(BikeClass::Class500);
    setup.ignitionA = 1.02f;
    setup.brakeValueB = 1.5f;
    setup.frontTyre = 4;
    return setup;
}

std::vector<uint8_t> ValidSave()
{
    return EncodeChampionshipSave(SavedRecord(), TunedSetup());
}

class ChampionshipSaveTest : public testing::Test
{
protected:
    ChampionshipSaveTest()
    {
        g_menuState = ThisMachine();
        std::filesystem::create_directories(kChampionshipSaveFolder);
    }

    void WriteSave(const std::vector<uint8_t>& bytes) const
    {
        directory.WriteFile(std::string(kSavePath), std::string(bytes.begin(), bytes.end()));
    }

    TestDirectory directory;
};

TEST(ChampionshipSaveLayout, HeadRecordAndSetupStreamAtTheirOffsets)
{
    const MenuState settings = SavedRecord();
    const std::vector<uint8_t> bytes = ValidSave();
    ASSERT_EQ(bytes.size(), 5880u + kSetupStreamSize);
    EXPECT_EQ(LoadLe32(&bytes[0]), 5360u);
    EXPECT_EQ(LoadLe32(&bytes[4]), 2u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 8, bytes.begin() + 520),
              std::vector<uint8_t>(512, 0));
    EXPECT_TRUE(std::equal(settings.Bytes().begin(), settings.Bytes().end(), bytes.begin() + 520));
    const SetupStream stream = StoreSetupStream(TunedSetup());
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), bytes.begin() + 5880));
}

TEST_F(ChampionshipSaveTest, TheKitWritesWhatTheGameWrites)
{
    std::string error;
    ASSERT_TRUE(kit::WriteChampionshipSave("kit/save", SavedRecord(), TunedSetup(),
                                           kit::SaveForm::Current, error))
        << error;
    const std::vector<uint8_t> game = ValidSave();
    EXPECT_EQ(directory.ReadFile("kit/save"), std::string(game.begin(), game.end()));
}

TEST_F(ChampionshipSaveTest, SavedAndLoadedOnOneMachineGivesTheSameSettingsAndSetup)
{
    g_menuState = SavedRecord();
    g_playerRider = 7;
    g_bikes[7].setup = TunedSetup();
    ASSERT_TRUE(SaveChampionship(kSavePath));
    const MenuState saved = g_menuState;

    g_menuState = MenuState();
    g_bikes[7].setup = kit::ClassStandardSetup(BikeClass::Class500);
    g_menuState = saved;  // the same machine
    g_menuState.SetU32At(MenuState::kCircuitOffset, 0);
    ASSERT_TRUE(LoadChampionship(kSavePath));

    EXPECT_EQ(g_menuState, saved);
    EXPECT_EQ(g_playerRider, 7u);
    EXPECT_EQ(g_bikeClass, BikeClass::Class500);
    EXPECT_EQ(g_circuitIndex, CircuitId::Frankreich);
    EXPECT_EQ(StoreSetupStream(g_bikes[7].setup), StoreSetupStream(TunedSetup()));
}

TEST_F(ChampionshipSaveTest, LoadingKeepsThisMachinesControlsSoundAndView)
{
    WriteSave(ValidSave());
    ASSERT_TRUE(LoadChampionship(kSavePath));

    MenuState expected = SavedRecord();
    const MenuState machine = ThisMachine();
    for (const auto& [offset, length] : std::vector<std::pair<size_t, size_t>>{
             {84, 1}, {88, 4}, {92, 2}, {96, 4}, {100, 1}, {24, 4}, {5347, 9}})
    {
        std::copy_n(machine.Bytes().begin() + offset, length, expected.Bytes().begin() + offset);
    }
    EXPECT_EQ(g_menuState, expected);
    EXPECT_EQ(g_menuState.Controls().throttleSensitivity, 11) << "the save's sensitivities";
    EXPECT_EQ(g_menuState.F32At(MenuState::kVolumeOffset), 0.8f);
}

TEST_F(ChampionshipSaveTest, OlderSavesAreReadWithTheirControlMapRebuilt)
{
    std::string error;
    ASSERT_TRUE(kit::WriteChampionshipSave(std::string(kSavePath), SavedRecord(), TunedSetup(),
                                           kit::SaveForm::Older, error))
        << error;
    const SetupStream stream = StoreSetupStream(TunedSetup());

    ASSERT_TRUE(LoadChampionship(kSavePath));
    const ControlMap controls = g_menuState.Controls();
    EXPECT_EQ(controls.throttle, 0x41) << "this machine's keys";
    EXPECT_EQ(controls.lookBack, 0x48);
    EXPECT_EQ(controls.throttleSensitivity, 0x32) << "as an older keyboard record upgrades";
    EXPECT_EQ(controls.brakeSensitivity, 0x64);
    EXPECT_EQ(controls.steeringSensitivity, 0x50);
    EXPECT_EQ(ChampionshipPlace(g_menuState, 7, 4), 0);
    EXPECT_EQ(StoreSetupStream(g_bikes[g_playerRider].setup), stream);
}

struct Damage
{
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<Damage> DamagedSaves()
{
    std::vector<Damage> cases;
    const std::vector<uint8_t> valid = ValidSave();
    cases.push_back({"empty", {}});
    cases.push_back({"exactly eight bytes", {valid.begin(), valid.begin() + 8}});
    std::vector<uint8_t> bytes = valid;
    StoreLe32(&bytes[0], 5348);
    cases.push_back({"version 2 with the older size", bytes});
    bytes = valid;
    StoreLe32(&bytes[4], 1);
    cases.push_back({"version 1 with the current size", bytes});
    bytes = valid;
    StoreLe32(&bytes[4], 3);
    cases.push_back({"unknown version", bytes});
    cases.push_back({"ends inside the record", {valid.begin(), valid.begin() + 3000}});
    cases.push_back({"ends inside the set-up stream", {valid.begin(), valid.end() - 1}});
    bytes = valid;
    StoreLe32(&bytes[520 + MenuState::kBikeClassOffset], 3);
    cases.push_back({"class out of range", bytes});
    bytes = valid;
    StoreLe32(&bytes[520 + MenuState::kPlayerRiderOffset], 26);
    cases.push_back({"rider out of range", bytes});
    bytes = valid;
    StoreLe32(&bytes[520 + MenuState::kCircuitOffset], 18);
    cases.push_back({"circuit out of range", bytes});
    bytes = valid;
    StoreLe32(&bytes[520 + MenuState::kNetworkRaceIndexOffset], 19);
    cases.push_back({"network race out of range", bytes});
    bytes = valid;
    std::fill_n(bytes.begin() + 520 + MenuState::kPlayerNameOffset, 20, 'x');
    cases.push_back({"unended name", bytes});
    return cases;
}

TEST_F(ChampionshipSaveTest, DamagedSavesAreRefusedAndChangeNothing)
{
    g_playerRider = 3;
    g_bikes[3].setup = kit::ClassStandardSetup(BikeClass::Class125);
    const SetupStream setupBefore = StoreSetupStream(g_bikes[3].setup);
    for (const Damage& damage : DamagedSaves())
    {
        WriteSave(damage.bytes);
        EXPECT_FALSE(DecodeChampionshipSave(damage.bytes, g_menuState)) << damage.name;
        EXPECT_FALSE(LoadChampionship(kSavePath)) << damage.name;
        EXPECT_EQ(g_menuState, ThisMachine()) << damage.name;
        EXPECT_EQ(g_playerRider, 3u) << damage.name;
        EXPECT_EQ(StoreSetupStream(g_bikes[3].setup), setupBefore) << damage.name;
    }
    EXPECT_FALSE(LoadChampionship("save/wm/none"));
}

TEST_F(ChampionshipSaveTest, BytesAfterTheSetupStreamAreNotRead)
{
    std::vector<uint8_t> bytes = ValidSave();
    bytes.resize(bytes.size() + 100000, 0xEE);
    WriteSave(bytes);
    EXPECT_TRUE(LoadChampionship(kSavePath));
}

TEST_F(ChampionshipSaveTest, ASaveReplacesTheOldFileWholeOrNotAtAll)
{
    WriteSave(std::vector<uint8_t>(10, 0xAB));
    g_menuState = SavedRecord();
    g_playerRider = 7;
    ASSERT_TRUE(SaveChampionship(kSavePath));
    const std::string written = directory.ReadFile(std::string(kSavePath));
    EXPECT_EQ(written.size(), 5880u + kSetupStreamSize);

    EXPECT_FALSE(SaveChampionship("save/nowhere/x")) << "a folder that does not exist";
    g_playerRider = 7;
    g_menuState.SetU32At(MenuState::kCircuitOffset, 6);
    std::filesystem::create_directories("save/wm/Saison.blocked");
    EXPECT_FALSE(SaveChampionship("save/wm/Saison.blocked"));
    EXPECT_EQ(directory.ReadFile(std::string(kSavePath)), written);
}
}  // namespace
