#pragma once

// The countdown of a network race's time limit, which the screens before a session show and
// which ends them when it runs out. The timer tick counts g_menuDelayMs down. Main thread only.

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"

// A network race with its time limit switched on, at a valid entry of its circuit list.
bool IsSessionCountdownShown(const MenuState& settings, GameMode mode);

// The countdown of the game's settings and mode has run out.
bool HasSessionCountdownRunOut();

// The seconds left in the big digits at the top right, clipped to the active repaint list.
void DrawSessionCountdown();
