#pragma once

// Colour arithmetic of the pixel pipeline. Channels are integers 0-255; colours travel as
// 0xAARRGGBB words inside the board.

#include <cstdint>

namespace glide
{

// a x b / 255, exact for b = 0 and b = 255, so a white vertex colour leaves a texel unchanged.
constexpr int Mul(int a, int b)
{
    return (a * (b + 1)) >> 8;
}

constexpr int Alpha(uint32_t argb)
{
    return static_cast<int>(argb >> 24);
}
constexpr int Red(uint32_t argb)
{
    return static_cast<int>((argb >> 16) & 0xFF);
}
constexpr int Green(uint32_t argb)
{
    return static_cast<int>((argb >> 8) & 0xFF);
}
constexpr int Blue(uint32_t argb)
{
    return static_cast<int>(argb & 0xFF);
}

constexpr uint32_t PackArgb(int a, int r, int g, int b)
{
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) |
           (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}

// The caller's ABGR word (red in the low byte) as ARGB.
constexpr uint32_t AbgrToArgb(uint32_t abgr)
{
    return (abgr & 0xFF00FF00u) | ((abgr & 0xFFu) << 16) | ((abgr >> 16) & 0xFFu);
}

// 5-6-5 to 8 bits per channel by replicating the top bits, alpha 255.
constexpr uint32_t Expand565(uint32_t pixel)
{
    const uint32_t r = pixel >> 11;
    const uint32_t g = (pixel >> 5) & 0x3F;
    const uint32_t b = pixel & 0x1F;
    return 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
           ((b << 3) | (b >> 2));
}

// 4-4-4-4 to 8 bits per channel: each nibble x 17.
constexpr uint32_t Expand4444(uint32_t pixel)
{
    const uint32_t spread = (pixel & 0x000Fu) | ((pixel & 0x00F0u) << 4) |
                            ((pixel & 0x0F00u) << 8) | ((pixel & 0xF000u) << 12);
    return spread * 0x11u;
}

// Truncating 8-8-8 to 5-6-5, as clears write it.
constexpr uint16_t Pack565(uint32_t argb)
{
    return static_cast<uint16_t>(((argb >> 8) & 0xF800u) | ((argb >> 5) & 0x07E0u) |
                                 ((argb >> 3) & 0x001Fu));
}

}  // namespace glide
