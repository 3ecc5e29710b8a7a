#include "frontend/season/SessionScoring.h"

#include <algorithm>

#include "frontend/season/ChampionshipTable.h"

namespace
{
constexpr size_t kLapRow = RaceStandings::kLapRow;
// Sectors 1..3 end at timing lines 1, 2 and 0: the standings' rows 1, 2 and 0.
constexpr std::array<size_t, 3> kSectorRows = {1, 2, 0};

int32_t TimeOrNone(int32_t ms)
{
    return ms >= 1 && ms < RaceStandings::kNoSection ? ms : -1;
}
}  // namespace

SessionTimes BestTimesOfRider(const RaceStandings& standings, uint32_t rider)
{
    SessionTimes times;
    if (rider >= RaceStandings::kRiders)
    {
        return times;
    }
    const auto& rows = standings.splitMs[rider];
    times.lapMs = TimeOrNone(rows[kLapRow][0]);
    for (size_t sector = 0; sector < kSectorRows.size(); ++sector)
    {
        times.sectorMs[sector] = TimeOrNone(rows[kSectorRows[sector]][0]);
    }
    return times;
}

void TakeLapRecords(RaceAiSystem& race, const RaceStandings& standings, uint32_t riderCount,
                    BikeClass bikeClass, CircuitId circuit,
                    std::span<CircuitTextRecord, kCircuitCount> texts)
{
    const uint32_t riders = std::min<uint32_t>(riderCount, RaceStandings::kRiders);
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        const int32_t lap = BestTimesOfRider(standings, rider).lapMs;
        if (lap > 0)
        {
            race.OfferLapRecord(bikeClass, circuit, rider, lap);
        }
    }
    for (size_t index = 0; index < kCircuitCount; ++index)
    {
        for (size_t bikeClassIndex = 0; bikeClassIndex < kBikeClassCount; ++bikeClassIndex)
        {
            const int32_t recordMs = race.records.lapMs[bikeClassIndex][index];
            CircuitLapRecord& shown = texts[index].lapRecords[bikeClassIndex];
            if (recordMs < CircuitRecords::kNoTime && recordMs < shown.timeMs)
            {
                shown.timeMs = recordMs;
                shown.holder = race.records.holder[bikeClassIndex][index];
            }
        }
    }
}

void ScoreWeekendSession(MenuState& settings, uint32_t session, size_t circuit, BikeClass bikeClass,
                         const RaceStandings& standings, const SimulatedSessionInputs& simulation,
                         const RandomSource& random)
{
    if (session < kTimedSessions)
    {
        bool anyTime = false;
        for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
        {
            const SessionTimes times = BestTimesOfRider(standings, rider);
            StoreRiderTimes(settings, session, rider, times);
            anyTime = anyTime || times.lapMs > 0;
        }
        if (anyTime)
        {
            SortStoredSession(settings, session);
        }
        else
        {
            SimulateTimedSession(settings, session, simulation, true, random);
        }
        return;
    }
    const uint32_t field = settings.U32At(MenuState::kFieldMaskOffset);
    std::array<bool, MenuState::kRiders> tookPart{};
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        tookPart[rider] = ((field >> rider) & 1) != 0;
    }
    EnterRacePlaces(settings, circuit, RidersOfClass(bikeClass), standings.gridOrder,
                    standings.sessionRanks, tookPart);
}
