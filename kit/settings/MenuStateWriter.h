#pragma once

// "menustate.dat", the settings file, in the current form and in the older one that the game
// still reads.

#include <array>
#include <cstdint>
#include <string>

#include "app/settings/MenuState.h"

namespace kit
{
using OldControlKeys = std::array<uint8_t, MenuState::kOldControlKeyCount>;

// The record as the game writes it: 5360 bytes.
bool WriteMenuState(const std::string& path, const MenuState& state, std::string& error);

// The older form: 5348 bytes, the record up to its control map, which that form lacked, with
// the eight control keys of the older record (throttle, brake, left, right, shift up, shift
// down, wheelie, look back).
bool WriteOldMenuState(const std::string& path, const MenuState& state, const OldControlKeys& keys,
                       std::string& error);
}  // namespace kit
