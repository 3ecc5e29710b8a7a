#pragma once

// The riders' liveries: per class, 30 records of which the first 26 (one per rider) are used.
// The race loader and the head-up display index the machine pictures by class x 5 + bike
// model; the livery loader numbers wheel and paint textures from design + 1.
// Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t kLiveryClassCount = 3;
inline constexpr size_t kLiveriesPerClass = 30;
inline constexpr size_t kDefaultLiveriesPerClass = 26;

struct RiderLivery
{
    std::string riderName;  // Windows-1252
    uint32_t startNumber = 0;
    uint32_t bikeModel = 0;    // 0..4: one of the class's five machines
    uint32_t wheelDesign = 0;  // 0-based
    uint32_t paintDesign = 0;  // 0-based
};

extern std::array<std::array<RiderLivery, kLiveriesPerClass>, kLiveryClassCount> g_riderLiveries;

// Every class's first 26 liveries: start numbers 1..26, the default machines and designs, and
// the default rider name.
void FillDefaultLiveries();
