#pragma once

// Text drawn straight into a 16-bit buffer: the locked back buffer or one the caller locked,
// cut to the clip rectangle. Glyph pixels of 0 leave the buffer; the others are copied, or all
// written in one colour. Later glyphs overwrite earlier ones where they overlap.

#include <cstdint>
#include <optional>
#include <string_view>

#include "render/draw/PixelSurface.h"
#include "render/text/GameFont.h"
#include "render/text/TextLayout.h"

namespace render
{

class Screen;

// The band of cell-height rows from y: glyphs cut at the clip rectangle's sides keep their
// places, and glyphs wholly outside it are left out without moving the others.
void DrawTextRun(const GameFont& font, const TextRun& run, int64_t y, const PixelSurface& target,
                 const Rect& clip, std::optional<uint16_t> colour);

struct ScreenText
{
    int32_t x = 0;
    int32_t y = 0;
    std::string_view text;
    int32_t alignment = kAlignLeft;
    std::optional<uint16_t> colour;  // 5-6-5; none copies the glyph pixels
};

// Into target, or when it is null into the back buffer, whose lock stays held; nothing without
// a font or when the lock cannot be taken.
void DrawScreenText(Screen& screen, const Rect& clip, const GameFont* font, const ScreenText& text,
                    const LfbInfo* target);

}  // namespace render
