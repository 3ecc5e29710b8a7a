#pragma once

// The start slots of a racing line as a stream of their own, little-endian, apart from the
// racing-line file that carries them in its raw image:
//
//   full form     u16 count, u16 first practice slot, f32 grid heading, then count x f32 x,
//                 count x f32 z and count x u16 racing-line node
//   compact form  u16 count, u16 first practice slot, u16 heading in 4096ths of a turn, then
//                 per slot u16 x x 25, u16 z x 25, u16 node (store only)

#include <cstdint>
#include <span>
#include <vector>

#include "race/RacingLine.h"

std::vector<uint8_t> StoreStartSlots(const StartSlots& slots);
// Reads the full form over the slots: only the first `count` entries of each array change. A
// stream that counts more than 70 slots or ends early changes nothing: false.
bool LoadStartSlots(std::span<const uint8_t> bytes, StartSlots& slots);

std::vector<uint8_t> StoreStartSlotsCompact(const StartSlots& slots);

// The count, the first practice slot, the heading and the first `count` entries of each array.
void CopyStartSlots(StartSlots& to, const StartSlots& from);
