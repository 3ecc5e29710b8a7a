#include "kit/sound/DemoSounds.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace kit
{
namespace
{
using Signal = std::vector<float>;

constexpr int kClassCount = 3;
constexpr size_t kFadeSamples = 512;
// Loop starts the game gives the squeal and the scrape, which must lie inside them.
constexpr size_t kSquealLoopStart = 31195;
constexpr size_t kScrapeLoopStart = 50945;

// White noise in -1..1 from a 32-bit xorshift, so that every machine makes the same sounds.
class Noise
{
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    float Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(static_cast<int32_t>(state_)) * (1.0f / 2147483648.0f);
    }

private:
    uint32_t state_;
};

// A one-pole low pass; coefficient 0..1, higher passes more.
Signal LowPass(const Signal& in, float coefficient)
{
    Signal out(in.size());
    float state = 0.0f;
    for (size_t i = 0; i < in.size(); ++i)
    {
        state += coefficient * (in[i] - state);
        out[i] = state;
    }
    return out;
}

Signal HighPass(const Signal& in, float coefficient)
{
    const Signal low = LowPass(in, coefficient);
    Signal out(in.size());
    for (size_t i = 0; i < in.size(); ++i)
    {
        out[i] = in[i] - low[i];
    }
    return out;
}

Signal NoiseSignal(size_t length, uint32_t seed)
{
    Noise noise(seed);
    Signal out(length);
    std::ranges::generate(out, [&] { return noise.Next(); });
    return out;
}

// Blends the samples before the end towards those before the loop start, so that the jump
// from the end back to the start carries straight on.
void CrossfadeLoop(Signal& signal, size_t loopStart)
{
    const size_t fadeStart = signal.size() - kFadeSamples;
    for (size_t i = 0; i < kFadeSamples; ++i)
    {
        const float towardsStart = static_cast<float>(i) / static_cast<float>(kFadeSamples);
        float& sample = signal[fadeStart + i];
        sample =
            sample * (1.0f - towardsStart) + signal[loopStart - kFadeSamples + i] * towardsStart;
    }
}

// A signal that loops from its first sample: made with a lead-in that the fade uses.
Signal LoopFromStart(Signal signal)
{
    CrossfadeLoop(signal, kFadeSamples);
    signal.erase(signal.begin(), signal.begin() + kFadeSamples);
    return signal;
}

std::vector<int16_t> ToPcm(const Signal& signal, float amplitude)
{
    std::vector<int16_t> pcm(signal.size());
    std::ranges::transform(signal, pcm.begin(),
                           [amplitude](float value)
                           {
                               const float scaled =
                                   std::clamp(value * amplitude, -32767.0f, 32767.0f);
                               return static_cast<int16_t>(scaled);
                           });
    return pcm;
}

struct EngineVoice
{
    uint32_t cycleSamples;  // one engine revolution at the bank's rate
    uint32_t firings;       // ignitions per revolution
    float ringing;          // resonance of the exhaust: 0 dull .. 1.9 bright
    float roughness;        // noise share
};

// Whole revolutions of a firing pulse train through a resonator, started after the ringing
// has settled so that the loop's end joins its start.
std::vector<int16_t> EngineLoop(const EngineVoice& voice, uint32_t cycles, uint32_t seed)
{
    constexpr uint32_t kSettleCycles = 40;
    constexpr float kDamping = -0.88f;
    const uint32_t total = voice.cycleSamples * (kSettleCycles + cycles);
    const uint32_t firingGap = voice.cycleSamples / voice.firings;
    Noise noise(seed);
    Signal out;
    out.reserve(size_t{voice.cycleSamples} * cycles);
    float previous = 0.0f;
    float beforePrevious = 0.0f;
    for (uint32_t i = 0; i < total; ++i)
    {
        const uint32_t inCycle = i % voice.cycleSamples;
        const float saw =
            2.0f * static_cast<float>(inCycle) / static_cast<float>(voice.cycleSamples) - 1.0f;
        const float kick = i % firingGap == 0 ? 1.0f : 0.0f;
        const float ring = voice.ringing * previous + kDamping * beforePrevious + kick;
        beforePrevious = previous;
        previous = ring;
        if (i >= voice.cycleSamples * kSettleCycles)
        {
            out.push_back(0.35f * saw + 0.25f * ring + voice.roughness * noise.Next());
        }
    }
    return ToPcm(out, 11000.0f);
}

// Looped road and wind noises.
std::vector<int16_t> WindLoop(uint32_t seed)
{
    return ToPcm(LoopFromStart(LowPass(NoiseSignal(9000 + kFadeSamples, seed), 0.08f)), 30000.0f);
}

std::vector<int16_t> RumbleLoop(uint32_t seed)
{
    return ToPcm(LoopFromStart(LowPass(NoiseSignal(7000 + kFadeSamples, seed), 0.02f)), 60000.0f);
}

std::vector<int16_t> HissLoop(uint32_t seed)
{
    return ToPcm(LoopFromStart(HighPass(NoiseSignal(6000 + kFadeSamples, seed), 0.3f)), 9000.0f);
}

// A tyre squeal: a bright square tone with a slow wobble, looped near its end.
std::vector<int16_t> Squeal(uint32_t period, uint32_t seed)
{
    constexpr size_t kLength = kSquealLoopStart + 4000;
    Noise noise(seed);
    Signal out(kLength);
    for (size_t i = 0; i < kLength; ++i)
    {
        const uint32_t wobble = static_cast<uint32_t>(i / 2000 % 2);
        const uint32_t cycle = period + wobble;
        const float square = i % cycle < cycle / 2 ? 1.0f : -1.0f;
        out[i] = 0.7f * square + 0.15f * noise.Next();
    }
    CrossfadeLoop(out, kSquealLoopStart);
    return ToPcm(out, 7000.0f);
}

// Metal on asphalt: grating noise in bursts, looped near its end.
std::vector<int16_t> Scrape(uint32_t seed)
{
    constexpr size_t kLength = kScrapeLoopStart + 5000;
    Signal out = HighPass(NoiseSignal(kLength, seed), 0.15f);
    for (size_t i = 0; i < kLength; ++i)
    {
        out[i] *= i % 700 < 450 ? 1.0f : 0.4f;
    }
    CrossfadeLoop(out, kScrapeLoopStart);
    return ToPcm(out, 14000.0f);
}

// A crash: a burst of noise that dies away; lower ones for heavier hits.
std::vector<int16_t> Crash(size_t length, float tone, uint32_t seed)
{
    Signal out = LowPass(NoiseSignal(length, seed), tone);
    float envelope = 1.0f;
    for (float& sample : out)
    {
        sample *= envelope;
        envelope *= 0.9993f;
    }
    return ToPcm(out, 26000.0f);
}

struct ClassTuning
{
    std::string_view name;
    EngineVoice low;
    EngineVoice high;
    FloatRange lowRpm;
    FloatRange highRpm;
    FloatRange lowPitch;
    FloatRange highPitch;
    uint32_t squealPeriod;
};

constexpr std::array<ClassTuning, kClassCount> kClasses = {{
    {"Sound/125.std",
     {40, 1, 1.70f, 0.10f},
     {40, 1, 1.85f, 0.14f},
     {1000.0f, 11000.0f},
     {8000.0f, 16000.0f},
     {9000.0f, 24000.0f},
     {16000.0f, 34000.0f},
     11},
    {"Sound/250.std",
     {56, 1, 1.60f, 0.08f},
     {56, 2, 1.80f, 0.12f},
     {1000.0f, 10000.0f},
     {7000.0f, 15000.0f},
     {8000.0f, 22000.0f},
     {14000.0f, 30000.0f},
     12},
    {"Sound/500.std",
     {80, 2, 1.40f, 0.06f},
     {80, 2, 1.70f, 0.10f},
     {1000.0f, 8000.0f},
     {5500.0f, 13000.0f},
     {7000.0f, 19000.0f},
     {11000.0f, 26000.0f},
     14},
}};

// Loop 0 sounds at low revs and fades out towards its top; loop 1 fades in over it.
constexpr std::array<float, 6> kCurvePositions = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f};
constexpr std::array<float, 6> kLowLoopVolume = {70.0f, 85.0f, 90.0f, 75.0f, 40.0f, 10.0f};
constexpr std::array<float, 6> kHighLoopVolume = {10.0f, 35.0f, 70.0f, 90.0f, 100.0f, 100.0f};
}  // namespace

