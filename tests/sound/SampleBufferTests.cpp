#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SoundRig.h"
#include "core/util/LittleEndian.h"
#include "kit/sound/WaveWriter.h"
#include "sound/WaveImage.h"
#include "tests/support/CaseNames.h"
#include "tests/support/TestDirectory.h"

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes Chunk(const char* id, const Bytes& payload)
{
    Bytes chunk(8);
    std::memcpy(chunk.data(), id, 4);
    StoreLe32(chunk.data() + 4, static_cast<uint32_t>(payload.size()));
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    if (payload.size() % 2 != 0)
    {
        chunk.push_back(0);
    }
    return chunk;
}

Bytes RiffForm(const std::vector<Bytes>& chunks)
{
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
    {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    return Chunk("RIFF", body);
}

Bytes FmtPayload(uint16_t formatTag)
{
    return {
        static_cast<uint8_t>(formatTag), 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0};
}

Bytes Pcm(const std::vector<int16_t>& values)
{
    Bytes bytes;
    for (const int16_t value : values)
    {
        bytes.push_back(static_cast<uint8_t>(value));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8));
    }
    return bytes;
}

TEST(SampleBuffer, LoadsACanonicalWaveImage)
{
    const std::vector<int16_t> values = Ramp(1000, 37);
    SampleBuffer sample;
    ASSERT_TRUE(sample.LoadFromMemory(kit::BuildWaveImage(values, 22050)));
    EXPECT_EQ(sample.GetSampleCount(), 1000u);
    EXPECT_EQ(sample.GetLoopStart(), 0u);
    EXPECT_EQ(sample.GetLoopEnd(), 1000u);
    EXPECT_EQ(sample.GetDataSize(), 4000u);
    EXPECT_EQ(sample.GetFlags(), 0u);
    for (size_t i = 0; i < values.size(); ++i)
    {
        ASSERT_EQ(sample.GetData()[i], static_cast<float>(values[i]));
    }
}

TEST(SampleBuffer, KeepsTheSixteenBitScale)
{
    const SampleBuffer sample = MakeSample({-12345, -32768, 32767, 0});
    EXPECT_EQ(std::vector<float>(sample.GetData().begin(), sample.GetData().end()),
              (std::vector<float>{-12345.0f, -32768.0f, 32767.0f, 0.0f}));
}

// Images whose sizes do not fit their bytes, or whose data is not PCM, load nothing.
TEST(SampleBuffer, RefusesBadImagesAndStaysEmpty)
{
    const Bytes good = kit::BuildWaveImage(Ramp(8, 1), 22050);
    Bytes nonPcm = good;
    nonPcm[20] = 3;
    Bytes dataTooLong = good;
    StoreLe32(dataTooLong.data() + 40, 18);
    Bytes fmtTooLong = good;
    StoreLe32(fmtTooLong.data() + 16, 0xFFFFFFF0);
    Bytes fmtTooShort = good;
    StoreLe32(fmtTooShort.data() + 16, 1);
    const Bytes truncatedHeader(good.begin(), good.begin() + 40);

    for (const Bytes& image :
         {nonPcm, dataTooLong, fmtTooLong, fmtTooShort, truncatedHeader, Bytes{}})
    {
        SampleBuffer sample = MakeSample({1, 2, 3});
        EXPECT_FALSE(sample.LoadFromMemory(image));
        EXPECT_FALSE(sample.HasData());
        EXPECT_EQ(sample.GetSampleCount(), 0u);
        EXPECT_EQ(sample.GetLoopEnd(), 0u);
    }
}

TEST(SampleBuffer, TakesTheDataChunkRightAfterTheFmtPayloadWhateverItsId)
{
    Bytes image = kit::BuildWaveImage(std::vector<int16_t>{7, 8, 9}, 22050);
    std::memcpy(image.data(), "XXXX", 4);
    std::memcpy(image.data() + 36, "junk", 4);
    const SampleBuffer sample = [&]
    {
        SampleBuffer loaded;
        EXPECT_TRUE(loaded.LoadFromMemory(image));
        return loaded;
    }();
    EXPECT_EQ(sample.GetSampleCount(), 3u);
    EXPECT_EQ(sample.GetData()[2], 9.0f);
}

