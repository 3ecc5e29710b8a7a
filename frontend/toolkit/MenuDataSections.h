#pragma once

// The sections of "MainMenu/MenuDaten.txt", as lines (Windows-1252): a line that reads as a
// number opens a section; the next line names its class ("125er Klasse", "250er Klasse" or
// "500er Klasse"); 15 lines follow, then a line with a count and that many pairs of lines.
// Lines outside sections are passed over. The game keeps the sections split into lines and
// reads nothing else of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/game/GameEnums.h"

inline constexpr size_t kMenuDataSectionLines = 15;

struct MenuDataSection
{
    int32_t number = 0;
    BikeClass bikeClass = BikeClass::Class125;
    std::array<const char*, kMenuDataSectionLines> lines{};
    std::vector<std::array<const char*, 2>> pairs;
};

// The sections of the file's bytes, cut into lines in place: the buffer must hold a zero byte
// at *end and outlive the sections. A section whose class line names no class is passed over;
// one that the file ends inside is dropped; a negative count is no pairs.
std::vector<MenuDataSection> ParseMenuDataSections(char* begin, char* end);
