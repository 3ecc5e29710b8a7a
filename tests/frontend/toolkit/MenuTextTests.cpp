// The menu text files as the kit writes them, read back by the game's readers; what the
// readers make of files they cannot fully use.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "core/archive/CprArchive.h"
#include "frontend/toolkit/CircuitTexts.h"
#include "frontend/toolkit/MenuDataSections.h"
#include "frontend/toolkit/MenuTexts.h"
#include "kit/CprWriter.h"
#include "kit/menu/DemoMenu.h"
#include "kit/menu/MenuTextWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/support/TestDirectory.h"

namespace
{
// A file's bytes with the zero byte the readers need after them.
std::vector<char> Buffer(const std::vector<uint8_t>& file)
{
    std::vector<char> buffer(file.begin(), file.end());
    buffer.push_back('\0');
    return buffer;
}

std::vector<char> Buffer(const std::string& text)
{
    return Buffer(std::vector<uint8_t>(text.begin(), text.end()));
}

char* End(std::vector<char>& buffer)
{
    return buffer.data() + buffer.size() - 1;
}

std::vector<uint8_t> CircuitFile(const std::vector<kit::CircuitText>& circuits)
{
    std::vector<uint8_t> file;
    std::string error;
    EXPECT_TRUE(kit::WriteCircuitTexts(circuits, file, error)) << error;
    return file;
}

void ExpectRecordShows(const CircuitTextRecord& record, const kit::CircuitText& circuit)
{
    EXPECT_EQ(record.lengthMetres, circuit.lengthMetres);
    EXPECT_EQ(record.gripClass, circuit.gripClass);
    for (size_t slot = 0; slot < kCircuitTextSlots; ++slot)
    {
        EXPECT_EQ(record.titles[slot], circuit.titles[slot]);
        EXPECT_EQ(record.names[slot], circuit.names[slot]);
    }
    EXPECT_EQ(record.subtitle, circuit.subtitle);
    EXPECT_EQ(record.grandPrixName, circuit.grandPrixName);
    EXPECT_EQ(record.grandPrixSecondLine, circuit.grandPrixSecondLine);
    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        EXPECT_EQ(record.lapRecords[bikeClass].timeMs, circuit.lapRecords[bikeClass].timeMs);
        EXPECT_EQ(record.lapRecords[bikeClass].holder, circuit.lapRecords[bikeClass].holder);
        EXPECT_EQ(record.lapRecords[bikeClass].year, circuit.lapRecords[bikeClass].year);
    }
    EXPECT_EQ(record.climate.rainPercent, circuit.climate.rainPercent);
    EXPECT_EQ(record.climate.sunPercent, circuit.climate.sunPercent);
    EXPECT_EQ(record.climate.baseTemperatureC, circuit.climate.baseTemperatureC);
    EXPECT_EQ(record.climate.temperatureSwingC, circuit.climate.temperatureSwingC);
    EXPECT_EQ(record.climate.baseHumidityPercent, circuit.climate.baseHumidityPercent);
    EXPECT_EQ(record.climate.basePressureMbar, circuit.climate.basePressureMbar);
}

void ExpectDefault(const CircuitTextRecord& record)
{
    const CircuitTextRecord defaults = DefaultCircuitText();
    EXPECT_EQ(record.lengthMetres, 12345);
    EXPECT_STREQ(record.titles[1], "3rd World Championship Race");
    EXPECT_STREQ(record.names[0], "Bruenn");
    EXPECT_STREQ(record.grandPrixName, "Czech Rep. Grand Prix");
    EXPECT_STREQ(record.grandPrixSecondLine, "");
    EXPECT_EQ(record.lapRecords[2].year, 1802);
    EXPECT_EQ(record.climate.basePressureMbar, 1012);
    EXPECT_EQ(record.gripClass, defaults.gripClass);
}

TEST(CircuitTextsTest, TheKitsCircuitTextsReadBackAsWritten)
{
    const std::vector<kit::CircuitText> circuits = kit::DemoCircuitTexts();
    ASSERT_EQ(circuits.size(), kCircuitCount);
    std::vector<char> buffer = Buffer(CircuitFile(circuits));
    CircuitTextTable records;
    records.fill(DefaultCircuitText());
    ParseCircuitTexts(buffer.data(), End(buffer), records);
    for (size_t circuit = 0; circuit < kCircuitCount; ++circuit)
    {
        SCOPED_TRACE(circuit);
        ExpectRecordShows(records[circuit], circuits[circuit]);
    }
    // Windows-1252 bytes come through as they are, and the Grand Prix name breaks at its \n.
    EXPECT_STREQ(records[ToIndex(CircuitId::Nuerburgring)].names[0], "N\xFCrburgring");
    EXPECT_STREQ(records[ToIndex(CircuitId::A1Ring)].grandPrixName,
                 "Gro\xDF"
                 "er Preis");
    EXPECT_STREQ(records[ToIndex(CircuitId::A1Ring)].grandPrixSecondLine, "von \xD6sterreich");
    EXPECT_STREQ(records[ToIndex(CircuitId::Drenthe)].grandPrixSecondLine, "");
}

