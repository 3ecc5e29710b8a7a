// The computer-rider update of one step: the start phase, the hazard flags and the avoidance,
// the riders' decisions, then timing, penalties and the controllers, and the race order.

#include <algorithm>
#include <array>
#include <cmath>

#include "race/RaceAi.h"
#include "race/RaceContext.h"
#include "race/RaceSim.h"
#include "race/ai/HazardRules.h"
#include "race/ai/PitLane.h"
#include "race/ai/RacingDecision.h"
#include "race/ai/RiderStep.h"
#include "race/ai/StagedIncidents.h"

namespace
{
constexpr int16_t kFallenOutRank = -6;
constexpr float kStartLineUpDelay = 5.0f;

RiderStep StepOf(RaceAi& ai, RaceContext& race, uint32_t rider)
{
    return RiderStep{ai, race, rider, race.bikes[rider], race.riderProfiles[rider]};
}

void RunControllers(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    step.ai.targetSpeed = rider_control::kNoLimit;
    pit_lane::ServePenalty(step);
    rider_control::AdvanceTarget(step);
    rider_control::Steer(step);
    rider_control::ChooseTargetSpeed(step);
    if (bike.clutch >= 1.0f)
    {
        rider_control::ShiftGears(step);
    }
    rider_control::Swerve(step);
    rider_control::ApplyTargetSpeed(step);
    if (bike.raceStatus == race_status::kFinished)
    {
        rider_control::TryCelebration(step);
    }
}
void RunPlayerAids(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    step.ai.targetSpeed = rider_control::kNoLimit;
    const bool nearLine = rider_control::TrackPlayerLine(step);
    if (bike.furtherAid == 0)
    {
        bike.aiSteerRadius = 1.0f;
        bike.steeringAidMode = 0;
        rider_control::ChooseTargetSpeed(step);
    }
    else
    {
        if (bike.steeringAid == 0)
        {
            bike.aiSteerRadius = bike.turnRadius;
        }
        else if (nearLine)
        {
            rider_control::SteerAid(step);
            if (bike.steeringAidMode == 1)
            {
                bike.aiSteerRadius = bike.turnRadius;
            }
        }
        if (nearLine)
        {
            rider_control::BrakeAid(step);
        }
    }
    if (bike.autoGearbox != 0)
    {
        rider_control::GearAid(step);
    }
    if (bike.autoClutch != 0)
    {
        rider_control::ClutchAid(step);
    }
}
}  // namespace

void RaceAi::ViewAwayFromPitBoxes()
{
    // Only a rider deep in the pit lane, and once per stay there: the camera would otherwise be
    // moved on every step a rider stands in its box.
    const RaceContext& race = *context_;
    const uint32_t viewed = race.current.viewedRider;
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    const uint32_t target = viewed < kRiderCount ? race.bikes[viewed].aiTargetNode : nodeCount;
    const bool deepInPitLane =
        target > pitLaneFirstNode + kPitLaneViewNodes && target < pitLaneEndNode;
    if (viewed == player || !deepInPitLane)
    {
        neighbourViewRider = kRiderCount;
        return;
    }
    if (neighbourViewRider != viewed)
    {
        neighbourViewRider = viewed;
        services->ViewNeighbourRiders();
    }
}

void RaceAi::CheckSessionEnd(bool unclassified)
{
    RaceContext& race = *context_;
    RaceStandings& standings = race.standings;
    const StandingsSession& session = standings.Session();
    const bool timeUp =
        raceTime > standings.sessionEndTime || race.current.gameMode == GameMode::NetworkRace;
    if ((!unclassified || standings.allFinished != 0) && timeUp)
    {
        standings.sessionOver = 1;
    }
    if (session.isRace)
    {
        return;
    }
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    const bool playerFinished =
        player < kRiderCount && race.bikes[player].raceStatus == race_status::kFinished;
    if (!playerFinished)
    {
        playerFinishTime = -1.0f;
    }
    else if (playerFinishTime < 0.0f)
    {
        playerFinishTime = raceTime;
    }
    if (raceTime > standings.sessionEndTime + kTimedSessionOverrun ||
        (playerFinishTime >= 0.0f && raceTime > playerFinishTime + kAfterPlayerFinished))
    {
        standings.sessionOver = 1;
    }
}

