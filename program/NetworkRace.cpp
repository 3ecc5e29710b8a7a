#include "program/NetworkRace.h"

#include <bit>

#include "app/archive/ArchiveSet.h"
#include "frontend/season/FinishedSession.h"
#include "net/NetSession.h"
#include "net/NetStateCheck.h"
#include "program/GameRaceHooks.h"
#include "program/NetworkField.h"
#include "race/RaceContext.h"
#include "race/RaceSim.h"

namespace
{
uint32_t Bit(uint32_t rider)
{
    return 1u << rider;
}
}  // namespace

NetworkRace::NetworkRace(NetSession& session, NetMachine& machine)
    : session_(session), machine_(machine), lockstep_(std::make_unique<LockstepState>())
{
}

void NetworkRace::TakeLineup(const RaceLineup& lineup)
{
    const std::lock_guard lock(mutex_);
    lineup_ = lineup;
}

void NetworkRace::RetireRider(uint32_t rider)
{
    if (rider < kRiderCount)
    {
        retirements_.fetch_or(Bit(rider), std::memory_order_acq_rel);
        racingRiders_.fetch_and(~Bit(rider), std::memory_order_acq_rel);
    }
}

bool NetworkRace::IsRiderRacing(uint32_t rider) const
{
    return rider < kRiderCount && (racingRiders_.load(std::memory_order_acquire) & Bit(rider)) != 0;
}

void NetworkRace::TakeStateCheck(const StateCheckView& check)
{
    TakeHostStateCheck(*lockstep_, check);
}

void NetworkRace::TakeRaceResult(const RaceResult& result)
{
    {
        const std::lock_guard lock(mutex_);
        result_ = result;
    }
    resultArrived_.store(true, std::memory_order_release);
}

bool NetworkRace::LineUp(RaceContext& race, uint32_t ownRider)
{
    resultArrived_.store(false, std::memory_order_relaxed);
    retirements_.store(0, std::memory_order_relaxed);
    racingRiders_.store(0, std::memory_order_relaxed);
    ownRetired_ = false;
    const bool host = session_.IsHost();
    if (!(host ? session_.SendRaceLineup(GameRaceHooks::kGridStartStep)
               : session_.WaitForRaceLineup()))
    {
        return false;
    }
    // Inputs of the last race that came after its end would stand in this one's frames.
    session_.ResetInputRings();
    RaceLineup lineup;
    {
        const std::lock_guard lock(mutex_);
        lineup = lineup_;
    }
    const NetworkField field = EnterNetworkField(race, lineup, ownRider, laps_);
    if (!race.LoadSessionBikeSetups(g_archiveMenu))
    {
        return false;
    }
    otherPlayers_ = field.otherPlayers;
    racingRiders_.store(field.racingRiders, std::memory_order_release);
    lockstep_->isHost = session_.IsHost();
    lockstep_->divergenceStep.store(kNoDivergence, std::memory_order_relaxed);
    lockstep_->hostStates.Clear();
    lockstep_->checksums.Clear();
    lockstep_->snapshotSteps.fill(kNoStep);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        lockstep_->riderPresent[rider].store((field.racingRiders & Bit(rider)) != 0,
                                             std::memory_order_relaxed);
    }
    return host ? session_.CollectBikeSetups() : session_.SendBikeSetup();
}

void NetworkRace::Attach(RaceSim& sim) const
{
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        sim.SetInputRing(rider, &session_.InputRingOf(rider));
    }
    sim.SetLockstep(lockstep_.get());
}

bool NetworkRace::Start()
{
    if (session_.IsHost())
    {
        return session_.StartRaceAsHost();
    }
    if (!session_.WaitForRaceStart())
    {
        return false;
    }
    machine_.ResetRaceClock(session_.RaceStartClockMs());
    return true;
}

void NetworkRace::ApplyRetirements(RaceContext& race)
{
    uint32_t leaving = retirements_.exchange(0, std::memory_order_acq_rel);
    while (leaving != 0)
    {
        const auto rider = static_cast<uint32_t>(std::countr_zero(leaving));
        leaving &= leaving - 1;
        if (!race.bikes[rider].IsInactive())
        {
            race.race.RetireRider(rider);
        }
    }
}

void NetworkRace::RetireOwnRider()
{
    if (!ownRetired_)
    {
        ownRetired_ = true;
        session_.RetireRider();
    }
}

bool NetworkRace::ScoreRace(bool raced)
{
    const bool scored = raced && ScoreRanRace();
    // What is left of this race (its start, line-up and inputs) must not be taken for the
    // next one's, which may arrive before this machine asks for it.
    session_.ResetInputRings();
    return scored;
}

bool NetworkRace::ScoreRanRace()
{
    RaceStandings& standings = g_standings;
    if (session_.IsHost())
    {
        ScoreFinishedRace();
        RaceResult result;
        for (uint32_t rider = 0; rider < kRiderCount; ++rider)
        {
            const int32_t atPlace = standings.positionTable[rider];
            result.riderAtPlace[rider] =
                atPlace >= 0 ? static_cast<uint32_t>(atPlace) : kNoRiderAtPlace;
            result.sessionTimes[rider] = standings.sessionTimes[rider];
            result.sessionRanks[rider] = standings.sessionRanks[rider];
            result.fourthValue[rider] = static_cast<uint32_t>(standings.gridOrder[rider]);
        }
        session_.SendRaceResult(result);
        return true;
    }
    RaceResult result;
    if (ResultArrived())
    {
        const std::lock_guard lock(mutex_);
        result = result_;
    }
    else if (const std::optional<RaceResult> received = session_.ReceiveRaceResult())
    {
        result = *received;
    }
    else
    {
        return false;
    }
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        const uint32_t atPlace = result.riderAtPlace[rider];
        standings.positionTable[rider] = atPlace < kRiderCount ? static_cast<int32_t>(atPlace) : -1;
        standings.sessionTimes[rider] = result.sessionTimes[rider];
        standings.sessionRanks[rider] = result.sessionRanks[rider];
        standings.gridOrder[rider] = static_cast<int32_t>(result.fourthValue[rider]);
    }
    ScoreFinishedRace();
    return true;
}

void NetworkRace::EndSession()
{
    session_.EndSession();
    session_.ResetInputRings();
    session_.Shutdown();
    // The session ended as planned: the menu opens again instead of the game ending.
    session_.ClearAborted();
}
