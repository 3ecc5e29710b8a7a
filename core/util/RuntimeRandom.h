#pragma once

// The runtime's random generator: the classic C runtime's 15-bit linear congruential
// generator, one state for the whole process, seed 1 at start. Every figure the game
// derives from "the runtime's rand" assumes exactly this sequence, so the host's rand()
// is never used.

#include <cstdint>

constexpr int kRuntimeRandMax = 0x7FFF;

int RuntimeRand();  // 0 .. kRuntimeRandMax
void RuntimeSeed(uint32_t seed);
