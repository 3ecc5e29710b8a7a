#pragma once

// Uncompressed true-colour TGA files as the render library reads them: an 18-byte header, then
// bottom-up rows padded to 4 bytes. 32-bit pixels keep their alpha; 16-bit pixels are RGB 5-6-5
// words. Pictures whose rows need no padding are standard TGA files as well.

#include <cstdint>
#include <vector>

#include "kit/picture/Picture.h"

namespace kit
{

// bits: 16, 24 or 32.
std::vector<uint8_t> WriteTga(const RgbaPicture& picture, int bits);

}  // namespace kit
