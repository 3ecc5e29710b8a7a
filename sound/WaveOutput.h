#pragma once

// The game's sound output: a ring of 20 buffers of 16-bit stereo PCM, each produced by the
// root of the audio-node graph and queued on the machine's audio output, and the stream
// clock (ms) that every sound event is stamped with.
//
// The output is driven in one of three ways: by a periodic timer of its own, by a thread of its
// own that mixes and sleeps a period, or pumped from outside (the game's 2 ms tick; the only
// way the game drives it).
//
// Threads: Init, AttachRoot, Start, Stop, Shutdown and ResetGraph belong to the main thread;
// Pump and MixBuffer run on the timer thread (or the output's own driver); GetPlayPosition is
// called by whichever thread sends events, Hold by the main thread or the music worker.
// GetPeriodMs may be called from any thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/AudioOut.h"
#include "platform/Platform.h"

class AudioNode;

enum class WaveDriveMode : uint32_t
{
    OwnTimer = 1,   // a periodic timer of the platform mixes one buffer per period
    OwnThread = 2,  // a thread of its own mixes one buffer, then sleeps a period
    Pumped = 3,     // WaveOutput::Pump, called from outside
};

class WaveOutput
{
public:
    static constexpr uint32_t kSlotCount = 20;
    // The slot checked for completion runs this far ahead of the slot mixed next, so at most
    // kSlotCount - kCheckLead buffers are ever queued on the device.
    static constexpr uint32_t kCheckLead = 4;
    static constexpr uint32_t kBytesPerFrame = AudioOut::kBytesPerFrame;

    // The newest output registers itself as g_waveOutput until it goes.
    WaveOutput();
    ~WaveOutput();
    WaveOutput(const WaveOutput&) = delete;
    WaveOutput& operator=(const WaveOutput&) = delete;

    // Allocates the ring and starts the driver of the mode. False when already initialised,
    // when a buffer would hold no frame or a period would be shorter than 1 ms, or when the
    // driver cannot start (the player is told).
    bool Init(uint32_t sampleRate, WaveDriveMode mode, uint32_t bufferBytes);
    // Keeps the first root it is given (true again for that root); the root must outlive the
    // output's use of it.
    bool AttachRoot(AudioNode* root);
    // Opens the audio device (when it is not open) and plays. The stream clock starts at 0
    // on the first start after Init and goes on where it stopped on a later one. False
    // without Init or root, or when the machine has no audio device.
    bool Start();
    // Opens the device alone, when initialised; nothing is played until Start. True when it is
    // open.
    bool OpenDevice();
    // Closes the device; Start opens it again. The ring stays.
    void Stop();
    // Ends the driver and frees the ring.
    void Shutdown();

    // One mix: the root produces the next block into the next slot, which is queued unless
    // the output is held. False (nothing mixed, nothing advanced) while the device still
    // plays the slot that would be reused; true otherwise, also when not playing.
    bool MixBuffer();
    // One pump step of the timer tick: a mix when initialised; notes g_lastPumpMs.
    void Pump();

    // Length of one buffer in ms while initialised, else -1.
    int32_t GetPeriodMs() const;
    // Stream ms at which an event sent now is heard: at least one period after the end of
    // the last mixed block, and never less than a value returned before. 0 when not playing.
    uint32_t GetPlayPosition();

    void ResetGraph();
    // Nesting. While held, buffers are still mixed (events are consumed) but not queued.
    // Taking the first hold waits for a running mix to end.
    void Hold(bool on);

    bool IsInitialised() const { return initialised_.load(std::memory_order_acquire); }
    bool IsPlaying() const { return playing_.load(std::memory_order_acquire); }
    // While the root produces a block.
    bool IsMixing() const { return mixing_.load(std::memory_order_relaxed); }
    uint32_t GetSampleRate() const { return sampleRate_; }
    uint32_t GetFramesPerBuffer() const { return framesPerBuffer_; }
    uint32_t GetBuffersMixed();

private:
    struct Slot
    {
        std::vector<int16_t> pcm;  // left, right per frame
        bool queued = false;
        uint64_t queuedEndByte = 0;  // the device's byte count at the end of this buffer
    };

    bool IsStillQueued(const Slot& slot);
    void CloseDevice();
    bool OpenDeviceLocked();
    bool StartDriver(WaveDriveMode mode);
    void StopDriver();
    // The drivers of modes 1 and 2.
    void TimerProc();
    void ThreadProc();

    // Held for a whole mix and around everything that changes the device or the ring, so
    // that neither goes away under a mix. Taken before any node lock.
    std::mutex deviceMutex_;
    std::unique_ptr<AudioOut> device_;
    uint64_t bytesQueued_ = 0;
    std::array<Slot, kSlotCount> slots_;
    uint32_t checkSlot_ = 0;
    uint32_t mixSlot_ = kSlotCount - kCheckLead;
    uint32_t framesPerBuffer_ = 0;
    uint32_t sampleRate_ = 0;

    // Guards the stream clock. Never held while nodes run.
    std::mutex clockMutex_;
    uint32_t streamClockMs_ = 0;  // start of the next block to mix
    uint32_t buffersMixed_ = 0;
    uint32_t lastMixMs_ = 0;
    uint32_t lastPlayPositionMs_ = 0;
    bool streamStarted_ = false;  // since Init

    std::atomic<int32_t> periodMs_{-1};
    std::atomic<bool> initialised_{false};
    std::atomic<bool> playing_{false};
    std::atomic<bool> mixing_{false};
    std::atomic<uint32_t> holdCount_{0};
    std::atomic<AudioNode*> root_{nullptr};

    // The driver of modes 1 and 2; only Init and Shutdown touch these.
    Platform::TimerId timerId_ = 0;
    Platform* timerPlatform_ = nullptr;
    std::thread driverThread_;
    std::atomic<bool> driverThreadEnd_{false};
};

// The game's one output (the sound manager's), for code that holds no reference to it.
extern std::atomic<WaveOutput*> g_waveOutput;
// Platform ms of the latest pump or driver mix.
extern std::atomic<uint32_t> g_lastPumpMs;
