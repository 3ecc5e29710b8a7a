#pragma once

// Colours of the 2D calls: Windows-style 0x00BBGGRR words, turned into 5-6-5 screen pixels by
// keeping each channel's top bits.

#include <cstdint>

namespace render
{

constexpr uint16_t ScreenColour(uint32_t colour)
{
    const uint32_t red = colour & 0xFF;
    const uint32_t green = (colour >> 8) & 0xFF;
    const uint32_t blue = (colour >> 16) & 0xFF;
    return static_cast<uint16_t>((red & 0xF8) << 8 | (green & 0xFC) << 3 | blue >> 3);
}

}  // namespace render
