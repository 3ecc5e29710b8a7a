#pragma once

// What the picture readers share: the image buffer they decode into, and reading a whole
// picture file, from the buffer's archive or from a texture container, before decoding it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class DAFile;

namespace render
{

class ImageBuffer;

// Decodes a whole picture file held in memory into the buffer; on failure says why.
using ImageDecoder = bool (*)(std::span<const uint8_t> image, ImageBuffer& buffer,
                              std::string& reason);

// The 12-byte header of one picture in a texture container.
struct TextureImageEntry
{
    static constexpr uint32_t kBmp = 1;
    static constexpr uint32_t kTga = 2;
    static constexpr uint32_t kSize = 12;

    uint32_t type = 0;
    uint32_t size = 0;  // bytes of the picture file that follows
    uint32_t tableIndex = 0;
};

class ImageReader
{
public:
    explicit ImageReader(ImageBuffer* buffer) : buffer_(buffer) {}
    virtual ~ImageReader() = default;
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;

protected:
    // Reads the member whole and decodes it; a failure of either is reported in a message box.
    bool LoadMember(std::string_view name, ImageDecoder decode);
    // Reads the entry's picture from the open container and decodes it, silently.
    bool ReadEntry(const TextureImageEntry& entry, DAFile& file, ImageDecoder decode);
    bool DecodeImage(std::span<const uint8_t> image, ImageDecoder decode);

private:
    ImageBuffer* buffer_;
};

}  // namespace render
