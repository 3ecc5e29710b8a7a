#include "kit/menu/DemoMenu.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "kit/menu/MainMenuPictures.h"
#include "kit/menu/MenuPictures.h"
#include "kit/menu/MenuPreviewPictures.h"
#include "kit/menu/PitBoxPictures.h"

namespace kit
{
namespace
{
struct DemoCircuit
{
    int32_t lengthMetres;
    int32_t gripClass;
    std::string_view germanName;
    std::string_view englishName;
    std::string_view subtitle;
    std::string_view grandPrixName;
    std::string_view grandPrixSecondLine;
    CircuitLapRecord lapRecords[kBikeClassCount];
    CircuitClimate climate;
};

// clang-format off
constexpr DemoCircuit kCircuits[kCircuitCount] = {
    {3505, 1, "Shah Alam", "Shah Alam", "(Malaysia)", "Malaysian", "Grand Prix",
     {{83512, 3, 1997}, {79874, 12, 1997}, {77190, 20, 1996}}, {45, 40, 31, 4, 85, 1008}},
    {5864, 0, "Suzuka", "Suzuka", "(Japan)", "Japanese", "Grand Prix",
     {{141203, 0, 1997}, {134577, 9, 1996}, {130861, 22, 1997}}, {25, 55, 18, 6, 60, 1015}},
    {4423, 1, "Jerez", "Jerez", "(Spanien)", "Spanish", "Grand Prix",
     {{106490, 1, 1996}, {101322, 14, 1997}, {98011, 21, 1997}}, {10, 80, 24, 7, 45, 1016}},
    {5245, 0, "Mugello", "Mugello", "(Italien)", "Gran Premio", "d'Italia",
     {{122908, 2, 1997}, {116455, 15, 1996}, {112370, 23, 1997}}, {15, 70, 26, 6, 50, 1014}},
    {4319, 1, "A1-Ring", "A1 Ring", "(\xD6sterreich)", "Gro\xDF""er Preis", "von \xD6sterreich",
     {{98744, 4, 1997}, {93190, 11, 1997}, {90555, 24, 1996}}, {30, 50, 21, 8, 55, 1012}},
    {3813, 2, "Le Castellet", "Le Castellet", "(Frankreich)", "Grand Prix", "de France",
     {{92310, 5, 1996}, {88004, 13, 1997}, {85213, 25, 1997}}, {12, 75, 27, 7, 40, 1017}},
    {6049, 1, "Assen", "Assen", "(Niederlande)", "Dutch TT", "",
     {{137766, 6, 1997}, {130912, 16, 1997}, {127340, 17, 1996}}, {40, 35, 19, 5, 75, 1011}},
    {4930, 1, "Imola", "Imola", "(San Marino)", "Grand Prix of San Marino", "",
     {{115021, 7, 1997}, {109874, 10, 1996}, {106502, 18, 1997}}, {18, 65, 25, 6, 55, 1013}},
    {4556, 2, "N\xFC""rburgring", "Nurburgring", "(Deutschland)", "Gro\xDF""er Preis",
     "von Deutschland", {{109433, 8, 1997}, {104387, 19, 1997}, {100912, 12, 1996}},
     {35, 40, 20, 7, 65, 1010}},
    {4448, 1, "Jacarepagu\xE1", "Jacarepagua", "(Brasilien)", "Rio", "Grand Prix",
     {{102876, 9, 1996}, {97540, 3, 1997}, {94180, 22, 1997}}, {38, 50, 30, 5, 80, 1009}},
    {4023, 2, "Donington", "Donington", "(Gro\xDF""britannien)", "British", "Grand Prix",
     {{97512, 10, 1997}, {92803, 4, 1996}, {89977, 23, 1997}}, {48, 30, 17, 5, 78, 1008}},
    {5403, 1, "Br\xFC""nn", "Brno", "(Tschechien)", "Czech Rep.", "Grand Prix",
     {{130410, 5, 1997}, {123995, 6, 1996}, {120233, 1, 1997}}, {13, 69, 32, 4, 70, 1012}},
    {4727, 0, "Catalunya", "Catalunya", "(Spanien)", "Gran Premi", "de Catalunya",
     {{112834, 11, 1997}, {107321, 7, 1997}, {104110, 24, 1996}}, {14, 72, 25, 6, 48, 1015}},
    {3965, 1, "Sentul", "Sentul", "(Indonesien)", "Indonesian", "Grand Prix",
     {{93577, 12, 1996}, {89120, 8, 1997}, {86402, 25, 1997}}, {50, 35, 32, 3, 88, 1007}},
    {4448, 0, "Phillip Island", "Phillip Island", "(Australien)", "Australian", "Grand Prix",
     {{99230, 13, 1997}, {94316, 2, 1997}, {91587, 20, 1996}}, {33, 45, 18, 8, 62, 1013}},
    {3100, 1, "Netzstrecke 1", "Network Track 1", "(Netzwerk)", "Netzwerk", "Grand Prix",
     {{80000, 0, 1998}, {76000, 1, 1998}, {73000, 2, 1998}}, {20, 60, 22, 5, 60, 1013}},
    {3600, 1, "Netzstrecke 2", "Network Track 2", "(Netzwerk)", "Netzwerk", "Grand Prix",
     {{88000, 3, 1998}, {84000, 4, 1998}, {81000, 5, 1998}}, {20, 60, 22, 5, 60, 1013}},
    {4200, 2, "Netzstrecke 3", "Network Track 3", "(Netzwerk)", "Netzwerk", "Grand Prix",
     {{96000, 6, 1998}, {92000, 7, 1998}, {89000, 8, 1998}}, {20, 60, 22, 5, 60, 1013}},
};
// clang-format on

constexpr size_t kChampionshipCircuits = 15;

std::string EnglishOrdinal(size_t number)
{
    const size_t lastDigit = number % 10;
    const bool teen = number % 100 >= 11 && number % 100 <= 13;
    const char* suffix = teen             ? "th"
                         : lastDigit == 1 ? "st"
                         : lastDigit == 2 ? "nd"
                         : lastDigit == 3 ? "rd"
                                          : "th";
    return std::to_string(number) + suffix;
}

// The race's title in the German, English and two spare (German) slots.
std::array<std::string, kCircuitTextSlots> RaceTitles(size_t circuit)
{
    if (circuit >= kChampionshipCircuits)
    {
        return {"Netzwerkrennen", "Network Race", "Netzwerkrennen", "Netzwerkrennen"};
    }
    const std::string german = std::to_string(circuit + 1) + ".Rennen der WM";
    return {german, EnglishOrdinal(circuit + 1) + " World Championship Race", german, german};
}

std::array<std::string, kMenuDataSectionLines> MenuDataLines(BikeClass bikeClass)
{
    const std::string size = bikeClass == BikeClass::Class125   ? "125"
                             : bikeClass == BikeClass::Class250 ? "250"
                                                                : "500";
    std::array<std::string, kMenuDataSectionLines> lines;
    for (size_t line = 0; line < lines.size(); ++line)
    {
        lines[line] = "Klasse " + size + " Zeile " + std::to_string(line + 1);
    }
    lines[0] =
        "Motorr\xE4"
        "der mit " +
        size + " ccm Hubraum";
    return lines;
}
}  // namespace

std::vector<CircuitText> DemoCircuitTexts()
{
    std::vector<CircuitText> texts;
    for (size_t circuit = 0; circuit < kCircuitCount; ++circuit)
    {
        const DemoCircuit& demo = kCircuits[circuit];
        const std::string german(demo.germanName);
        CircuitText text{.lengthMetres = demo.lengthMetres,
                         .gripClass = demo.gripClass,
                         .titles = RaceTitles(circuit),
                         .names = {german, std::string(demo.englishName), german, german},
                         .subtitle = std::string(demo.subtitle),
                         .grandPrixName = std::string(demo.grandPrixName),
                         .grandPrixSecondLine = std::string(demo.grandPrixSecondLine),
                         .lapRecords = {},
                         .climate = demo.climate};
        std::copy(std::begin(demo.lapRecords), std::end(demo.lapRecords), text.lapRecords.begin());
        texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<MenuDataText> DemoMenuData()
{
    std::vector<MenuDataText> sections;
    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        const auto type = static_cast<BikeClass>(bikeClass);
        sections.push_back({.number = static_cast<int32_t>(bikeClass + 1),
                            .bikeClass = type,
                            .lines = MenuDataLines(type),
                            .pairs = {{"Fahrer", "Team"},
                                      {"Gr\xFC\xDF"
                                       "e",
                                       "Greetings"}}});
    }
    return sections;
}

bool AddDemoMenu(DemoArchives& archives, std::string& error)
{
    std::vector<uint8_t> circuitTexts;
    std::vector<uint8_t> menuData;
    return WriteCircuitTexts(DemoCircuitTexts(), circuitTexts, error) &&
           WriteMenuData(DemoMenuData(), menuData, error) &&
           archives.data.Add(kCircuitTextFileName, circuitTexts, MemberStorage::Smaller, error) &&
           archives.data.Add(kMenuDataFileName, menuData, MemberStorage::Smaller, error) &&
           AddMenuPictures(archives.menu, error) &&
           AddMainMenuPictures(archives.menu, Language::German, error) &&
           AddMenuFlagsAndPreview(archives.menu, error) &&
           AddMainMenuPictures(archives.englishMenu, Language::English, error) &&
           AddPitBoxPictures(archives.menu, archives.patch, error);
}
}  // namespace kit
