#include "setup/GearboxTables.h"

namespace
{
// The 125 and 500 ccm machines share their gearbox; only the primary reduction and the reference
// speed differ.
constexpr std::array<GearPair, ClassGearing::kMaxPairs> kSmallAndLargePairs = {{
    {30, 14}, {33, 16}, {30, 15}, {29, 15}, {32, 17}, {36, 20},            // gear 1
    {35, 21}, {31, 19}, {27, 17}, {34, 22}, {30, 20},                      // gear 2
    {23, 16}, {24, 17}, {26, 19}, {28, 21}, {25, 19},                      // gear 3
    {28, 22}, {25, 20}, {27, 22}, {24, 20},                                // gear 4
    {30, 26}, {24, 21}, {26, 23}, {30, 27}, {23, 21},                      // gear 5
    {23, 21}, {26, 24}, {29, 27}, {20, 19}, {23, 22}, {29, 28}, {20, 20},  // gear 6
}};

constexpr std::array<GearPair, ClassGearing::kMaxPairs> kMiddlePairs = {{
    {39, 16}, {34, 15}, {31, 14}, {30, 14}, {33, 16},            // gear 1
    {29, 15}, {32, 17}, {29, 16}, {28, 16}, {31, 18}, {28, 17},  // gear 2
    {27, 17}, {27, 18}, {26, 18}, {26, 19}, {25, 19},            // gear 3
    {26, 19}, {28, 21}, {31, 24}, {25, 20}, {27, 22}, {24, 20},  // gear 4
    {25, 20}, {27, 22}, {24, 20}, {27, 23}, {24, 21}, {29, 26},  // gear 5
    {24, 20}, {27, 23}, {24, 21}, {29, 26}, {26, 24}, {23, 22},  // gear 6
}};

constexpr std::array<ClassGearing, kBikeClassCount> kClassGearing = {{
    {kSmallAndLargePairs, {6, 5, 5, 4, 5, 7}, 15, 19, 35, 42, 21, 60, 200.0f},
    {kMiddlePairs, {5, 6, 5, 6, 6, 6}, 15, 18, 30, 39, 23, 57, 250.0f},
    {kSmallAndLargePairs, {6, 5, 5, 4, 5, 7}, 15, 19, 35, 42, 19, 42, 300.0f},
}};

constexpr size_t UsedPairs(const ClassGearing& gearing)
{
    size_t count = 0;
    for (const uint8_t pairs : gearing.pairsPerGear)
    {
        count += pairs;
    }
    return count;
}
static_assert(UsedPairs(kClassGearing[0]) == 32);
static_assert(UsedPairs(kClassGearing[1]) == 34);
static_assert(UsedPairs(kClassGearing[2]) == 32);
}  // namespace

const ClassGearing& ClassGearingOf(BikeClass bikeClass)
{
    return kClassGearing[ToIndex(bikeClass)];
}
