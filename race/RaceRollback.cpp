#include "race/RaceRollback.h"

#include "race/RaceContext.h"

namespace
{
// The fields a rollback takes back, between a race and its copy, in either direction.
template <typename From, typename To>
void Transfer(const From& from, To& to)
{
    to.hazard = from.hazard;
    to.hazardPlace = from.hazardPlace;
    to.pitCrewBusy = from.pitCrewBusy;
    to.celebrationsLeft = from.celebrationsLeft;
    to.inRace = from.inRace;
    to.startPhase = from.startPhase;
    to.incidentCounter = from.incidentCounter;
    to.lastPracticeDeparture = from.lastPracticeDeparture;
    to.playerFinishTime = from.playerFinishTime;
}

template <typename From, typename To>
void TransferParameters(const From& from, To& to)
{
    to.baseAngle = from.baseAngle;
    to.avoidDistanceSq = from.avoidDistanceSq;
    to.performance = from.performance;
    to.launchFactor = from.launchFactor;
    to.rangeBase = from.rangeBase;
    to.paceBase = from.paceBase;
    to.activeAngle = from.activeAngle;
    to.activeRange = from.activeRange;
    to.pace = from.pace;
    to.paceRank = from.paceRank;
}
}  // namespace

void RaceRollback::Save(size_t slot, const RaceContext& race)
{
    slot %= kStateSlots;
    standings_[slot] = race.standings;
    AiState& ai = ai_[slot];
    Transfer(race.race, ai);
    ai.incidents = race.incidentRequests;
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        TransferParameters(race.riderProfiles[rider], parameters_[slot][rider]);
    }
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
    const AiState& ai = ai_[slot];
    Transfer(ai, race.race);
    race.incidentRequests = ai.incidents;
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        TransferParameters(parameters_[slot][rider], race.riderProfiles[rider]);
    }
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
