#include <gtest/gtest.h>

#include <vector>

#include "SoundRig.h"
#include "sound/Sampler.h"
#include "tests/support/CaseNames.h"

namespace
{
struct Format
{
    uint32_t rate;
    uint32_t bufferBytes;
    uint32_t frames;
    int32_t periodMs;
};

class WaveOutputFormatTest : public ::testing::TestWithParam<Format>
{
};

TEST_P(WaveOutputFormatTest, DerivesFramesAndPeriod)
{
    WaveOutput output;
    EXPECT_EQ(output.GetPeriodMs(), -1);
    ASSERT_TRUE(output.Init(GetParam().rate, WaveDriveMode::Pumped, GetParam().bufferBytes));
    EXPECT_EQ(output.GetFramesPerBuffer(), GetParam().frames);
    EXPECT_EQ(output.GetPeriodMs(), GetParam().periodMs);
    output.Shutdown();
    EXPECT_EQ(output.GetPeriodMs(), -1);
}

INSTANTIATE_TEST_SUITE_P(GameFormats, WaveOutputFormatTest,
                         ::testing::Values(Format{22050, 1024, 256, 11}, Format{44100, 256, 64, 1},
                                           Format{11000, 4096, 1024, 93},
                                           Format{44100, 2048, 512, 11}),
                         [](const ::testing::TestParamInfo<Format>& info)
                         {
                             return "Rate" + std::to_string(info.param.rate) + "Buffer" +
                                    std::to_string(info.param.bufferBytes);
                         });

TEST(WaveOutput, RefusesASecondInitAndFormatsWithoutAWholePeriod)
{
    WaveOutput output;
    EXPECT_FALSE(output.Init(0, WaveDriveMode::Pumped, 1024));
    EXPECT_FALSE(output.Init(22050, WaveDriveMode::Pumped, 2));
    EXPECT_FALSE(output.Init(44100, WaveDriveMode::Pumped, 128));  // 32 frames: under 1 ms
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::Pumped, 1024));
    EXPECT_FALSE(output.Init(44100, WaveDriveMode::Pumped, 256));
    EXPECT_EQ(output.GetPeriodMs(), 11);
    EXPECT_EQ(output.GetSampleRate(), 22050u);
}

TEST(WaveOutput, StartsOnlyWithRootAndDevice)
{
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    EXPECT_FALSE(output.Start());
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::Pumped, 1024));
    EXPECT_FALSE(output.Start());  // no root yet
    PcmOutputNode root;
    ASSERT_TRUE(root.AttachOutput(output));
    platform.SetAudioDeviceAvailable(false);
    EXPECT_FALSE(output.Start());
    EXPECT_FALSE(output.IsPlaying());
    EXPECT_TRUE(output.MixBuffer());  // nothing to do, nothing mixed
    EXPECT_EQ(output.GetBuffersMixed(), 0u);
    platform.SetAudioDeviceAvailable(true);
    EXPECT_TRUE(output.Start());
    ASSERT_EQ(platform.AudioCaptures().size(), 1u);
    EXPECT_EQ(platform.AudioCaptures()[0].format.sampleRate, 22050u);
    EXPECT_EQ(platform.AudioCaptures()[0].format.bufferFrames, 256u);
}

TEST(WaveOutput, OpensTheDeviceAloneWithoutPlaying)
{
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    EXPECT_FALSE(output.OpenDevice());  // not initialised
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::Pumped, 1024));
    platform.SetAudioDeviceAvailable(false);
    EXPECT_FALSE(output.OpenDevice());
    platform.SetAudioDeviceAvailable(true);
    ASSERT_TRUE(output.OpenDevice());
    ASSERT_TRUE(output.OpenDevice());  // open already: the same device
    ASSERT_EQ(platform.AudioCaptures().size(), 1u);
    EXPECT_TRUE(platform.AudioCaptures()[0].open);
    EXPECT_FALSE(output.IsPlaying());
    EXPECT_TRUE(output.MixBuffer());
    EXPECT_EQ(output.GetBuffersMixed(), 0u);

    PcmOutputNode root;
    ASSERT_TRUE(root.AttachOutput(output));
    ASSERT_TRUE(output.Start());
    EXPECT_EQ(platform.AudioCaptures().size(), 1u) << "Start plays on the device already open";
    EXPECT_TRUE(output.MixBuffer());
    EXPECT_EQ(output.GetBuffersMixed(), 1u);
}

