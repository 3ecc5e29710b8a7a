#include "sound/Sampler.h"

#include <algorithm>

#include "sound/SampleBuffer.h"
#include "sound/SamplerMixer.h"
#include "sound/WaveOutput.h"

namespace
{
// The events of one writer call, at most a time stamp and ten more.
class EventWords
{
public:
    void Add(uint32_t opcode) { words_[size_++] = opcode; }
    void Add(uint32_t opcode, uint32_t operand)
    {
        Add(opcode);
        Add(operand);
    }
    std::span<const uint32_t> Words() const { return std::span(words_).first(size_); }

private:
    std::array<uint32_t, 24> words_{};
    size_t size_ = 0;
};

bool IsOpcode(uint32_t opcode)
{
    return opcode <= kSamplerPosition;
}

// Opcodes without an operand take none, so that no operand is ever read as an opcode.
void AddEventWords(EventWords& words, uint32_t opcode, uint32_t operand)
{
    if (opcode == kSamplerNoOperation || opcode == kSamplerStart)
    {
        words.Add(opcode);
    }
    else
    {
        words.Add(opcode, operand);
    }
}

SamplerSample SampleOf(const SampleBuffer& buffer)
{
    return {buffer.GetData().data(), static_cast<uint32_t>(buffer.GetData().size())};
}
}  // namespace

Sampler::StatusScope::StatusScope(const Sampler& sampler, const char* name) : sampler_(sampler)
{
    sampler_.statusText_.store(name, std::memory_order_relaxed);
}

Sampler::StatusScope::~StatusScope()
{
    sampler_.statusText_.store("", std::memory_order_relaxed);
}

bool Sampler::Connect(WaveOutput& output)
{
    const std::lock_guard lock(samplerMutex_);
    gain_ = 1.0f;
    if (!output.IsInitialised() || output_ != nullptr)
    {
        return false;
    }
    output_ = &output;
    nextVoice_ = 0;
    for (SamplerVoice& voice : voices_)
    {
        voice = {};
        voice.ring = std::make_unique<uint32_t[]>(kRingWords);
    }
    samples_ = {};
    sampleCount_ = 0;
    return true;
}

void Sampler::Close()
{
    AudioNode::Close();
    const std::lock_guard lock(samplerMutex_);
    for (SamplerVoice& voice : voices_)
    {
        voice = {};
    }
    samples_ = {};
    sampleCount_ = 0;
    output_ = nullptr;
}

void Sampler::Reset()
{
    AudioNode::Reset();
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, "Sampler Reset");
    for (SamplerVoice& voice : voices_)
    {
        voice.dataRegister = 0;
        voice.lengthRegister = 0;
        voice.active = false;
        voice.passData = nullptr;
        voice.passLength = 0;
        voice.step = 0;
    }
}

bool Sampler::Calculate(const AudioBlock& block)
{
    AudioNode::Calculate(block);
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, "Calculate");
    if (output_ == nullptr)
    {
        if (block.clear)
        {
            std::fill_n(block.samples, size_t{block.frames} * 2, 0.0f);
        }
        return true;
    }
    SamplerMixParams params;
    params.block = block.samples;
    params.frames = block.frames;
    params.clear = block.clear;
    params.rate = static_cast<float>(output_->GetSampleRate());
    params.gain = gain_;
    params.startMs = block.timeMs;
    params.endMs = block.timeMs + static_cast<uint32_t>(std::max(output_->GetPeriodMs(), 0));
    params.samples = std::span(samples_).first(sampleCount_);
    MixSamplerVoices(voices_, params);
    return true;
}

void Sampler::SetGain(float gain)
{
    const std::lock_guard lock(samplerMutex_);
    gain_ = gain;
}

bool Sampler::PlaySampleBuffer(const SampleBuffer& buffer, float volume, float pan, float pitch,
                               int voice)
{
    return QueuePlay(buffer, volume, pan, pitch, voice, false);
}

bool Sampler::PlayLoopedSampleBuffer(const SampleBuffer& buffer, float volume, float pan,
                                     float pitch, int voice)
{
    return QueuePlay(buffer, volume, pan, pitch, voice, true);
}

