#include "kit/font/FontPicture.h"

#include <algorithm>

#include "core/util/GlyphShapes.h"

namespace kit
{
namespace
{

RgbaPicture EmptyPicture(size_t cells, const FontStyle& style)
{
    RgbaPicture picture{static_cast<int>(cells) * style.cellWidth, style.cellHeight, {}};
    picture.rgba.assign(static_cast<size_t>(picture.width) * picture.height * 4, 0);
    return picture;
}

uint8_t Channel(uint32_t colour, int shift)
{
    return static_cast<uint8_t>(colour >> shift);
}

// The glyph colour of a design row, blended from the top colour to the bottom colour.
uint32_t RowColour(const FontStyle& style, int row)
{
    uint32_t colour = 0;
    for (const int shift : {16, 8, 0})
    {
        const int top = Channel(style.topColour, shift);
        const int bottom = Channel(style.bottomColour, shift);
        const int mixed = top + (bottom - top) * row / (kGlyphRows - 1);
        colour |= static_cast<uint32_t>(mixed) << shift;
    }
    return colour;
}

void SetPixel(RgbaPicture& picture, int x, int y, uint32_t colour)
{
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
    {
        return;
    }
    uint8_t* pixel = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
    pixel[0] = Channel(colour, 16);
    pixel[1] = Channel(colour, 8);
    pixel[2] = Channel(colour, 0);
    pixel[3] = 255;
}

int GlyphWidth(const FontStyle& style)
{
    return kGlyphColumns * style.scaleX + (style.bold ? 1 : 0);
}

// Draws the glyph with its top-left design pixel at (x, y).
void DrawGlyph(RgbaPicture& picture, uint8_t character, int x, int y, const FontStyle& style)
{
    const GlyphShape& shape = GlyphShapeOf(character);
    const int thickness = style.scaleX + (style.bold ? 1 : 0);
    for (int row = 0; row < kGlyphRows; ++row)
    {
        const uint32_t colour = RowColour(style, row);
        for (int column = 0; column < kGlyphColumns; ++column)
        {
            if ((shape[row] & (1 << (kGlyphColumns - 1 - column))) == 0)
            {
                continue;
            }
            for (int dy = 0; dy < style.scaleY; ++dy)
            {
                for (int dx = 0; dx < thickness; ++dx)
                {
                    SetPixel(picture, x + column * style.scaleX + dx, y + row * style.scaleY + dy,
                             colour);
                }
            }
        }
    }
}

// Glyphs start one column into their cell, so that neighbours do not touch, and sit in the
// middle of its height.
int GlyphTop(const FontStyle& style)
{
    return std::max(0, (style.cellHeight - kGlyphRows * style.scaleY) / 2);
}

}  // namespace

RgbaPicture DrawFontPicture(std::string_view characters, const FontStyle& style)
{
    RgbaPicture picture = EmptyPicture(characters.size(), style);
    for (size_t cell = 0; cell < characters.size(); ++cell)
    {
        DrawGlyph(picture, static_cast<uint8_t>(characters[cell]),
                  static_cast<int>(cell) * style.cellWidth + 1, GlyphTop(style), style);
    }
    return picture;
}

RgbaPicture DrawLabelPicture(std::span<const CellLabel> labels, const FontStyle& style)
{
    RgbaPicture picture = EmptyPicture(labels.size(), style);
    const int pitch = GlyphWidth(style) + 1;
    for (size_t cell = 0; cell < labels.size(); ++cell)
    {
        const CellLabel& label = labels[cell];
        const int width = static_cast<int>(label.text.size()) * pitch - 1;
        int x = static_cast<int>(cell) * style.cellWidth;
        if (label.place == LabelPlace::Right)
        {
            x += style.cellWidth - width;
        }
        else if (label.place == LabelPlace::Centre)
        {
            x += (style.cellWidth - width) / 2;
        }
        for (const char character : label.text)
        {
            DrawGlyph(picture, static_cast<uint8_t>(character), x, GlyphTop(style), style);
            x += pitch;
        }
    }
    return picture;
}

}  // namespace kit
