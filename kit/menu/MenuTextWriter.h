#pragma once

// The two menu text files, as the game reads them from the data archive: Windows-1252 lines
// ending in CR LF. The game's line splitter knows no empty lines, so every text must hold at
// least one character and no line end.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/game/GameEnums.h"
#include "frontend/toolkit/CircuitTexts.h"
#include "frontend/toolkit/MenuDataSections.h"

namespace kit
{
inline constexpr const char* kCircuitTextFileName = "MainMenu/streckendaten.txt";
inline constexpr const char* kMenuDataFileName = "MainMenu/MenuDaten.txt";

struct CircuitText
{
    int32_t lengthMetres = 0;
    int32_t gripClass = 0;
    std::array<std::string, kCircuitTextSlots> titles;
    std::array<std::string, kCircuitTextSlots> names;
    std::string subtitle;
    std::string grandPrixName;
    std::string grandPrixSecondLine;  // empty: a name of one line
    std::array<CircuitLapRecord, kBikeClassCount> lapRecords{};
    CircuitClimate climate;
};

// "MainMenu/streckendaten.txt": the records in CircuitId order. False, with the reason, for a
// text the game could not read back.
bool WriteCircuitTexts(std::span<const CircuitText> circuits, std::vector<uint8_t>& file,
                       std::string& error);

struct MenuDataText
{
    int32_t number = 0;
    BikeClass bikeClass = BikeClass::Class125;
    std::array<std::string, kMenuDataSectionLines> lines;
    std::vector<std::array<std::string, 2>> pairs;
};

// "MainMenu/MenuDaten.txt". False, with the reason, for a text the game could not read back.
bool WriteMenuData(std::span<const MenuDataText> sections, std::vector<uint8_t>& file,
                   std::string& error);
}  // namespace kit
