// Reads the input as a canonical WAVE image, as a RIFF WAVE file and as an engine-sound bank
// (with and without interpolation), and plays what loads through every loop operation.

#include <cstdint>
#include <span>
#include <vector>

#include "sound/SampleBuffer.h"
#include "sound/SoundBank.h"
#include "sound/WaveImage.h"

namespace
{
void Exercise(SampleBuffer& sample)
{
    const uint32_t count = sample.GetSampleCount();
    sample.SetLoop(count / 2, 0);
    sample.SetLoop(count + 7, count / 3);
    sample.SetInterleaved(true);
    sample.SetInterleaved(false);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);
    std::vector<float> samples;
    ParseRiffWave(input, samples);
    SampleBuffer sample;
    sample.LoadFromMemory(input);
    Exercise(sample);
    for (const bool interpolate : {false, true})
    {
        SoundBank bank;
        if (ParseSoundBank(input, interpolate, bank))
        {
            for (SampleBuffer& loop : bank.engineLoops)
            {
                Exercise(loop);
            }
        }
    }
    return 0;
}