TEST(CircuitTextsTest, ValuesThatCannotServeTakeTheDefaults)
{
    std::vector<kit::CircuitText> circuits = kit::DemoCircuitTexts();
    circuits.resize(4);
    circuits[0].gripClass = 3;
    circuits[1].gripClass = -1;
    circuits[2].lengthMetres = 0;
    circuits[3].lapRecords[0].holder = 26;
    circuits[3].lapRecords[1].holder = -2;
    circuits[3].lapRecords[2].holder = 25;
    std::vector<char> buffer = Buffer(CircuitFile(circuits));
    CircuitTextTable records;
    records.fill(DefaultCircuitText());
    ParseCircuitTexts(buffer.data(), End(buffer), records);
    const CircuitTextRecord defaults = DefaultCircuitText();
    EXPECT_EQ(records[0].gripClass, 1);
    EXPECT_EQ(records[1].gripClass, 1);
    EXPECT_EQ(records[2].lengthMetres, 12345);
    EXPECT_EQ(records[3].lapRecords[0].holder, defaults.lapRecords[0].holder);
    EXPECT_EQ(records[3].lapRecords[1].holder, defaults.lapRecords[1].holder);
    EXPECT_EQ(records[3].lapRecords[2].holder, 25);
    EXPECT_EQ(records[3].lapRecords[0].timeMs, circuits[3].lapRecords[0].timeMs);
}

// One record as text lines; the caller replaces whole lines to spoil it.
std::vector<std::string> RecordLines()
{
    return {"4423",  "2",
            "T0",    "T1",
            "T2",    "T3",
            "N0",    "N1",
            "N2",    "N3",
            "(Sub)", "GP",
            "90000", "7",
            "1999",  "80000",
            "8",     "1998",
            "70000", "9",
            "1997",  "11 22 33 4 55 1001"};
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
    {
        text += line + "\r\n";
    }
    return text;
}

TEST(CircuitTextsTest, LinesBeforeARecordThatAreNoNumberArePassedOver)
{
    std::vector<char> buffer = Buffer("Strecken\r\n-- Jerez --\r\n" + Join(RecordLines()));
    CircuitTextTable records;
    records.fill(DefaultCircuitText());
    ParseCircuitTexts(buffer.data(), End(buffer), records);
    EXPECT_EQ(records[0].lengthMetres, 4423);
    EXPECT_EQ(records[0].gripClass, 2);
    EXPECT_STREQ(records[0].names[3], "N3");
    EXPECT_EQ(records[0].lapRecords[2].holder, 9);
    EXPECT_EQ(records[0].climate.basePressureMbar, 1001);
    ExpectDefault(records[1]);
}

TEST(CircuitTextsTest, ClimateValuesOutsideTheirRangeOrMissingKeepTheDefaults)
{
    std::vector<std::string> lines = RecordLines();
    lines.back() = "11 -1 70000 4";
    std::vector<char> buffer = Buffer(Join(lines));
    CircuitTextTable records;
    records.fill(DefaultCircuitText());
    ParseCircuitTexts(buffer.data(), End(buffer), records);
    const CircuitClimate& climate = records[0].climate;
    EXPECT_EQ(climate.rainPercent, 11);
    EXPECT_EQ(climate.sunPercent, 69);
    EXPECT_EQ(climate.baseTemperatureC, 32);
    EXPECT_EQ(climate.temperatureSwingC, 4);
    EXPECT_EQ(climate.baseHumidityPercent, 70);
    EXPECT_EQ(climate.basePressureMbar, 1012);
}

TEST(CircuitTextsTest, ARecordCutShortKeepsTheDefaultsAndLaterRecordsAreIgnored)
{
    std::vector<std::string> lines = RecordLines();
    std::vector<std::string> all;
    for (size_t record = 0; record < kCircuitCount + 1; ++record)
    {
        all.insert(all.end(), lines.begin(), lines.end());
    }
    std::vector<char> full = Buffer(Join(all));
    CircuitTextTable records;
    records.fill(DefaultCircuitText());
    ParseCircuitTexts(full.data(), End(full), records);
    for (const CircuitTextRecord& record : records)
    {
        EXPECT_EQ(record.lengthMetres, 4423);
    }

    lines.resize(lines.size() - 3);  // the 500 class's record and the climate are missing
    std::vector<char> cut = Buffer(Join(RecordLines()) + Join(lines));
    records.fill(DefaultCircuitText());
    ParseCircuitTexts(cut.data(), End(cut), records);
    EXPECT_EQ(records[0].lengthMetres, 4423);
    ExpectDefault(records[1]);
}

