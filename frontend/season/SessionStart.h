#pragma once

// The start of a session on a race: the settings' choices become the current race (class,
// difficulty, circuit, the session's weather and air), the racing line and the riders of the
// class are read, and the field is set by game mode: who rides (race status), from which grid
// position, who is left out, and how many laps. Placing the riders on the circuit follows.

#include <cstdint>

#include "app/settings/MenuState.h"
#include "frontend/season/SessionOptions.h"
#include "race/RaceContext.h"

class CprArchive;

struct SessionStart
{
    uint32_t session = 0;    // of the weekend; 0 outside one
    uint32_t fieldSize = 0;  // riders taking part; 0 when the mode has no start here
    bool isRace = false;
    bool isQualifying = false;
    bool withGhost = false;  // a ghost race with its ghost loaded
    // A timed session of the weekend whose riders start behind the start line, not in the
    // pit lane.
    bool flyingStart = false;
    // False when the circuit's racing line could not be read: the race object still holds the
    // previous circuit's, so the session must not be ridden.
    bool lineRead = false;
    // False when the class's standard set-up could not be read: the bikes keep what they had.
    bool setupsRead = false;
    // A race runs its laps from the grid; any other session rides out of the pit lane until
    // its time is up or its lap limit is reached.
    uint16_t laps = 0;
    float sessionSeconds = 0.0f;
    SessionOptions options;
};

// Seeds the runtime's generator with the time of day (ms), as every session start does, so
// that a session's random choices follow from when it started. A network race is started by
// the network session and gets no field or set-ups here. Without a data archive no line is
// read; the set-up files come from the menu archive.
SessionStart StartSession(RaceContext& race, MenuState& settings, uint32_t timeOfDayMs,
                          CprArchive* dataArchive, CprArchive* menuArchive);
