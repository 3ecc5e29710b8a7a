#pragma once

// Set-up streams as files: "setup.tmp" and the player's named set-ups below
// "save/setup/Klasse%i".

#include <string>
#include <string_view>

#include "core/game/GameEnums.h"
#include "race/BikeRecord.h"

namespace kit
{
// The set-up's stream as the whole file at the path, folders created.
bool WriteSetupStream(const std::string& path, const BikeSetup& setup, std::string& error);

// The named set-up of the class below an installation's folder.
bool WritePlayerSetupFile(const std::string& directory, BikeClass bikeClass, std::string_view name,
                          const BikeSetup& setup, std::string& error);
}  // namespace kit
