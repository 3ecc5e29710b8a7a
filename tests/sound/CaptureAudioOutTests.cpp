#include <gtest/gtest.h>

#include <vector>

#include "platform/scripted/ScriptedPlatform.h"

namespace
{
TEST(CaptureAudioOut, RecordsEveryBufferAndPlaysInVirtualTime)
{
    ScriptedPlatform platform;
    std::unique_ptr<AudioOut> out = platform.OpenAudioOut({1000, 4});  // one frame per ms
    ASSERT_NE(out, nullptr);
    const std::vector<int16_t> buffer = {1, -1, 2, -2, 3, -3, 4, -4};  // 4 frames
    ASSERT_TRUE(out->Queue(buffer));
    ASSERT_TRUE(out->Queue(buffer));
    EXPECT_EQ(out->QueuedBytes(), 32u);
    platform.SleepMs(3);
    EXPECT_EQ(out->QueuedBytes(), 20u);
    platform.SleepMs(100);
    EXPECT_EQ(out->QueuedBytes(), 0u);
    // The device ran dry: the time it waited is not played off later buffers.
    ASSERT_TRUE(out->Queue(buffer));
    EXPECT_EQ(out->QueuedBytes(), 16u);
    platform.SleepMs(1);
    EXPECT_EQ(out->QueuedBytes(), 12u);

    const CapturedAudio& capture = platform.AudioCaptures().at(0);
    EXPECT_EQ(capture.format.sampleRate, 1000u);
    ASSERT_EQ(capture.buffers.size(), 3u);
    EXPECT_EQ(capture.buffers[2], buffer);
    EXPECT_TRUE(capture.open);
    out.reset();
    EXPECT_FALSE(platform.AudioCaptures().at(0).open);
}

TEST(CaptureAudioOut, KeepsFractionsOfFramesAcrossQueries)
{
    ScriptedPlatform platform;
    std::unique_ptr<AudioOut> out = platform.OpenAudioOut({22050, 256});
    ASSERT_TRUE(out->Queue(std::vector<int16_t>(2 * 1000)));
    for (int i = 0; i < 10; ++i)
    {
        platform.SleepMs(1);
        out->QueuedBytes();
    }
    EXPECT_EQ(out->QueuedBytes(), (1000u - 220u) * 4);  // 220.5 frames in 10 ms
}

TEST(CaptureAudioOut, OpensNothingWithoutADevice)
{
    ScriptedPlatform platform;
    platform.SetAudioDeviceAvailable(false);
    EXPECT_EQ(platform.OpenAudioOut({22050, 256}), nullptr);
    EXPECT_TRUE(platform.AudioCaptures().empty());
}
}  // namespace
