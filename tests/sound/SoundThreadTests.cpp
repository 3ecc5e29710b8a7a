#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "kit/sound/DemoSounds.h"
#include "kit/sound/SoundBankWriter.h"
#include "platform/PeriodicTimer.h"
#include "platform/sdl/SdlPlatform.h"
#include "sound/PcmOutputNode.h"
#include "sound/Sampler.h"
#include "sound/SoundBank.h"
#include "sound/WaveOutput.h"

namespace
{
using namespace std::chrono_literals;

// SDL's stand-ins for a machine without display or sound card, set before SDL starts.
struct DummyMachine
{
    DummyMachine()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
};

TEST(SdlAudioOut, PlaysWhatIsQueued)
{
    const DummyMachine machine;
    SdlPlatform platform;
    std::unique_ptr<AudioOut> out = platform.OpenAudioOut({22050, 256});
    ASSERT_NE(out, nullptr);
    const std::vector<int16_t> silence(2 * 2205);  // 100 ms
    ASSERT_TRUE(out->Queue(silence));
    const uint64_t queued = out->QueuedBytes();
    EXPECT_LE(queued, silence.size() * sizeof(int16_t));
    // The device takes the queue away as it plays; wait for it without a time limit of our
    // own (the test's time-out ends a device that never plays).
    while (out->QueuedBytes() == queued && queued > 0)
    {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_LT(out->QueuedBytes(), silence.size() * sizeof(int16_t));
}

// The game's timer tick as far as sound goes: one pump per elapsed period, on the timer
// thread.
class SoundPump
{
public:
    explicit SoundPump(WaveOutput& output)
        : timer_(2,
                 [this, &output]
                 {
                     const int32_t periodMs = output.GetPeriodMs();
                     if (periodMs <= 0)
                     {
                         return;
                     }
                     accumulatedMs_ += 2;
                     while (accumulatedMs_ > periodMs)
                     {
                         accumulatedMs_ -= periodMs;
                         output.Pump();
                         pumps_.fetch_add(1, std::memory_order_relaxed);
                     }
                 })
    {
    }

    uint32_t Pumps() const { return pumps_.load(std::memory_order_relaxed); }

private:
    int32_t accumulatedMs_ = 0;  // timer thread only
    std::atomic<uint32_t> pumps_{0};
    PeriodicTimer timer_;  // last: stops first
};

// What the main thread does to the sound during a race and between races, all while the
// timer thread mixes: voices started, changed and stopped, batches, holds, a suspend and
// resume, and the bank's samplers closed and its samples freed at the end of each round.
TEST(SoundStress, VoicesAndBanksChangeWhileTheTimerMixes)
{
    const DummyMachine machine;
    SdlPlatform platform;
    const ScopedPlatform scope(platform);
    const std::vector<uint8_t> bankBytes =
        kit::BuildSoundBank(kit::DemoSoundBank(1), kit::kDemoSoundRate);

    WaveOutput output;
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::Pumped, 512));
    PcmOutputNode root;
    ASSERT_TRUE(root.AttachOutput(output));
    ASSERT_TRUE(output.Start()) << "no audio device, not even SDL's dummy one";
    Sampler engine;
    Sampler effects;
    const SoundPump pump(output);

    constexpr int kRounds = 10;
    constexpr int kStepsPerRound = 120;
    for (int round = 0; round < kRounds; ++round)
    {
        SoundBank bank;
        ASSERT_TRUE(ParseSoundBank(bankBytes, round % 2 == 1, bank));
        ASSERT_TRUE(engine.Connect(output));
        ASSERT_TRUE(effects.Connect(output));
        ASSERT_TRUE(root.Attach(&engine));
        ASSERT_TRUE(root.Attach(&effects));
        engine.SetGain(0.7f);
        for (int voice = 0; voice < 8; ++voice)
        {
            engine.PlayLoopedSampleBuffer(bank.engineLoops[voice % 2], 0.0f, 0.0f, 11000.0f, voice);
        }
        effects.PlayLoopedSampleBuffer(bank.eventSounds[4], 0.0f, 0.0f, 22050.0f, 4);

        for (int step = 0; step < kStepsPerRound; ++step)
        {
            const auto level = static_cast<float>(step % 10) * 0.1f;
            const int voice = step % 8;
            engine.SetVolPitchPan(voice, level, 8000.0f + 100.0f * static_cast<float>(step),
                                  level - 0.5f);
            if (step % 7 == 0)
            {
                engine.RestartSample(bank.engineLoops[0], 3800, 0);
            }
            if (step % 5 == 0)
            {
                effects.PlaySampleBuffer(bank.eventSounds[5 + step % 3], level, 0.0f, 22050.0f,
                                         Sampler::kPickVoice);
            }
            if (step % 11 == 0 && engine.SetFirstEvent(voice, kSamplerVolume, FloatWord(0.0f)))
            {
                engine.AddEvent(voice + 1, kSamplerVolume, FloatWord(0.0f));
                engine.EndEvents();
            }
            if (step % 40 == 20)
            {
                output.Hold(true);
                output.Hold(false);
            }
            if (step == kStepsPerRound / 2 && round % 3 == 0)
            {
                output.Stop();  // suspended, as around a movie
                ASSERT_TRUE(output.Start());
            }
            std::this_thread::sleep_for(1ms);
        }
        engine.Close();
        effects.Close();
    }  // the bank's samples go here, after their samplers left the graph
    EXPECT_GT(pump.Pumps(), 0u);
    output.Stop();
    output.ResetGraph();
    root.Close();
    output.Shutdown();
}
}  // namespace

namespace
{
// Mode 2: a thread of the output's own mixes and sleeps a period until the output shuts down.
TEST(WaveOutputThread, ItsOwnThreadMixesUntilShutdown)
{
    const DummyMachine machine;
    SdlPlatform platform;
    const ScopedPlatform scope(platform);
    WaveOutput output;
    PcmOutputNode root;
    ASSERT_TRUE(output.Init(22050, WaveDriveMode::OwnThread, 1024));
    ASSERT_TRUE(root.AttachOutput(output));
    ASSERT_TRUE(output.Start());
    while (output.GetBuffersMixed() < 5)
    {
        std::this_thread::sleep_for(1ms);
    }
    output.Shutdown();
    const uint32_t mixed = output.GetBuffersMixed();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(output.GetBuffersMixed(), mixed);
}
}  // namespace

namespace
{
// A node locked on one thread keeps every other thread out until it is unlocked, and the
// other thread cannot unlock it.
TEST(AudioNodeLock, KeepsOtherThreadsOutUntilUnlocked)
{
    AudioNode node(AudioNodeType::Mixer);
    Sampler child;
    ASSERT_TRUE(node.Lock());
    std::atomic<bool> foreignUnlock{true};
    std::atomic<bool> attached{false};
    std::thread other(
        [&]
        {
            foreignUnlock = node.Unlock();
            attached = node.Attach(&child);
        });
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(node.ChildCount(), 0);
    EXPECT_FALSE(attached);
    EXPECT_TRUE(node.Unlock());
    other.join();
    EXPECT_FALSE(foreignUnlock);
    EXPECT_TRUE(attached);
    EXPECT_EQ(node.ChildCount(), 1);
}
}  // namespace
