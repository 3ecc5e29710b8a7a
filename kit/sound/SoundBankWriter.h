#pragma once

// Engine-sound banks (".std") as the game's bank reader takes them; the layout is described
// with the reader in sound/SoundBank.h. Names are left empty (the game never reads them) and
// the header word is 0.

#include <array>
#include <cstdint>
#include <vector>

#include "sound/SoundBank.h"

namespace kit
{
struct SoundBankContent
{
    float mixScale = 0.3f;
    float engineRpm = 2000.0f;
    float pitchOffset = 0.0f;
    std::array<float, SoundBank::kCurvePoints> loopCurveVol{};
    std::array<float, SoundBank::kCurvePoints> loopCurvePos{};
    std::array<FloatRange, SoundBank::kEngineLoopCount> loopRpmRange{};
    std::array<FloatRange, SoundBank::kEngineLoopCount> loopPitchRange{};
    std::array<std::vector<int16_t>, SoundBank::kEngineLoopCount> engineLoops;
    std::array<uint32_t, SoundBank::kEngineLoopCount> loopStarts{};
    // One pitch per effect sound, at most nine.
    std::vector<float> eventPitch;
    std::vector<std::vector<int16_t>> eventSounds;
};

// The samples go into the images at sampleRate, which the game ignores.
std::vector<uint8_t> BuildSoundBank(const SoundBankContent& content, uint32_t sampleRate);
}  // namespace kit
