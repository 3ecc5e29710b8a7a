#pragma once

// What a race load of the demo circuit stands on, for the tests and the benchmark alike: the
// demo installation's archives as the load reads them (objects, textures, menu, data) and a race
// prepared as the session start prepares it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/GameEnums.h"
#include "kit/race/DemoRace.h"

class RaceContext;

struct DemoRaceArchives
{
    std::vector<uint8_t> objects;
    std::vector<uint8_t> textures;
    std::vector<uint8_t> menu;
    std::vector<uint8_t> data;
};

// The race content, motions and race files of the demo installation; the plain files that
// come with them go below scratch. Empty archives, with the reason, on failure.
DemoRaceArchives BuildDemoRaceArchives(const std::string& scratch, std::string& error);

// The demo circuit (or another of the demo's circuits) in the class and weather, its racing
// line and the class's set-ups from the mounted archives, and the field on the grid's slots as
// the session start places it.
bool PrepareDemoRace(RaceContext& race, BikeClass bikeClass, Weather weather, uint32_t riders,
                     std::string_view circuit = kit::kDemoRaceCircuitName);
