#pragma once

// "menustate.dat" in the working directory, read into and written from g_menuState. Main
// thread only.

#include "app/settings/MenuState.h"

// Reads the settings file into g_menuState: a file of 5360 bytes whole; one of 5348 bytes, the
// older form, with its control keys moved into the control map; any other file, or none,
// leaves the defaults. Then clears the session of the weekend and the time-limit switch and
// applies the record. The player's last set-up is kept whatever the file held: it is checked
// when it is read.
void LoadMenuState();

// Replaces the file with g_menuState, never leaving a partly written file. False when it cannot
// be written; nobody is told.
bool SaveMenuState();

// The control map of an older record (5348 bytes), which kept eight keys of its own and
// nothing of the joystick.
ControlMap ControlsOfOlderRecord(const MenuState& state);

// Checks g_menuState (ReplaceOutOfRangeValues) and copies its choices into the current-race
// variables: the language, the local player's rider, the circuit, the class and the game mode;
// then loads the class's bike set-ups from the menu archive.
void ApplyMenuState();
