#include "sound/SamplerMixer.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace
{
constexpr uint32_t kOneSample = 256;  // 8.8
// Longest pass, so that an 8.8 position and one step past it stay inside 32 bits.
constexpr uint32_t kMaxPassSamples = 1u << 23;
constexpr float kMaxStep = 65536.0f;

uint32_t EventWords(uint32_t opcode)
{
    return opcode == kSamplerNoOperation || opcode == kSamplerStart ? 1 : 2;
}

// Signed distance between two stream times, so that the comparison survives the clock's wrap.
int32_t MsFrom(uint32_t from, uint32_t to)
{
    return static_cast<int32_t>(to - from);
}

// ms to frames and lateness to samples: round to nearest through the float bias, for values
// from 0 to 2^23.
uint32_t RoundToNearest(float value)
{
    return std::bit_cast<uint32_t>(value + 8388608.0f) & 0xFFFFFF;
}

void SetGains(SamplerVoice& voice, float gain)
{
    voice.leftGain = std::max(0.0f, (0.5f - 0.5f * voice.pan) * voice.volume * gain);
    voice.rightGain = std::max(0.0f, (0.5f + 0.5f * voice.pan) * voice.volume * gain);
    if (voice.leftGain + voice.rightGain >= 0.01f)
    {
        voice.flags &= ~SamplerVoice::kSilent;
    }
}

// A pitch too low for one step per 256 frames, negative or not a number still moves.
uint32_t StepForPitch(float pitch, float rate)
{
    const float step = pitch / rate * 256.0f;
    return step >= 1.0f ? RoundToNearest(std::min(step, kMaxStep)) : 1;
}

void StopVoice(SamplerVoice& voice)
{
    voice.passData = nullptr;
    voice.active = false;
}

// A pass from the registers. The data is clipped to the sample the id stands for, so that no
// register value makes the mixer read outside it. False (and the voice stopped) without data
// or with nothing left to play.
bool BeginPass(SamplerVoice& voice, const SamplerMixParams& params)
{
    const uint32_t id = voice.dataRegister;
    if (id == 0 || id > params.samples.size() || voice.lengthRegister <= 0)
    {
        StopVoice(voice);
        return false;
    }
    const SamplerSample& sample = params.samples[id - 1];
    const bool interleaved = (voice.flags & SamplerVoice::kInterleaved) != 0;
    const uint32_t floatsPerSample = interleaved ? 2 : 1;
    const uint32_t sampleCount = sample.floatCount / floatsPerSample;
    if (voice.offsetRegister >= sampleCount)
    {
        StopVoice(voice);
        return false;
    }
    voice.passData = sample.data + size_t{voice.offsetRegister} * floatsPerSample;
    voice.passLength = std::min({static_cast<uint32_t>(voice.lengthRegister),
                                 sampleCount - voice.offsetRegister, kMaxPassSamples});
    voice.passInterleaved = interleaved;
    voice.step = std::max(voice.step, 1u);  // a voice started before any pitch still moves
    voice.active = true;
    return true;
}

uint64_t PassEnd(const SamplerVoice& voice)
{
    return uint64_t{voice.passLength} * kOneSample;
}

// Moves past the end of the pass into the next one, wrapping the position.
bool NextPass(SamplerVoice& voice, const SamplerMixParams& params, uint64_t& position)
{
    position -= PassEnd(voice);
    if (!BeginPass(voice, params))
    {
        return false;
    }
    // Every further pass comes from the same registers, so whole repeats can go at once.
    position %= PassEnd(voice);
    return true;
}

// A late event: the voice moves on by the time it missed, nothing is mixed.
void SkipAhead(SamplerVoice& voice, const SamplerMixParams& params, uint32_t lateMs)
{
    const uint32_t samples = RoundToNearest(static_cast<float>(lateMs) * 0.001f * voice.pitch);
    uint64_t position = voice.position + uint64_t{samples} * kOneSample;
    if (position >= PassEnd(voice) && !NextPass(voice, params, position))
    {
        return;
    }
    voice.position = static_cast<uint32_t>(position);
}

void RunEvent(SamplerVoice& voice, uint32_t opcode, uint32_t operand,
              const SamplerMixParams& params)
{
    switch (opcode)
    {
        case kSamplerData:
            voice.dataRegister = operand;
            break;
        case kSamplerLength:
            voice.lengthRegister = static_cast<int32_t>(operand);
            break;
        case kSamplerVolume:
            voice.volume = std::bit_cast<float>(operand);
            SetGains(voice, params.gain);
            break;
        case kSamplerPan:
            voice.pan = std::bit_cast<float>(operand);
            SetGains(voice, params.gain);
            break;
        case kSamplerPitch:
            voice.pitch = std::bit_cast<float>(operand);
            voice.step = StepForPitch(voice.pitch, params.rate);
            break;
        case kSamplerStart:
            if (BeginPass(voice, params))
            {
                voice.position = 0;
            }
            break;
        case kSamplerFlags:
            voice.flags = operand;
            break;
        case kSamplerOffset:
            voice.offsetRegister = operand;
            break;
        case kSamplerPosition:
            voice.position = operand;
            break;
        default:
            break;
    }
}

// Mixes frames of the current pass, which holds at least that many steps.
void MixFrames(SamplerVoice& voice, float* out, uint32_t frames)
{
    uint32_t position = voice.position;
    const uint32_t step = voice.step;
    const float left = voice.leftGain;
    const float right = voice.rightGain;
    const float* data = voice.passData;
    if ((voice.flags & SamplerVoice::kSilent) != 0)
    {
        position += frames * step;
    }
    else if (voice.passInterleaved)
    {
        constexpr float kFraction = 1.0f / 256.0f;
        for (uint32_t i = 0; i < frames; ++i)
        {
            const float* pair = data + size_t{position >> 8} * 2;
            const float sample = pair[0] + pair[1] * static_cast<float>(position & 255) * kFraction;
            out[2 * i] += sample * left;
            out[2 * i + 1] += sample * right;
            position += step;
        }
    }
    else
    {
        for (uint32_t i = 0; i < frames; ++i)
        {
            const float sample = data[position >> 8];
            out[2 * i] += sample * left;
            out[2 * i + 1] += sample * right;
            position += step;
        }
    }
    voice.position = position;
}

// At the end of the pass the next one follows at once. False when the voice stopped.
bool ContinueAfterPass(SamplerVoice& voice, const SamplerMixParams& params)
{
    uint64_t position = voice.position;
    if (position < PassEnd(voice))
    {
        return true;
    }
    if (!NextPass(voice, params, position))
    {
        return false;
    }
    voice.position = static_cast<uint32_t>(position);
    return true;
}

// Mixes up to frames frames of a playing voice, from pass to pass.
void MixSamplerVoice(SamplerVoice& voice, float* out, uint32_t frames,
                     const SamplerMixParams& params)
{
    // A position event may have put the voice past its pass.
    if (voice.passData == nullptr || !ContinueAfterPass(voice, params))
    {
        return;
    }
    while (frames > 0)
    {
        const uint64_t left = PassEnd(voice) - voice.position;
        const uint64_t fit = (left + voice.step - 1) / voice.step;
        const auto count = static_cast<uint32_t>(std::min<uint64_t>(frames, fit));
        MixFrames(voice, out, count);
        out += size_t{count} * 2;
        frames -= count;
        if (!ContinueAfterPass(voice, params))
        {
            return;
        }
    }
}

void MixVoiceBlock(SamplerVoice& voice, const SamplerMixParams& params)
{
    uint32_t cursorMs = params.startMs;
    uint32_t framesLeft = params.frames;
    float* out = params.block;
    while (voice.pending > 0)
    {
        const uint32_t opcode = voice.ring[voice.readIndex];
        const uint32_t size = EventWords(opcode);
        const uint32_t operand = voice.ring[(voice.readIndex + 1) & Sampler::kRingMask];
        if (opcode == kSamplerTimeStamp)
        {
            if (MsFrom(params.endMs, operand) >= 0)
            {
                break;  // due in a later block: stays at the head of the ring
            }
            if (voice.passData != nullptr && MsFrom(cursorMs, operand) > 0)
            {
                const float frames = static_cast<float>(operand - cursorMs) * 0.001f * params.rate;
                const uint32_t count = std::min(RoundToNearest(frames), framesLeft);
                cursorMs = operand;
                MixSamplerVoice(voice, out, count, params);
                out += size_t{count} * 2;
                framesLeft -= count;
            }
            else if (voice.passData != nullptr && MsFrom(cursorMs, operand) < 0)
            {
                SkipAhead(voice, params, cursorMs - operand);
            }
        }
        else
        {
            RunEvent(voice, opcode, operand, params);
        }
        voice.readIndex = (voice.readIndex + size) & Sampler::kRingMask;
        voice.pending -= std::min(size, voice.pending);
    }
    MixSamplerVoice(voice, out, framesLeft, params);
}
}  // namespace

void MixSamplerVoices(std::span<SamplerVoice> voices, const SamplerMixParams& params)
{
    if (params.clear)
    {
        std::memset(params.block, 0, size_t{params.frames} * 2 * sizeof(float));
    }
    for (SamplerVoice& voice : voices)
    {
        MixVoiceBlock(voice, params);
    }
}
