#pragma once

// "config.dat" in the working directory: the 3D set-up record, read at start-up and written
// back on exit. Main thread only.

#include "app/config/ConfigBlock.h"

extern ConfigBlock g_config;

// Sets the defaults, then takes the file when it is exactly one record long. Otherwise tells
// the player in the language (0 German, else English) to run the set-up first and returns
// false, with the defaults left in place.
bool LoadConfig(int language);

// Replaces the file with the record as a whole, never leaving a partly written one. False when
// it cannot be written: the old file then stays as it was, and stderr says why.
bool SaveConfig();
