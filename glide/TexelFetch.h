#pragma once

// Reading the selected texture, whose texels the texture unit keeps decoded to 0xAARRGGBB
// (5-6-5 and 4-4-4-4 widened, 8-bit indices through the palette). Texel coordinates come in as
// fixed point with 8 fraction bits (x256 = texel x x 256); every access wraps (floor-modulo),
// so negative coordinates repeat the texture as positive ones do.
//
// Point sampling takes texel (floor(x) mod w, floor(y) mod h). Bilinear sampling shifts by half
// a texel and blends the four texels around (x - 0.5, y - 0.5) with 8-bit weights, per channel:
// top = (c00 (256 - fx) + c10 fx) >> 8, likewise bottom, result = (top (256 - fy) + bottom fy)
// >> 8.

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace glide
{

// Decoded rows hold width + 1 texels, the last repeating the row's first, and each texel is
// stored beside the one below it (the last row's below the first's): the four texels a
// bilinear sample blends, (x, y) (x, y + 1) (x + 1, y) (x + 1, y + 1), are four words side by
// side, wrapped or not, one load for the wide routines.
struct TexelSampler
{
    const uint32_t* texels = nullptr;
    uint32_t widthMask = 0;  // width - 1 (a power of two)
    uint32_t heightMask = 0;
    uint32_t stride = 1;           // texel slots from one row to the next: width + 1
    float coordinateScale = 0.0f;  // s and t (0..256 along the longer side) to x256
};

inline constexpr size_t kDecodedWordsPerTexel = 2;

// The word of texel (x, y), x up to width (the repeated first texel), y below the height.
[[gnu::always_inline]] inline size_t DecodedIndex(uint32_t stride, uint32_t x, uint32_t y)
{
    return (static_cast<size_t>(y) * stride + x) * kDecodedWordsPerTexel;
}

// s x scale to x256: clamped to +-2^30 (far beyond any texture repeat that matters), floor.
inline int32_t TexelCoordinate(float scaled)
{
    constexpr float kLimit = 1073741824.0f;
    scaled = std::max(-kLimit, scaled);  // also not a number
    scaled = std::min(kLimit, scaled);
    const int32_t truncated = static_cast<int32_t>(scaled);
    return truncated - (scaled < static_cast<float>(truncated) ? 1 : 0);
}

[[gnu::always_inline]] inline uint32_t TexelAt(const TexelSampler& sampler, uint32_t x, uint32_t y)
{
    return sampler.texels[DecodedIndex(sampler.stride, x, y)];
}

[[gnu::always_inline]] inline uint32_t SamplePoint(const TexelSampler& sampler, int32_t x256,
                                                   int32_t y256)
{
    const uint32_t x = static_cast<uint32_t>(x256 >> 8) & sampler.widthMask;
    const uint32_t y = static_cast<uint32_t>(y256 >> 8) & sampler.heightMask;
    return TexelAt(sampler, x, y);
}

// Four 8-bit channels spread into 16-bit lanes, so that one multiply weighs all of them:
// lane 0 blue, 1 red, 2 green, 3 alpha.
inline uint64_t SpreadChannels(uint32_t argb)
{
    return (argb & 0x00FF00FFu) | (static_cast<uint64_t>(argb & 0xFF00FF00u) << 24);
}

inline uint32_t GatherChannels(uint64_t lanes)
{
    return static_cast<uint32_t>(lanes & 0x00FF00FFu) |
           static_cast<uint32_t>((lanes >> 24) & 0xFF00FF00u);
}

// (a (256 - f) + b f) >> 8 in every lane; no lane can carry into the next (255 x 256 < 2^16).
inline uint64_t LerpLanes(uint64_t a, uint64_t b, uint32_t f)
{
    constexpr uint64_t kLaneMask = 0x00FF00FF00FF00FFull;
    return ((a * (256 - f) + b * f) >> 8) & kLaneMask;
}

// x256 and y256 are the sample position, already moved back by half a texel (128).
[[gnu::always_inline]] inline uint32_t SampleBilinear(const TexelSampler& sampler, int32_t x256,
                                                      int32_t y256)
{
    const uint32_t x = static_cast<uint32_t>(x256 >> 8) & sampler.widthMask;
    const uint32_t y = static_cast<uint32_t>(y256 >> 8) & sampler.heightMask;
    const uint32_t* const quad = sampler.texels + DecodedIndex(sampler.stride, x, y);
    const uint32_t fx = static_cast<uint32_t>(x256) & 0xFF;
    const uint32_t fy = static_cast<uint32_t>(y256) & 0xFF;
    const uint64_t top = LerpLanes(SpreadChannels(quad[0]), SpreadChannels(quad[2]), fx);
    const uint64_t bottom = LerpLanes(SpreadChannels(quad[1]), SpreadChannels(quad[3]), fx);
    return GatherChannels(LerpLanes(top, bottom, fy));
}

}  // namespace glide
