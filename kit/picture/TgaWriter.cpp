#include "kit/picture/TgaWriter.h"

#include <cassert>
#include <cstddef>

#include "core/util/LittleEndian.h"

namespace kit
{

std::vector<uint8_t> WriteTga(const RgbaPicture& picture, int bits)
{
    assert(bits == 16 || bits == 24 || bits == 32);
    constexpr size_t kHeaderSize = 18;
    constexpr uint8_t kTrueColour = 2;
    const int bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(picture.width) * bytesPerPixel + 3) & ~size_t{3};
    std::vector<uint8_t> file(kHeaderSize + stride * static_cast<size_t>(picture.height), 0);
    file[2] = kTrueColour;
    StoreLe16(&file[12], static_cast<uint16_t>(picture.width));
    StoreLe16(&file[14], static_cast<uint16_t>(picture.height));
    file[16] = static_cast<uint8_t>(bits);
    file[17] = bits == 32 ? 8 : 0;  // alpha bits; rows bottom-up
    for (int y = 0; y < picture.height; ++y)
    {
        uint8_t* row = &file[kHeaderSize + stride * static_cast<size_t>(picture.height - 1 - y)];
        const uint8_t* source = &picture.rgba[static_cast<size_t>(y) * picture.width * 4];
        for (int x = 0; x < picture.width; ++x, row += bytesPerPixel, source += 4)
        {
            if (bits == 16)
            {
                StoreLe16(row, static_cast<uint16_t>((source[0] >> 3) << 11 |
                                                     (source[1] >> 2) << 5 | source[2] >> 3));
                continue;
            }
            row[0] = source[2];
            row[1] = source[1];
            row[2] = source[0];
            if (bits == 32)
            {
                row[3] = source[3];
            }
        }
    }
    return file;
}

}  // namespace kit
