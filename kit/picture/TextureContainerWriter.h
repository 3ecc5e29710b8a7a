#pragma once

// Texture containers as the render library reads them: one entry after another, each a
// 12-byte header {u32 type (1 BMP, 2 TGA), u32 size of the picture file, u32 table index} and
// the picture file; no header of their own.

#include <cstdint>
#include <span>
#include <vector>

namespace kit
{

enum class ContainedPicture : uint32_t
{
    Bmp = 1,
    Tga = 2,
};

class TextureContainerWriter
{
public:
    void Add(ContainedPicture type, uint32_t tableIndex, std::span<const uint8_t> pictureFile);
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace kit