TEST(MenuDataSectionsTest, TheKitsMenuDataReadsBackAsWritten)
{
    const std::vector<kit::MenuDataText> written = kit::DemoMenuData();
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(kit::WriteMenuData(written, file, error)) << error;
    std::vector<char> buffer = Buffer(file);
    const std::vector<MenuDataSection> sections = ParseMenuDataSections(buffer.data(), End(buffer));
    ASSERT_EQ(sections.size(), written.size());
    for (size_t index = 0; index < sections.size(); ++index)
    {
        EXPECT_EQ(sections[index].number, written[index].number);
        EXPECT_EQ(sections[index].bikeClass, written[index].bikeClass);
        for (size_t line = 0; line < kMenuDataSectionLines; ++line)
        {
            EXPECT_EQ(sections[index].lines[line], written[index].lines[line]);
        }
        ASSERT_EQ(sections[index].pairs.size(), written[index].pairs.size());
        for (size_t pair = 0; pair < sections[index].pairs.size(); ++pair)
        {
            EXPECT_EQ(sections[index].pairs[pair][0], written[index].pairs[pair][0]);
            EXPECT_EQ(sections[index].pairs[pair][1], written[index].pairs[pair][1]);
        }
    }
}

TEST(MenuDataSectionsTest, SectionsWithoutAClassOrCutShortAreDropped)
{
    std::string lines;
    for (int line = 0; line < 15; ++line)
    {
        lines += "x\r\n";
    }
    std::vector<char> buffer =
        Buffer("1\r\n750er Klasse\r\n" + std::string("2\r\n250er Klasse\r\n") + lines + "-4\r\n" +
               "3\r\n500er Klasse\r\n" + lines + "5\r\na\r\nb\r\n");
    const std::vector<MenuDataSection> sections = ParseMenuDataSections(buffer.data(), End(buffer));
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].number, 2);
    EXPECT_EQ(sections[0].bikeClass, BikeClass::Class250);
    EXPECT_TRUE(sections[0].pairs.empty());
}

TEST(MenuTextWriterTest, TextsTheGameCannotReadBackAreRefused)
{
    std::vector<kit::CircuitText> circuits = kit::DemoCircuitTexts();
    std::vector<uint8_t> file;
    std::string error;
    circuits[0].subtitle = "";
    EXPECT_FALSE(kit::WriteCircuitTexts(circuits, file, error));
    circuits = kit::DemoCircuitTexts();
    circuits[1].names[2] = "zwei\r\nZeilen";
    EXPECT_FALSE(kit::WriteCircuitTexts(circuits, file, error));
    circuits = kit::DemoCircuitTexts();
    circuits[2].grandPrixName = "Grand\\nPrix";
    EXPECT_FALSE(kit::WriteCircuitTexts(circuits, file, error));
    EXPECT_FALSE(error.empty());
}

// ReadMenuTexts on a data archive of the test's own.
class ReadMenuTextsTest : public testing::Test
{
protected:
    ~ReadMenuTextsTest() override
    {
        FreeMenuTexts();
        g_archiveData = nullptr;
    }

    void MountDataArchive(bool withMenuTexts)
    {
        kit::DemoArchives archives;
        std::string error;
        if (withMenuTexts)
        {
            ASSERT_TRUE(kit::AddDemoMenu(archives, error)) << error;
        }
        const std::vector<uint8_t> bytes = archives.data.Build();
        directory_.WriteFile("data.cpr", std::string(bytes.begin(), bytes.end()));
        archive_ = std::make_unique<CprArchive>();
        ASSERT_TRUE(archive_->Open("data.cpr", true));
        g_archiveData = archive_.get();
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    std::unique_ptr<CprArchive> archive_;
};

TEST_F(ReadMenuTextsTest, TheDemoInstallationsTextsAreReadAndFreed)
{
    MountDataArchive(true);
    ReadMenuTexts();
    const std::vector<kit::CircuitText> circuits = kit::DemoCircuitTexts();
    for (size_t circuit = 0; circuit < kCircuitCount; ++circuit)
    {
        SCOPED_TRACE(circuit);
        ExpectRecordShows(CircuitTexts()[circuit], circuits[circuit]);
    }
    EXPECT_EQ(MenuDataSections().size(), kBikeClassCount);

    ReadMenuTexts();  // again: the earlier files are let go first
    EXPECT_STREQ(CircuitTexts()[ToIndex(CircuitId::Bruenn)].names[0], "Br\xFCnn");

    FreeMenuTexts();
    ExpectDefault(CircuitTexts()[ToIndex(CircuitId::Bruenn)]);
    EXPECT_TRUE(MenuDataSections().empty());
}

TEST_F(ReadMenuTextsTest, MissingFilesLeaveTheDefaultsWithoutAWord)
{
    MountDataArchive(false);
    ReadMenuTexts();
    for (const CircuitTextRecord& record : CircuitTexts())
    {
        ExpectDefault(record);
    }
    EXPECT_TRUE(MenuDataSections().empty());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}
}  // namespace
