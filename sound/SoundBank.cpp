#include "sound/SoundBank.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <vector>

#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"

namespace
{
// Reads the bank front to back; any read past the end fails the rest.
class BankReader
{
public:
    explicit BankReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    std::optional<uint32_t> U32()
    {
        const std::optional<std::span<const uint8_t>> field = Bytes(4);
        return field ? std::optional(LoadLe32(field->data())) : std::nullopt;
    }

    std::optional<float> F32()
    {
        const std::optional<uint32_t> bits = U32();
        return bits ? std::optional(std::bit_cast<float>(*bits)) : std::nullopt;
    }

    std::optional<std::span<const uint8_t>> Bytes(size_t count)
    {
        if (count > bytes_.size() - position_)
        {
            return std::nullopt;
        }
        const std::span<const uint8_t> field = bytes_.subspan(position_, count);
        position_ += count;
        return field;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

template <typename Values>
bool ReadFloats(BankReader& reader, Values& values)
{
    for (auto& value : values)
    {
        const std::optional<float> read = reader.F32();
        if (!read)
        {
            return false;
        }
        value = *read;
    }
    return true;
}

bool ReadRanges(BankReader& reader, std::span<FloatRange> ranges)
{
    for (FloatRange& range : ranges)
    {
        const std::optional<float> low = reader.F32();
        const std::optional<float> high = reader.F32();
        if (!low || !high)
        {
            return false;
        }
        range = {*low, *high};
    }
    return true;
}

// A sound record: name skipped, image loaded.
bool ReadSound(BankReader& reader, SampleBuffer& sound)
{
    const std::optional<uint32_t> nameLength = reader.U32();
    if (!nameLength || *nameLength > SoundBank::kMaxNameLength || !reader.Bytes(*nameLength))
    {
        return false;
    }
    const std::optional<uint32_t> imageLength = reader.U32();
    if (!imageLength || *imageLength < SoundBank::kMinImageLength)
    {
        return false;
    }
    const std::optional<std::span<const uint8_t>> image = reader.Bytes(*imageLength);
    return image && sound.LoadFromMemory(*image);
}

bool ReadBank(BankReader& reader, bool interpolate, SoundBank& bank)
{
    const std::optional<uint32_t> headerWord = reader.U32();
    const std::optional<float> mixScale = reader.F32();
    const std::optional<float> engineRpm = reader.F32();
    const std::optional<float> pitchOffset = reader.F32();
    if (!headerWord || !mixScale || !engineRpm || !pitchOffset ||
        !ReadFloats(reader, bank.loopCurveVol) || !ReadFloats(reader, bank.loopCurvePos) ||
        !ReadRanges(reader, bank.loopRpmRange) || !ReadRanges(reader, bank.loopPitchRange))
    {
        return false;
    }
    bank.mixScale = *mixScale;
    bank.engineRpm = *engineRpm;
    bank.pitchOffset = *pitchOffset;

    for (SampleBuffer& loop : bank.engineLoops)
    {
        if (!ReadSound(reader, loop))
        {
            return false;
        }
        if (interpolate)
        {
            loop.SetInterleaved(true);
        }
    }
    for (SampleBuffer& loop : bank.engineLoops)
    {
        const std::optional<uint32_t> loopStart = reader.U32();
        if (!loopStart)
        {
            return false;
        }
        loop.SetLoop(*loopStart, 0);
    }

    const std::optional<uint32_t> eventCount = reader.U32();
    if (!eventCount || *eventCount > SoundBank::kMaxEventSounds)
    {
        return false;
    }
    bank.eventSoundCount = *eventCount;
    const auto pitches = std::span(bank.eventPitch).first(*eventCount);
    if (!ReadFloats(reader, pitches))
    {
        return false;
    }
    for (SampleBuffer& sound : std::span(bank.eventSounds).first(*eventCount))
    {
        if (!ReadSound(reader, sound))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

bool ParseSoundBank(std::span<const uint8_t> bytes, bool interpolate, SoundBank& bank)
{
    BankReader reader(bytes);
    SoundBank read;
    const bool loaded = ReadBank(reader, interpolate, read);
    bank = loaded ? std::move(read) : SoundBank{};
    return loaded;
}

bool LoadSoundBank(DAFile& file, std::string_view name, bool interpolate, SoundBank& bank)
{
    if (!file.Exists(name) || !file.Open(name))
    {
        bank = {};
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(file.GetLength(), 0)));
    const uint32_t read = file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    file.Close();
    bytes.resize(read);
    return ParseSoundBank(bytes, interpolate, bank);
}
