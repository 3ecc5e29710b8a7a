#include "SoundRig.h"

#include <gtest/gtest.h>

#include "kit/sound/WaveWriter.h"

SoundRig::SoundRig(uint32_t rate, uint32_t bufferBytes)
{
    EXPECT_TRUE(output.Init(rate, WaveDriveMode::Pumped, bufferBytes));
    EXPECT_TRUE(root.AttachOutput(output));
}

std::vector<float> SoundRig::Render(AudioNode& node, uint32_t timeMs, bool clear)
{
    std::vector<float> block(size_t{Frames()} * 2, 0.0f);
    AudioBlock descriptor;
    descriptor.samples = block.data();
    descriptor.frames = Frames();
    descriptor.clear = clear;
    descriptor.timeMs = timeMs;
    node.Calculate(descriptor);
    return block;
}

std::vector<float> SoundRig::RenderBlocks(AudioNode& node, int blocks)
{
    std::vector<float> joined;
    for (int i = 0; i < blocks; ++i)
    {
        const std::vector<float> block = Render(node, static_cast<uint32_t>(i) * PeriodMs());
        joined.insert(joined.end(), block.begin(), block.end());
    }
    return joined;
}

std::vector<int16_t> SoundRig::CapturedPcm() const
{
    std::vector<int16_t> joined;
    for (const CapturedAudio& capture : platform.AudioCaptures())
    {
        for (const std::vector<int16_t>& buffer : capture.buffers)
        {
            joined.insert(joined.end(), buffer.begin(), buffer.end());
        }
    }
    return joined;
}

SampleBuffer MakeSample(const std::vector<int16_t>& values)
{
    SampleBuffer sample;
    EXPECT_TRUE(sample.LoadFromMemory(kit::BuildWaveImage(values, SoundRig::kRate)));
    return sample;
}

std::vector<int16_t> Ramp(size_t count, int16_t step)
{
    std::vector<int16_t> values(count);
    for (size_t i = 0; i < count; ++i)
    {
        values[i] = static_cast<int16_t>(static_cast<int>(i) * step);
    }
    return values;
}

std::vector<float> Channel(const std::vector<float>& stereo, int channel)
{
    std::vector<float> values(stereo.size() / 2);
    for (size_t i = 0; i < values.size(); ++i)
    {
        values[i] = stereo[2 * i + static_cast<size_t>(channel)];
    }
    return values;
}
