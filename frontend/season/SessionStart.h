#pragma once

// The start of a session on a race: the settings' choices become the current race (class,
// difficulty, circuit, the session's weather and air), the racing line and the riders of the
// class are read, and the field is set by game mode: who rides (race status), from which grid
// position, who is left out, and how many laps. Placing the riders on the circuit follows.

#include <cstdint>

#include "app/settings/MenuState.h"
#include "race/RaceContext.h"

class CprArchive;

struct SessionStart
{
    uint32_t session = 0;    // of the weekend; 0 outside one
    uint32_t fieldSize = 0;  // riders taking part; 0 when the mode has no start here
    bool isRace = false;
    bool isQualifying = false;
};

// Seeds the runtime's generator with the time of day (ms), as every session start does, so
// that a session's random choices follow from when it started. A network race is started by
// the network session and gets no field here.
SessionStart StartSession(RaceContext& race, MenuState& settings, uint32_t timeOfDayMs,
                          CprArchive* dataArchive);
