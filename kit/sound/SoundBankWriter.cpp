#include "kit/sound/SoundBankWriter.h"

#include <bit>
#include <cassert>

#include "core/util/LittleEndian.h"
#include "kit/sound/WaveWriter.h"

namespace kit
{
namespace
{
class BankBytes
{
public:
    void U32(uint32_t value)
    {
        const size_t at = bytes_.size();
        bytes_.resize(at + 4);
        StoreLe32(bytes_.data() + at, value);
    }
    void F32(float value) { U32(std::bit_cast<uint32_t>(value)); }
    void Floats(std::span<const float> values)
    {
        for (const float value : values)
        {
            F32(value);
        }
    }
    void Ranges(std::span<const FloatRange> ranges)
    {
        for (const FloatRange& range : ranges)
        {
            F32(range.low);
            F32(range.high);
        }
    }
    // A sound record without a name.
    void Sound(std::span<const int16_t> samples, uint32_t sampleRate)
    {
        const std::vector<uint8_t> image = BuildWaveImage(samples, sampleRate);
        U32(0);
        U32(static_cast<uint32_t>(image.size()));
        bytes_.insert(bytes_.end(), image.begin(), image.end());
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};
}  // namespace

std::vector<uint8_t> BuildSoundBank(const SoundBankContent& content, uint32_t sampleRate)
{
    assert(content.eventPitch.size() == content.eventSounds.size());
    assert(content.eventSounds.size() <= SoundBank::kMaxEventSounds);
    BankBytes bank;
    bank.U32(0);
    bank.F32(content.mixScale);
    bank.F32(content.engineRpm);
    bank.F32(content.pitchOffset);
    bank.Floats(content.loopCurveVol);
    bank.Floats(content.loopCurvePos);
    bank.Ranges(content.loopRpmRange);
    bank.Ranges(content.loopPitchRange);
    for (const std::vector<int16_t>& loop : content.engineLoops)
    {
        bank.Sound(loop, sampleRate);
    }
    for (const uint32_t loopStart : content.loopStarts)
    {
        bank.U32(loopStart);
    }
    bank.U32(static_cast<uint32_t>(content.eventSounds.size()));
    bank.Floats(content.eventPitch);
    for (const std::vector<int16_t>& sound : content.eventSounds)
    {
        bank.Sound(sound, sampleRate);
    }
    return bank.Take();
}
}  // namespace kit
