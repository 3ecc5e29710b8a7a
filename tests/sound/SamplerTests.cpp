#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "SoundRig.h"
#include "sound/Sampler.h"
#include "tests/support/CaseNames.h"

namespace
{
constexpr float kRate = static_cast<float>(SoundRig::kRate);
// Events sent before the first mix are stamped one period ahead: they are heard from the
// second block on.
constexpr size_t kFirstHeardFrame = 256;

// A sampler under the output's root, played through the capture device.
class SamplerTest : public ::testing::Test
{
protected:
    SamplerTest()
    {
        EXPECT_TRUE(sampler.Connect(rig.output));
        EXPECT_TRUE(rig.root.Attach(&sampler));
        EXPECT_TRUE(rig.output.Start());
    }

    // Mixes blocks, waiting for the device whenever its queue is full; returns everything
    // captured so far.
    std::vector<int16_t> Mix(int blocks)
    {
        for (int i = 0; i < blocks; ++i)
        {
            while (!rig.output.MixBuffer())
            {
                rig.platform.SleepMs(1);
            }
        }
        return rig.CapturedPcm();
    }

    // One channel of the captured stream from a frame on.
    static std::vector<int> ChannelFrom(const std::vector<int16_t>& pcm, size_t frame, size_t count,
                                        int channel = 0)
    {
        std::vector<int> values;
        for (size_t i = frame; i < frame + count && 2 * i < pcm.size(); ++i)
        {
            values.push_back(pcm[2 * i + static_cast<size_t>(channel)]);
        }
        return values;
    }

    SoundRig rig;
    Sampler sampler;
};

struct PitchCase
{
    float ratio;  // playback pitch over the output rate
    size_t expectedFrames;
};

class SamplerPitchTest : public SamplerTest, public ::testing::WithParamInterface<PitchCase>
{
};

TEST_P(SamplerPitchTest, PlaysTheSampleAtItsLengthAndValues)
{
    const std::vector<int16_t> values = Ramp(300, 10);
    const SampleBuffer sample = MakeSample(values);
    ASSERT_TRUE(sampler.PlaySampleBuffer(sample, 1.0f, -1.0f, kRate * GetParam().ratio, 0));
    const std::vector<int16_t> pcm = Mix(5);

    std::vector<int> expected;
    for (size_t k = 0; k < GetParam().expectedFrames; ++k)
    {
        expected.push_back(values[static_cast<size_t>(static_cast<float>(k) * GetParam().ratio)]);
    }
    expected.resize(expected.size() + 50, 0);  // and silence after it
    EXPECT_EQ(ChannelFrom(pcm, kFirstHeardFrame, expected.size()), expected);
    EXPECT_EQ(ChannelFrom(pcm, kFirstHeardFrame, expected.size(), 1),
              std::vector<int>(expected.size(), 0));
    EXPECT_FALSE(sampler.IsVoiceActive(0));
}

INSTANTIATE_TEST_SUITE_P(Pitches, SamplerPitchTest,
                         ::testing::Values(PitchCase{1.0f, 300}, PitchCase{2.0f, 150},
                                           PitchCase{0.5f, 600}, PitchCase{0.75f, 400}),
                         [](const ::testing::TestParamInfo<PitchCase>& info)
                         { return "Ratio" + case_names::Number(info.param.ratio); });

TEST_F(SamplerTest, InterpolatesAnInterleavedSample)
{
    SampleBuffer sample = MakeSample({100, 300, 200, 0});
    ASSERT_TRUE(sample.SetInterleaved(true));
    ASSERT_TRUE(sampler.PlaySampleBuffer(sample, 1.0f, -1.0f, kRate * 0.5f, 0));
    EXPECT_EQ(ChannelFrom(Mix(3), kFirstHeardFrame, 9),
              (std::vector<int>{100, 200, 300, 250, 200, 100, 0, 0, 0}));
}

// The first pass runs to the loop end, then the loop repeats; a position that ends between
// two samples carries over, so the loop has no seam.
TEST_F(SamplerTest, LoopsSeamlessly)
{
    const std::vector<int16_t> values = Ramp(200, 1);
    SampleBuffer sample = MakeSample(values);
    sample.SetLoop(120, 180);
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate * 0.75f, 0));
    const std::vector<int16_t> pcm = Mix(10);

    constexpr uint32_t kStep = 192;
    std::vector<int> expected;
    for (uint32_t k = 0; k < 2000; ++k)
    {
        const uint32_t position = k * kStep;
        const uint32_t index = position < 180 * 256
                                   ? position >> 8
                                   : 120 + (((position - 180 * 256) % (60 * 256)) >> 8);
        expected.push_back(values[index]);
    }
    EXPECT_EQ(ChannelFrom(pcm, kFirstHeardFrame, expected.size()), expected);
    EXPECT_TRUE(sampler.IsVoiceActive(0));
}

