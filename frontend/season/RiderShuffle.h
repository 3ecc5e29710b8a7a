#pragma once

// The computer riders' strength by the settings' opponent level: identical riders (every
// profile back to the default riding parameters, as also in a network race), the realistic
// ones as loaded, or the loaded parameters shuffled among the riders by the settings' seed.

#include <array>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "race/BikeRecord.h"
#include "race/RiderProfile.h"

inline constexpr uint8_t kOpponentsIdentical = 0;
inline constexpr uint8_t kOpponentsRealistic = 1;
inline constexpr uint8_t kOpponentsRandom = 2;

void PrepareRiderProfiles(const MenuState& settings, GameMode mode, BikeClass bikeClass,
                          std::array<RiderProfile, kRiderCount>& profiles);
