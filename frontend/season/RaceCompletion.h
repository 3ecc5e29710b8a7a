#pragma once

// A race left before every rider has finished: the riders still on the track get results all
// the same, so that the race can be scored. Either the race is completed by simulation (every
// rider still running rides its missing laps at its base lap time, never ahead of a rider who
// really finished), or each running rider's time to the flag is projected from where it is
// along the racing line at its speed. Both leave the standings re-sorted: classified riders by
// laps and time, the riders without a classification below them.

#include <cstdint>
#include <span>

#include "core/game/GameEnums.h"
#include "frontend/season/SessionWeather.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/standings/RaceStandings.h"

struct RaceCompletionInputs
{
    uint32_t laps = 0;  // of the race
    uint32_t player = 0;
    bool networkStart = false;           // the first lap's start depends on the grid position
    std::span<const bool> inField;       // per rider
    std::span<const bool> stopped;       // per rider: its bike stands and goes no further
    std::span<const int32_t> baseLapMs;  // per rider
};

void CompleteRaceBySimulation(RaceStandings& standings, const RaceCompletionInputs& inputs,
                              const RandomSource& random);

struct RaceProjectionInputs
{
    uint32_t laps = 0;
    BikeClass bikeClass = BikeClass::Class125;
    const RacingLine* line = nullptr;
    uint16_t finishNode = 0;
    std::span<const BikeRecord> bikes;
    std::span<const bool> inField;
};

// Riders still running without a time whose race status is 8 or 9 get one; a rider off the
// racing line is retired instead.
void ProjectRunningRiders(RaceStandings& standings, const RaceProjectionInputs& inputs,
                          const RandomSource& random);

// The projected time, in s, of a rider from the node at the speed to the finish node.
double ProjectedSecondsToFinish(const RacingLine& line, uint16_t fromNode, uint16_t finishNode,
                                float speed, BikeClass bikeClass, float riderSpeedFactor);
