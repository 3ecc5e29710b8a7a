#include "render/BmpReader.h"

#include <cstring>

#include "core/util/LittleEndian.h"
#include "render/ImageBuffer.h"

namespace render
{
namespace
{

constexpr size_t kHeaderFieldsEnd = 30;  // the depth field at 28 is the last one read
constexpr size_t kPaletteOffset = 54;
constexpr size_t kRows24Offset = 54;
constexpr size_t kRows8Offset = 1078;

size_t FileStride(int width, int bytesPerPixel)
{
    return (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
}

// The bytes the rows take in the file: every row but the last with its padding.
bool RowsFit(std::span<const uint8_t> image, size_t offset, size_t stride, int width,
             int bytesPerPixel, int height)
{
    const size_t needed = offset + stride * static_cast<size_t>(height - 1) +
                          static_cast<size_t>(width) * bytesPerPixel;
    return needed <= image.size();
}

void Decode8(std::span<const uint8_t> image, ImageBuffer& buffer, int width, int height)
{
    const size_t stride = FileStride(width, 1);
    uint8_t* const palette = buffer.NewPalette();
    for (size_t entry = 0; entry < kPaletteColours; ++entry)
    {
        const uint8_t* bgr = image.data() + kPaletteOffset + 4 * entry;
        palette[4 * entry + 0] = bgr[2];
        palette[4 * entry + 1] = bgr[1];
        palette[4 * entry + 2] = bgr[0];
    }
    uint8_t* const pixels = buffer.RequestPictureWork(width, height).data();
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* source =
            image.data() + kRows8Offset + stride * static_cast<size_t>(height - 1 - y);
        uint8_t* target = pixels + stride * static_cast<size_t>(y);
        std::memcpy(target, source, static_cast<size_t>(width));
        std::memset(target + width, 0, stride - static_cast<size_t>(width));
    }
    buffer.SetPicture(ImageFormat::Palette8, width, height, static_cast<int>(stride), pixels,
                      palette);
}

void Decode24(std::span<const uint8_t> image, ImageBuffer& buffer, int width, int height)
{
    const size_t fileStride = FileStride(width, 3);
    const size_t stride = static_cast<size_t>(width) * 3;
    uint8_t* const pixels = buffer.RequestPictureWork(width, height).data();
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* source =
            image.data() + kRows24Offset + fileStride * static_cast<size_t>(height - 1 - y);
        uint8_t* target = pixels + stride * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x, source += 3, target += 3)
        {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
    }
    buffer.SetPicture(ImageFormat::Rgb24, width, height, static_cast<int>(stride), pixels, nullptr);
}

}  // namespace

bool DecodeBmpImage(std::span<const uint8_t> image, ImageBuffer& buffer, std::string& reason)
{
    if (image.size() < kHeaderFieldsEnd)
    {
        reason = "the bitmap header is cut short";
        return false;
    }
    const auto width = static_cast<int32_t>(LoadLe32(image.data() + 18));
    const auto height = static_cast<int32_t>(LoadLe32(image.data() + 22));
    const int bits = LoadLe16(image.data() + 28);
    if (bits != 8 && bits != 24)
    {
        reason = "a bitmap of " + std::to_string(bits) + " bits a pixel (only 8 and 24 are read)";
        return false;
    }
    if (width < 1 || width > kMaxPictureSide || height < 1 || height > kMaxPictureSide)
    {
        reason = "a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels (each side must be 1 to " + std::to_string(kMaxPictureSide) +
                 "; bottom-up rows only)";
        return false;
    }
    const int bytesPerPixel = bits / 8;
    const size_t offset = bits == 8 ? kRows8Offset : kRows24Offset;
    if (!RowsFit(image, offset, FileStride(width, bytesPerPixel), width, bytesPerPixel, height))
    {
        reason = "the bitmap's pixel rows run past the end of the file";
        return false;
    }
    if (bits == 8)
    {
        Decode8(image, buffer, width, height);
    }
    else
    {
        Decode24(image, buffer, width, height);
    }
    return true;
}

}  // namespace render
