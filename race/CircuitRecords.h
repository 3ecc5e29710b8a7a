#pragma once

// The best lap of every class on every circuit and who rode it, as the record file
// "TempDaten/system.cpr" keeps them: 270 bytes, the holders (u8, 3 classes x 18 circuits) and
// then the times (i32 ms, little-endian, in the same order). Not an archive despite its name.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/game/GameEnums.h"

struct CircuitRecords
{
    static constexpr size_t kFileSize = 270;
    static constexpr uint8_t kNoHolder = 100;
    static constexpr int32_t kNoTime = 0x3FFFFFFF;
    static constexpr int32_t kShortestLapMs = 30000;  // anything faster is no lap

    template <typename T>
    using Table = std::array<std::array<T, kCircuitCount>, kBikeClassCount>;

    Table<uint8_t> holder;
    Table<int32_t> lapMs;

    // Every entry empty.
    CircuitRecords();

    // A file of fewer than 270 bytes gives the empty table; in a whole one an entry faster than
    // a lap can be, or whose holder is no rider, is emptied. Bytes after 270 are not read.
    static CircuitRecords Decode(std::span<const uint8_t> bytes);
    std::array<uint8_t, kFileSize> Encode() const;

    // Takes a rider's lap as the record of the class and circuit when it is a lap and faster
    // than the record; true when it did.
    bool Offer(BikeClass bikeClass, CircuitId circuit, uint32_t rider, int32_t lapTimeMs);
};
