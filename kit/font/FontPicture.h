#pragma once

// Font pictures as the render library makes fonts from them: glyph cells of equal size side
// by side in one row, the glyphs in a colour running from top to bottom, black (transparent)
// around them. Written as 24-bit bitmaps, they load as RGB 5-6-5 pictures.

#include <cstdint>
#include <span>
#include <string_view>

#include "kit/picture/Picture.h"

namespace kit
{

struct FontStyle
{
    int cellWidth = 8;
    int cellHeight = 10;
    // Each glyph pixel becomes scaleX x scaleY pixels, one column wider when bold.
    int scaleX = 1;
    int scaleY = 1;
    bool bold = false;
    uint32_t topColour = 0xFFFFFF;  // 0xRRGGBB of the glyphs' top row
    uint32_t bottomColour = 0xFFFFFF;
};

// One cell per character of the Windows-1252 string, in its order.
RgbaPicture DrawFontPicture(std::string_view characters, const FontStyle& style);

// One cell per label: a short word of small glyphs, for fonts whose characters stand for
// pictograms. Each label is placed at the cell's right edge, left edge or centre as given.
enum class LabelPlace
{
    Left,
    Centre,
    Right,
};
struct CellLabel
{
    std::string_view text;
    LabelPlace place = LabelPlace::Centre;
};
RgbaPicture DrawLabelPicture(std::span<const CellLabel> labels, const FontStyle& style);

}  // namespace kit
