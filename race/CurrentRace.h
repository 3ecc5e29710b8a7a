#pragma once

// The choices of the current race that the simulation and every game subsystem read: the
// settings copy their choices in when they are loaded, the session start sets them for each
// session. Main thread only.

#include <cstdint>
#include <string_view>

#include "core/game/GameEnums.h"

// The air of the session, which the engine breathes.
struct RaceConditions
{
    float airTemperature = 20.0f;      // deg C
    float wetBulbTemperature = 16.0f;  // deg C
    float humidity = 65.0f;            // %
    float pressureMmHg = 760.0f;
};

struct CurrentRace
{
    BikeClass bikeClass = BikeClass::Class125;
    CircuitId circuitIndex = CircuitId::ShahAlam;
    std::string_view circuitName;  // the circuit's file stem
    Weather weather = Weather::Fine;
    uint32_t difficulty = 0;  // 0, 1 or 2; level 2 rides lines of its own
    GameMode gameMode = GameMode::TestRide;
    uint32_t viewedRider = 0;   // the rider that the camera and the display follow
    uint32_t riderCount = 0;    // riders in the race
    float trackWetness = 0.0f;  // 0 dry .. 1 wet
    RaceConditions conditions;
    // 1: the air and the engine's temperature act on its power.
    uint32_t engineConditions = 0;
    // 1: an observation race, chosen in the menu; the player only watches it.
    uint8_t observationMode = 0;
};
