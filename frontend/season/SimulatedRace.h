#pragma once

// A race that nobody rode, completed by simulation: every rider of the field rides the laps at
// its base lap time (the circuit's reference lap, slower when dull or wet, scaled by the
// rider's rating) plus a random part, the first lap from a standing start. The riders are then
// placed by their totals; riders outside the field are not classified and follow.

#include <array>
#include <cstdint>
#include <span>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "frontend/season/SessionWeather.h"

struct SimulatedRaceInputs
{
    uint32_t laps = 5;
    int32_t referenceLapMs = 0;
    Weather weather = Weather::Fine;
    uint32_t fieldMask = 0;
    std::span<const float> rating;  // per rider, the better the higher
};

struct SimulatedRaceResult
{
    std::array<int32_t, MenuState::kRiders> totalMs{};    // -1 not classified
    std::array<int32_t, MenuState::kRiders> positions{};  // from 1
    std::array<int16_t, MenuState::kRiders> ranks{};      // 0 classified, -8 not
};

// The base lap time of a rider: the reference lap x 1.16 in rain, x 1.08 when dull, divided by
// its rating (ratings of 0 and below count as 1).
int32_t BaseLapMs(int32_t referenceLapMs, Weather weather, float rating);

SimulatedRaceResult SimulateRace(const SimulatedRaceInputs& inputs, const RandomSource& random);
