#include "core/util/FormatRaceTime.h"

#include <algorithm>

namespace
{
// The value's last `digits` decimal digits at out.
void PutDigits(char* out, int32_t value, int digits)
{
    for (int i = digits - 1; i >= 0; --i)
    {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}
}  // namespace

RaceTimeText FormatRaceTime(int32_t ms)
{
    if (ms < 0)
    {
        return {'-', '-', ':', '-', '-', ':', '-', '-', '-', '\0'};
    }
    constexpr int32_t kLongest = 100 * 60000 - 1;
    const int32_t shown = std::min(ms, kLongest);
    RaceTimeText text{};
    PutDigits(&text[0], shown / 60000, 2);
    text[2] = ':';
    PutDigits(&text[3], shown / 1000 % 60, 2);
    text[5] = ':';
    PutDigits(&text[6], shown % 1000, 3);
    return text;
}
