// What every race step rests on: the record's network state, the shared random table and the
// simulation's maths.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "core/util/RuntimeRandom.h"
#include "race/BikeRecord.h"
#include "race/RandomTable.h"
#include "race/SimMath.h"

namespace
{
void SetWord(BikeRecord& record, size_t word, uint32_t value)
{
    std::memcpy(reinterpret_cast<std::byte*>(&record) + 4 * word, &value, sizeof value);
}

TEST(BikeRecordStateTest, TheChecksumSumsExactlyTheNinetyTwoWordsBehindIt)
{
    auto record = std::make_unique<BikeRecord>();
    std::memset(record.get(), 0, sizeof(BikeRecord));
    const size_t checksumWord = BikeRecord::kChecksumOffset / 4;
    SetWord(*record, checksumWord - 1, 1000);  // the engine voice: not summed
    SetWord(*record, checksumWord, 2000);      // the checksum itself: not summed
    SetWord(*record, checksumWord + 1, 0xFFFFFFFF);
    SetWord(*record, checksumWord + 92, 5);
    SetWord(*record, checksumWord + 93, 7000);  // the first word past the state block
    EXPECT_EQ(record->StateChecksum(), 4u) << "wrapping sum of 0xFFFFFFFF and 5";

    record->crashTumbleAngles[1] = 1.0f;  // the last summed word
    EXPECT_EQ(record->StateChecksum(), 0x3F800000u - 1);
}

TEST(BikeRecordStateTest, TheBlocksBeginAtTheChecksumWord)
{
    auto record = std::make_unique<BikeRecord>();
    EXPECT_EQ(record->StateBlock().data(), reinterpret_cast<std::byte*>(&record->checksum));
    EXPECT_EQ(record->StateBlock().size(), 372u);
    EXPECT_EQ(record->SnapshotBlock().size(), 1556u);
    EXPECT_EQ(record->SnapshotBlock().data() + record->SnapshotBlock().size(),
              reinterpret_cast<std::byte*>(&record->figureSwapFlag));
}

TEST(RandomTableTest, HoldsTheRuntimeSequenceAndRepeatsItsFirstWords)
{
    RuntimeSeed(1);
    RandomTable table;
    table.Fill();
    EXPECT_EQ(table.words[0], 41u);
    EXPECT_EQ(table.words[1], 18467u);
    EXPECT_EQ(table.words[4], 19169u);
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(table.words[256 + i], table.words[i]);
    }
    EXPECT_EQ(table.At(256 + 3), table.words[3]);
    EXPECT_EQ(table.Next(255), table.words[0]);
    EXPECT_TRUE(std::all_of(table.words.begin(), table.words.end(),
                            [](uint32_t word) { return word <= 0x7FFF; }));
}

TEST(SimMathTest, InverseFunctionsTakeRoundingSlipsAtTheirEnds)
{
    EXPECT_EQ(sim::Acos(1.0000001f), 0.0f);
    EXPECT_FLOAT_EQ(sim::Acos(-1.5f), sim::kPi);
    EXPECT_FLOAT_EQ(sim::Asin(2.0f), sim::kPi / 2);
    EXPECT_TRUE(std::isnan(sim::Sqrt(-1.0f)));
    EXPECT_EQ(sim::Sqrt(2.25f), 1.5f);
}

TEST(SimMathTest, AnglesWrapIntoTheirRanges)
{
    const struct
    {
        float angle, wrapped, signedAngle;
    } cases[] = {
        {0.5f, 0.5f, 0.5f},
        {-0.5f, sim::kTwoPi - 0.5f, -0.5f},
        {sim::kTwoPi + 1.0f, 1.0f, 1.0f},
        {4.0f, 4.0f, 4.0f - sim::kTwoPi},
        {-3.0f * sim::kTwoPi - 0.25f, sim::kTwoPi - 0.25f, -0.25f},
    };
    for (const auto& c : cases)
    {
        EXPECT_NEAR(sim::WrapAngle(c.angle), c.wrapped, 2e-6f) << c.angle;
        EXPECT_NEAR(sim::WrapSigned(c.angle), c.signedAngle, 2e-6f) << c.angle;
    }
}
}  // namespace
