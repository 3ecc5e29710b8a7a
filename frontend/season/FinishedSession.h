#pragma once

// After every session the main routine scores it on the game's race: the lap records, then by
// game mode the weekend tables, the championship table or the network series. Main thread only.

// The session just ended is the settings' session number of the current weekend.
void ScoreFinishedRace();