SoundBankContent DemoSoundBank(int bikeClass)
{
    const ClassTuning& tuning = kClasses[static_cast<size_t>(std::clamp(bikeClass, 0, 2))];
    const auto seed = static_cast<uint32_t>(0x5EED0000 + bikeClass * 0x100);
    SoundBankContent bank;
    std::ranges::copy(kCurvePositions, bank.loopCurvePos.begin());
    std::ranges::copy(kCurvePositions, bank.loopCurvePos.begin() + 6);
    std::ranges::copy(kLowLoopVolume, bank.loopCurveVol.begin());
    std::ranges::copy(kHighLoopVolume, bank.loopCurveVol.begin() + 6);
    bank.loopRpmRange = {tuning.lowRpm, tuning.highRpm, tuning.lowRpm, tuning.highRpm};
    bank.loopPitchRange = {tuning.lowPitch, tuning.highPitch, tuning.lowPitch, tuning.highPitch};
    // Loops 0 and 1 run past the 3800 samples the game restarts loop 0 at.
    const uint32_t cycles = 4480 / tuning.low.cycleSamples;
    bank.engineLoops = {EngineLoop(tuning.low, cycles, seed + 1),
                        EngineLoop(tuning.high, cycles, seed + 2),
                        EngineLoop(tuning.low, cycles / 2, seed + 3),
                        EngineLoop(tuning.high, cycles / 2, seed + 4)};
    bank.eventSounds = {
        WindLoop(seed + 10),
        Squeal(tuning.squealPeriod, seed + 11),
        RumbleLoop(seed + 12),
        HissLoop(seed + 13),
        Scrape(seed + 14),
        Crash(9000, 0.5f, seed + 15),
        Crash(7000, 0.25f, seed + 16),
        Crash(11000, 0.1f, seed + 17),
        RumbleLoop(seed + 18),
    };
    bank.eventPitch.assign(bank.eventSounds.size(), static_cast<float>(kDemoSoundRate));
    return bank;
}

std::string_view DemoSoundBankName(int bikeClass)
{
    return kClasses[static_cast<size_t>(std::clamp(bikeClass, 0, 2))].name;
}

bool AddDemoSounds(CprWriter& menuArchive, std::string& error)
{
    for (int bikeClass = 0; bikeClass < kClassCount; ++bikeClass)
    {
        const std::vector<uint8_t> bank = BuildSoundBank(DemoSoundBank(bikeClass), kDemoSoundRate);
        if (!menuArchive.Add(DemoSoundBankName(bikeClass), bank, MemberStorage::Smaller, error))
        {
            return false;
        }
    }
    return true;
}
}  // namespace kit
