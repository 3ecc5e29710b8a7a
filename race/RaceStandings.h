#pragma once

// The timing and classification of the running session. Its head is the circuit's timing
// lines, which come with the racing line. Main thread only.

#include "race/StandingsHeadRecord.h"

struct RaceStandings
{
    StandingsHeadRecord head;
};
