#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "SoundRig.h"
#include "sound/EchoNode.h"
#include "sound/MixerNode.h"
#include "sound/Sampler.h"
#include "tests/support/CaseNames.h"

namespace
{
uint16_t Convert(float value)
{
    int16_t pcm = 0;
    ConvertToPcm16(std::span(&value, 1), std::span(&pcm, 1));
    return static_cast<uint16_t>(pcm);
}

struct Conversion
{
    float input;
    uint16_t expected;
};

class PcmConversionTest : public ::testing::TestWithParam<Conversion>
{
};

TEST_P(PcmConversionTest, RoundsSaturatesAndKeepsTheOnesComplementOfNegatives)
{
    EXPECT_EQ(Convert(GetParam().input), GetParam().expected) << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Values, PcmConversionTest,
    ::testing::Values(Conversion{40000.0f, 0x7FFF}, Conversion{-40000.0f, 0x8000},
                      Conversion{1000.0f, 0x03E8}, Conversion{-1000.0f, 0xFC17},
                      Conversion{0.0f, 0x0000}, Conversion{-0.0f, 0xFFFF}, Conversion{0.5f, 0x0000},
                      Conversion{1.5f, 0x0002}, Conversion{32767.4f, 0x7FFF},
                      Conversion{32767.6f, 0x7FFF}, Conversion{-32767.0f, 0x8000},
                      // Beyond 2^20 and 2^23 the value saturates instead of wrapping.
                      Conversion{1048576.0f, 0x7FFF}, Conversion{-1048576.0f, 0x8000},
                      Conversion{1081343.0f, 0x7FFF}, Conversion{9.0e9f, 0x7FFF},
                      Conversion{-9.0e9f, 0x8000}, Conversion{8589934592.0f, 0x7FFF},
                      Conversion{-8589934592.0f, 0x8000},
                      Conversion{std::numeric_limits<float>::infinity(), 0x7FFF},
                      Conversion{-std::numeric_limits<float>::infinity(), 0x8000},
                      Conversion{std::numeric_limits<float>::quiet_NaN(), 0x0000}),
    [](const ::testing::TestParamInfo<Conversion>& info)
    { return case_names::Number(info.param.input); });

// Every whole and half value around the 16-bit range against the rule written out plainly.
TEST(PcmConversion, MatchesTheReferenceRuleAcrossTheRange)
{
    for (int twice = -2 * 70000; twice <= 2 * 70000; ++twice)
    {
        const float value = static_cast<float>(twice) * 0.5f;
        const auto magnitude = static_cast<int>(std::nearbyint(std::fabs(value)));
        const int expected = magnitude >= 32768
                                 ? (value < 0 ? -32768 : 32767)
                                 : (std::signbit(value) ? -magnitude - 1 : magnitude);
        ASSERT_EQ(static_cast<int16_t>(Convert(value)), expected) << value;
    }
}

TEST(AudioNodeTree, RefusesAFifthChildAndAnOutputNode)
{
    AudioNode parent(AudioNodeType::Mixer);
    Sampler children[5];
    PcmOutputNode output;
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_TRUE(parent.Attach(&children[i]));
    }
    EXPECT_FALSE(parent.Attach(&children[4]));
    EXPECT_EQ(parent.ChildCount(), 4);
    AudioNode other(AudioNodeType::Mixer);
    EXPECT_FALSE(other.Attach(&output));
    EXPECT_EQ(other.ChildCount(), 0);
}

TEST(AudioNodeTree, DetachingTheMiddleChildKeepsTheOthersInOrder)
{
    AudioNode parent(AudioNodeType::Mixer);
    Sampler first;
    Sampler middle;
    Sampler last;
    for (Sampler* child : {&first, &middle, &last})
    {
        ASSERT_TRUE(parent.Attach(child));
    }
    EXPECT_TRUE(parent.Detach(&middle));
    EXPECT_FALSE(parent.Detach(&middle));
    ASSERT_EQ(parent.ChildCount(), 2);
    EXPECT_EQ(parent.Child(0), &first);
    EXPECT_EQ(parent.Child(1), &last);
    EXPECT_EQ(middle.Parent(), nullptr);
}

TEST(AudioNodeTree, CloseLeavesTheParentAndClosesTheChildren)
{
    AudioNode root(AudioNodeType::Mixer);
    EchoNode echo;
    Sampler sampler;
    ASSERT_TRUE(root.Attach(&echo));
    ASSERT_TRUE(echo.Attach(&sampler));
    echo.Close();
    EXPECT_EQ(root.ChildCount(), 0);
    EXPECT_EQ(echo.ChildCount(), 0);
    EXPECT_EQ(sampler.Parent(), nullptr);
}

