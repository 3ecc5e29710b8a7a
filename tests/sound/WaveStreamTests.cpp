#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "SoundRig.h"
#include "kit/sound/WaveWriter.h"
#include "sound/WaveStream.h"
#include "tests/support/TestDirectory.h"

namespace
{
// A stereo file of `frames` frames: left i, right -i.
void WriteStereoRamp(const TestDirectory& directory, const std::string& name, int frames)
{
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i)
    {
        samples.push_back(static_cast<int16_t>(i));
        samples.push_back(static_cast<int16_t>(-i));
    }
    const std::vector<uint8_t> image = kit::BuildWaveImage(samples, SoundRig::kRate, 2);
    directory.WriteFile(name, std::string(image.begin(), image.end()));
}

class WaveStreamTest : public testing::Test
{
protected:
    WaveStreamTest() { WriteStereoRamp(directory_, "stream.wav", 1000); }
    ~WaveStreamTest() override { stream_.Close(); }

    TestDirectory directory_;
    SoundRig rig_;
    WaveStream stream_;
};

TEST_F(WaveStreamTest, PlaysTheFileOverAndOverAtItsRate)
{
    ASSERT_TRUE(stream_.Init(rig_.output));
    ASSERT_TRUE(stream_.OpenFile("stream.wav"));
    EXPECT_EQ(stream_.BufferedFrames(), 16384u);  // the ring is full at once
    const std::vector<float> heard = rig_.RenderBlocks(stream_, 5);
    for (size_t frame = 0; frame < heard.size() / 2; ++frame)
    {
        const float value = static_cast<float>(frame % 1000);
        ASSERT_EQ(heard[2 * frame], value * 0.5f) << frame;
        ASSERT_EQ(heard[2 * frame + 1], -value * 0.5f) << frame;
    }
}

TEST_F(WaveStreamTest, CommandsChangeItAtTheirTime)
{
    ASSERT_TRUE(stream_.Init(rig_.output));
    ASSERT_TRUE(stream_.OpenFile("stream.wav"));
    ASSERT_TRUE(rig_.output.Start());  // commands are stamped with the play position, 11 ms
    ASSERT_TRUE(stream_.PostCommand(kStreamPan, std::bit_cast<uint32_t>(-1.0f)));
    ASSERT_TRUE(stream_.PostCommand(kStreamPitch, std::bit_cast<uint32_t>(2.0f * SoundRig::kRate)));
    const std::vector<float> first = rig_.Render(stream_, 0);
    EXPECT_EQ(first[2 * 255 + 1], -255.0f * 0.5f);
    const std::vector<float> second = rig_.Render(stream_, 11);
    EXPECT_EQ(second[0], 256.0f);  // all on the left
    EXPECT_EQ(second[1], 0.0f);
    EXPECT_EQ(second[2], 258.0f);  // twice as fast
    EXPECT_FALSE(stream_.PostCommand(9, 0));
}

TEST_F(WaveStreamTest, RefusesWhatItCannotPlay)
{
    EXPECT_FALSE(stream_.OpenFile("stream.wav"));  // not initialised
    ASSERT_TRUE(stream_.Init(rig_.output));
    EXPECT_FALSE(stream_.Init(rig_.output));
    const std::vector<uint8_t> mono = kit::BuildWaveImage(std::vector<int16_t>(100), 22050);
    directory_.WriteFile("mono.wav", std::string(mono.begin(), mono.end()));
    directory_.WriteFile("cut.wav", std::string(mono.begin(), mono.begin() + 30));
    EXPECT_FALSE(stream_.OpenFile("mono.wav"));
    EXPECT_FALSE(stream_.OpenFile("cut.wav"));
    EXPECT_FALSE(stream_.OpenFile("missing.wav"));
    ASSERT_TRUE(stream_.OpenFile("stream.wav"));
    EXPECT_FALSE(stream_.OpenFile("stream.wav"));
    stream_.CloseFile();
    EXPECT_TRUE(stream_.OpenFile("stream.wav"));
}
}  // namespace
