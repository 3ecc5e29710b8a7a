#include "race/laps/LapFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "kit/laps/LapFileWriter.h"
#include "tests/support/TestDirectory.h"

namespace
{
// A lap whose every field of every sample differs, so a field stored in the wrong place shows.
kit::LapFileContent MakeLap(size_t sampleCount)
{
    kit::LapFileContent lap;
    lap.header = {3, 2, 1, 20, 2, 1013, 21, 55};
    lap.valid = 1;
    lap.times = {41000, 30500, 29750, 101250};
    for (size_t i = 0; i < sampleCount; ++i)
    {
        const float f = static_cast<float>(i);
        LapSample sample;
        sample.node = static_cast<uint16_t>(7 + i);
        sample.groundX = 60.0f + 0.5f * f;
        sample.groundZ = -100.0f + 4.25f * f;
        sample.raceTime = 12.0f + 0.04f * f;
        sample.suspensionFront = 31.5f + f;
        sample.suspensionRear = 22.25f - f;
        sample.acceleration = -3.0f + 0.125f * f;
        sample.tyreFront = 98.5f;
        sample.tyreRear = 97.0f - 0.01f * f;
        sample.power = static_cast<uint16_t>(30000 + i);
        sample.brake = static_cast<uint16_t>(i * 100);
        sample.speed = static_cast<uint16_t>(26000 + 3 * i);
        sample.rpm = static_cast<uint16_t>(36000 + 5 * i);
        sample.throttle = 65000;
        sample.steering = static_cast<uint16_t>(-1200 + static_cast<int>(i));
        sample.gear = static_cast<uint8_t>(1 + i % 6);
        sample.temperature = static_cast<uint8_t>(60 + i % 10);
        for (size_t channel = 0; channel < LapSample::kPoseChannels; ++channel)
        {
            sample.pose[channel] = 0.01f * static_cast<float>(channel) + f;
        }
        lap.samples.push_back(sample);
    }
    return lap;
}

std::unique_ptr<LapRecord> Record(const kit::LapFileContent& lap)
{
    auto record = std::make_unique<LapRecord>();
    record->InitRecording();
    for (const LapSample& sample : lap.samples)
    {
        record->AppendSample(sample, false);
    }
    record->header = lap.header;
    record->valid = lap.valid;
    record->times = lap.times;
    return record;
}

TEST(LapFileTest, StoresTheKitsBytesAndReadsThemBack)
{
    // An odd count puts the float arrays after the u16 and u8 arrays at unaligned offsets.
    for (const size_t count : {size_t{0}, size_t{1}, size_t{33}, size_t{5400}})
    {
        const kit::LapFileContent lap = MakeLap(count);
        const std::vector<uint8_t> bytes = kit::LapFileBytes(lap);
        ASSERT_EQ(bytes.size(), 40 + 112 * count);
        EXPECT_EQ(StoreLapFile(*Record(lap)), bytes) << count << " samples";

        auto loaded = std::make_unique<LapRecord>();
        ASSERT_TRUE(LoadLapFile(bytes, *loaded));
        EXPECT_EQ(loaded->sampleCount, static_cast<int32_t>(count));
        EXPECT_EQ(loaded->header, lap.header);
        EXPECT_EQ(loaded->times, lap.times);
        for (size_t i = 0; i < count; ++i)
        {
            ASSERT_EQ(loaded->Sample(static_cast<int32_t>(i)), lap.samples[i]) << "sample " << i;
        }
    }
}

TEST(LapFileTest, ReadingSetsWhereTheGhostFadesOut)
{
    auto record = std::make_unique<LapRecord>();
    ASSERT_TRUE(LoadLapFile(kit::LapFileBytes(MakeLap(32)), *record));
    EXPECT_EQ(record->ghostStart, 0);
    ASSERT_TRUE(LoadLapFile(kit::LapFileBytes(MakeLap(33)), *record));
    EXPECT_EQ(record->ghostStart, 1);
    ASSERT_TRUE(LoadLapFile(kit::LapFileBytes(MakeLap(100)), *record));
    EXPECT_EQ(record->ghostStart, 68);
}

TEST(LapFileTest, TheHeadAloneReadsOnlyTheFirstFortyBytes)
{
    std::vector<uint8_t> bytes = kit::LapFileBytes(MakeLap(5));
    bytes.resize(40);
    auto record = std::make_unique<LapRecord>();
    ASSERT_TRUE(LoadLapFileHead(bytes, *record));
    EXPECT_EQ(record->sampleCount, 5);
    EXPECT_EQ(record->times[3], 101250);
    EXPECT_EQ(record->groundX[0], 0.0f) << "no sample read";
    EXPECT_FALSE(LoadLapFile(bytes, *record)) << "the samples are missing";
}

// Damage to a lap file of the session, and what the pit box and a reader make of it.
struct DamageCase
{
    std::string name;
    std::function<void(std::vector<uint8_t>&)> damage;
    LapFileCheck check;
    bool loads;
};

void PrintTo(const DamageCase& c, std::ostream* out)
{
    *out << c.name;
}

class LapFileDamageTest : public testing::TestWithParam<DamageCase>
{
};

TEST_P(LapFileDamageTest, IsRefusedWithItsCode)
{
    const DamageCase& c = GetParam();
    const TestDirectory directory;
    std::vector<uint8_t> bytes = kit::LapFileBytes(MakeLap(40));
    c.damage(bytes);
    directory.WriteFile("tempdaten/Daten_Runde4.fhr", std::string(bytes.begin(), bytes.end()));

    EXPECT_EQ(CheckLapFile(4, nullptr), c.check);
    EXPECT_EQ(CheckLapFile(5, nullptr), LapFileCheck::Unusable) << "no such file";

    auto record = Record(MakeLap(3));
    const std::vector<uint8_t> before = StoreLapFile(*record);
    EXPECT_EQ(ReadLapFile(SessionLapPath(4), *record), c.loads);
    if (!c.loads)
    {
        EXPECT_EQ(StoreLapFile(*record), before) << "a refused file changes nothing";
    }
}

void SetLapTime(std::vector<uint8_t>& bytes, int32_t ms)
{
    StoreLe32(&bytes[36], static_cast<uint32_t>(ms));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LapFileDamageTest,
    testing::Values(
        DamageCase{"Whole", [](auto&) {}, LapFileCheck::Usable, true},
        DamageCase{"Empty", [](auto& b) { b.clear(); }, LapFileCheck::Unusable, false},
        DamageCase{"ShorterThanItsHead", [](auto& b) { b.resize(39); }, LapFileCheck::Unusable,
                   false},
        DamageCase{"SamplesCutShort", [](auto& b) { b.pop_back(); }, LapFileCheck::Unusable, false},
        DamageCase{"CountAboveAFullLap", [](auto& b) { StoreLe32(&b[0], 5401); },
                   LapFileCheck::Unusable, false},
        DamageCase{"CountWithTheSignBit", [](auto& b) { StoreLe32(&b[0], 0x80000028); },
                   LapFileCheck::Unusable, false},
        DamageCase{"NotValid", [](auto& b) { StoreLe32(&b[20], 0); }, LapFileCheck::Unusable, true},
        DamageCase{"LapOfTheLongestTime", [](auto& b) { SetLapTime(b, 216000); },
                   LapFileCheck::Usable, true},
        DamageCase{"LapTooLong", [](auto& b) { SetLapTime(b, 216001); }, LapFileCheck::Unusable,
                   true},
        DamageCase{"TrailingBytes", [](auto& b) { b.push_back(0xEE); }, LapFileCheck::Usable,
                   true}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

TEST(LapFileTest, ALapThatIsTheLoadedGhostIsToldApart)
{
    const TestDirectory directory;
    const kit::LapFileContent lap = MakeLap(50);
    std::string error;
    ASSERT_TRUE(kit::WriteLapFile("tempdaten/Daten_Runde2.fhr", lap, error)) << error;

    auto ghost = std::make_unique<LapRecord>();
    ASSERT_TRUE(ReadLapFile("Tempdaten/Daten_Runde2.fhr", *ghost)) << "folder case folded";
    EXPECT_EQ(CheckLapFile(2, ghost.get()), LapFileCheck::LoadedGhost);

    ghost->header[static_cast<size_t>(LapHeaderWord::Rider)] = 21;
    EXPECT_EQ(CheckLapFile(2, ghost.get()), LapFileCheck::Usable) << "another rider's lap";
    ghost->header[static_cast<size_t>(LapHeaderWord::Rider)] = 20;
    ghost->times[1] += 1;
    EXPECT_EQ(CheckLapFile(2, ghost.get()), LapFileCheck::Usable) << "another section time";
}

TEST(LapFileTest, GhostsTakeTheFirstFreeNumberUpTo199)
{
    const TestDirectory directory;
    auto record = Record(MakeLap(40));
    EXPECT_EQ(SaveAsGhost(*record, "Mine"), "save/ghost/Mine0.fhr") << "folder created";
    EXPECT_EQ(SaveAsGhost(*record, "Mine"), "save/ghost/Mine1.fhr");
    EXPECT_EQ(directory.ReadFile("save/ghost/Mine1.fhr"),
              directory.ReadFile("save/ghost/Mine0.fhr"));

    for (uint32_t number = 2; number < kGhostFileNumbers; ++number)
    {
        directory.WriteFile("save/ghost/Mine" + std::to_string(number) + ".fhr", "");
    }
    EXPECT_FALSE(SaveAsGhost(*record, "Mine").has_value()) << "all 200 names taken";
    EXPECT_FALSE(SaveAsGhost(*record, "../Mine").has_value());

    record->valid = 0;
    EXPECT_FALSE(SaveAsGhost(*record, "Other").has_value()) << "a lap not valid is no ghost";
    EXPECT_FALSE(files::Exists("save/ghost/Other0.fhr"));
}

TEST(LapRecordTest, RecordingSkipsAStandingBikeAndSpoilsAResetOrOverlongLap)
{
    auto record = std::make_unique<LapRecord>();
    record->InitRecording();
    LapSample sample;
    sample.groundX = 10.0f;
    record->AppendSample(sample, false);
    sample.groundX = 10.0009f;
    sample.groundZ = 0.0009f;
    record->AppendSample(sample, false);
    EXPECT_EQ(record->sampleCount, 1) << "moved less than 0.001 on both axes";
    sample.groundZ = 0.001f;
    record->AppendSample(sample, false);
    EXPECT_EQ(record->sampleCount, 2);
    EXPECT_EQ(record->valid, 1u);

    sample.groundZ = 5.0f;
    record->AppendSample(sample, true);
    EXPECT_EQ(record->sampleCount, 3) << "the sample is still stored";
    EXPECT_EQ(record->valid, 0u);

    record->Reset();
    EXPECT_EQ(record->sampleCount, 0);
    EXPECT_EQ(record->valid, 1u);
    for (int32_t i = 0; i <= LapRecord::kMaxSamples; ++i)
    {
        sample.groundX = static_cast<float>(i);
        record->AppendSample(sample, false);
    }
    EXPECT_EQ(record->sampleCount, LapRecord::kMaxSamples);
    EXPECT_EQ(record->valid, 0u) << "216 s and more";
}

}  // namespace
