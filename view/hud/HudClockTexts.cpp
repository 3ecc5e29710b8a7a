#include "view/hud/HudClockTexts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

std::array<char, 6> SessionClockText(int32_t seconds)
{
    const int32_t shown = std::clamp(seconds, 0, 99 * 60 + 59);
    std::array<char, 6> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d", shown / 60, shown % 60);
    return text;
}

std::array<char, 6> PracticeLapText(int32_t lap)
{
    std::array<char, 6> text{};
    std::snprintf(text.data(), text.size(), "%2d/12", std::clamp(lap, 0, 99));
    return text;
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
