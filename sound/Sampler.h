#pragma once

// The 32-voice sampler node. The main thread never touches a voice: it appends time-stamped
// events to the voice's ring, stamped with the output's play position, and the mixer, which
// runs inside the output's Calculate on the timer thread, carries out each event at its time
// within the block and mixes the voice into the block.
//
// Events are u32 words: an opcode, then its operand (none for kSamplerNoOperation and
// kSamplerStart).
// Samples are named in events by an id of this sampler's sample table, so that an event
// stays one word wide on every machine. Positions are 8.8 fixed point (256 = one sample),
// times are stream ms.
//
// Threads: every writer and Calculate hold the sampler's own lock for their whole work, so a
// batch (SetFirstEvent ... EndEvents) always reaches the mixer in one piece. A group of
// events that does not fit into its voice's ring is dropped whole, never written in part.
// The status text names the operation running (empty when none), for whoever looks at a
// sampler that hangs; it may be read from any thread.

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "sound/AudioNode.h"

class SampleBuffer;
class WaveOutput;

enum SamplerOpcode : uint32_t
{
    kSamplerTimeStamp = 0,  // stream ms: the events after it happen at that time
    kSamplerData = 1,       // sample id; 0 = stop at the end of the current pass
    kSamplerLength = 2,     // samples
    kSamplerVolume = 3,     // f32
    kSamplerPan = 4,        // f32, -1 left .. +1 right
    kSamplerPitch = 5,      // f32 Hz
    kSamplerNoOperation = 6,
    kSamplerStart = 7,     // a pass from the data, offset and length registers, position 0
    kSamplerFlags = 8,     // voice flags
    kSamplerOffset = 9,    // samples
    kSamplerPosition = 10  // 8.8 fixed point
};

inline uint32_t FloatWord(float value)
{
    return std::bit_cast<uint32_t>(value);
}

// A voice as the mixer keeps it.
struct SamplerVoice
{
    static constexpr uint32_t kInterleaved = 1;
    static constexpr uint32_t kSilent = 2;  // the position advances, nothing is mixed

    // Registers: what the next pass plays.
    uint32_t dataRegister = 0;
    uint32_t offsetRegister = 0;  // samples
    int32_t lengthRegister = 0;   // samples
    float volume = 0.0f;
    float pan = 0.0f;
    float pitch = 0.0f;
    uint32_t flags = 0;
    bool active = false;  // playing, or a start is on its way

    std::unique_ptr<uint32_t[]> ring;
    uint32_t readIndex = 0;
    uint32_t pending = 0;

    // The current pass; passData null = not playing.
    const float* passData = nullptr;  // the sample at the pass's offset
    uint32_t passLength = 0;          // samples
    bool passInterleaved = false;
    uint32_t step = 0;      // 8.8
    uint32_t position = 0;  // 8.8, from the pass's start
    float leftGain = 0.0f;
    float rightGain = 0.0f;
};

// Sample data an id stands for.
struct SamplerSample
{
    const float* data = nullptr;
    uint32_t floatCount = 0;
};

class Sampler final : public AudioNode
{
public:
    static constexpr int kVoiceCount = 32;
    static constexpr uint32_t kRingWords = 4096;
    static constexpr uint32_t kRingMask = kRingWords - 1;
    static constexpr size_t kMaxSamples = 256;
    static constexpr int kPickVoice = -1;

    Sampler() : AudioNode(AudioNodeType::Sampler) {}

    // Gain 1; clears the voices and gives each its ring. False when the output is not
    // initialised or the sampler is connected already.
    bool Connect(WaveOutput& output);
    // Leaves the graph, then frees the rings and lets the output go.
    void Close() override;
    // Stops every voice; queued events stay.
    void Reset() override;
    bool Calculate(const AudioBlock& block) override;
    void SetGain(float gain);

