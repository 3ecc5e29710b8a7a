#pragma once

// Race times as the game shows them everywhere (standings, results, lap records, menus):
// two-digit minutes, two-digit seconds and three-digit milliseconds, "01:23:456", always nine
// characters and a terminating zero. A negative time shows as "--:--:---"; from 100 minutes on
// the text stays at "99:59:999".

#include <array>
#include <cstdint>

using RaceTimeText = std::array<char, 10>;

RaceTimeText FormatRaceTime(int32_t ms);
