#pragma once

// Text drawn into pictures, in the font's 16-pixel glyph cells (glyph g starts at column
// g x 16 of the font picture, whatever the font's cell width). The text runs on from x until
// a glyph no longer fits into the rest of the row; it is cut to the target picture, and the
// clip rectangle does not apply.

#include <cstdint>
#include <string_view>

#include "render/RenderApi.h"
#include "render/text/GameFont.h"

namespace render
{

inline constexpr int32_t kPictureTextRightAligned = 0x2;  // the text ends at x
inline constexpr int32_t kPictureTextOnBackground = 0x4;  // the background picture first

// Into an ARGB 4-4-4-4 picture, 16 rows from y, advancing by the kerning table (other fonts
// draw nothing). Where a glyph pixel has alpha, the target gets that alpha with the top four
// bits of the colour's (0x00BBGGRR) red, green and blue. Flags: kPictureTextOnBackground.
void DrawTintedText(const GameFont& font, const Texture* background, Texture* target,
                    uint32_t colour, int32_t x, int32_t y, std::string_view text, int32_t flags);

// Into a 16-bit picture, cell-height rows from y, copying the glyphs' non-zero pixels.
// Flags: kPictureTextRightAligned, kPictureTextOnBackground.
void DrawCopiedText(const GameFont& font, const Texture* background, Texture* target, int32_t x,
                    int32_t y, std::string_view text, int32_t flags);

}  // namespace render
