#pragma once

// The set-up stream: the fields of a bike's set-up that the player's set-up files,
// "setup.tmp" and the championship saves carry, 67 bytes without a header, little-endian,
// floats as their bit patterns:
//
//   offset  bytes  field
//   0       4 x 4  ignitionA, ignitionB, ignitionC, coolingOpening
//   16      4 x 4  frontCompression, frontRebound, rearCompression, rearRebound
//   32      4 x 1  frontLevelA, frontLevelB, rearLevelA, rearLevelB
//   36      3 x 4  tuningValue1, tuningValue2, tuningValue3
//   48      2 x 4  brakeValueA, brakeValueB
//   56      1      brakeCharacteristic
//   57      6 + 2  gearChoice[0..5], rearSprocket, frontSprocket
//   65      2      frontTyre, rearTyre

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "race/BikeRecord.h"

inline constexpr size_t kSetupStreamSize = 67;
using SetupStream = std::array<uint8_t, kSetupStreamSize>;

SetupStream StoreSetupStream(const BikeSetup& setup);

// Takes a stream's fields into the set-up; every other field keeps its value, and bytes after
// the stream are not read. A stream cut short changes nothing and gives false.
//
// The files come from anywhere, so values the set-up screens could not have made are brought
// back into their ranges: the ignition factors to 0.95..1.05, the cooling opening to 0..1,
// damping to 1..19 clicks, the suspension levels to 0..4, brake A to 0.01..1.0, brake B to
// 0.01..2.0 and the brake characteristic to 0..2. A value that is no finite number, and a tyre
// byte that names no tyre (0..10, or 100 for the automatic choice), keeps the set-up's value.
// Gear choices and sprockets are kept within the gearbox table when the gearing is applied.
bool LoadSetupStream(std::span<const uint8_t> bytes, BikeSetup& setup);