// A node that notes what the output says while the node produces its block.
class MixingProbe : public AudioNode
{
public:
    explicit MixingProbe(const WaveOutput& output)
        : AudioNode(AudioNodeType::Mixer), output_(output)
    {
    }
    bool Calculate(const AudioBlock& block) override
    {
        mixingSeen = output_.IsMixing();
        return AudioNode::Calculate(block);
    }
    bool mixingSeen = false;

private:
    const WaveOutput& output_;
};

TEST(WaveOutput, IsMixingOnlyWhileTheRootProducesABlock)
{
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::Pumped, 1024));
    MixingProbe probe(output);
    ASSERT_TRUE(output.AttachRoot(&probe));
    ASSERT_TRUE(output.Start());
    EXPECT_FALSE(output.IsMixing());
    ASSERT_TRUE(output.MixBuffer());
    EXPECT_TRUE(probe.mixingSeen);
    EXPECT_FALSE(output.IsMixing());
}

TEST(WaveOutput, KeepsAtMostSixteenBuffersQueued)
{
    SoundRig rig;
    ASSERT_TRUE(rig.output.Start());
    for (int i = 0; i < 16; ++i)
    {
        ASSERT_TRUE(rig.output.MixBuffer()) << i;
    }
    EXPECT_FALSE(rig.output.MixBuffer());
    EXPECT_EQ(rig.output.GetBuffersMixed(), 16u);
    EXPECT_EQ(rig.platform.AudioCaptures()[0].buffers.size(), 16u);

    // Once the device has played the oldest buffer, its slot is mixed again.
    rig.platform.SleepMs(11);
    EXPECT_FALSE(rig.output.MixBuffer());  // 242.55 frames played: not yet the whole buffer
    rig.platform.SleepMs(1);
    EXPECT_TRUE(rig.output.MixBuffer());
    EXPECT_EQ(rig.output.GetBuffersMixed(), 17u);
}

TEST(WaveOutput, PlayPositionLiesAPeriodAheadAndNeverGoesBack)
{
    SoundRig rig;
    EXPECT_EQ(rig.output.GetPlayPosition(), 0u);
    ASSERT_TRUE(rig.output.Start());
    EXPECT_EQ(rig.output.GetPlayPosition(), 11u);
    rig.platform.SleepMs(5);
    EXPECT_EQ(rig.output.GetPlayPosition(), 16u);
    ASSERT_TRUE(rig.output.MixBuffer());  // the clock reaches 11 at 5 ms
    EXPECT_EQ(rig.output.GetPlayPosition(), 22u);
    EXPECT_EQ(rig.output.GetPlayPosition(), 22u);
    rig.platform.SleepMs(20);
    EXPECT_EQ(rig.output.GetPlayPosition(), 42u);
    ASSERT_TRUE(rig.output.MixBuffer());  // 22 + 11 would be earlier than 42
    EXPECT_EQ(rig.output.GetPlayPosition(), 42u);
    for (int i = 0; i < 3; ++i)
    {
        rig.output.MixBuffer();
    }
    EXPECT_EQ(rig.output.GetPlayPosition(), 66u);
}

TEST(WaveOutput, MixesButQueuesNothingWhileHeld)
{
    SoundRig rig;
    Sampler sampler;
    ASSERT_TRUE(sampler.Connect(rig.output));
    ASSERT_TRUE(rig.root.Attach(&sampler));
    ASSERT_TRUE(rig.output.Start());
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(10000, 500));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, 0.0f, SoundRig::kRate, 0));

    rig.output.Hold(true);
    rig.output.Hold(true);
    for (int i = 0; i < 20; ++i)
    {
        EXPECT_TRUE(rig.output.MixBuffer());
    }
    rig.output.Hold(false);
    EXPECT_TRUE(rig.output.MixBuffer());
    EXPECT_TRUE(rig.platform.AudioCaptures()[0].buffers.empty());
    rig.output.Hold(false);
    EXPECT_TRUE(rig.output.MixBuffer());
    EXPECT_EQ(rig.output.GetBuffersMixed(), 22u);
    ASSERT_EQ(rig.platform.AudioCaptures()[0].buffers.size(), 1u);
    // The events were consumed while held: the voice plays on.
    EXPECT_EQ(rig.platform.AudioCaptures()[0].buffers[0][0], 250);
}

