#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/files/FileSystem.h"
#include "frontend/pitbox/GhostFiles.h"
#include "frontend/pitbox/GhostNameEntry.h"
#include "platform/VirtualKeys.h"
#include "race/RaceAi.h"
#include "race/laps/LapFile.h"
#include "tests/support/TestDirectory.h"

namespace
{
struct Head
{
    uint16_t circuit = 3;
    uint16_t bikeClass = 1;
    uint16_t level = 1;
    uint16_t weather = 0;
    int32_t lapMs = 95123;
    uint32_t valid = 1;
};

std::string LapBytes(const Head& head, int32_t samples = 4)
{
    const auto record = std::make_unique<LapRecord>();
    record->sampleCount = samples;
    record->valid = head.valid;
    record->header = {head.circuit, head.bikeClass, head.level, 7, head.weather, 1013, 21, 55};
    record->times = {30000, 60000, 90000, head.lapMs};
    for (int32_t i = 0; i < samples; ++i)
    {
        record->node[static_cast<size_t>(i)] = static_cast<uint16_t>(i * 10);
    }
    const std::vector<uint8_t> bytes = StoreLapFile(*record);
    return std::string(bytes.begin(), bytes.end());
}

GhostWords Words()
{
    GhostWords words;
    words.circuitTitle = [](CircuitId circuit)
    { return "Circuit " + std::to_string(static_cast<int>(circuit)); };
    words.riderName = [](BikeClass bikeClass, uint32_t rider) {
        return "Rider " + std::to_string(static_cast<int>(bikeClass)) + "/" + std::to_string(rider);
    };
    return words;
}

std::vector<std::string> Titles(const std::vector<GhostListEntry>& list)
{
    std::vector<std::string> titles;
    for (const GhostListEntry& entry : list)
    {
        titles.push_back(entry.fileTitle);
    }
    return titles;
}

class GhostFilesTest : public testing::Test
{
protected:
    void Ghost(const std::string& title, const std::string& bytes)
    {
        directory_.WriteFile("save/ghost/" + title + ".fhr", bytes);
    }

    TestDirectory directory_;
    MenuState settings_;
};

TEST_F(GhostFilesTest, AKeptLapTakesTheFirstFreeNumberOfItsName)
{
    const std::string lap = LapBytes({});
    directory_.WriteFile("Tempdaten/Daten_Runde3.fhr", lap);
    Ghost("GhostFile0", lap);
    Ghost("GhostFile1", lap);

    EXPECT_EQ(KeepLapAsGhost(3, "GhostFile"), "save/ghost/GhostFile2.fhr");
    EXPECT_EQ(directory_.ReadFile("save/ghost/GhostFile2.fhr"), lap);  // byte for byte
    EXPECT_EQ(KeepLapAsGhost(3, "fast"), "save/ghost/fast0.fhr");
    EXPECT_EQ(KeepLapAsGhost(4, "fast"), std::nullopt);  // no such lap
    EXPECT_FALSE(files::Exists("save/ghost/fast1.fhr"));
}

TEST_F(GhostFilesTest, NothingIsKeptOnceAllTwoHundredNumbersAreTaken)
{
    directory_.WriteFile("Tempdaten/Daten_Runde1.fhr", LapBytes({}));
    for (int number = 0; number < 200; ++number)
    {
        Ghost("g" + std::to_string(number), "");
    }
    EXPECT_EQ(KeepLapAsGhost(1, "g"), std::nullopt);
    EXPECT_FALSE(files::Exists("save/ghost/g200.fhr"));
}

TEST_F(GhostFilesTest, TheListHoldsTheClassesUsableGhostsInKeyOrder)
{
    Ghost("easy", LapBytes({.circuit = 3, .level = 0}));
    Ghost("hard", LapBytes({.circuit = 3, .level = 2}));  // same circuit and weather: first
    Ghost("rain", LapBytes({.circuit = 3, .level = 2, .weather = 2}));
    Ghost("first", LapBytes({.circuit = 0}));
    Ghost("other class", LapBytes({.bikeClass = 2}));
    Ghost("no circuit", LapBytes({.circuit = 30}));
    Ghost("no weather", LapBytes({.weather = 3}));
    Ghost("no level", LapBytes({.level = 3}));
    Ghost("no class", LapBytes({.bikeClass = 5}));
    Ghost("not valid", LapBytes({.valid = 0}));
    Ghost("short", LapBytes({}).substr(0, 30));
    Ghost("too many samples", LapBytes({}, 5401).substr(0, 100));
    directory_.WriteFile("save/ghost/readme.txt", LapBytes({}));
    directory_.WriteFile("save/ghost/folder.fhr/x", "");

    const std::vector<GhostListEntry> list = ListGhosts(BikeClass::Class250, settings_, Words());
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"keine Ghostdatei laden", "first", "hard",
                                                      "rain", "easy"}));
    EXPECT_EQ(list[0].rider, "ohne Ghost fahren");
    EXPECT_EQ(list[2].lapTime, " 1:35:123");
    EXPECT_EQ(list[2].difficulty, "Profi");
    EXPECT_EQ(list[3].weather, "Regen");
    EXPECT_EQ(list[2].circuit, "Circuit 3");
    EXPECT_EQ(list[2].rider, "Rider 1/7");
}

