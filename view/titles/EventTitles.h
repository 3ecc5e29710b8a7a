#pragma once

// The titles of a race: the Grand Prix title over the grid and the event title over the final
// standing, both Windows-1252.

#include <array>
#include <string_view>

#include "core/game/GameEnums.h"

using TitleText = std::array<char, 256>;

// By the circuit's name, compared exactly; "Grand Prix" for any other.
std::string_view EventTitle(std::string_view circuitName);

// The two words of a circuit's name in the language; the second may be empty.
struct CircuitTitleWords
{
    const char* first;
    const char* second;
};
CircuitTitleWords CircuitTitle(Language language, CircuitId circuit);

// Circuits 0..14: the circuit list's text from its second character up to the first ")" (or
// its end); the network circuits: their two words. Then " Grand Prix".
TitleText GrandPrixTitle(Language language, CircuitId circuit, std::string_view circuitListText);
