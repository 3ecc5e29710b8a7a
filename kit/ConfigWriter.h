#pragma once

// "config.dat" for a kit installation: the set-up that the game's separate set-up program
// would otherwise have written.

#include <string>

#include "app/config/ConfigBlock.h"

namespace kit
{
// Our render library beside the game, the 640 x 480 x 16-bit, 60 Hz screen the race needs,
// and the default sound choices.
ConfigBlock DemoConfig();

bool WriteConfig(const std::string& path, const ConfigBlock& config, std::string& error);
}  // namespace kit