TEST_F(GhostFilesTest, AnEmptyFolderListsOnlyRidingWithoutAGhost)
{
    GhostWords words = Words();
    words.language = Language::English;
    const std::vector<GhostListEntry> list = ListGhosts(BikeClass::Class125, settings_, words);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].fileTitle, "no ghost");
    EXPECT_EQ(list[0].rider, "riding without ghost");
}

TEST_F(GhostFilesTest, LongNamesAreShownCutButDeletedWhole)
{
    const std::string name(47, 'x');
    Ghost(name + "1", LapBytes({}));
    Ghost(name + "19", LapBytes({}));
    const std::vector<GhostListEntry> list = ListGhosts(BikeClass::Class250, settings_, Words());
    ASSERT_EQ(list.size(), 3u);
    const GhostListEntry& longer = list[1].fileTitle.size() == 49 ? list[1] : list[2];
    EXPECT_EQ(longer.ShownTitle(), name + "1");

    ASSERT_TRUE(DeleteGhostFile(longer));
    EXPECT_FALSE(files::Exists("save/ghost/" + name + "19.fhr"));
    EXPECT_TRUE(files::Exists("save/ghost/" + name + "1.fhr"));
    EXPECT_FALSE(DeleteGhostFile(longer));  // gone already
}

TEST_F(GhostFilesTest, ADamagedGhostIsNeverLoadedHalf)
{
    RaceAi race;
    LoadedGhost ghost;
    BikeClass bikeClass = BikeClass::Class125;
    Ghost("good", LapBytes({.circuit = 5, .level = 2, .weather = 1}));
    ASSERT_TRUE(ghost.Load("save/ghost/good.fhr", race, settings_, bikeClass));
    EXPECT_EQ(bikeClass, BikeClass::Class250);
    EXPECT_EQ(race.ghostRecord, ghost.Record());
    EXPECT_NE(race.ghostTag, RaceAi::kNoGhost);
    EXPECT_EQ(settings_.U32At(MenuState::kGameModeOffset), 6u);
    EXPECT_EQ(settings_.U32At(MenuState::kCircuitOffset), 5u);

    const MenuState before = settings_;
    const LapRecord* loaded = ghost.Record();
    for (const std::string& bytes :
         {LapBytes({.circuit = 1}).substr(0, LapFileSize(4) - 1), LapBytes({.circuit = 40}),
          LapBytes({.circuit = 1, .valid = 0}), std::string()})
    {
        Ghost("bad", bytes);
        EXPECT_FALSE(ghost.Load("save/ghost/bad.fhr", race, settings_, bikeClass));
        EXPECT_EQ(ghost.Record(), loaded);
        EXPECT_EQ(race.ghostRecord, loaded);
        EXPECT_EQ(settings_, before);
        EXPECT_EQ(ghost.Record()->header[0], 5);
    }
    EXPECT_FALSE(ghost.Load("save/ghost/missing.fhr", race, settings_, bikeClass));

    ghost.Clear(race);
    EXPECT_EQ(race.ghostRecord, nullptr);
    EXPECT_EQ(race.ghostTag, RaceAi::kNoGhost);
}

TEST(GhostName, KeysTypeLettersAndDigitsUpToFortySevenCharacters)
{
    GhostNameEntry entry;
    std::string name = "Ghost";
    EXPECT_FALSE(entry.OnKey(name, false, 'A', false));  // not started
    entry.Start();
    EXPECT_TRUE(entry.OnKey(name, false, 'A', false));
    EXPECT_TRUE(entry.OnKey(name, false, 'B', true));
    EXPECT_TRUE(entry.OnKey(name, false, '7', false));
    EXPECT_TRUE(entry.OnKey(name, false, vk::Space, false));  // taken, ignored
    EXPECT_TRUE(entry.OnKey(name, true, 'C', false));         // a release
    EXPECT_EQ(name, "GhostaB7");
    EXPECT_TRUE(entry.TakeTyped());
    EXPECT_FALSE(entry.TakeTyped());

    name.assign(47, 'n');
    entry.OnKey(name, false, 'Q', false);
    EXPECT_EQ(name.size(), 47u);
    EXPECT_EQ(entry.Beeps(), 1u);
    entry.OnKey(name, false, vk::Back, false);
    entry.OnKey(name, false, 'Q', false);
    EXPECT_EQ(name, std::string(46, 'n') + "q");
    EXPECT_EQ(entry.Beeps(), 1u);

    entry.OnKey(name, false, vk::Return, false);
    EXPECT_FALSE(entry.IsActive());
}
}  // namespace
