#pragma once

// How the game's session flow runs the pit box: one page of a menu on the game's race and
// settings, frame by frame (message pump, frame time, Frame) until the page gives a result.

#include <cstdint>

#include "frontend/pitbox/PitBoxMenu.h"

// The context of the game's own race, settings and ghost.
PitBoxContext GamePitBoxContext(LoadedGhost& ghost);

// Enters the page with the session words and runs it until Frame gives a result, which it
// returns; 0 when the game is being quit or the network session was lost first. The menu stays
// entered: the caller acts on the result, then calls Leave (or enters another page).
int32_t RunPitBoxPage(PitBoxMenu& menu, int32_t page, const SessionWords& words);
