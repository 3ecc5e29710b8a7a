#include "render/text/ScreenText.h"

#include <algorithm>

#include "render/draw/BackBuffer.h"
#include "render/text/GlyphPixels.h"

namespace render
{

void DrawTextRun(const GameFont& font, const TextRun& run, int64_t y, const PixelSurface& target,
                 const Rect& clip, std::optional<uint16_t> colour)
{
    const std::optional<PixelSurface> glyphs = SurfaceOf(font.picture);
    const Rect area = Intersect(clip, target.Bounds());
    if (!glyphs || area.IsEmpty() || y >= area.bottom)
    {
        return;
    }
    const int64_t bandBottom = std::min<int64_t>(y + font.cellHeight, area.bottom);
    if (bandBottom <= area.top)
    {
        return;
    }
    const int64_t bandTop = std::max<int64_t>(y, area.top);
    const auto firstRow = static_cast<int32_t>(bandTop - y);
    const auto rows = static_cast<int32_t>(bandBottom - bandTop);

    for (size_t i = 0; i < run.count; ++i)
    {
        const uint8_t glyph = run.glyphs[i];
        const int64_t pen = run.pens[i];
        const int64_t left = std::max<int64_t>(pen, area.left);
        const int64_t right = std::min<int64_t>(pen + font.Width(glyph), area.right);
        if (left >= right)
        {
            continue;
        }
        const int64_t firstColumn = left - pen;
        const int64_t cellX = int64_t{glyph} * font.cellWidth;
        ForEachGlyphPixel(
            *glyphs, cellX + firstColumn, firstRow, static_cast<int32_t>(right - left), rows,
            [&](int32_t column, int32_t row, uint16_t pixel)
            {
                target.Set(static_cast<int32_t>(left + column), static_cast<int32_t>(bandTop + row),
                           colour.value_or(pixel));
            });
    }
}

void DrawScreenText(Screen& screen, const Rect& clip, const GameFont* font, const ScreenText& text,
                    const LfbInfo* target)
{
    if (font == nullptr || text.text.empty())
    {
        return;
    }
    const std::optional<PixelSurface> surface =
        target != nullptr ? SurfaceOf(*target) : LockBackBuffer(screen);
    if (!surface)
    {
        return;
    }
    const TextRun run = LayOutText(*font, text.text, text.x, text.alignment);
    DrawTextRun(*font, run, text.y, *surface, clip, text.colour);
}

}  // namespace render
