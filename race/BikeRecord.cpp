#include "race/BikeRecord.h"

std::array<BikeRecord, kRiderCount> g_bikes{};
std::atomic<uint32_t> g_playerRider{0};