// A one-shot pass over the whole sample, which then ends the voice; or a first pass up to
// the loop end, after which the loop repeats.
bool Sampler::QueuePlay(const SampleBuffer& buffer, float volume, float pan, float pitch, int voice,
                        bool looped)
{
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, looped ? "PlayLoopedSample" : "PlaySample");
    const uint32_t id = output_ != nullptr && buffer.HasData() ? InternSample(SampleOf(buffer)) : 0;
    const int target = id != 0 ? ResolveVoice(voice) : -1;
    if (target < 0)
    {
        return false;
    }
    EventWords words;
    words.Add(kSamplerTimeStamp, PlayPosition());
    words.Add(kSamplerData, id);
    words.Add(kSamplerLength, looped ? buffer.GetLoopEnd() : buffer.GetSampleCount());
    words.Add(kSamplerVolume, FloatWord(volume));
    words.Add(kSamplerPan, FloatWord(pan));
    words.Add(kSamplerPitch, FloatWord(pitch));
    words.Add(kSamplerFlags, buffer.GetFlags());
    words.Add(kSamplerOffset, 0);
    words.Add(kSamplerStart);
    if (looped)
    {
        words.Add(kSamplerOffset, buffer.GetLoopStart());
        words.Add(kSamplerLength, buffer.GetLoopEnd() - buffer.GetLoopStart());
    }
    else
    {
        words.Add(kSamplerData, 0);
    }
    return QueueEvents(target, words.Words(), true);
}

bool Sampler::PlaySample(std::span<const float> samples, float volume, float pan, float pitch)
{
    return QueueRawPlay(samples, volume, pan, pitch, false);
}

bool Sampler::PlayLoopedSample(std::span<const float> samples, float volume, float pan, float pitch)
{
    return QueueRawPlay(samples, volume, pan, pitch, true);
}

// The pass takes the voice's flags as they are; a looped one leaves the data register set, so
// the next pass is the same sample again, and a single one clears it.
bool Sampler::QueueRawPlay(std::span<const float> samples, float volume, float pan, float pitch,
                           bool looped)
{
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, looped ? "PlayLoopedSample" : "PlaySample");
    const SamplerSample sample{samples.data(), static_cast<uint32_t>(samples.size())};
    const uint32_t id = output_ != nullptr && !samples.empty() ? InternSample(sample) : 0;
    const int target = id != 0 ? PickVoiceLocked() : -1;
    if (target < 0)
    {
        return false;
    }
    EventWords words;
    words.Add(kSamplerTimeStamp, PlayPosition());
    words.Add(kSamplerData, id);
    words.Add(kSamplerLength, sample.floatCount);
    words.Add(kSamplerVolume, FloatWord(volume));
    words.Add(kSamplerPan, FloatWord(pan));
    words.Add(kSamplerPitch, FloatWord(pitch));
    words.Add(kSamplerOffset, 0);
    words.Add(kSamplerStart);
    if (!looped)
    {
        words.Add(kSamplerData, 0);
    }
    return QueueEvents(target, words.Words(), true);
}

bool Sampler::RestartSample(const SampleBuffer& buffer, uint32_t offset, int voice)
{
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, "PlayLoopedSample");
    const int target = output_ != nullptr && buffer.HasData() ? ResolveVoice(voice) : -1;
    if (target < 0)
    {
        return false;
    }
    const uint32_t start = offset < buffer.GetLoopEnd() ? offset : buffer.GetLoopStart();
    EventWords words;
    words.Add(kSamplerTimeStamp, PlayPosition());
    words.Add(kSamplerLength, buffer.GetLoopEnd() - start);
    words.Add(kSamplerOffset, start);
    words.Add(kSamplerStart);
    words.Add(kSamplerOffset, buffer.GetLoopStart());
    words.Add(kSamplerLength, buffer.GetLoopEnd() - buffer.GetLoopStart());
    return QueueEvents(target, words.Words(), true);
}

bool Sampler::SetVolPitchPan(int voice, float volume, float pitch, float pan)
{
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, "SetVolPitchPan");
    const int target = output_ != nullptr ? ResolveVoice(voice) : -1;
    if (target < 0)
    {
        return false;
    }
    EventWords words;
    words.Add(kSamplerTimeStamp, PlayPosition());
    words.Add(kSamplerVolume, FloatWord(volume));
    words.Add(kSamplerPitch, FloatWord(pitch));
    words.Add(kSamplerPan, FloatWord(pan));
    return QueueEvents(target, words.Words(), false);
}

bool Sampler::SetSingleEvent(int voice, uint32_t opcode, uint32_t operand)
{
    const std::lock_guard lock(samplerMutex_);
    const StatusScope status(*this, "SetSingleEvent");
    const int target = output_ != nullptr && IsOpcode(opcode) ? ResolveVoice(voice) : -1;
    if (target < 0)
    {
        return false;
    }
    EventWords words;
    words.Add(kSamplerTimeStamp, PlayPosition());
    AddEventWords(words, opcode, operand);
    return QueueEvents(target, words.Words(), opcode == kSamplerStart);
}

bool Sampler::SetFirstEvent(int voice, uint32_t opcode, uint32_t operand)
{
    if (batchOpen_ || statusOpen_)
    {
        return false;  // this thread holds the lock already
    }
    samplerMutex_.lock();
    if (output_ == nullptr)
    {
        samplerMutex_.unlock();
        return false;
    }
    statusText_.store("SetFirstEvent", std::memory_order_relaxed);
    batchOpen_ = true;
    batchFailed_ = false;
    for (int i = 0; i < kVoiceCount; ++i)
    {
        batchPending_[i] = voices_[i].pending;
        batchActive_[i] = voices_[i].active;
    }
    QueueBatchEvent(voice, opcode, operand, true);
    return true;
}

