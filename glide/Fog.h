#pragma once

// Table fog. Entry i of a 64-entry fog table holds the fog for W(i) = 2^(3 + i/4) / (8 - i%4):
// four entries per octave of W from 1 to 52428.8, spaced evenly in 1/W inside each octave.
// A pixel's fog interpolates between the two entries around its W, which it reads from its
// depth value (the same 4.12 float of W the W-buffer stores).

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "glide/Glide.h"

namespace glide
{

double FogTableW(int index);

// A fog table prepared for per-pixel lookups.
struct FogRamp
{
    int32_t level[kGrFogTableSize];  // the table's entries
    int32_t rise[kGrFogTableSize];   // to the next entry; 0 after the last
};

FogRamp MakeFogRamp(const GrFog table[kGrFogTableSize]);

// Where a depth value lies in the fog table, in 1/256 of an entry: 4 entries (1024) per octave
// of W, spaced evenly in 1/W; for W = 2^e (1 + m / 4096) the position is
// 1024 e + 2048 (1 - 1 / (1 + m / 4096)), taken at the middle of the mantissa step and rounded.
constexpr std::array<uint16_t, 4096> MakeFogOctavePositions()
{
    std::array<uint16_t, 4096> positions{};
    for (int m = 0; m < 4096; ++m)
    {
        const double position = 2048.0 * (1.0 - 4096.0 / (4096.0 + m + 0.5)) + 0.5;
        positions[m] = static_cast<uint16_t>(std::min(1023, static_cast<int>(position)));
    }
    return positions;
}
inline constexpr std::array<uint16_t, 4096> kFogOctavePositions = MakeFogOctavePositions();

// Fog 0-255 of a pixel with the given depth value (EncodeDepth of its W), interpolated between
// the two entries around it: W below 1 takes the first entry, W of 65536 and more (and
// W <= 0) the last.
inline int FogAmount(const FogRamp& ramp, uint32_t depth)
{
    const int position =
        static_cast<int>((depth >> 12) * 1024 + kFogOctavePositions[depth & 0xFFF]);
    const int index = position >> 8;
    return (ramp.level[index] * 256 + (position & 255) * ramp.rise[index]) >> 8;
}

// FogAmount of every depth value of one fog table, for a lookup per pixel.
using FogByDepth = std::array<uint8_t, 0x10000>;
std::shared_ptr<const FogByDepth> MakeFogByDepth(const GrFog table[kGrFogTableSize]);

// Mixes the fog colour channel in by fog amount 0-255, rounded.
constexpr int ApplyFog(int channel, int fogChannel, int fog)
{
    return (channel * (255 - fog) + fogChannel * fog + 127) / 255;
}

}  // namespace glide
