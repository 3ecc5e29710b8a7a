#pragma once

// The race's shared chance: 256 words of the runtime's generator (0..0x7FFF) and a copy of the
// first four, read by the step number, so that every machine of a race and every replay makes
// the same chance decisions. Filled before each race; the network host sends its table to the
// others. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>

struct RandomTable
{
    static constexpr size_t kWords = 256;
    static constexpr size_t kStoredWords = kWords + 4;

    std::array<uint32_t, kStoredWords> words{};

    // Takes the next 256 values of the runtime's generator.
    void Fill();

    // The step's word and the one after it.
    uint32_t At(uint32_t step) const { return words[step & (kWords - 1)]; }
    uint32_t Next(uint32_t step) const { return words[(step & (kWords - 1)) + 1]; }
};
