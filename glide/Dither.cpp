#include "glide/Dither.h"

#include <algorithm>

namespace glide
{
namespace
{

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

DitherTable BuildTable(bool dithered)
{
    DitherTable table{};
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 4; ++x)
        {
            const int threshold = dithered ? kBayer[y][x] : 0;
            table.threshold[y][x] = static_cast<uint8_t>(threshold);
            for (int value = 0; value < 256; ++value)
            {
                table.redBlue[y][x][value] =
                    static_cast<uint8_t>(std::min(31, (value + threshold / 2) >> 3));
                table.green[y][x][value] =
                    static_cast<uint8_t>(std::min(63, (value + threshold / 4) >> 2));
            }
        }
    }
    return table;
}

}  // namespace

const DitherTable& Dither4x4Table()
{
    static const DitherTable table = BuildTable(true);
    return table;
}

const DitherTable& TruncatingTable()
{
    static const DitherTable table = BuildTable(false);
    return table;
}

}  // namespace glide
