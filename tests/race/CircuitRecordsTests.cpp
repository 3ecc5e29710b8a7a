// The circuit records and their file: the repairs when reading, the rule for a new record and
// the write at the end of the run.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "race/CircuitRecords.h"
#include "race/RaceAiSystem.h"
#include "tests/support/TestDirectory.h"

namespace
{
// A file of 270 bytes with every entry set to the holder and the time.
std::vector<uint8_t> FileOf(uint8_t holder, int32_t timeMs)
{
    std::vector<uint8_t> bytes(CircuitRecords::kFileSize);
    for (size_t entry = 0; entry < 54; ++entry)
    {
        bytes[entry] = holder;
        StoreLe32(&bytes[54 + 4 * entry], static_cast<uint32_t>(timeMs));
    }
    return bytes;
}

std::string AsString(std::span<const uint8_t> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

bool IsEmpty(const CircuitRecords& records, size_t bikeClass, size_t circuit)
{
    return records.holder[bikeClass][circuit] == CircuitRecords::kNoHolder &&
           records.lapMs[bikeClass][circuit] == CircuitRecords::kNoTime;
}

TEST(CircuitRecordsTest, TheFileHoldsHoldersThenTimes)
{
    CircuitRecords records;
    records.holder[1][3] = 12;
    records.lapMs[1][3] = 95000;
    records.lapMs[2][17] = 31000;
    const auto bytes = records.Encode();
    EXPECT_EQ(bytes[18 + 3], 12);
    EXPECT_EQ(LoadLe32(&bytes[54 + 4 * (18 + 3)]), 95000u);
    EXPECT_EQ(LoadLe32(&bytes[266]), 31000u);
    const CircuitRecords read = CircuitRecords::Decode(bytes);
    EXPECT_EQ(read.Encode(), bytes);
}

TEST(CircuitRecordsTest, DamagedEntriesAndShortFilesGiveEmptyEntries)
{
    EXPECT_TRUE(IsEmpty(CircuitRecords::Decode(FileOf(3, 29999)), 0, 0)) << "faster than a lap";
    EXPECT_TRUE(IsEmpty(CircuitRecords::Decode(FileOf(0x80, 90000)), 1, 5)) << "negative holder";
    EXPECT_TRUE(IsEmpty(CircuitRecords::Decode(FileOf(26, 90000)), 2, 9)) << "no such rider";
    EXPECT_EQ(CircuitRecords::Decode(FileOf(25, 30000)).holder[2][9], 25);
    EXPECT_EQ(CircuitRecords::Decode(FileOf(25, 90000)).lapMs[0][0], 90000);

    std::vector<uint8_t> file = FileOf(4, 80000);
    file.pop_back();
    EXPECT_TRUE(IsEmpty(CircuitRecords::Decode(file), 0, 0));
    file = FileOf(4, 80000);
    file.insert(file.end(), 30, 0xFF);
    EXPECT_EQ(CircuitRecords::Decode(file).holder[0][0], 4) << "the first 270 bytes count";
}

TEST(CircuitRecordsTest, ARecordIsALapFasterThanTheOneBefore)
{
    CircuitRecords records;
    EXPECT_FALSE(records.Offer(BikeClass::Class250, CircuitId::Jerez, 3, 30000));
    EXPECT_TRUE(records.Offer(BikeClass::Class250, CircuitId::Jerez, 3, 30001));
    EXPECT_FALSE(records.Offer(BikeClass::Class250, CircuitId::Jerez, 2, 30001)) << "a tie";
    EXPECT_FALSE(records.Offer(BikeClass::Class125, CircuitId::Jerez, 26, 40000)) << "no rider";
    EXPECT_FALSE(records.Offer(static_cast<BikeClass>(3), CircuitId::Jerez, 1, 40000));
    EXPECT_FALSE(records.Offer(BikeClass::Class125, static_cast<CircuitId>(18), 1, 40000));
    EXPECT_EQ(records.holder[1][2], 3);
    EXPECT_EQ(records.lapMs[1][2], 30001);
}

class RecordFileTest : public ::testing::Test
{
protected:
    TestDirectory directory_;
};

TEST_F(RecordFileTest, ARunThatSetsNoRecordLeavesTheFileAlone)
{
    std::vector<uint8_t> file = FileOf(7, 88000);
    file.push_back(1);
    directory_.WriteFile("tempdaten/system.cpr", AsString(file));
    {
        const auto race = std::make_unique<RaceAiSystem>();
        EXPECT_EQ(race->records.holder[2][17], 7);
        EXPECT_FALSE(race->recordsDirty);
        EXPECT_FALSE(race->OfferLapRecord(BikeClass::Class500, CircuitId::Pi, 1, 88000));
    }
    EXPECT_EQ(directory_.ReadFile("tempdaten/system.cpr"), AsString(file));
}

TEST_F(RecordFileTest, ANewRecordIsWrittenWhenTheRaceObjectGoes)
{
    {
        const auto race = std::make_unique<RaceAiSystem>();
        EXPECT_TRUE(IsEmpty(race->records, 0, 0)) << "no file yet";
        EXPECT_TRUE(race->OfferLapRecord(BikeClass::Class125, CircuitId::Donington, 11, 97512));
        EXPECT_TRUE(race->recordsDirty);
    }
    const std::string written = directory_.ReadFile("TempDaten/system.cpr");
    ASSERT_EQ(written.size(), CircuitRecords::kFileSize);
    const auto records = CircuitRecords::Decode(
        std::span(reinterpret_cast<const uint8_t*>(written.data()), written.size()));
    EXPECT_EQ(records.holder[0][10], 11);
    EXPECT_EQ(records.lapMs[0][10], 97512);
}
}  // namespace
