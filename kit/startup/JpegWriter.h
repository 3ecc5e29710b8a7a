#pragma once

// Baseline JPEG files, as the render library decodes them for menu backgrounds.

#include <cstdint>
#include <optional>
#include <vector>

#include "kit/picture/Picture.h"

namespace kit
{
// A colour JPEG of the picture (alpha dropped) at the quality (1..100); nothing when the
// picture is empty or its pixel count does not match its size.
std::optional<std::vector<uint8_t>> WriteJpeg(const RgbaPicture& picture, int quality);
}  // namespace kit
