#pragma once

// How the pit box and the menus open the set-up screen: on the local player's machine, the
// current race and the circuit's racing line, with the rider's names.

#include <memory>

#include "setup/SetupScreen.h"

// The screen is created, not loaded: the owner calls Load on its next frame.
std::unique_ptr<SetupScreen> CreatePlayerSetupScreen(Language language,
                                                     bool engineConditionsAfterwards);
