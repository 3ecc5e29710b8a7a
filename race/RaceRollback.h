#pragma once

// The race's state beside the bike records that a rollback of a network race takes back with
// them, one copy per snapshot slot: the standings, the computer riders' state of the race
// object (hazard zone, pit crews, celebrations, the riders in the race, the start phase), the
// incident requests, every rider's riding parameters, the counts of the player's lap recording
// and the ghost's playback. The samples beyond a restored count are simply written again.
//
// Kept by the simulation of a client; main thread only. Large (a copy of the standings per
// slot): make it on the heap.

#include <array>
#include <cstddef>
#include <cstdint>

#include "race/LockstepState.h"
#include "race/RaceAi.h"
#include "race/standings/RaceAttrition.h"
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

    struct AiState
    {
        RaceAi::HazardZone hazard;
        std::array<int32_t, kRiderCount> hazardPlace{};
        std::array<uint8_t, RaceAi::kPitCrews> pitCrewBusy{};
        std::array<uint8_t, kRiderCount> celebrationsLeft{};
        std::array<uint32_t, kRiderCount> inRace{};
        uint32_t startPhase = 0;
        uint32_t incidentCounter = 0;
        float lastPracticeDeparture = 0.0f;
        float playerFinishTime = 0.0f;
        IncidentRequests incidents;
    };
    struct RidingParameters
    {
        float baseAngle = 0.0f;
        float avoidDistanceSq = 0.0f;
        float performance = 0.0f;
        float launchFactor = 0.0f;
        float rangeBase = 0.0f;
        float paceBase = 0.0f;
        float activeAngle = 0.0f;
        float activeRange = 0.0f;
        float pace = 0.0f;
        int32_t paceRank = 0;
    };
    using FieldParameters = std::array<RidingParameters, kRiderCount>;

    std::array<RaceStandings, kStateSlots> standings_;
    std::array<LapMarks, kStateSlots> lapMarks_{};
    std::array<AiState, kStateSlots> ai_{};
    std::array<FieldParameters, kStateSlots> parameters_{};
};
