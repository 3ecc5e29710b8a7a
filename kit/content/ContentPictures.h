#pragma once

// Generated pictures for the demo installation's race content: plain colours with a little
// structure (a darker border, stripes, a speckle), written as the file kind their name asks
// for. The same name always gives the same picture.

#include <cstdint>
#include <string_view>
#include <vector>

#include "kit/picture/Picture.h"

namespace kit
{
enum class PicturePattern
{
    Plain,     // a frame of the darker shade
    Stripes,   // two diagonal stripes of the accent
    Speckle,   // a fine speckle of the darker shade
    Gradient,  // from the colour at the top to the accent at the bottom
};

RgbaPicture MakePicture(int width, int height, uint32_t colour, uint32_t accent,
                        PicturePattern pattern, uint8_t alpha = 255);
// A colour for a name, bright enough to tell apart.
uint32_t ColourOfName(std::string_view name);
// A 24-bit BMP for names ending in ".bmp" (any case), a 32-bit TGA for all others.
std::vector<uint8_t> PictureFile(std::string_view name, const RgbaPicture& picture);
}  // namespace kit
