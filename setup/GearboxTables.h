#pragma once

// The gearing a machine of each class can be given: the gear pairs of its six gears, the
// sprocket ranges of the secondary drive, the primary reduction and the top speed the class is
// geared for.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/game/GameEnums.h"

struct GearPair
{
    uint8_t wheelTeeth;
    uint8_t pinionTeeth;
};

struct ClassGearing
{
    static constexpr size_t kMaxPairs = 40;
    static constexpr size_t kGears = 6;

    std::array<GearPair, kMaxPairs> pairs;     // a gear's higher index is a longer gear
    std::array<uint8_t, kGears> pairsPerGear;  // consecutive runs of pairs, gear 1 first
    uint8_t frontSprocketMin;
    uint8_t frontSprocketMax;
    uint8_t rearSprocketMin;
    uint8_t rearSprocketMax;
    uint8_t primaryDriving;
    uint8_t primaryDriven;
    float classReferenceSpeed;  // km/h
};

const ClassGearing& ClassGearingOf(BikeClass bikeClass);
