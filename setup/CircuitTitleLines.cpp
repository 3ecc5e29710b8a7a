#include "setup/CircuitTitleLines.h"

#include "frontend/toolkit/ClippedDrawing.h"
#include "view/titles/EventTitles.h"

namespace
{
constexpr int32_t kLineSpacing = 16;
}  // namespace

void DrawCircuitTitleLines(Language language, uint32_t circuit, int32_t x, int32_t y,
                           uint32_t colour, int32_t alignment)
{
    if (circuit >= kCircuitCount)
    {
        return;
    }
    const CircuitTitleWords words = CircuitTitle(language, static_cast<CircuitId>(circuit));
    DrawColorTextClipped(x, y, colour, words.first, alignment);
    DrawColorTextClipped(x, y + kLineSpacing, colour, words.second, alignment);
}