TEST(WaveOutput, StopClosesTheDeviceAndStartOpensANewOne)
{
    SoundRig rig;
    ASSERT_TRUE(rig.output.Start());
    rig.output.MixBuffer();
    rig.output.MixBuffer();
    rig.output.Stop();
    EXPECT_FALSE(rig.platform.AudioCaptures()[0].open);
    EXPECT_EQ(rig.output.GetPlayPosition(), 0u);
    EXPECT_TRUE(rig.output.MixBuffer());
    EXPECT_EQ(rig.output.GetBuffersMixed(), 2u);

    ASSERT_TRUE(rig.output.Start());
    ASSERT_EQ(rig.platform.AudioCaptures().size(), 2u);
    EXPECT_EQ(rig.output.GetBuffersMixed(), 0u);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_TRUE(rig.output.MixBuffer()) << "the new device starts with an empty queue";
    }
}

// A suspension (as around a movie) must not leave events that were queued before it waiting
// for a restarted clock to catch up with their time stamps.
TEST(WaveOutput, ResumesTheStreamWhereItStopped)
{
    SoundRig rig;
    Sampler sampler;
    ASSERT_TRUE(sampler.Connect(rig.output));
    ASSERT_TRUE(rig.root.Attach(&sampler));
    ASSERT_TRUE(rig.output.Start());
    for (int i = 0; i < 100; ++i)
    {
        while (!rig.output.MixBuffer())
        {
            rig.platform.SleepMs(1);
        }
    }
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, SoundRig::kRate, 0));
    rig.output.Stop();
    ASSERT_TRUE(rig.output.Start());
    EXPECT_EQ(rig.output.GetPlayPosition(), 100u * 11 + 11);
    rig.output.MixBuffer();
    rig.output.MixBuffer();
    const std::vector<int16_t>& heard = rig.platform.AudioCaptures()[1].buffers[1];
    EXPECT_EQ(heard[0], 1000);

    // A new Init starts a new stream.
    rig.output.Shutdown();
    ASSERT_TRUE(rig.output.Init(SoundRig::kRate, WaveDriveMode::Pumped, SoundRig::kBufferBytes));
    ASSERT_TRUE(rig.output.Start());
    EXPECT_EQ(rig.output.GetPlayPosition(), 11u);
}

TEST(WaveOutput, PumpMixesOnlyWhenInitialised)
{
    SoundRig rig;
    ASSERT_TRUE(rig.output.Start());
    rig.output.Pump();
    EXPECT_EQ(rig.output.GetBuffersMixed(), 1u);
    rig.output.Shutdown();
    rig.output.Pump();
    EXPECT_FALSE(rig.output.IsPlaying());
    EXPECT_FALSE(rig.platform.AudioCaptures()[0].open);
}
}  // namespace

namespace
{
TEST(WaveOutput, TheNewestOutputIsTheGamesUntilItGoes)
{
    auto first = std::make_unique<WaveOutput>();
    EXPECT_EQ(g_waveOutput.load(), first.get());
    {
        WaveOutput second;
        EXPECT_EQ(g_waveOutput.load(), &second);
    }
    EXPECT_EQ(g_waveOutput.load(), nullptr);
    first.reset();
    EXPECT_EQ(g_waveOutput.load(), nullptr);
}

// Mode 1: a timer of its own mixes one buffer per period, announced and killed with a box.
TEST(WaveOutput, ItsOwnTimerMixesEveryPeriod)
{
    SoundRig rig;
    WaveOutput output;
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::OwnTimer, 1024));
    PcmOutputNode root;
    ASSERT_TRUE(root.AttachOutput(output));
    ASSERT_TRUE(output.Start());
    ASSERT_EQ(rig.platform.MessageBoxes().size(), 1u);
    EXPECT_EQ(rig.platform.MessageBoxes()[0].rfind("VolloTimer started :", 0), 0u);
    rig.platform.SleepMs(110);
    EXPECT_EQ(output.GetBuffersMixed(), 10u);
    EXPECT_EQ(g_lastPumpMs.load(), 110u);
    output.Shutdown();
    EXPECT_EQ(rig.platform.MessageBoxes().back(), "VolloTimer killed");
    rig.platform.SleepMs(110);
    EXPECT_EQ(output.GetBuffersMixed(), 10u);
}
}  // namespace
