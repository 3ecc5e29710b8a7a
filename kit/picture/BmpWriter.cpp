#include "kit/picture/BmpWriter.h"

#include <algorithm>
#include <cstddef>

#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{

constexpr uint32_t kHeaderSize = 54;
constexpr uint32_t kPaletteSize = 256 * 4;

size_t Stride(int width, int bytesPerPixel)
{
    return (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
}

std::vector<uint8_t> Header(int width, int height, int bits, uint32_t pixelOffset)
{
    const auto pixelBytes = static_cast<uint32_t>(Stride(width, bits / 8) * height);
    std::vector<uint8_t> file(pixelOffset + pixelBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    StoreLe32(&file[2], static_cast<uint32_t>(file.size()));
    StoreLe32(&file[10], pixelOffset);
    StoreLe32(&file[14], 40);
    StoreLe32(&file[18], static_cast<uint32_t>(width));
    StoreLe32(&file[22], static_cast<uint32_t>(height));
    StoreLe16(&file[26], 1);
    StoreLe16(&file[28], static_cast<uint16_t>(bits));
    StoreLe32(&file[34], pixelBytes);
    StoreLe32(&file[38], 2834);
    StoreLe32(&file[42], 2834);
    StoreLe32(&file[46], bits == 8 ? 256 : 0);
    return file;
}

// Where the file holds picture row y, which is stored bottom-up.
uint8_t* FileRow(std::vector<uint8_t>& file, uint32_t pixelOffset, size_t stride, int height, int y)
{
    return &file[pixelOffset + stride * static_cast<size_t>(height - 1 - y)];
}

}  // namespace

std::vector<uint8_t> WriteBmp24(const RgbaPicture& picture)
{
    std::vector<uint8_t> file = Header(picture.width, picture.height, 24, kHeaderSize);
    const size_t stride = Stride(picture.width, 3);
    for (int y = 0; y < picture.height; ++y)
    {
        uint8_t* row = FileRow(file, kHeaderSize, stride, picture.height, y);
        const uint8_t* source = &picture.rgba[static_cast<size_t>(y) * picture.width * 4];
        for (int x = 0; x < picture.width; ++x, row += 3, source += 4)
        {
            row[0] = source[2];
            row[1] = source[1];
            row[2] = source[0];
        }
    }
    return file;
}

std::vector<uint8_t> WriteBmp8(const IndexedPicture& picture)
{
    const uint32_t pixelOffset = kHeaderSize + kPaletteSize;
    std::vector<uint8_t> file = Header(picture.width, picture.height, 8, pixelOffset);
    for (size_t entry = 0; entry < picture.palette.size(); ++entry)
    {
        const uint32_t colour = picture.palette[entry];
        uint8_t* bgr0 = &file[kHeaderSize + 4 * entry];
        bgr0[0] = static_cast<uint8_t>(colour);
        bgr0[1] = static_cast<uint8_t>(colour >> 8);
        bgr0[2] = static_cast<uint8_t>(colour >> 16);
    }
    const size_t stride = Stride(picture.width, 1);
    for (int y = 0; y < picture.height; ++y)
    {
        uint8_t* row = FileRow(file, pixelOffset, stride, picture.height, y);
        const uint8_t* source = &picture.indices[static_cast<size_t>(y) * picture.width];
        std::copy(source, source + picture.width, row);
    }
    return file;
}

}  // namespace kit
