#pragma once

// The pit box's result pages after a session: the session's times or results; then in a
// network race the series table; after the race of a championship round the title movie when
// the championship is won, and the points. They follow a single race the player finished
// classified, every session of a weekend or championship round and every network race; none
// follows a demo race or a race to be run again, and none once the game is being quit or the
// network session was lost. The race must be unloaded. Main thread only.

#include <cstdint>
#include <vector>

#include "core/game/GameEnums.h"

class OutputWindow;

// The pit-box pages after a session of the mode and session number, in order; the title movie
// comes before the points when the championship is won.
struct SessionResultPages
{
    std::vector<int32_t> pages;
    bool titleMovie = false;
    bool operator==(const SessionResultPages&) const = default;
};
SessionResultPages ResultPagesOf(GameMode mode, uint32_t session, bool playerClassified,
                                 bool championshipWon);

// Shows the pages until each gives its result; race again from a page sets g_raceAgain.
void ShowSessionResults(OutputWindow& window);
