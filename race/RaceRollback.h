#pragma once

// The race's state beside the bike records that a rollback of a network race takes back with
// them, one copy per snapshot slot: the standings, the counts of the player's lap recording
// and the ghost's playback. The samples beyond a restored count are simply written again.
//
// Kept by the simulation of a client; main thread only. Large (a copy of the standings per
// slot): make it on the heap.

#include <array>
#include <cstddef>
#include <cstdint>

#include "race/LockstepState.h"
#include "race/standings/RaceStandings.h"

class RaceContext;

class RaceRollback
{
public:
    void Save(size_t slot, const RaceContext& race);
    void Restore(size_t slot, RaceContext& race) const;

private:
    struct LapMarks
    {
        int32_t sampleCount = 0;
        uint32_t valid = 0;
        uint32_t lastStoredLap = 0;
        int32_t ghostAlpha = 0;
        int32_t ghostFade = 0;
        int32_t ghostPlayIndex = 0;
    };

    std::array<RaceStandings, kStateSlots> standings_;
    std::array<LapMarks, kStateSlots> lapMarks_{};
};