struct GainCase
{
    float volume;
    float pan;
    float gain;
    int left;
    int right;
};

class SamplerGainTest : public SamplerTest, public ::testing::WithParamInterface<GainCase>
{
};

TEST_P(SamplerGainTest, SplitsVolumeAndGainByPan)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(400, 1000));
    sampler.SetGain(GetParam().gain);
    ASSERT_TRUE(sampler.PlaySampleBuffer(sample, GetParam().volume, GetParam().pan, kRate, 0));
    const std::vector<int16_t> pcm = Mix(2);
    EXPECT_EQ(pcm[2 * kFirstHeardFrame], GetParam().left);
    EXPECT_EQ(pcm[2 * kFirstHeardFrame + 1], GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(
    Gains, SamplerGainTest,
    ::testing::Values(GainCase{1.0f, -1.0f, 1.0f, 1000, 0}, GainCase{1.0f, 0.0f, 1.0f, 500, 500},
                      GainCase{0.5f, 1.0f, 1.0f, 0, 500}, GainCase{1.0f, 0.5f, 0.5f, 125, 375},
                      GainCase{1.0f, -2.0f, 1.0f, 1500, 0}, GainCase{0.8f, -1.0f, 0.7f, 560, 0}),
    [](const ::testing::TestParamInfo<GainCase>& info)
    {
        return "Volume" + case_names::Number(info.param.volume) + "Pan" +
               case_names::Number(info.param.pan) + "Gain" + case_names::Number(info.param.gain);
    });

TEST_F(SamplerTest, AppliesTheGainThatHoldsWhenAVolumeEventRuns)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    Mix(2);
    sampler.SetGain(0.5f);
    Mix(2);
    ASSERT_TRUE(sampler.SetVolPitchPan(0, 1.0f, kRate, -1.0f));
    const std::vector<int16_t> pcm = Mix(2);
    EXPECT_EQ(pcm[2 * 3 * 256], 1000);  // the gain alone changes nothing
    EXPECT_EQ(pcm[2 * 5 * 256], 500);
}

TEST_F(SamplerTest, VolumeZeroSilencesAVoiceWhoseLoopRunsOn)
{
    const SampleBuffer sample = MakeSample(Ramp(3000, 1));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    Mix(2);  // heard from block 1
    ASSERT_TRUE(sampler.SetVolPitchPan(0, 0.0f, kRate, -1.0f));
    Mix(1);  // block 2 still plays; the event falls on block 3
    ASSERT_TRUE(sampler.SetVolPitchPan(0, 1.0f, kRate, -1.0f));
    const std::vector<int16_t> pcm = Mix(2);
    EXPECT_EQ(ChannelFrom(pcm, 3 * 256, 256), std::vector<int>(256, 0));
    EXPECT_EQ(pcm[2 * 4 * 256], 3 * 256);  // block 4 goes on where the position got to
}

