#pragma once

// Bitmap glyphs of our own, 5 columns by 10 rows: the demo installation's font pictures are
// drawn from them, and the debug log window writes its lines with them. Row 0 holds the accents of
// capitals, rows 1 to 7 capitals, digits and ascenders, rows 3 to 7 small letters, rows 8 and 9
// descenders.

#include <array>
#include <cstdint>

inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 10;

// One byte a row; bit 4 is the leftmost column.
using GlyphShape = std::array<uint8_t, kGlyphRows>;

// The glyph of a Windows-1252 character: the ASCII letters, digits and signs and the accented
// letters of the game's texts; blank for the others (the blank and the tab among them).
const GlyphShape& GlyphShapeOf(uint8_t character);
