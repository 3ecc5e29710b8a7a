#pragma once

// Where the characters of a screen text go: pen positions by the font's advances, aligned
// about the x given.

#include <array>
#include <cstdint>
#include <string_view>

#include "render/text/GameFont.h"

namespace render
{

// Screen texts are cut after this many characters.
inline constexpr size_t kMaxScreenTextLength = 255;

inline constexpr int32_t kAlignLeft = 1;
inline constexpr int32_t kAlignRight = 2;   // the text ends at x
inline constexpr int32_t kAlignCentre = 3;  // half the width left of x, rounded down

struct TextRun
{
    size_t count = 0;
    std::array<uint8_t, kMaxScreenTextLength> glyphs{};
    std::array<int64_t, kMaxScreenTextLength> pens{};  // left column of each glyph
    int64_t width = 0;                                 // the advances plus the last glyph's width
};

// Alignments other than right and centred start the text at x.
TextRun LayOutText(const GameFont& font, std::string_view text, int64_t x, int32_t alignment);

// Width in pixels of the first 255 characters; 0 for an empty text.
int32_t MeasureText(const GameFont& font, std::string_view text);

}  // namespace render
