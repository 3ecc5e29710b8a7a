#include "view/hud/HudClockTexts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{
char Digit(int32_t value)
{
    return static_cast<char>('0' + value);
}
}  // namespace

std::array<char, 6> SessionClockText(int32_t seconds)
{
    const int32_t shown = std::clamp(seconds, 0, 99 * 60 + 59);
    const int32_t minutes = shown / 60;
    const int32_t rest = shown % 60;
    // Written digit by digit: the clamp bounds every field, which the compiler cannot see
    // through a format.
    return {Digit(minutes / 10), Digit(minutes % 10), ':',
            Digit(rest / 10),    Digit(rest % 10),    '\0'};
}

std::array<char, 6> PracticeLapText(int32_t lap)
{
    const int32_t shown = std::clamp(lap, 0, 99);
    return {shown < 10 ? ' ' : Digit(shown / 10), Digit(shown % 10), '/', '1', '2', '\0'};
}

std::array<char, 16> SectionTimeText(int32_t ms)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%d:%.2d:%.3d", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

std::array<char, 16> DeltaTimeText(int32_t ms)
{
    const int32_t size = std::abs(ms);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), ms >= 0 ? "+%d:%.2d:%.3d" : "-%d:%.2d:%.3d",
                  size / 60000, size / 1000 % 60, size % 1000);
    return text;
}
