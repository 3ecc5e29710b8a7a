#include "render/text/TextLayout.h"

#include <algorithm>

namespace render
{

TextRun LayOutText(const GameFont& font, std::string_view text, int64_t x, int32_t alignment)
{
    TextRun run;
    run.count = std::min(text.size(), kMaxScreenTextLength);
    if (run.count == 0)
    {
        return run;
    }
    for (size_t i = 0; i < run.count; ++i)
    {
        run.glyphs[i] = font.GlyphOf(text[i]);
    }
    int64_t pen = 0;
    for (size_t i = 0; i < run.count; ++i)
    {
        run.pens[i] = pen;
        if (i + 1 < run.count)
        {
            pen += font.Advance(run.glyphs[i], run.glyphs[i + 1]);
        }
    }
    run.width = pen + font.Width(run.glyphs[run.count - 1]);

    int64_t start = x;
    if (alignment == kAlignRight)
    {
        start -= run.width;
    }
    else if (alignment == kAlignCentre)
    {
        start -= run.width / 2;
    }
    for (size_t i = 0; i < run.count; ++i)
    {
        run.pens[i] += start;
    }
    return run;
}

int32_t MeasureText(const GameFont& font, std::string_view text)
{
    return static_cast<int32_t>(LayOutText(font, text, 0, kAlignLeft).width);
}

}  // namespace render
