#include "render/text/PictureText.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "render/draw/PixelSurface.h"
#include "render/text/GlyphPixels.h"
#include "render/text/TextLayout.h"

namespace render
{
namespace
{

constexpr int32_t kPictureGlyphColumns = 16;

// As much of the background's rows as the target holds, as one block.
void CopyBackground(const Texture* background, Texture* target)
{
    if (background == nullptr || background->pixels == nullptr ||
        background->pixels == target->pixels)
    {
        return;
    }
    const auto bytes = [](const Texture& picture)
    {
        return static_cast<size_t>(std::max(picture.stride, 0)) *
               static_cast<size_t>(std::max(picture.height, 0));
    };
    std::memcpy(target->pixels, background->pixels, std::min(bytes(*background), bytes(*target)));
}

enum class Fit
{
    NarrowerThanRoom,  // a glyph is drawn while its width is less than the room left
    WithinRoom,        // ... while it is at most the room left
};

// Walks the text from start, drawing each glyph that fits with draw(glyph, column).
template <typename DrawGlyph>
void WalkText(const GameFont& font, std::string_view text, int64_t start, int32_t targetWidth,
              Fit fit, DrawGlyph draw)
{
    int64_t pen = start;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const uint8_t glyph = font.GlyphOf(text[i]);
        const int64_t room = targetWidth - pen;
        const int32_t width = font.Width(glyph);
        if (fit == Fit::NarrowerThanRoom ? width >= room : width > room)
        {
            return;
        }
        draw(glyph, pen);
        if (i + 1 < text.size())
        {
            pen += font.Advance(glyph, font.GlyphOf(text[i + 1]));
        }
    }
}

// Visits the glyph's pixels that land inside the target, with their target position.
template <typename Write>
void PlaceGlyph(const PixelSurface& glyphs, const PixelSurface& target, uint8_t glyph,
                int32_t width, int32_t rows, int64_t x, int64_t y, Write write)
{
    ForEachGlyphPixel(glyphs, int64_t{glyph} * kPictureGlyphColumns, 0, width, rows,
                      [&](int32_t column, int32_t row, uint16_t pixel)
                      {
                          const int64_t tx = x + column;
                          const int64_t ty = y + row;
                          if (tx >= 0 && ty >= 0 && tx < target.width && ty < target.height)
                          {
                              write(static_cast<int32_t>(tx), static_cast<int32_t>(ty), pixel);
                          }
                      });
}

}  // namespace

void DrawTintedText(const GameFont& font, const Texture* background, Texture* target,
                    uint32_t colour, int32_t x, int32_t y, std::string_view text, int32_t flags)
{
    const std::optional<PixelSurface> glyphs = SurfaceOf(font.picture);
    const std::optional<PixelSurface> surface = SurfaceOf(target);
    if (!glyphs || !surface || !font.hasKerning)
    {
        return;
    }
    if ((flags & kPictureTextOnBackground) != 0)
    {
        CopyBackground(background, target);
    }
    const auto nibbles = static_cast<uint16_t>(
        ((colour >> 4) & 0xF) << 8 | ((colour >> 12) & 0xF) << 4 | ((colour >> 20) & 0xF));
    constexpr int32_t kRows = 16;
    WalkText(font, text, x, surface->width, Fit::NarrowerThanRoom,
             [&](uint8_t glyph, int64_t pen)
             {
                 PlaceGlyph(*glyphs, *surface, glyph, font.Width(glyph), kRows, pen, y,
                            [&](int32_t tx, int32_t ty, uint16_t pixel)
                            {
                                if ((pixel & 0xF000) != 0)
                                {
                                    surface->Set(tx, ty, (pixel & 0xF000) | nibbles);
                                }
                            });
             });
}

void DrawCopiedText(const GameFont& font, const Texture* background, Texture* target, int32_t x,
                    int32_t y, std::string_view text, int32_t flags)
{
    const std::optional<PixelSurface> glyphs = SurfaceOf(font.picture);
    const std::optional<PixelSurface> surface = SurfaceOf(target);
    if (!glyphs || !surface)
    {
        return;
    }
    if ((flags & kPictureTextOnBackground) != 0)
    {
        CopyBackground(background, target);
    }
    int64_t start = x;
    if ((flags & kPictureTextRightAligned) != 0)
    {
        start -= MeasureText(font, text);
    }
    WalkText(font, text, start, surface->width, Fit::WithinRoom,
             [&](uint8_t glyph, int64_t pen)
             {
                 PlaceGlyph(*glyphs, *surface, glyph, font.Width(glyph), font.cellHeight, pen, y,
                            [&](int32_t tx, int32_t ty, uint16_t pixel)
                            { surface->Set(tx, ty, pixel); });
             });
}

}  // namespace render
