#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <string>
#include <thread>
#include <vector>

#include "kit/sound/WaveWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/WaveOutput.h"
#include "sound/WaveStream.h"
#include "tests/support/TestDirectory.h"

namespace
{
// The output's thread mixes block after block and the fill thread refills a short looping
// file, while the main thread sends commands and finally closes the stream.
TEST(WaveStreamStress, MixingFillingAndCommandsMeet)
{
    TestDirectory directory;
    std::vector<int16_t> samples(2 * 300, 1000);
    const std::vector<uint8_t> image = kit::BuildWaveImage(samples, 22050, 2);
    directory.WriteFile("short.wav", std::string(image.begin(), image.end()));
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::Pumped, 1024));
    WaveStream stream;
    ASSERT_TRUE(stream.Init(output));
    ASSERT_TRUE(stream.OpenFile("short.wav"));

    std::atomic<bool> stop{false};
    std::thread mixer(
        [&]
        {
            std::vector<float> block(512);
            for (uint32_t i = 0; !stop.load(); ++i)
            {
                stream.Calculate({block.data(), nullptr, 256, true, i * 11});
            }
        });
    for (int i = 0; i < 5000; ++i)
    {
        stream.PostCommand(kStreamVolume, std::bit_cast<uint32_t>(static_cast<float>(i % 10) / 10));
        stream.PostCommand(kStreamPitch, std::bit_cast<uint32_t>(11025.0f + static_cast<float>(i)));
        if (i % 500 == 0)
        {
            std::this_thread::yield();
        }
    }
    stop.store(true);
    mixer.join();
    stream.Close();
    EXPECT_EQ(stream.BufferedFrames(), 0u);
}
}  // namespace
