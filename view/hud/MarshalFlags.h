#pragma once

// Which marshal flag a rider's flag bits (15..21 of his computer-rider flags) show.

#include <cstdint>

inline constexpr int32_t kNoMarshalFlag = -1;

// The first set bit in the order 21, 16, 17, 19, 18, 15, 20 decides. Without the signal aid
// only bit 18 shows. Bit 15's flag stands while the rider has seen it for fewer than two laps,
// then blinks with the race time.
int32_t ChooseMarshalFlag(uint32_t flagBits, bool signalAid, uint16_t flagLaps, float raceTime);
