#pragma once

// Windows bitmap files as the render library reads them: a 54-byte header, for 8-bit pictures
// the full 256-colour palette, then bottom-up rows padded to 4 bytes.

#include <cstdint>
#include <vector>

#include "kit/picture/Picture.h"

namespace kit
{

std::vector<uint8_t> WriteBmp24(const RgbaPicture& picture);  // alpha is dropped
std::vector<uint8_t> WriteBmp8(const IndexedPicture& picture);

}  // namespace kit