TEST_F(SamplerTest, EventsTakeEffectAtTheirTimeStamps)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));  // at 11 ms
    rig.platform.SleepMs(3);
    ASSERT_TRUE(sampler.SetVolPitchPan(0, 0.5f, kRate, -1.0f));  // at 14 ms
    rig.platform.SleepMs(11);
    ASSERT_TRUE(sampler.SetVolPitchPan(0, 0.25f, kRate, -1.0f));  // at 25 ms: a later block
    const std::vector<int16_t> pcm = Mix(3);

    // 3 ms at 22050 Hz are round(66.15) = 66 frames.
    std::vector<int> expected(66, 1000);
    expected.resize(256, 500);
    expected.resize(256 + 66, 500);
    expected.resize(512, 250);
    EXPECT_EQ(ChannelFrom(pcm, 256, 512), expected);
}

// Blocks are run straight on the sampler here, so that one can start after an event's time.
TEST_F(SamplerTest, ALateEventMovesThePlayingVoiceOnByTheTimeItMissed)
{
    const std::vector<int16_t> values = Ramp(3000, 1);
    const SampleBuffer sample = MakeSample(values);
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));  // at 11 ms
    rig.Render(sampler, 11);  // plays samples 0 to 255
    rig.platform.SleepMs(3);
    ASSERT_TRUE(sampler.SetVolPitchPan(0, 1.0f, kRate, -1.0f));  // at 14 ms
    // The next block starts at 50 ms: the event is 36 ms late, round(36 x 22.05) = 794
    // samples are skipped.
    EXPECT_EQ(rig.Render(sampler, 50)[0], values[256 + 794]);
}

TEST_F(SamplerTest, FreesAOneShotVoiceForThePickAndSharesOutBusyOnes)
{
    const SampleBuffer shortSample = MakeSample({1, 2, 3});
    ASSERT_TRUE(sampler.PlaySampleBuffer(shortSample, 1.0f, 0.0f, kRate, Sampler::kPickVoice));
    EXPECT_TRUE(sampler.IsVoiceActive(0));
    Mix(2);
    EXPECT_FALSE(sampler.IsVoiceActive(0));

    // Every voice loops a sample of its own level; voice k plays k + 1.
    std::vector<SampleBuffer> levels;
    for (int voice = 0; voice < Sampler::kVoiceCount; ++voice)
    {
        levels.push_back(MakeSample(std::vector<int16_t>(5000, static_cast<int16_t>(voice + 1))));
    }
    for (int voice = 0; voice < Sampler::kVoiceCount; ++voice)
    {
        ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(levels[static_cast<size_t>(voice)], 1.0f, -1.0f,
                                                   kRate, Sampler::kPickVoice));
        EXPECT_TRUE(sampler.IsVoiceActive(voice));
    }
    // All busy: the pick takes the voice the round-robin index rests on, the last one.
    const SampleBuffer loud = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(loud, 1.0f, -1.0f, kRate, Sampler::kPickVoice));
    const std::vector<int16_t> pcm = Mix(2);
    EXPECT_EQ(pcm.back(), 0);
    EXPECT_EQ(pcm[pcm.size() - 2], 31 * 32 / 2 + 1000);
}

TEST_F(SamplerTest, ThirtyTwoLoudVoicesSaturateInsteadOfWrapping)
{
    const SampleBuffer high = MakeSample(std::vector<int16_t>(2000, 32767));
    const SampleBuffer low = MakeSample(std::vector<int16_t>(2000, -32768));
    for (int voice = 0; voice < Sampler::kVoiceCount; ++voice)
    {
        ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(voice % 2 == 0 ? high : low, 1.6f * 2.0f,
                                                   voice % 2 == 0 ? -1.0f : 1.0f, kRate, voice));
    }
    const std::vector<int16_t> pcm = Mix(3);
    // Each side sums 16 x 32767 x 3.2, past 2^20, where the low bits alone would wrap.
    EXPECT_EQ(ChannelFrom(pcm, 256, 512, 0), std::vector<int>(512, 32767));
    EXPECT_EQ(ChannelFrom(pcm, 256, 512, 1), std::vector<int>(512, -32768));
}

struct PitchFault
{
    float pitch;
};

class SamplerPitchFaultTest : public SamplerTest, public ::testing::WithParamInterface<PitchFault>
{
};

