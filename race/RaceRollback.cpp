#include "race/RaceRollback.h"

#include "race/RaceContext.h"

void RaceRollback::Save(size_t slot, const RaceContext& race)
{
    slot %= kStateSlots;
    standings_[slot] = race.standings;
    LapMarks& marks = lapMarks_[slot];
    marks.sampleCount = race.lapRecord.sampleCount;
    marks.valid = race.lapRecord.valid;
    marks.lastStoredLap = race.lapRecord.lastStoredLap;
    if (const LapRecord* ghost = race.race.ghostRecord)
    {
        marks.ghostAlpha = ghost->alpha;
        marks.ghostFade = ghost->fade;
        marks.ghostPlayIndex = ghost->playIndex;
    }
}

void RaceRollback::Restore(size_t slot, RaceContext& race) const
{
    slot %= kStateSlots;
    race.standings = standings_[slot];
    const LapMarks& marks = lapMarks_[slot];
    race.lapRecord.sampleCount = marks.sampleCount;
    race.lapRecord.valid = marks.valid;
    race.lapRecord.lastStoredLap = marks.lastStoredLap;
    if (LapRecord* ghost = race.race.ghostRecord)
    {
        ghost->alpha = marks.ghostAlpha;
        ghost->fade = marks.ghostFade;
        ghost->playIndex = marks.ghostPlayIndex;
    }
}
