#pragma once

// JPEG files, decoded by the JPEG support into a bitmap file image that is then read as a
// bitmap (so the picture becomes Rgb24).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "render/ImageReader.h"

namespace render
{

bool DecodeJpegImage(std::span<const uint8_t> image, ImageBuffer& buffer, std::string& reason);

class JpegReader : public ImageReader
{
public:
    using ImageReader::ImageReader;

    bool Load(std::string_view name) { return LoadMember(name, DecodeJpegImage); }
    bool Decode(std::span<const uint8_t> image) { return DecodeImage(image, DecodeJpegImage); }
};

}  // namespace render
