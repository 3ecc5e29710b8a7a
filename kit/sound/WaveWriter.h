#pragma once

// WAVE images in the canonical layout the game's sound readers take: a 44-byte header (RIFF,
// a 16-byte "fmt " chunk for 16-bit PCM, the "data" chunk header), then the samples (frames of
// one sample per channel).

#include <cstdint>
#include <span>
#include <vector>

namespace kit
{
std::vector<uint8_t> BuildWaveImage(std::span<const int16_t> samples, uint32_t sampleRate,
                                    uint16_t channels = 1);
}  // namespace kit
