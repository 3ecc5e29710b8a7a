#pragma once

// What a race's circuit, weather and session settings give the bike dynamics, set by the race
// content loader before the race and read-only while it runs.

#include <array>
#include <cstdint>

#include "core/game/GameEnums.h"

// Ground coefficients by surface class: for the slow and fast pairs, rolling factor then grip.
struct SurfaceTuning
{
    float weatherFactor;          // grip lost by a rider away from the racing line
    std::array<float, 3> class4;  // rolling factor, grip, wear rate
    std::array<float, 3> class6;
    std::array<float, 3> classOther;  // class 5 and classes above 6
    std::array<float, 2> class3Fast;  // above 30 m/s
    std::array<float, 2> class3Slow;  // below 10 m/s
    float class3Third;                // wear rate
    std::array<float, 2> class2Fast;  // loose ground (classes 0..2) above 15 m/s
    std::array<float, 2> class2Slow;  // below 5 m/s
    float class2Third;
};
static_assert(sizeof(SurfaceTuning) == 20 * sizeof(float));

// Road bumps by surface class 0..11: the gap between bumps, their length and their amplitude,
// each a base and a spread that the step's random words scale.
struct BumpRow
{
    float gapBase, gapSpread;
    float lengthBase, lengthSpread;
    float amplitudeBase, amplitudeSpread;
};
using SurfaceResponseTable = std::array<BumpRow, 12>;

// What the session's settings switch on in the race; the session start sets them.
struct SessionSwitches
{
    bool fallsEnabled = false;       // wheel off the ground, wheelie stall, the step's falls
    bool slideFallsEnabled = false;  // slide and lean detectors
    bool engineDamage = false;
    bool engineConditions = false;  // temperature affects power
    bool detailEffects = true;      // the frame's particles and effect meshes
};

struct RaceParameters : SessionSwitches
{
    SurfaceTuning surfaces{};
    SurfaceResponseTable bumps{};
    float trackWetness = 0.0f;
    float trackAbrasion = 0.0f;    // set by the tyre preparation
    float minimumTyreGrip = 0.0f;  // set by the tyre preparation
    float airTemperature = 20.0f;  // deg C
    Weather weather = Weather::Fine;
    // The bike's hull in its own frame (x right, z forward, metres), for the track-edge
    // contacts: the bike model's collision points.
    std::array<std::array<float, 2>, 12> hullPoints = {{{-0.35f, -0.9f},
                                                        {0.35f, -0.9f},
                                                        {-0.35f, -0.3f},
                                                        {0.35f, -0.3f},
                                                        {-0.35f, 0.3f},
                                                        {0.35f, 0.3f},
                                                        {-0.3f, 0.9f},
                                                        {0.3f, 0.9f},
                                                        {0.0f, 1.05f},
                                                        {0.0f, -1.0f},
                                                        {-0.2f, 0.0f},
                                                        {0.2f, 0.0f}}};
};
