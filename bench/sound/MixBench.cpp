// The sound engine's load on the timer thread: the CPU time of mixing 32 looping voices of the
// demo bank through an echo into 16-bit output, for 60 s of 44100 Hz sound, as a share of
// those 60 s. Once with plain samples and once with interpolated ones.


#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/sound/CpuSeconds.h"
#include "kit/sound/DemoSounds.h"
#include "kit/sound/SoundBankWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/EchoNode.h"
#include "sound/PcmOutputNode.h"
#include "sound/Sampler.h"
#include "sound/SoundBank.h"
#include "sound/WaveOutput.h"

namespace
{
constexpr uint32_t kRate = 44100;
constexpr uint32_t kBufferBytes = 1024;
constexpr uint32_t kSeconds = 60;
constexpr int kRuns = 3;

// CPU seconds for one minute of output.
double MixOneMinute(bool interpolate)
{
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    output.Init(kRate, WaveDriveMode::Pumped, kBufferBytes);
    PcmOutputNode root;
    root.AttachOutput(output);
    EchoNode echo;
    echo.Open(output, 300);
    Sampler sampler;
    sampler.Connect(output);
    echo.Attach(&sampler);
    root.Attach(&echo);

    SoundBank bank;
    ParseSoundBank(kit::BuildSoundBank(kit::DemoSoundBank(1), kit::kDemoSoundRate), interpolate,
                   bank);
    const SampleBuffer* looped[] = {&bank.engineLoops[0], &bank.engineLoops[1],
                                    &bank.eventSounds[0], &bank.eventSounds[2]};
    for (int voice = 0; voice < Sampler::kVoiceCount; ++voice)
    {
        const auto k = static_cast<float>(voice);
        sampler.PlayLoopedSampleBuffer(*looped[voice % 4], 0.03f, k / 16.0f - 1.0f,
                                       8000.0f + 700.0f * k, voice);
    }

    const uint32_t frames = output.GetFramesPerBuffer();
    const uint32_t blocks = (kRate * kSeconds + frames - 1) / frames;
    std::vector<int16_t> pcm(size_t{frames} * 2);
    AudioBlock block;
    block.pcm = pcm.data();
    block.frames = frames;
    const double start = CpuSeconds();
    for (uint32_t i = 0; i < blocks; ++i)
    {
        block.timeMs = i * static_cast<uint32_t>(output.GetPeriodMs());
        root.Calculate(block);
    }
    const double used = CpuSeconds() - start;
    sampler.Close();
    return used;
}

void Report(const char* what, bool interpolate)
{
    double best = MixOneMinute(interpolate);
    for (int run = 1; run < kRuns; ++run)
    {
        best = std::min(best, MixOneMinute(interpolate));
    }
    std::printf("  %-13s %8.1f ms CPU   %6.3f %% of the %u s played\n", what, best * 1000.0,
                best / kSeconds * 100.0, kSeconds);
}
}  // namespace

int main()
{
    std::printf(
        "bench_sound_mix: 32 looping voices and an echo, %u s of %u Hz output, best of %d\n",
        kSeconds, kRate, kRuns);
    Report("plain", false);
    Report("interpolated", true);
    return 0;
}