// A pitch that would give a step of zero or less still moves the voice, by 1/256 sample.
TEST_P(SamplerPitchFaultTest, StepsAtLeastOneFractionOfASample)
{
    const SampleBuffer sample = MakeSample({10, 20, 30});
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, GetParam().pitch, 0));
    const std::vector<int16_t> pcm = Mix(3);
    EXPECT_EQ(ChannelFrom(pcm, 256, 256), std::vector<int>(256, 10));
    EXPECT_EQ(ChannelFrom(pcm, 512, 256), std::vector<int>(256, 20));
}

INSTANTIATE_TEST_SUITE_P(Pitches, SamplerPitchFaultTest,
                         ::testing::Values(PitchFault{0.0f}, PitchFault{20.0f},
                                           PitchFault{-44100.0f},
                                           PitchFault{std::numeric_limits<float>::quiet_NaN()}),
                         [](const ::testing::TestParamInfo<PitchFault>& info)
                         { return "Pitch" + case_names::Number(info.param.pitch); });

// A voice started through single events before it ever had a pitch still moves.
TEST_F(SamplerTest, StartsAVoiceThatNeverHadAPitch)
{
    const SampleBuffer sample = MakeSample({10, 20, 30});
    ASSERT_TRUE(sampler.PlaySampleBuffer(sample, 0.0f, 0.0f, kRate, 0));  // sample id 1
    ASSERT_TRUE(sampler.SetFirstEvent(1, kSamplerData, 1));
    sampler.AddEvent(1, kSamplerLength, 3);
    sampler.AddEvent(1, kSamplerVolume, FloatWord(1.0f));
    sampler.AddEvent(1, kSamplerPan, FloatWord(-1.0f));
    sampler.AddEvent(1, kSamplerStart, 0);
    sampler.EndEvents();
    const std::vector<int16_t> pcm = Mix(3);
    EXPECT_EQ(ChannelFrom(pcm, 256, 256), std::vector<int>(256, 10));
    EXPECT_EQ(ChannelFrom(pcm, 512, 256), std::vector<int>(256, 20));
}

// With the mixer stalled the ring fills; a writer whose events do not fit queues nothing, so
// what is queued stays intact.
TEST_F(SamplerTest, DropsWholeEventGroupsThatDoNotFitTheRing)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));  // 21 words
    int queued = 0;
    while (sampler.SetVolPitchPan(0, 0.001f * static_cast<float>(queued + 1), kRate, -1.0f))
    {
        ++queued;
    }
    EXPECT_EQ(queued, (4096 - 21) / 8);
    EXPECT_EQ(sampler.GetDroppedEvents(), 1u);
    const std::vector<int16_t> pcm = Mix(3);
    EXPECT_EQ(pcm[2 * 512], 509);  // the last volume queued: 0.509
}

TEST_F(SamplerTest, DropsAWholeBatchWhenAnyPartDoesNotFit)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, 1.0f, kRate, 1));
    while (sampler.SetSingleEvent(1, kSamplerNoOperation, 0))
    {
    }
    ASSERT_EQ(sampler.GetDroppedEvents(), 1u);

    ASSERT_TRUE(sampler.SetFirstEvent(0, kSamplerVolume, FloatWord(0.5f)));
    sampler.AddEvent(0, kSamplerPan, FloatWord(-1.0f));
    sampler.AddEvent(1, kSamplerVolume, FloatWord(0.5f));  // no room left on voice 1
    sampler.EndEvents();
    EXPECT_EQ(sampler.GetDroppedEvents(), 2u);
    const std::vector<int16_t> pcm = Mix(4);
    EXPECT_EQ(pcm[2 * 768], 1000) << "voice 0's part of the batch was dropped too";
}

TEST_F(SamplerTest, RunsABatchInOnePiece)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, 1.0f, kRate, 1));
    ASSERT_TRUE(sampler.SetFirstEvent(0, kSamplerVolume, FloatWord(0.5f)));
    sampler.AddEvent(1, kSamplerVolume, FloatWord(0.25f));
    sampler.EndEvents();
    const std::vector<int16_t> pcm = Mix(3);
    EXPECT_EQ(pcm[2 * 512], 500);
    EXPECT_EQ(pcm[2 * 512 + 1], 250);
}

