#pragma once

// The circuit text records of "MainMenu/streckendaten.txt": per circuit its length, grip,
// titles and names in each language slot, the Grand Prix name, the shown lap records and the
// climate that the session weather is rolled from.
//
// The file holds the records in CircuitId order, each as lines (Windows-1252): a line that
// reads as a number begins a record (lines before it that do not are skipped); then
//   length in metres; grip class (0 high, 1 average, 2 low);
//   four race titles and four circuit names (language slots 0 German, 1 English, 2, 3);
//   a subtitle; the Grand Prix name, whose "\n" (backslash and n) starts its second line;
//   nine numbers, one a line: lap time in ms, holder (rider number) and year of the record
//   for the 125, 250 and 500 class;
//   "%d %d %d %d %d %d": rain %, sun %, base temperature and its swing in degrees C, base
//   humidity % and base air pressure in mbar.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/game/GameEnums.h"

inline constexpr size_t kCircuitTextSlots = 4;

struct CircuitLapRecord
{
    int32_t timeMs = 0;
    int32_t holder = 0;  // rider number
    int32_t year = 0;
};

struct CircuitClimate
{
    uint16_t rainPercent = 0;
    uint16_t sunPercent = 0;
    uint16_t baseTemperatureC = 0;
    uint16_t temperatureSwingC = 0;
    uint16_t baseHumidityPercent = 0;
    uint16_t basePressureMbar = 0;
};

// The texts are Windows-1252 and point into the file read last (or at the defaults).
struct CircuitTextRecord
{
    int32_t lengthMetres = 0;
    int32_t gripClass = 0;
    std::array<const char*, kCircuitTextSlots> titles{};
    std::array<const char*, kCircuitTextSlots> names{};
    const char* subtitle = nullptr;
    const char* grandPrixName = nullptr;
    const char* grandPrixSecondLine = nullptr;  // empty when the name has one line
    std::array<CircuitLapRecord, kBikeClassCount> lapRecords{};
    CircuitClimate climate;
};

using CircuitTextTable = std::array<CircuitTextRecord, kCircuitCount>;

// What every circuit shows while the file is missing.
CircuitTextRecord DefaultCircuitText();

// Fills the table from the file's bytes, in place: the lines are cut in the buffer, which must
// hold a zero byte at *end and outlive the records. Records the file does not complete keep
// what they held. A value that could not serve as what it stands for takes the default's
// value: a length of 0 or less, a grip class other than 0..2, a holder that is no rider
// number, a climate value outside 0..65535.
void ParseCircuitTexts(char* begin, char* end, CircuitTextTable& records);
