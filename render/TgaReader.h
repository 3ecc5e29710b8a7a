#pragma once

// Uncompressed true-colour TGA files of 32, 24 or 16 bits a pixel. Only the size and depth
// fields of the header are read: the rows start at offset 18, bottom-up, each padded to 4
// bytes. 32-bit pixels are blue, green, red, alpha; 24-bit ones blue, green, red; 16-bit ones
// little-endian RGB 5-6-5 words. The picture becomes Rgba32, top-down, with alpha 255 where
// the file has none.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "render/ImageReader.h"

namespace render
{

bool DecodeTgaImage(std::span<const uint8_t> image, ImageBuffer& buffer, std::string& reason);

class TgaReader : public ImageReader
{
public:
    using ImageReader::ImageReader;

    bool Load(std::string_view name) { return LoadMember(name, DecodeTgaImage); }
    bool ReadOpen(const TextureImageEntry& entry, DAFile& file)
    {
        return ReadEntry(entry, file, DecodeTgaImage);
    }
    bool Decode(std::span<const uint8_t> image) { return DecodeImage(image, DecodeTgaImage); }
};

}  // namespace render