TEST(SampleBuffer, InterleavesValueAndSlopeAndBack)
{
    SampleBuffer sample = MakeSample({1, 4, 2});
    EXPECT_FALSE(sample.SetInterleaved(false));
    ASSERT_TRUE(sample.SetInterleaved(true));
    EXPECT_TRUE(sample.IsInterleaved());
    EXPECT_EQ(std::vector<float>(sample.GetData().begin(), sample.GetData().end()),
              (std::vector<float>{1, 3, 4, -2, 2, 0}));
    EXPECT_EQ(sample.GetSampleCount(), 3u);
    EXPECT_FALSE(sample.SetInterleaved(true));
    ASSERT_TRUE(sample.SetInterleaved(false));
    EXPECT_EQ(std::vector<float>(sample.GetData().begin(), sample.GetData().end()),
              (std::vector<float>{1, 4, 2}));
}

struct LoopCase
{
    uint32_t start;
    uint32_t end;
    uint32_t expectedStart;
    uint32_t expectedEnd;
};

class SampleLoopTest : public ::testing::TestWithParam<LoopCase>
{
};

// Loop points always lie inside the sample, the start before the end.
TEST_P(SampleLoopTest, KeepsTheLoopInsideTheSample)
{
    SampleBuffer sample = MakeSample(std::vector<int16_t>(1000, 1));
    sample.SetLoop(GetParam().start, GetParam().end);
    EXPECT_EQ(sample.GetLoopStart(), GetParam().expectedStart);
    EXPECT_EQ(sample.GetLoopEnd(), GetParam().expectedEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Loops, SampleLoopTest,
    ::testing::Values(LoopCase{500, 0, 500, 1000}, LoopCase{0, 0, 0, 1000},
                      LoopCase{100, 600, 100, 600}, LoopCase{31195, 0, 999, 1000},
                      LoopCase{700, 600, 599, 600}, LoopCase{10, 5000, 10, 1000}),
    [](const ::testing::TestParamInfo<LoopCase>& info)
    { return "From" + std::to_string(info.param.start) + "To" + std::to_string(info.param.end); });

TEST(SampleBuffer, FreeDropsDataAndLoopButKeepsTheFlags)
{
    SampleBuffer sample = MakeSample({1, 2});
    sample.SetInterleaved(true);
    sample.Free();
    EXPECT_FALSE(sample.HasData());
    EXPECT_EQ(sample.GetSampleCount(), 0u);
    EXPECT_EQ(sample.GetLoopEnd(), 0u);
    EXPECT_TRUE(sample.IsInterleaved());
}

TEST(RiffWave, FindsChunksWhereverTheyLie)
{
    const Bytes file = RiffForm({Chunk("LIST", {'a', 'b', 'c'}), Chunk("fmt ", FmtPayload(1)),
                                 Chunk("fact", {1, 0, 0, 0}), Chunk("data", Pcm({5, -6, 7}))});
    std::vector<float> samples;
    ASSERT_TRUE(ParseRiffWave(file, samples));
    EXPECT_EQ(samples, (std::vector<float>{5, -6, 7}));
}

TEST(RiffWave, RefusesFilesWithoutTheirPieces)
{
    const std::vector<Bytes> files = {
        RiffForm({Chunk("data", Pcm({1})), Chunk("fmt ", FmtPayload(1))}),  // data before fmt
        RiffForm({Chunk("fmt ", FmtPayload(1))}),
        RiffForm({Chunk("fmt ", FmtPayload(2)), Chunk("data", Pcm({1}))}),
        Chunk("RIFX", {'W', 'A', 'V', 'E'}),
        Bytes{'R', 'I', 'F', 'F'},
    };
    for (const Bytes& file : files)
    {
        std::vector<float> samples = {1.0f};
        EXPECT_FALSE(ParseRiffWave(file, samples));
        EXPECT_TRUE(samples.empty());
    }
    // A data chunk that claims more than the file holds.
    const Bytes whole = RiffForm({Chunk("fmt ", FmtPayload(1)), Chunk("data", Pcm({1, 2, 3, 4}))});
    const Bytes cut(whole.begin(), whole.end() - 2);
    std::vector<float> samples;
    EXPECT_FALSE(ParseRiffWave(cut, samples));
}

TEST(RiffWave, LoadsAFileFromTheDisk)
{
    const TestDirectory directory;
    const Bytes file = RiffForm({Chunk("fmt ", FmtPayload(1)), Chunk("data", Pcm({3, 2, 1}))});
    directory.WriteFile("Sound/Click.wav", std::string(file.begin(), file.end()));
    SampleBuffer sample;
    ASSERT_TRUE(sample.LoadFromFile("sound\\click.WAV"));
    EXPECT_EQ(sample.GetSampleCount(), 3u);
    EXPECT_EQ(sample.GetData()[0], 3.0f);
    EXPECT_FALSE(sample.LoadFromFile("sound/missing.wav"));
    EXPECT_FALSE(sample.HasData());
}
}  // namespace
