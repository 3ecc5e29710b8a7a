#include <gtest/gtest.h>

#include <vector>

#include "SoundRig.h"
#include "sound/EchoNode.h"
#include "sound/Sampler.h"
#include "tests/support/CaseNames.h"

namespace
{
constexpr float kRate = static_cast<float>(SoundRig::kRate);

struct DelayLine
{
    uint32_t rate;
    uint32_t delayMs;
    uint32_t frames;
};

class EchoDelayLineTest : public ::testing::TestWithParam<DelayLine>
{
};

TEST_P(EchoDelayLineTest, TakesThePowerOfTwoAboveTheDelayWithinItsLimits)
{
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    ASSERT_TRUE(output.Init(GetParam().rate, WaveDriveMode::Pumped, 1024));
    EchoNode echo;
    ASSERT_TRUE(echo.Open(output, GetParam().delayMs));
    EXPECT_EQ(echo.GetDelayBufferFrames(), GetParam().frames);
    EXPECT_FALSE(echo.Open(output, GetParam().delayMs));
}

INSTANTIATE_TEST_SUITE_P(Delays, EchoDelayLineTest,
                         ::testing::Values(DelayLine{22050, 100, 4096},
                                           DelayLine{44100, 60000, 131072},
                                           DelayLine{22050, 0, 128}, DelayLine{11000, 1, 128},
                                           DelayLine{44100, 1000, 65536}),
                         [](const ::testing::TestParamInfo<DelayLine>& info)
                         {
                             return "Rate" + std::to_string(info.param.rate) + "Delay" +
                                    std::to_string(info.param.delayMs) + "Ms";
                         });

// An echo under the output's root with a sampler under it, played through the capture
// device; events sent before the first mix are heard from frame 256 on.
class EchoTest : public ::testing::Test
{
protected:
    EchoTest()
    {
        EXPECT_TRUE(echo.Open(rig.output, 100));
        EXPECT_TRUE(sampler.Connect(rig.output));
        EXPECT_TRUE(echo.Attach(&sampler));
        EXPECT_TRUE(rig.root.Attach(&echo));
        EXPECT_TRUE(rig.output.Start());
    }

    std::vector<int> Left(int blocks, int channel = 0)
    {
        for (int i = 0; i < blocks; ++i)
        {
            EXPECT_TRUE(rig.output.MixBuffer());
        }
        const std::vector<int16_t> pcm = rig.CapturedPcm();
        std::vector<int> values;
        for (size_t i = 256; 2 * i < pcm.size(); ++i)
        {
            values.push_back(pcm[2 * i + static_cast<size_t>(channel)]);
        }
        return values;
    }

    SoundRig rig;
    EchoNode echo;
    Sampler sampler;
    const SampleBuffer impulse = MakeSample({10000});
};

TEST_F(EchoTest, PlainModeRepeatsTheInputOnceAfterTheDelay)
{
    ASSERT_TRUE(echo.PostCommand(kEchoMode, 0));
    ASSERT_TRUE(echo.PostCommand(kEchoFeedback, FloatWord(0.5f)));
    ASSERT_TRUE(echo.PostCommand(kEchoDelay, 300));
    ASSERT_TRUE(sampler.PlaySampleBuffer(impulse, 1.0f, -1.0f, kRate, 0));
    std::vector<int> expected(1024, 0);
    expected[0] = 10000;
    expected[300] = 5000;
    EXPECT_EQ(Left(5), expected);
}

TEST_F(EchoTest, EchoModeRepeatsTheEchoItselfScaledByTheWetGain)
{
    ASSERT_TRUE(echo.PostCommand(kEchoWet, FloatWord(0.5f)));
    ASSERT_TRUE(echo.PostCommand(kEchoDelay, 200));
    ASSERT_TRUE(sampler.PlaySampleBuffer(impulse, 1.0f, -1.0f, kRate, 0));
    const std::vector<int> left = Left(5);
    EXPECT_EQ(left[0], 10000);
    EXPECT_EQ(left[200], 2500);
    EXPECT_EQ(left[400], 1250);
    EXPECT_EQ(left[600], 625);
    EXPECT_EQ(left[601], 0);
    // With both pans at 0 the right side echoes the left.
    EXPECT_EQ(Left(0, 1)[400], 1250);
}

TEST_F(EchoTest, CommandsDueInABlockTakeEffectAtItsStart)
{
    const SampleBuffer constant = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(echo.PostCommand(kEchoMode, 0));
    ASSERT_TRUE(echo.PostCommand(kEchoFeedback, FloatWord(0.0f)));
    ASSERT_TRUE(echo.PostCommand(kEchoDelay, 10));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(constant, 1.0f, -1.0f, kRate, 0));
    rig.platform.SleepMs(15);
    ASSERT_TRUE(echo.PostCommand(kEchoFeedback, FloatWord(1.0f)));  // at 26 ms, in [22, 33)
    std::vector<int> expected(256 + 10, 1000);
    expected.resize(512, 2000);
    EXPECT_EQ(Left(3), expected);
}

TEST_F(EchoTest, HearsSilenceOnceItsChildrenAreGone)
{
    const SampleBuffer constant = MakeSample(std::vector<int16_t>(5000, 1000));
    ASSERT_TRUE(echo.PostCommand(kEchoMode, 0));
    ASSERT_TRUE(echo.PostCommand(kEchoFeedback, FloatWord(0.0f)));
    ASSERT_TRUE(sampler.PlayLoopedSampleBuffer(constant, 1.0f, -1.0f, kRate, 0));
    ASSERT_EQ(Left(2)[0], 1000);
    sampler.Close();
    EXPECT_EQ(Left(1).back(), 0) << "the last block of the children must not repeat";
}

TEST_F(EchoTest, RefusesUnknownCommandsAndCommandsAfterClose)
{
    EXPECT_FALSE(echo.PostCommand(kEchoTimeStamp, 0));
    EXPECT_FALSE(echo.PostCommand(8, 0));
    EXPECT_TRUE(echo.PostCommand(kEchoMode, 5));  // taken, and ignored when it runs
    echo.Close();
    EXPECT_EQ(rig.root.ChildCount(), 0);
    EXPECT_FALSE(echo.PostCommand(kEchoFeedback, 0));
    EXPECT_TRUE(echo.Open(rig.output, 10));
}
}  // namespace
