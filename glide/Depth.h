#pragma once

// The W-buffer's 16-bit depth value: a small float, 4 exponent bits over 12 mantissa bits, of
// W = 1 / oow. Monotonic in W, so every compare function keeps its meaning; W below 1 is 0,
// W of 65536 and more (and W <= 0 or not a number, from oow <= 0) is 0xFFFF, which is also
// the clear value.

#include <bit>
#include <cstdint>

namespace glide
{

constexpr uint32_t kFloatOneBits = 0x3F800000u;

// The value straight from the bits of W as a float: W = 2^e x (1 + m / 2^23) with e = 0..15
// gives e << 12 | (m >> 11).
inline uint32_t EncodeDepth(float w)
{
    const uint32_t bits = std::bit_cast<uint32_t>(w);
    if (bits < kFloatOneBits)
    {
        return 0;
    }
    const uint32_t value = (bits >> 11) - (kFloatOneBits >> 11);
    return value < 0xFFFFu ? value : 0xFFFFu;
}

// Compare functions are bit sets: bit 0 passes less, bit 1 equal, bit 2 greater.
inline bool DepthPasses(uint32_t functionBits, uint32_t incoming, uint32_t stored)
{
    const uint32_t order = incoming < stored ? 0u : (incoming == stored ? 1u : 2u);
    return ((functionBits >> order) & 1u) != 0;
}

}  // namespace glide