// A start or a no-operation takes no operand, so a stray operand is never run as an event.
TEST_F(SamplerTest, QueuesNoOperandForStartOrNoOperation)
{
    const SampleBuffer sample = MakeSample(Ramp(3000, 1));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    Mix(2);
    ASSERT_TRUE(sampler.SetSingleEvent(0, kSamplerNoOperation, kSamplerVolume));
    ASSERT_TRUE(sampler.SetSingleEvent(0, kSamplerOffset, 100));
    ASSERT_TRUE(sampler.SetSingleEvent(0, kSamplerStart, kSamplerData));
    EXPECT_FALSE(sampler.SetSingleEvent(0, 11, 0));
    const std::vector<int16_t> pcm = Mix(2);
    EXPECT_EQ(pcm[2 * 3 * 256], 100);
}

TEST_F(SamplerTest, RestartsAtAnOffsetOrAtTheLoopStartWhenTheOffsetLiesBeyond)
{
    const std::vector<int16_t> values = Ramp(100, 1);
    SampleBuffer sample = MakeSample(values);
    sample.SetLoop(40, 80);
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    Mix(2);
    ASSERT_TRUE(sampler.RestartSample(sample, 10, 0));
    Mix(1);
    ASSERT_TRUE(sampler.RestartSample(sample, 3800, 0));
    const std::vector<int16_t> pcm = Mix(2);
    EXPECT_EQ(ChannelFrom(pcm, 3 * 256, 72),
              []
              {
                  std::vector<int> expected;
                  for (int i = 10; i < 80; ++i)
                      expected.push_back(i);
                  expected.push_back(40);
                  expected.push_back(41);
                  return expected;
              }());
    EXPECT_EQ(ChannelFrom(pcm, 4 * 256, 2), (std::vector<int>{40, 41}));
}

TEST_F(SamplerTest, ResetEndsEveryVoice)
{
    const SampleBuffer sample = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(sample, 1.0f, -1.0f, kRate, 0));
    Mix(2);
    rig.output.ResetGraph();
    EXPECT_FALSE(sampler.IsVoiceActive(0));
    const std::vector<int16_t> pcm = Mix(1);
    EXPECT_EQ(ChannelFrom(pcm, 2 * 256, 256), std::vector<int>(256, 0));
}

TEST_F(SamplerTest, QueuesNothingWithoutConnectionDataOrAValidVoice)
{
    const SampleBuffer sample = MakeSample({1, 2});
    const SampleBuffer empty;
    EXPECT_FALSE(sampler.PlaySampleBuffer(empty, 1.0f, 0.0f, kRate, 0));
    EXPECT_FALSE(sampler.PlayLoopedSampleBuffer(empty, 1.0f, 0.0f, kRate, 0));
    EXPECT_FALSE(sampler.RestartSample(empty, 0, 0));
    EXPECT_FALSE(sampler.PlaySampleBuffer(sample, 1.0f, 0.0f, kRate, Sampler::kVoiceCount));
    EXPECT_FALSE(sampler.SetVolPitchPan(-2, 1.0f, kRate, 0.0f));
    EXPECT_FALSE(sampler.IsVoiceActive(0));

    sampler.Close();
    EXPECT_EQ(rig.root.ChildCount(), 0);
    EXPECT_FALSE(sampler.IsConnected());
    EXPECT_FALSE(sampler.PlaySampleBuffer(sample, 1.0f, 0.0f, kRate, 0));
    EXPECT_FALSE(sampler.SetFirstEvent(0, kSamplerVolume, 0));
    sampler.EndEvents();  // no batch is open: nothing to end
    EXPECT_TRUE(sampler.Connect(rig.output));
    EXPECT_FALSE(sampler.Connect(rig.output));
    EXPECT_TRUE(sampler.PlaySampleBuffer(sample, 1.0f, 0.0f, kRate, 0));
}
}  // namespace

