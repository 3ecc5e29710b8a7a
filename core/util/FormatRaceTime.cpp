#include "core/util/FormatRaceTime.h"

#include <algorithm>
#include <cstdio>

RaceTimeText FormatRaceTime(int32_t ms)
{
    RaceTimeText text{};
    if (ms < 0)
    {
        std::snprintf(text.data(), text.size(), "--:--:---");
        return text;
    }
    constexpr int32_t kLongest = 100 * 60000 - 1;
    const int32_t shown = std::min(ms, kLongest);
    std::snprintf(text.data(), text.size(), "%02d:%02d:%03d", shown / 60000, shown / 1000 % 60,
                  shown % 1000);
    return text;
}
