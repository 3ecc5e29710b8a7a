#pragma once

// 16-bit PCM WAVE data as the sound engine plays it: every 16-bit word of the data chunk
// becomes one float of the same value (-12345 gives -12345.0), whatever the header says of
// channels, bits and rate; the rate of playback is set by the events that play it.
// Only format tag 1 (PCM) is accepted. A reader fails, and leaves samples empty, for any
// size or offset that does not fit the bytes it was given.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Longest sample the mixer's 8.8 positions can run through.
inline constexpr uint32_t kMaxWaveSamples = 1u << 23;

// The canonical layout, chunk ids unchecked: a 12-byte RIFF header, the "fmt " chunk at
// offset 12, and the data chunk directly after the fmt payload.
bool ParseWaveImage(std::span<const uint8_t> image, std::vector<float>& samples);

// A RIFF "WAVE" form walked chunk by chunk: the "fmt " chunk, then the "data" chunk after it,
// each found wherever it lies.
bool ParseRiffWave(std::span<const uint8_t> file, std::vector<float>& samples);

// A WAVE file on the disk, read through ParseRiffWave.
bool LoadWaveFile(std::string_view name, std::vector<float>& samples);
