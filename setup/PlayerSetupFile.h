#pragma once

// "setup.tmp" in the working directory: the local player's last set-up, kept beside the
// settings as one set-up stream. Main thread only.

#include <cstdint>

// With store, replaces the file with the set-up of the local player's bike
// (g_bikes[g_playerRider]); without, takes the file's stream into that set-up when the file can
// be read (see ReadSetupFile). False when nothing was written or read.
bool SerializeBikeSetup(bool store);

// Makes the rider the local player's and loads "setup.tmp" into its bike.
bool LoadPlayerBikeSetup(uint32_t rider);
