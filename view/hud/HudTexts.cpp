#include "view/hud/HudTexts.h"

#include <array>

namespace
{
constexpr std::array<std::array<const char*, kLanguageCount>, 13> kTexts = {{
    {"Falsche Fahrtrichtung", "wrong way"},
    {"Disqualifikation", "Disqualification"},
    {"Beobachtungsmodus", "Observation Mode"},
    {"Qualifikation beendet", "End of Qualification"},
    {"Training beendet", "End of Training"},
    {"Warm Up beendet", "End of Warm Up"},
    {"Position ", "Position "},
    {"Pers\xF6nliche Bestzeit", "Personal Record"},
    {"Schnellste Runde", "Best Lap"},
    {"Rennen beendet", "Race Over"},
    {"Platz", "Position"},
    {"Sieger des Rennens", "Winner"},
    {"Bestzeit akt. Fahrer", "Pers. Record"},
}};
}  // namespace

const char* GetHudText(HudText text, Language language)
{
    return kTexts[static_cast<size_t>(text)][ToIndex(language)];
}

char OrdinalSuffix(int32_t place)
{
    const int32_t lastTwo = place % 100;
    if (lastTwo >= 11 && lastTwo <= 13)
    {
        return '$';
    }
    switch (place % 10)
    {
        case 1:
            return '!';
        case 2:
            return '"';
        case 3:
            return '#';
        default:
            return '$';
    }
}