void RaceAi::UpdateRiders(RaceSim& sim, uint32_t count)
{
    RaceContext& race = *context_;
    RaceStandings& standings = race.standings;
    services = &sim.Services();
    raceTime = sim.RaceTime();
    standings.Session().raceTime = raceTime;
    stepLength = 0.04f;
    const float sinceStart = raceTime - standings.sessionStartTime;
    if (startPhase != 0)
    {
        startPhase = UpdateStartPhase(sinceStart) ? 1 : 0;
    }
    const bool starting = startPhase != 0;
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    const uint32_t riders = std::min<uint32_t>(count, kRiderCount);
    ViewAwayFromPitBoxes();

    // First pass: who is still in the race, the zone flags, the avoidance.
    bool unclassified = false;
    for (uint32_t rider = riders; rider-- > 0;)
    {
        if (inRace[rider] == 0)
        {
            continue;
        }
        BikeRecord& bike = race.bikes[rider];
        if (bike.IsInactive())
        {
            inRace[rider] = 0;
            continue;
        }
        unclassified = unclassified || (bike.timedLap <= standings.Session().laps &&
                                        standings.sessionRanks[rider] == session_rank::kRacing);
        UpdateHazardFlags(*this, race, rider);
        bike.rearGripUse = std::fabs(bike.rearGripUse);
        if (bike.IsDown())
        {
            bike.raceStatus = race_status::kFallenOut;
            standings.SetFinalStatus(rider, kFallenOutRank);
            continue;
        }
        if (bike.raceStatus > race_status::kWaitingForRun && bike.aiTargetNode < nodeCount)
        {
            RiderStep step = StepOf(*this, race, rider);
            racing_decision::AvoidRiders(step, starting);
        }
    }
    ExpireHazard();
    CheckSessionEnd(unclassified);

    // Second pass: the decisions.
    for (uint32_t rider = riders; rider-- > 0;)
    {
        BikeRecord& bike = race.bikes[rider];
        if (inRace[rider] == 0 || bike.aiTargetNode >= nodeCount)
        {
            continue;
        }
        currentRider = rider;
        currentBike = &bike;
        RiderStep step = StepOf(*this, race, rider);
        switch (bike.raceStatus)
        {
            case race_status::kRetiring:
                pit_lane::RideToPits(step);
                break;
            case race_status::kYielding:
                racing_decision::Yield(step);
                break;
            default:
                if (bike.raceStatus >= race_status::kRacing)
                {
                    racing_decision::Decide(step, starting, sinceStart >= kStartLineUpDelay);
                }
                break;
        }
    }

    // Third pass: timing, penalties and the controllers.
    for (uint32_t rider = riders; rider-- > 0;)
    {
        BikeRecord& bike = race.bikes[rider];
        if (bike.IsInactive())
        {
            continue;
        }
        const uint32_t sidesBefore = bike.aiFlags & ~(ai_flags::kTimingSide0 - 1);
        standings.CheckLineCrossing(rider);
        const uint32_t lap = bike.timedLap;
        const uint32_t completed = standings.UpdateSectors(rider);
        if (completed == 1 && rider == player)
        {
            const size_t index = std::min<size_t>(lap, RaceStandings::kLapSlots - 1);
            LapTimes times{};
            for (size_t row = 0; row < times.size(); ++row)
            {
                times[row] = standings.splitMs[rider][row][index];
            }
            race.lapRecord.FinishLap(lap, race.lapHeader, times, *this);
        }
        const uint32_t sidesAfter = bike.aiFlags & ~(ai_flags::kTimingSide0 - 1);
        if ((bike.aiFlags & ai_flags::kPenaltyPending) != 0 && sidesBefore != sidesAfter)
        {
            CountPenaltyCrossing(race, rider);
        }
        if (inRace[rider] == 0 || bike.aiTargetNode >= nodeCount)
        {
            continue;
        }
        currentRider = rider;
        currentBike = &bike;
        RiderStep step = StepOf(*this, race, rider);
        const bool controlled = bike.raceStatus >= race_status::kRetiring;
        if (controlled)
        {
            RunControllers(step);
        }
        else if (bike.raceStatus == race_status::kPlayer)
        {
            RunPlayerAids(step);
            pit_lane::EnterPitLane(step);
        }
        else
        {
            pit_lane::Wait(step);
        }
        const bool watched = controlled ? rider == race.current.viewedRider
                                        : bike.raceStatus == race_status::kPlayer;
        if (race.incidentRequests.any && watched)
        {
            StageIncident(step, sim.Collisions(), race.randomTable.At(sim.TicksDone()));
        }
    }
    if (standings.Session().isRace)
    {
        standings.Resort(false);
    }
}
