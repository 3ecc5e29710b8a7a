#include "render/TgaReader.h"

#include "core/util/LittleEndian.h"
#include "render/ImageBuffer.h"

namespace render
{
namespace
{

constexpr size_t kHeaderSize = 18;

void ExpandPixel(const uint8_t* source, int bits, uint8_t* rgba)
{
    switch (bits)
    {
        case 32:
            rgba[0] = source[2];
            rgba[1] = source[1];
            rgba[2] = source[0];
            rgba[3] = source[3];
            break;
        case 24:
            rgba[0] = source[2];
            rgba[1] = source[1];
            rgba[2] = source[0];
            rgba[3] = 0xFF;
            break;
        default:
        {
            const uint16_t pixel = LoadLe16(source);
            rgba[0] = static_cast<uint8_t>((pixel >> 11) << 3);
            rgba[1] = static_cast<uint8_t>(((pixel >> 5) & 0x3F) << 2);
            rgba[2] = static_cast<uint8_t>((pixel & 0x1F) << 3);
            rgba[3] = 0xFF;
            break;
        }
    }
}

}  // namespace

bool DecodeTgaImage(std::span<const uint8_t> image, ImageBuffer& buffer, std::string& reason)
{
    if (image.size() < kHeaderSize)
    {
        reason = "the TGA header is cut short";
        return false;
    }
    const int bits = image[16];
    if (bits != 32 && bits != 24 && bits != 16)
    {
        reason = "a TGA of " + std::to_string(bits) + " bits a pixel (only 16, 24 and 32 are read)";
        return false;
    }
    const int width = static_cast<int16_t>(LoadLe16(image.data() + 12));
    const int height = static_cast<int16_t>(LoadLe16(image.data() + 14));
    if (width < 1 || width > kMaxPictureSide || height < 1 || height > kMaxPictureSide)
    {
        reason = "a TGA of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels (each side must be 1 to " + std::to_string(kMaxPictureSide) + ")";
        return false;
    }
    const int bytesPerPixel = bits / 8;
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    const size_t fileStride = (rowBytes + 3) & ~size_t{3};
    if (kHeaderSize + fileStride * static_cast<size_t>(height - 1) + rowBytes > image.size())
    {
        reason = "the TGA's pixel rows run past the end of the file";
        return false;
    }
    const size_t stride = static_cast<size_t>(width) * 4;
    uint8_t* const pixels = buffer.RequestPictureWork(width, height).data();
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* source =
            image.data() + kHeaderSize + fileStride * static_cast<size_t>(height - 1 - y);
        uint8_t* target = pixels + stride * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x, source += bytesPerPixel, target += 4)
        {
            ExpandPixel(source, bits, target);
        }
    }
    buffer.SetPicture(ImageFormat::Rgba32, width, height, static_cast<int>(stride), pixels,
                      nullptr);
    return true;
}

}  // namespace render
