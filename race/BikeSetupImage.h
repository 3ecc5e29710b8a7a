#pragma once

// A bike set-up as the class set-up files ("Raddaten/<class>Std.rdf" and a rider's own
// "Raddaten/<class><c1><c2>.rdf") and the network exchange carry it: the 1092-byte block in its
// record layout, little-endian.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "race/BikeSetup.h"

using BikeSetupImage = std::array<uint8_t, BikeSetup::kSize>;

BikeSetupImage EncodeBikeSetup(const BikeSetup& setup);
// Nothing for fewer than 1092 bytes; bytes after them are not read.
std::optional<BikeSetup> DecodeBikeSetup(std::span<const uint8_t> bytes);

// Whether the physics can derive a machine from the set-up: every value a finite number, and
// mass, load arms, engine speed scale, springs, travels and tyres positive.
bool IsRideableSetup(const BikeSetup& setup);
