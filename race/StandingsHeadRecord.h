#pragma once

// The circuit's three timing lines as the racing-line file carries them, right after the line:
// 76 bytes, little-endian. Line 0 is the start and finish line, lines 1 and 2 the splits; each
// is the stretch between its two end points of the line z = slope x + offset.

#include <array>
#include <cstddef>
#include <cstdint>

struct StandingsHeadRecord
{
    static constexpr size_t kSize = 76;
    static constexpr size_t kLines = 3;

    uint16_t speedTrapLine = 0;  // the line at which speeds are recorded, 0..2
    uint16_t padding = 0;
    std::array<std::array<float, 2>, kLines> lineX{};  // both end points of each line
    std::array<std::array<float, 2>, kLines> lineZ{};
    std::array<float, kLines> lineSlope{};
    std::array<float, kLines> lineOffset{};

    void Clear() { *this = StandingsHeadRecord(); }
};
static_assert(sizeof(StandingsHeadRecord) == StandingsHeadRecord::kSize);
static_assert(offsetof(StandingsHeadRecord, lineX) == 4);
static_assert(offsetof(StandingsHeadRecord, lineZ) == 28);
static_assert(offsetof(StandingsHeadRecord, lineSlope) == 52);
static_assert(offsetof(StandingsHeadRecord, lineOffset) == 64);
