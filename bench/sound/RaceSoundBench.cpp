// The sound of a 26-rider race on the timer thread and the main thread: the CPU time of the
// sound manager's per-frame engine and effect update (16 engine slots of two loops, the effect
// voices, a collision now and then) and of mixing both samplers into 16-bit output, for 60 s
// of a race at 50 frames a second and 44100 Hz, as a share of those 60 s.

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/config/ConfigFile.h"
#include "app/game/CurrentRace.h"
#include "core/files/FileSystem.h"
#include "bench/sound/CpuSeconds.h"
#include "kit/sound/DemoSounds.h"
#include "kit/sound/SoundBankWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/SoundManager.h"

namespace
{
constexpr uint32_t kSeconds = 60;
constexpr uint32_t kFrameMs = 20;
constexpr int kRiders = 26;
constexpr int kRuns = 3;

struct Cost
{
    double updateSeconds = 0.0;
    double mixSeconds = 0.0;
};

// Riders strung along a circle of 600 m, the camera behind rider 0.
void MoveRiders(std::vector<RiderSoundInput>& riders, uint32_t clockMs)
{
    const float t = static_cast<float>(clockMs) * 0.001f;
    for (int i = 0; i < kRiders; ++i)
    {
        const float angle = 0.08f * t - 0.05f * static_cast<float>(i);
        RiderSoundInput& rider = riders[static_cast<size_t>(i)];
        rider.position = {100.0f * std::sin(angle), 0.0f, 100.0f * std::cos(angle)};
        rider.viewPosition = {rider.position.x - riders[0].position.x + 2.0f, 1.0f,
                              rider.position.z - riders[0].position.z + 6.0f};
        rider.velocity = {8.0f * std::cos(angle), 0.0f, -8.0f * std::sin(angle)};
        rider.speed = 40.0f + static_cast<float>(i % 5);
        rider.throttle = 0.5f + 0.5f * std::sin(t + static_cast<float>(i));
        rider.engineRpm = 6000.0f + 5000.0f * std::sin(0.7f * t + static_cast<float>(i));
        rider.gear = 1 + (clockMs / 3000 + static_cast<uint32_t>(i)) % 6;
        rider.effectLevel = {0.5f, 0.4f, 0.8f, 0.3f, 0.2f, 0.6f};
    }
}

Cost RaceMinute()
{
    ScriptedPlatform platform;
    const ScopedPlatform scope(platform);
    g_config.SetI32At(ConfigBlock::kSoundRateIndexOffset, 2);    // 44100 Hz
    g_config.SetI32At(ConfigBlock::kSoundBufferIndexOffset, 2);  // 1024 bytes, 5 ms
    g_config.SetI32At(ConfigBlock::kEngineVoiceIndexOffset, 2);  // 16 slots
    g_bikeClass = BikeClass::Class500;
    SoundManager sound;
    sound.StartOutput();
    sound.LoadRaceSounds();

    std::vector<RiderSoundInput> riders(kRiders);
    RaceSoundFrame frame;
    frame.riders = riders;
    frame.cameraMode = 0;
    Cost cost;
    WaveOutput& output = sound.Output();
    for (uint32_t clockMs = 0; clockMs < kSeconds * 1000; clockMs += kFrameMs)
    {
        MoveRiders(riders, clockMs);
        frame.raceClockMs = clockMs;
        double start = CpuSeconds();
        sound.UpdateEngineSounds(frame);
        if (clockMs % 700 == 0)
        {
            sound.PlayCollisionSound(static_cast<int>(clockMs / 700 % kRiders));
        }
        cost.updateSeconds += CpuSeconds() - start;
        platform.SleepMs(kFrameMs);
        start = CpuSeconds();
        for (uint32_t mixed = 0; mixed < kFrameMs / static_cast<uint32_t>(output.GetPeriodMs());
             ++mixed)
        {
            output.MixBuffer();
        }
        cost.mixSeconds += CpuSeconds() - start;
    }
    sound.ReleaseRaceSounds();
    sound.StopOutput();
    return cost;
}
}  // namespace

int main()
{
    // The bank is read as a plain file from a scratch folder.
    char folder[] = "/tmp/zarvo-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr)
    {
        return 1;
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    files::MakeDirectories("Sound");
    files::ReplaceAtomically("Sound/500.std",
                             kit::BuildSoundBank(kit::DemoSoundBank(2), kit::kDemoSoundRate));
    g_archiveMenu = nullptr;

    Cost best = RaceMinute();
    for (int run = 1; run < kRuns; ++run)
    {
        const Cost cost = RaceMinute();
        best.updateSeconds = std::min(best.updateSeconds, cost.updateSeconds);
        best.mixSeconds = std::min(best.mixSeconds, cost.mixSeconds);
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);

    std::printf("bench_sound_race: 26 riders, 16 engine slots, %u s at 44100 Hz, best of %d\n",
                kSeconds, kRuns);
    std::printf("  %-24s %8.1f ms CPU   %6.3f %% of one core\n", "engine and effect update",
                best.updateSeconds * 1000.0, best.updateSeconds / kSeconds * 100.0);
    std::printf("  %-24s %8.1f ms CPU   %6.3f %% of one core\n", "mixing", best.mixSeconds * 1000.0,
                best.mixSeconds / kSeconds * 100.0);
    const double total = best.updateSeconds + best.mixSeconds;
    std::printf("  %-24s %8.1f ms CPU   %6.3f %% of one core\n", "together", total * 1000.0,
                total / kSeconds * 100.0);
    return 0;
}
