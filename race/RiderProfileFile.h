#pragma once

// The rider data file of a class, "Bikedaten/Fahrerdaten<class>.tst": a u16 rider count
// (little-endian), then that many 196-byte stored profiles. Bytes after them are not read.

#include <cstdint>
#include <span>
#include <vector>

#include "core/game/GameEnums.h"
#include "race/BikeRecord.h"
#include "race/RiderProfile.h"

// Takes the file's riders into the profiles from index 0, each with its active parameters and
// the class's display name; the rider count, or -1, with every profile unchanged, for a file
// that counts more than 26 riders or holds fewer profiles than it counts.
int DecodeRiderProfiles(std::span<const uint8_t> bytes, BikeClass bikeClass,
                        std::span<RiderProfile, kRiderCount> profiles);

std::vector<uint8_t> EncodeRiderProfiles(std::span<const RiderProfile> profiles);
