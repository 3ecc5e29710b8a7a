#pragma once

// The game's race of a network session, from the host's line-up to the result: the field as
// the line-up enters it (every player's rider at the controls of its own inputs, the ride aids
// and the chance table of the line-up), the set-up exchange, the start together, the input
// rings and the state check of the race, retirements, and the result into the standings.
//
// Threads: the session hands over line-ups, retirements, state checks and results on the timer
// thread (the Take and Retire calls); they are kept until the main thread's race applies them
// between two frames, so that a step never sees a record change under it. Everything else runs
// on the main thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "net/NetRaceMessages.h"
#include "race/LockstepState.h"

class NetMachine;
class NetSession;
class RaceContext;
class RaceSim;
class RaceStandings;

class NetworkRace
{
public:
    NetworkRace(NetSession& session, NetMachine& machine);

    // Timer thread, from the session.
    void TakeLineup(const RaceLineup& lineup);
    void RetireRider(uint32_t rider);
    bool IsRiderRacing(uint32_t rider) const;
    void TakeStateCheck(const StateCheckView& check);
    void TakeRaceResult(const RaceResult& result);

    // Laps of the session's races, from its settings.
    void SetLaps(uint32_t laps) { laps_ = laps; }

    // The host lines the race up, a client waits for it; the field enters the race as lined
    // up, then the bike set-ups are exchanged. False when the race cannot be run (a player
    // backed out, the session ended, nothing answered).
    bool LineUp(RaceContext& race, uint32_t ownRider);
    // The simulation reads every player's inputs from its ring and keeps the state check.
    void Attach(RaceSim& sim) const;
    // Host and clients start together; the race clock then runs from the host's start.
    bool Start();
    // Between frames: the retirements the session handed over leave the race.
    void ApplyRetirements(RaceContext& race);
    // Esc in the running race: the own rider leaves it, here and everywhere.
    void RetireOwnRider();
    bool OwnRiderRetired() const { return ownRetired_; }
    // A client's race ends with the host's result.
    bool ResultArrived() const { return resultArrived_.load(std::memory_order_acquire); }
    // The other players' riders, one bit each, for their names over the bikes.
    uint32_t OtherPlayers() const { return otherPlayers_; }
    // After the race: the host scores it and sends its standings as the result, a client
    // takes the host's into its standings and scores that. False when nothing was scored.
    // Either way the session is ready for the next race's line-up.
    bool ScoreRace(bool raced);
    // The session is over for this machine: it leaves it (the host closes it), and network
    // play is off.
    void EndSession();

private:
    bool ScoreRanRace();

    NetSession& session_;
    NetMachine& machine_;
    uint32_t laps_ = 3;
    std::unique_ptr<LockstepState> lockstep_;

    mutable std::mutex mutex_;
    RaceLineup lineup_;  // under mutex_
    RaceResult result_;  // under mutex_
    std::atomic<uint32_t> racingRiders_{0};
    std::atomic<uint32_t> retirements_{0};
    std::atomic<bool> resultArrived_{false};
    uint32_t otherPlayers_ = 0;
    bool ownRetired_ = false;
};
