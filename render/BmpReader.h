#pragma once

// Windows bitmap files of 8 bits (256-colour palette) or 24 bits a pixel. Only the size and
// depth fields of the header are read: the palette is always at offset 54, the rows of an
// 8-bit picture at 1078 and those of a 24-bit picture at 54, bottom-up, each padded to 4 bytes.
// An 8-bit picture becomes Palette8 with the file's row stride; a 24-bit one Rgb24 with rows
// of 3 x width bytes. Both top-down.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "render/ImageReader.h"

namespace render
{

bool DecodeBmpImage(std::span<const uint8_t> image, ImageBuffer& buffer, std::string& reason);

class BmpReader : public ImageReader
{
public:
    using ImageReader::ImageReader;

    bool Load(std::string_view name) { return LoadMember(name, DecodeBmpImage); }
    bool ReadOpen(const TextureImageEntry& entry, DAFile& file)
    {
        return ReadEntry(entry, file, DecodeBmpImage);
    }
    bool Decode(std::span<const uint8_t> image) { return DecodeImage(image, DecodeBmpImage); }
};

}  // namespace render
