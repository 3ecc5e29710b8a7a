#pragma once

// The sessions a choice in the main menu leads to. Each session is started on the game's race
// (the field, the grid, the weather), shown on the pre-race screen, raced and scored by the runner;
// a Grand Prix weekend goes on to its next session, a championship after each race to its next
// round, until the player backs out on the pre-race screen, the single session or the weekend is
// over, or the championship has had its last round. Until the player can pick the session to
// ride between sessions, a weekend's timed sessions are simulated and the player rides its
// race. Main thread only.

#include <cstdint>
#include <functional>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"

// Loads, races, unloads and scores the started session; true when the race ran.
using RaceSessionRunner = std::function<bool()>;

void RunChosenSessions(const RaceSessionRunner& raceSession);

// The pre-race screen on the game's window, a frame at a time, on the menu fonts: its result,
// or back to the menus when the game is being quit.
int32_t RunPreRaceScreen();

// After a scored session of a weekend or championship: the next session, and after the race
// of a championship round the next round. False when no session follows.
bool AdvanceAfterSession(MenuState& settings, GameMode mode);
