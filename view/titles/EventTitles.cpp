#include "view/titles/EventTitles.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
struct EventTitleEntry
{
    std::string_view circuitName;
    std::string_view title;
};

constexpr std::array<EventTitleEntry, 6> kEventTitles = {{
    {"Assen", "Dutch Grand Prix"},
    {"Bruenn", "Czech Rep. Grand Prix"},
    {"Nuerburgring", "Deutschland Grand Prix"},
    {"Frankreich", "Grand Prix de France"},
    {"Suzuka", "Japanese Grand Prix"},
    {"Sentul", "Indonesian Grand Prix"},
}};

// German block first.
constexpr std::array<std::array<CircuitTitleWords, kCircuitCount>, kLanguageCount> kCircuitTitles =
    {{
        {{{"Shah", "Alam"},
          {"Suzuka", ""},
          {"Jerez", ""},
          {"Mugello", ""},
          {"Austria", "Ring"},
          {"Le", "Castellet"},
          {"Assen", ""},
          {"Imola", ""},
          {"N\xFCrburg", "Ring"},
          {"Rio De", "Janeiro"},
          {"Donington", ""},
          {"Br\xFCnn", ""},
          {"Catalunya", ""},
          {"Sentul", ""},
          {"Phillip", "Island"},
          {"Hexagon", "Ring"},
          {"Lake", "Vermeer"},
          {"Mount", "Elisabeth"}}},
        {{{"Shah", "Alam"},
          {"Suzuka", ""},
          {"Jerez", ""},
          {"Mugello", ""},
          {"Austria", "Ring"},
          {"Le", "Castellet"},
          {"Assen", ""},
          {"Imola", ""},
          {"Nurburg", "Ring"},
          {"Rio De", "Janeiro"},
          {"Donington", ""},
          {"Brno", ""},
          {"Catalunya", ""},
          {"Sentul", ""},
          {"Phillip", "Island"},
          {"Hexagon", "Ring"},
          {"Lake", "Vermeer"},
          {"Mount", "Elisabeth"}}},
    }};

constexpr std::string_view kGrandPrix = " Grand Prix";
constexpr CircuitId kFirstNetworkCircuit = CircuitId::Netz1;
}  // namespace

std::string_view EventTitle(std::string_view circuitName)
{
    for (const EventTitleEntry& entry : kEventTitles)
    {
        if (entry.circuitName == circuitName)
        {
            return entry.title;
        }
    }
    return "Grand Prix";
}

CircuitTitleWords CircuitTitle(Language language, CircuitId circuit)
{
    return kCircuitTitles[ToIndex(language)][ToIndex(circuit)];
}

TitleText GrandPrixTitle(Language language, CircuitId circuit, std::string_view circuitListText)
{
    std::string name;
    if (ToIndex(circuit) < ToIndex(kFirstNetworkCircuit))
    {
        // Room is left for the suffix, whatever the list holds.
        const std::string_view text =
            circuitListText.substr(std::min<size_t>(1, circuitListText.size()));
        name = text.substr(0, std::min(text.find(')'), text.size()));
    }
    else
    {
        const CircuitTitleWords words = CircuitTitle(language, circuit);
        name = std::string(words.first) + " " + words.second;
    }
    TitleText title{};
    const size_t kept = std::min(name.size(), title.size() - 1 - kGrandPrix.size());
    std::memcpy(title.data(), name.data(), kept);
    std::memcpy(title.data() + kept, kGrandPrix.data(), kGrandPrix.size());
    return title;
}
