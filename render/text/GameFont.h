#pragma once

// A bitmap font: glyphs side by side in equal cells of a 16-bit picture, a map from character
// codes (Windows-1252 bytes) to glyphs, and the advances measured from the glyph pixels when
// the font was made. Glyph pixels of 0 are transparent.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/RenderApi.h"

struct GameFont
{
    virtual ~GameFont() = default;

    int32_t fixedWidth = -1;  // -1 unless the font is fixed
    int32_t cellHeight = 0;
    int32_t cellWidth = 0;
    bool hasKerning = false;
    Texture* picture = nullptr;               // not owned
    int32_t glyphCount = 0;                   // 1 to 128
    std::array<uint8_t, 256> characterMap{};  // glyph of each character code
    int32_t spacing = 0;                      // extra pixels added to measured widths
    // The width of each glyph, then for kerning fonts the advance from glyph a to a following
    // glyph b at glyphCount + a * glyphCount + b.
    std::vector<uint8_t> tables;

    uint8_t GlyphOf(char character) const { return characterMap[static_cast<uint8_t>(character)]; }
    int32_t Width(uint8_t glyph) const { return tables[glyph]; }
    int32_t Advance(uint8_t from, uint8_t to) const
    {
        return hasKerning ? tables[static_cast<size_t>(glyphCount) * (1 + from) + to]
                          : tables[from];
    }
};