    // Writers. voice is 0..31 or kPickVoice. False when nothing was queued: not connected, a
    // bad voice, a buffer without data, or no room.
    bool PlaySampleBuffer(const SampleBuffer& buffer, float volume, float pan, float pitch,
                          int voice);
    // From sample 0 to the loop end, then the loop again and again.
    bool PlayLoopedSampleBuffer(const SampleBuffer& buffer, float volume, float pan, float pitch,
                                int voice);
    // Keeps volume, pan and pitch. An offset at or past the loop end restarts at the loop
    // start.
    bool RestartSample(const SampleBuffer& buffer, uint32_t offset, int voice);
    // Raw samples on a picked voice: once, or over and over from the first sample. The
    // samples must stay as they are while the voice may play them.
    bool PlaySample(std::span<const float> samples, float volume, float pan, float pitch);
    bool PlayLoopedSample(std::span<const float> samples, float volume, float pan, float pitch);
    bool SetVolPitchPan(int voice, float volume, float pitch, float pan);
    bool SetSingleEvent(int voice, uint32_t opcode, uint32_t operand);
    // A batch: the lock stays held from SetFirstEvent to EndEvents, AddEvent adds events
    // without a time stamp. The whole batch is dropped when any part does not fit or names a
    // bad voice or opcode. SetFirstEvent opens the batch whenever the sampler is connected
    // and no batch or status is open; EndEvents ends an open batch and does nothing otherwise.
    bool SetFirstEvent(int voice, uint32_t opcode, uint32_t operand);
    void AddEvent(int voice, uint32_t opcode, uint32_t operand);
    void EndEvents();

    bool IsConnected() const;
    // Event groups dropped because a ring or the sample table was full.
    uint32_t GetDroppedEvents() const;
    // Playing, or a start is queued: a voice the pick passes over.
    bool IsVoiceActive(int voice) const;
    const char* GetStatusText() const { return statusText_.load(std::memory_order_relaxed); }

    // The voice a play on kPickVoice would take now: from the round-robin index, the first
    // idle voice, where the index then stays; with all 32 busy, the voice the search began at.
    int PickVoice();
    // Holds the sampler's lock with the text as its status from BeginStatus to EndStatus, as
    // a batch does: no other writer may run on the thread meanwhile. Main thread; EndStatus
    // without BeginStatus does nothing. BeginStatus is false while a batch or status is open.
    bool BeginStatus(const char* text);
    void EndStatus();

private:
    // Names the operation in the status text for its lifetime.
    class StatusScope
    {
    public:
        StatusScope(const Sampler& sampler, const char* name);
        ~StatusScope();
        StatusScope(const StatusScope&) = delete;
        StatusScope& operator=(const StatusScope&) = delete;

    private:
        const Sampler& sampler_;
    };

    bool QueueRawPlay(std::span<const float> samples, float volume, float pan, float pitch,
                      bool looped);
    bool QueuePlay(const SampleBuffer& buffer, float volume, float pan, float pitch, int voice,
                   bool looped);
    int PickVoiceLocked();
    int ResolveVoice(int voice);
    uint32_t InternSample(const SamplerSample& sample);
    uint32_t PlayPosition() const;
    void QueueBatchEvent(int voice, uint32_t opcode, uint32_t operand, bool stamped);
    bool QueueEvents(int voice, std::span<const uint32_t> words, bool starts);

    mutable std::mutex samplerMutex_;
    mutable std::atomic<const char*> statusText_{""};
    WaveOutput* output_ = nullptr;
    float gain_ = 1.0f;
    std::array<SamplerVoice, kVoiceCount> voices_;
    int nextVoice_ = 0;
    std::array<SamplerSample, kMaxSamples> samples_{};
    size_t sampleCount_ = 0;
    uint32_t droppedEvents_ = 0;

    // An open batch: the voices as they were before it, to go back to when it fails.
    bool batchOpen_ = false;
    bool statusOpen_ = false;
    bool batchFailed_ = false;
    std::array<uint32_t, kVoiceCount> batchPending_{};
    std::array<bool, kVoiceCount> batchActive_{};
};
