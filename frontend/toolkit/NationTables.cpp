#include "frontend/toolkit/NationTables.h"

#include <array>

#include "app/game/CurrentRace.h"

namespace
{
using NationTexts = std::array<std::array<const char*, kNationCount>, kLanguageCount>;

constexpr NationTexts kNationNames = {{
    {"Japan", "Spanien", "Italien", "Deutschland", "Frankreich", "Tschechien", "Australien",
     "Grossbritannien", "USA", "Niederlande", "Brasilien", "Schweiz", "Malaysia"},
    {"Japan", "Spain", "Italy", "Germany", "France", "Czech Republic", "Australia", "Great Britain",
     "USA", "Netherlands", "Brazil", "Switzerland", "Malaysia"},
}};

constexpr NationTexts kNationCodes = {{
    {"JPN", "SPA", "I", "D", "F", "CZ", "AUS", "GB", "USA", "NL", "BRA", "CH", "MAL"},
    {"JPN", "SPA", "I", "GER", "F", "CZ", "AUS", "GB", "USA", "NED", "BRA", "SUI", "MAL"},
}};

const char* TextOf(const NationTexts& table, int32_t nation)
{
    if (nation < 0 || static_cast<size_t>(nation) >= kNationCount)
    {
        return "";
    }
    const size_t language = ToIndex(g_language) < kLanguageCount ? ToIndex(g_language) : 0;
    return table[language][static_cast<size_t>(nation)];
}
}  // namespace

int32_t FindNation(std::string_view germanName)
{
    if (germanName.empty())
    {
        return -1;
    }
    const auto& names = kNationNames[ToIndex(Language::German)];
    for (size_t nation = 0; nation < kNationCount; ++nation)
    {
        if (std::string_view(names[nation]).starts_with(germanName))
        {
            return static_cast<int32_t>(nation);
        }
    }
    return -1;
}

const char* GetNationCode(int32_t nation)
{
    return TextOf(kNationCodes, nation);
}

const char* GetNationName(int32_t nation)
{
    return TextOf(kNationNames, nation);
}
