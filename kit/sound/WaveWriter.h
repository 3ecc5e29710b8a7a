#pragma once

// WAVE images in the canonical layout the game's sound reader takes: a 44-byte header (RIFF,
// a 16-byte "fmt " chunk for 16-bit mono PCM, the "data" chunk header), then the samples.

#include <cstdint>
#include <span>
#include <vector>

namespace kit
{
std::vector<uint8_t> BuildWaveImage(std::span<const int16_t> samples, uint32_t sampleRate);
}  // namespace kit
