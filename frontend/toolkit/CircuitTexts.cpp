#include "frontend/toolkit/CircuitTexts.h"

#include <array>
#include <cstring>
#include <limits>
#include <optional>

#include "frontend/toolkit/TextLines.h"
#include "race/BikeRecord.h"

namespace
{
constexpr int32_t kGripClassCount = 3;
constexpr size_t kTextLines = 2 * kCircuitTextSlots + 2;
constexpr size_t kLapRecordLines = 3 * kBikeClassCount;
// After the length: grip class, texts, lap records, climate.
constexpr size_t kRecordBodyLines = 1 + kTextLines + kLapRecordLines + 1;

// The line's number, or the fallback when it has none or valid refuses it.
int32_t NumberOr(const char* line, int32_t fallback, bool (*valid)(int32_t) = nullptr)
{
    const std::optional<int32_t> number = ReadTextNumber(line);
    return number && (valid == nullptr || valid(*number)) ? *number : fallback;
}

bool IsGripClass(int32_t number)
{
    return number >= 0 && number < kGripClassCount;
}

bool IsRiderNumber(int32_t number)
{
    return number >= 0 && static_cast<size_t>(number) < kRiderCount;
}

// A literal backslash and n in the Grand Prix name end its first line; the second line, or
// an empty one.
const char* SplitGrandPrixName(char* name)
{
    char* lineBreak = std::strstr(name, "\\n");
    if (lineBreak == nullptr)
    {
        return "";
    }
    *lineBreak = '\0';
    return lineBreak + 2;
}

// "%d %d %d %d %d %d": a line cut short keeps the values it lacks, as "%d" reading does.
void ReadClimate(const char* line, CircuitClimate& climate)
{
    uint16_t CircuitClimate::*const values[] = {
        &CircuitClimate::rainPercent,         &CircuitClimate::sunPercent,
        &CircuitClimate::baseTemperatureC,    &CircuitClimate::temperatureSwingC,
        &CircuitClimate::baseHumidityPercent, &CircuitClimate::basePressureMbar};
    for (uint16_t CircuitClimate::*const value : values)
    {
        const std::optional<int32_t> number = ReadTextNumber(line);
        if (!number)
        {
            return;
        }
        if (*number >= 0 && *number <= std::numeric_limits<uint16_t>::max())
        {
            climate.*value = static_cast<uint16_t>(*number);
        }
        line += std::strspn(line, " \t");
        line += std::strcspn(line, " \t");
    }
}

// The record's lines after its length, over the values it holds; false, changing nothing,
// when the file ends first.
bool ReadRecordBody(TextLineReader& reader, CircuitTextRecord& record)
{
    std::array<char*, kRecordBodyLines> lines{};
    for (char*& line : lines)
    {
        if ((line = reader.Next()) == nullptr)
        {
            return false;
        }
    }
    char* const* line = lines.data();
    record.gripClass = NumberOr(*line++, record.gripClass, IsGripClass);
    for (const char*& title : record.titles)
    {
        title = *line++;
    }
    for (const char*& name : record.names)
    {
        name = *line++;
    }
    record.subtitle = *line++;
    record.grandPrixName = *line;
    record.grandPrixSecondLine = SplitGrandPrixName(*line++);
    for (CircuitLapRecord& lap : record.lapRecords)
    {
        lap.timeMs = NumberOr(*line++, lap.timeMs);
        lap.holder = NumberOr(*line++, lap.holder, IsRiderNumber);
        lap.year = NumberOr(*line++, lap.year);
    }
    ReadClimate(*line, record.climate);
    return true;
}
}  // namespace

CircuitTextRecord DefaultCircuitText()
{
    return {.lengthMetres = 12345,
            .gripClass = 1,
            .titles = {"3.Rennen der WM", "3rd World Championship Race", "3.Rennen der WM",
                       "3.Rennen der WM"},
            .names = {"Bruenn", "Bruenn", "Bruenn", "Bruenn"},
            .subtitle = "(Brno)",
            .grandPrixName = "Czech Rep. Grand Prix",
            .grandPrixSecondLine = "",
            .lapRecords = {{{26023, 5, 1997}, {14523, 6, 1996}, {13023, 1, 1802}}},
            .climate = {13, 69, 32, 4, 70, 1012}};
}

void ParseCircuitTexts(char* begin, char* end, CircuitTextTable& records)
{
    TextLineReader lines(begin, end);
    for (CircuitTextRecord& record : records)
    {
        std::optional<int32_t> length;
        while (!length)
        {
            const char* line = lines.Next();
            if (line == nullptr)
            {
                return;
            }
            length = ReadTextNumber(line);
        }
        CircuitTextRecord read = DefaultCircuitText();
        read.lengthMetres = *length > 0 ? *length : read.lengthMetres;
        if (!ReadRecordBody(lines, read))
        {
            return;
        }
        record = read;
    }
}
