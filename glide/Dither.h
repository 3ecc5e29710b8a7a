#pragma once

// The final 8-8-8 to 5-6-5 step of every drawn pixel, ordered-dithered with a 4 x 4 Bayer
// matrix or plainly truncated. Tables per matrix position keep the per-pixel work to lookups.

#include <cstdint>

namespace glide
{

struct DitherTable
{
    // [y & 3][x & 3]: the Bayer threshold 0-15 (all 0 when truncating). A channel v becomes
    // min(31, (v + t / 2) >> 3) for red and blue, min(63, (v + t / 4) >> 2) for green.
    uint8_t threshold[4][4];
    // [y & 3][x & 3][channel value]: the 5-bit red or blue, and the 6-bit green.
    uint8_t redBlue[4][4][256];
    uint8_t green[4][4][256];
};

const DitherTable& Dither4x4Table();
const DitherTable& TruncatingTable();

// The row of a table that pixels of screen row y use.
struct DitherRow
{
    const uint8_t (*redBlue)[256];
    const uint8_t (*green)[256];

    DitherRow(const DitherTable& table, int y)
        : redBlue(table.redBlue[y & 3]), green(table.green[y & 3])
    {
    }

    uint16_t Pack(int x, int r, int g, int b) const
    {
        const uint8_t* rb = redBlue[x & 3];
        return static_cast<uint16_t>((rb[r] << 11) | (green[x & 3][g] << 5) | rb[b]);
    }
};

}  // namespace glide
