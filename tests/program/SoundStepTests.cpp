#include <gtest/gtest.h>

#include "sound/PcmOutputNode.h"
#include "sound/WaveOutput.h"
#include "tests/program/TickFixture.h"

namespace
{

class SoundStepTest : public TickTest
{
protected:
    void StartOutput(uint32_t framesPerBuffer)
    {
        ASSERT_TRUE(output_.Init(kSampleRate, WaveDriveMode::Pumped,
                                 framesPerBuffer * WaveOutput::kBytesPerFrame));
        ASSERT_TRUE(root_.AttachOutput(output_));
        ASSERT_TRUE(output_.Start());
    }

    static constexpr uint32_t kSampleRate = 22050;

    WaveOutput output_;
    PcmOutputNode root_;
};

TEST_F(SoundStepTest, PumpsOnceEachTimeAPeriodHasPassed)
{
    StartOutput(441);  // 20 ms buffers
    ASSERT_EQ(output_.GetPeriodMs(), 20);
    window_->Tick().SetWaveOutput(&output_);

    // A pump once more than a period has gathered: after ticks 11, 21, 31 ...
    RunTicks(10);
    EXPECT_EQ(output_.GetBuffersMixed(), 0u);
    RunTicks(1);
    EXPECT_EQ(output_.GetBuffersMixed(), 1u);
    RunTicks(89);
    EXPECT_EQ(output_.GetBuffersMixed(), 9u);
    RunTicks(1);
    EXPECT_EQ(output_.GetBuffersMixed(), 10u);

    window_->Tick().SetWaveOutput(nullptr);
    RunTicks(100);
    EXPECT_EQ(output_.GetBuffersMixed(), 10u);
}

TEST_F(SoundStepTest, AnOutputThatIsNotInitialisedIsNotPumped)
{
    window_->Tick().SetWaveOutput(&output_);
    RunTicks(100);
    EXPECT_EQ(g_soundPumpMs.load(), 0);
}

}  // namespace