void Sampler::AddEvent(int voice, uint32_t opcode, uint32_t operand)
{
    if (batchOpen_ && !batchFailed_)
    {
        QueueBatchEvent(voice, opcode, operand, false);
    }
}

// An event of the open batch, the first one with the time stamp. A bad voice or opcode fails
// the batch.
void Sampler::QueueBatchEvent(int voice, uint32_t opcode, uint32_t operand, bool stamped)
{
    const int target = IsOpcode(opcode) ? ResolveVoice(voice) : -1;
    if (target < 0)
    {
        batchFailed_ = true;
        return;
    }
    EventWords words;
    if (stamped)
    {
        words.Add(kSamplerTimeStamp, PlayPosition());
    }
    AddEventWords(words, opcode, operand);
    QueueEvents(target, words.Words(), opcode == kSamplerStart);
}

void Sampler::EndEvents()
{
    if (!batchOpen_)
    {
        return;
    }
    if (batchFailed_)
    {
        for (int i = 0; i < kVoiceCount; ++i)
        {
            voices_[i].pending = batchPending_[i];
            voices_[i].active = batchActive_[i];
        }
        ++droppedEvents_;
    }
    batchOpen_ = false;
    statusText_.store("", std::memory_order_relaxed);
    samplerMutex_.unlock();
}

bool Sampler::IsConnected() const
{
    const std::lock_guard lock(samplerMutex_);
    return output_ != nullptr;
}

uint32_t Sampler::GetDroppedEvents() const
{
    const std::lock_guard lock(samplerMutex_);
    return droppedEvents_;
}

bool Sampler::IsVoiceActive(int voice) const
{
    const std::lock_guard lock(samplerMutex_);
    return voice >= 0 && voice < kVoiceCount && voices_[voice].active;
}

// From the round-robin index on, the first voice that is not active; the index stays on it.
// With every voice busy, the voice at the index is taken.
int Sampler::PickVoice()
{
    const std::lock_guard lock(samplerMutex_);
    return PickVoiceLocked();
}

bool Sampler::BeginStatus(const char* text)
{
    if (batchOpen_ || statusOpen_)
    {
        return false;
    }
    samplerMutex_.lock();
    statusText_.store(text != nullptr ? text : "", std::memory_order_relaxed);
    statusOpen_ = true;
    return true;
}

void Sampler::EndStatus()
{
    if (!statusOpen_)
    {
        return;
    }
    statusOpen_ = false;
    statusText_.store("", std::memory_order_relaxed);
    samplerMutex_.unlock();
}

int Sampler::PickVoiceLocked()
{
    for (int tries = 0; tries < kVoiceCount; ++tries)
    {
        if (!voices_[nextVoice_].active)
        {
            return nextVoice_;
        }
        nextVoice_ = (nextVoice_ + 1) % kVoiceCount;
    }
    return nextVoice_;
}

int Sampler::ResolveVoice(int voice)
{
    if (voice == kPickVoice)
    {
        return PickVoiceLocked();
    }
    return voice >= 0 && voice < kVoiceCount ? voice : -1;
}

// The id of the buffer's data in the sample table, added when new; 0 when the table is full.
uint32_t Sampler::InternSample(const SamplerSample& sample)
{
    const auto known = std::span(samples_).first(sampleCount_);
    const auto found = std::ranges::find_if(
        known, [&](const SamplerSample& entry)
        { return entry.data == sample.data && entry.floatCount == sample.floatCount; });
    if (found != known.end())
    {
        return static_cast<uint32_t>(found - known.begin()) + 1;
    }
    if (sampleCount_ == kMaxSamples)
    {
        ++droppedEvents_;
        return 0;
    }
    samples_[sampleCount_++] = sample;
    return static_cast<uint32_t>(sampleCount_);
}

uint32_t Sampler::PlayPosition() const
{
    return output_->GetPlayPosition();
}

// Appends the words when they all fit into the voice's ring; a start marks the voice busy at
// once, so that the next pick passes it over.
bool Sampler::QueueEvents(int voice, std::span<const uint32_t> words, bool starts)
{
    SamplerVoice& target = voices_[voice];
    if (kRingWords - target.pending < words.size())
    {
        if (batchOpen_)
        {
            batchFailed_ = true;  // counted once, when the batch ends
        }
        else
        {
            ++droppedEvents_;
        }
        return false;
    }
    for (const uint32_t word : words)
    {
        target.ring[(target.readIndex + target.pending++) & kRingMask] = word;
    }
    target.active = target.active || starts;
    return true;
}