TEST(AudioNodeTree, ANamedParentIsLeftOnCloseThoughItNeverTookTheChild)
{
    AudioNode parent(AudioNodeType::Mixer);
    Sampler sampler;
    sampler.SetParent(&parent);
    EXPECT_EQ(sampler.Parent(), &parent);
    EXPECT_EQ(parent.ChildCount(), 0);
    sampler.Close();
    EXPECT_EQ(parent.ChildCount(), 0);
}

TEST(AudioNodeTree, LockNestsAndUnlockGivesUpOnlyWhatWasTaken)
{
    AudioNode node(AudioNodeType::Mixer);
    EXPECT_FALSE(node.Unlock());
    ASSERT_TRUE(node.Lock());
    ASSERT_TRUE(node.Lock());
    EXPECT_EQ(node.LockDepth(), 2);
    Sampler child;
    EXPECT_TRUE(node.Attach(&child)) << "the holder goes on using the node";
    EXPECT_TRUE(node.Unlock());
    EXPECT_TRUE(node.Unlock());
    EXPECT_EQ(node.LockDepth(), 0);
    EXPECT_FALSE(node.Unlock());
}

TEST(PcmOutputNode, OutputsSilenceWithoutChildren)
{
    SoundRig rig;
    std::vector<int16_t> pcm(size_t{rig.Frames()} * 2, 1234);
    AudioBlock block;
    block.pcm = pcm.data();
    block.frames = rig.Frames();
    EXPECT_TRUE(rig.root.Calculate(block));
    EXPECT_TRUE(rig.root.HasNoInput());
    EXPECT_EQ(pcm, std::vector<int16_t>(pcm.size(), 0));
}

TEST(PcmOutputNode, AttachesOnlyToAnInitialisedOutputAndOnlyOnce)
{
    SoundRig rig;
    EXPECT_FALSE(rig.root.AttachOutput(rig.output));
    WaveOutput uninitialised;
    PcmOutputNode other;
    EXPECT_FALSE(other.AttachOutput(uninitialised));
    rig.root.Close();
    EXPECT_TRUE(rig.root.AttachOutput(rig.output));
}

TEST(PcmOutputNode, ConvertsWhatTheChildrenMix)
{
    SoundRig rig;
    Sampler sampler;
    ASSERT_TRUE(sampler.Connect(rig.output));
    ASSERT_TRUE(rig.root.Attach(&sampler));
    const SampleBuffer sample = MakeSample({1000, -1000, 20000, -20000});
    ASSERT_TRUE(sampler.PlaySampleBuffer(sample, 2.0f, -1.0f, SoundRig::kRate, 0));

    std::vector<int16_t> pcm(size_t{rig.Frames()} * 2);
    AudioBlock block;
    block.pcm = pcm.data();
    block.frames = rig.Frames();
    rig.root.Calculate(block);
    const std::vector<int16_t> left = {pcm[0], pcm[2], pcm[4], pcm[6], pcm[8]};
    EXPECT_EQ(left, (std::vector<int16_t>{2000, -2001, 32767, -32768, 0}));
    EXPECT_EQ(pcm[1], 0);
}

TEST(MixerNode, MixesItsInputsIntoItsOwnBlockOnly)
{
    SoundRig rig;
    MixerNode mixer;
    Sampler first;
    Sampler second;
    ASSERT_TRUE(mixer.AttachOutput(rig.output));
    EXPECT_FALSE(mixer.AddInput(&rig.root));
    for (Sampler* input : {&first, &second})
    {
        ASSERT_TRUE(input->Connect(rig.output));
        ASSERT_TRUE(mixer.AddInput(input));
    }
    const SampleBuffer sample = MakeSample({100, 200});
    first.PlaySampleBuffer(sample, 1.0f, -1.0f, SoundRig::kRate, 0);
    second.PlaySampleBuffer(sample, 3.0f, -1.0f, SoundRig::kRate, 0);

    const std::vector<float> callers = rig.Render(mixer, 0);
    EXPECT_EQ(callers, std::vector<float>(callers.size(), 0.0f));
    EXPECT_FLOAT_EQ(mixer.MixedBlock()[0], 400.0f);
    EXPECT_FLOAT_EQ(mixer.MixedBlock()[2], 800.0f);
}
}  // namespace
