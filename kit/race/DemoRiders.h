#pragma once

// The demo installation's field: 26 invented riders per class with their names, racing
// numbers and riding parameters spread over the ranges the game accepts, so that computer
// riders differ in pace, launch and caution. Names are Windows-1252.

#include <vector>

#include "core/game/GameEnums.h"
#include "race/RiderProfile.h"

namespace kit
{
std::vector<RiderProfile> DemoRiderProfiles(BikeClass bikeClass);
}  // namespace kit
