#pragma once

// Fonts made from a picture of glyph cells: the character map from the font's string, glyph
// widths measured from the lit columns, and for kerning fonts the advance of every glyph pair
// from the rows' left and right profiles.

#include <cstdint>
#include <memory>

#include "render/text/GameFont.h"

namespace render
{

enum class FontKind
{
    Fixed,         // every glyph advances the fixed width + 1
    Proportional,  // each glyph advances its own width
    Kerning,       // each glyph pair has its own advance
};

inline constexpr int32_t kMaxGlyphs = 128;

// characters: the characters of the cells in order (at most one per cell and 128). parameter:
// the fixed width of fixed fonts, the spacing of the others. Null for a picture that is not a
// 16-bit picture, or a cell side below 1.
std::unique_ptr<GameFont> CreateGameFont(FontKind kind, const char* characters, Texture* picture,
                                         int32_t cellWidth, int32_t cellHeight, int32_t parameter);

}  // namespace render