namespace
{
// Raw samples: once, or over and over from their first sample, on a picked voice.
TEST_F(SamplerTest, PlaysRawSamplesOnceOrLooped)
{
    const std::vector<float> once = {100.0f, 200.0f, 300.0f};
    const std::vector<float> looped = {7.0f, 8.0f};
    ASSERT_TRUE(sampler.PlaySample(once, 1.0f, -1.0f, kRate));
    ASSERT_TRUE(sampler.PlayLoopedSample(looped, 1.0f, 1.0f, kRate));
    EXPECT_TRUE(sampler.IsVoiceActive(0));
    EXPECT_TRUE(sampler.IsVoiceActive(1));
    const std::vector<int16_t> pcm = Mix(3);
    EXPECT_EQ(ChannelFrom(pcm, kFirstHeardFrame, 5, 0), (std::vector<int>{100, 200, 300, 0, 0}));
    EXPECT_EQ(ChannelFrom(pcm, kFirstHeardFrame, 5, 1), (std::vector<int>{7, 8, 7, 8, 7}));
    EXPECT_FALSE(sampler.IsVoiceActive(0));
    EXPECT_TRUE(sampler.IsVoiceActive(1));
    EXPECT_FALSE(sampler.PlaySample({}, 1.0f, 0.0f, kRate));
}

TEST_F(SamplerTest, TheStatusTextNamesTheOperationRunning)
{
    EXPECT_STREQ(sampler.GetStatusText(), "");
    ASSERT_TRUE(sampler.SetFirstEvent(0, kSamplerVolume, FloatWord(0.5f)));
    EXPECT_STREQ(sampler.GetStatusText(), "SetFirstEvent");
    sampler.EndEvents();
    EXPECT_STREQ(sampler.GetStatusText(), "");
    sampler.SetVolPitchPan(0, 1.0f, kRate, 0.0f);
    Mix(1);
    EXPECT_STREQ(sampler.GetStatusText(), "");
}

// The pick rule on its own: idle voices from the round-robin index, where the index stays.
TEST_F(SamplerTest, PickVoiceTakesTheNextIdleVoiceAndStaysOnIt)
{
    EXPECT_EQ(sampler.PickVoice(), 0);
    EXPECT_EQ(sampler.PickVoice(), 0);
    const std::vector<float> looped = {1.0f, 2.0f};
    ASSERT_TRUE(sampler.PlayLoopedSample(looped, 1.0f, 0.0f, kRate));
    ASSERT_TRUE(sampler.PlayLoopedSample(looped, 1.0f, 0.0f, kRate));
    EXPECT_EQ(sampler.PickVoice(), 2);
    for (int voice = 2; voice < Sampler::kVoiceCount; ++voice)
    {
        ASSERT_TRUE(sampler.PlayLoopedSample(looped, 1.0f, 0.0f, kRate));
    }
    // All busy: the voice the search began at.
    EXPECT_EQ(sampler.PickVoice(), Sampler::kVoiceCount - 1);
}

TEST_F(SamplerTest, AStatusHoldsTheLockUntilItEnds)
{
    sampler.EndStatus();  // none open: nothing to release
    ASSERT_TRUE(sampler.BeginStatus("Editor"));
    EXPECT_STREQ(sampler.GetStatusText(), "Editor");
    EXPECT_FALSE(sampler.BeginStatus("again"));
    EXPECT_FALSE(sampler.SetFirstEvent(0, kSamplerVolume, FloatWord(0.5f)));
    EXPECT_STREQ(sampler.GetStatusText(), "Editor");
    sampler.EndStatus();
    EXPECT_STREQ(sampler.GetStatusText(), "");
    // The lock is free again: a writer goes through, and a batch refuses a status.
    EXPECT_TRUE(sampler.SetVolPitchPan(0, 1.0f, kRate, 0.0f));
    ASSERT_TRUE(sampler.SetFirstEvent(0, kSamplerVolume, FloatWord(0.5f)));
    EXPECT_FALSE(sampler.BeginStatus("inside a batch"));
    sampler.EndEvents();
    ASSERT_TRUE(sampler.BeginStatus(nullptr));
    EXPECT_STREQ(sampler.GetStatusText(), "");
    sampler.EndStatus();
}
}  // namespace
