#include "frontend/toolkit/MenuDataSections.h"

#include <optional>
#include <string_view>
#include <utility>

#include "frontend/toolkit/TextLines.h"

namespace
{
std::optional<BikeClass> ClassOfLine(std::string_view line)
{
    constexpr std::string_view kClassLines[] = {"125er Klasse", "250er Klasse", "500er Klasse"};
    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        if (line == kClassLines[bikeClass])
        {
            return static_cast<BikeClass>(bikeClass);
        }
    }
    return std::nullopt;
}

// The section's lines after its class line; false when the file ends first.
bool ReadSectionBody(TextLineReader& lines, MenuDataSection& section)
{
    for (const char*& line : section.lines)
    {
        if ((line = lines.Next()) == nullptr)
        {
            return false;
        }
    }
    const char* countLine = lines.Next();
    if (countLine == nullptr)
    {
        return false;
    }
    const int32_t count = ReadTextNumber(countLine).value_or(0);
    for (int32_t pair = 0; pair < count; ++pair)
    {
        const char* first = lines.Next();
        const char* second = first != nullptr ? lines.Next() : nullptr;
        if (second == nullptr)
        {
            return false;
        }
        section.pairs.push_back({first, second});
    }
    return true;
}
}  // namespace

std::vector<MenuDataSection> ParseMenuDataSections(char* begin, char* end)
{
    std::vector<MenuDataSection> sections;
    TextLineReader lines(begin, end);
    while (const char* line = lines.Next())
    {
        const std::optional<int32_t> number = ReadTextNumber(line);
        if (!number)
        {
            continue;
        }
        const char* classLine = lines.Next();
        const std::optional<BikeClass> bikeClass =
            classLine != nullptr ? ClassOfLine(classLine) : std::nullopt;
        if (!bikeClass)
        {
            continue;
        }
        MenuDataSection section{
            .number = *number, .bikeClass = *bikeClass, .lines = {}, .pairs = {}};
        if (!ReadSectionBody(lines, section))
        {
            break;
        }
        sections.push_back(std::move(section));
    }
    return sections;
}
