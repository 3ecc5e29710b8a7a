#pragma once

// The kit's own bitmap glyphs, from which every font picture of the demo installation is drawn:
// 5 columns by 10 rows. Row 0 holds the accents of capitals, rows 1 to 7 capitals, digits and
// ascenders, rows 3 to 7 small letters, rows 8 and 9 descenders.

#include <array>
#include <cstdint>

namespace kit
{

inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 10;

// One byte a row; bit 4 is the leftmost column.
using GlyphShape = std::array<uint8_t, kGlyphRows>;

// The glyph of a Windows-1252 character: the ASCII letters, digits and signs and the accented
// letters of the game's texts; blank for the others (the blank and the tab among them).
const GlyphShape& GlyphShapeOf(uint8_t character);

}  // namespace kit
