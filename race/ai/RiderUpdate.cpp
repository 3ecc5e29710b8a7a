// The computer-rider update of one step: every rider of the race timed at the timing lines,
// the player's finished laps filed, the race order sorted.

#include <algorithm>

#include "race/RaceAi.h"
#include "race/RaceContext.h"
#include "race/RaceSim.h"

void RaceAi::UpdateRiders(RaceSim& sim, uint32_t riderCount)
{
    RaceContext& race = *context_;
    RaceStandings& standings = race.standings;
    standings.Session().raceTime = sim.RaceTime();
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    const uint32_t riders = std::min<uint32_t>(riderCount, kRiderCount);
    for (uint32_t rider = riders; rider-- > 0;)
    {
        if (race.bikes[rider].IsInactive())
        {
            continue;
        }
        standings.CheckLineCrossing(rider);
        const uint32_t lap = race.bikes[rider].timedLap;
        if (standings.UpdateSectors(rider) == 1 && rider == player)
        {
            const size_t index = std::min<size_t>(lap, RaceStandings::kLapSlots - 1);
            LapTimes times{};
            for (size_t row = 0; row < times.size(); ++row)
            {
                times[row] = standings.splitMs[rider][row][index];
            }
            race.lapRecord.FinishLap(lap, race.lapHeader, times, *this);
        }
    }
    if (standings.Session().isRace)
    {
        standings.Resort(false);
    }
}
