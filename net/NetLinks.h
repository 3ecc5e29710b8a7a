#pragma once

// What a network session needs of the machine it runs on and of the race. The game gives its
// window, clocks, keys, settings record and race (GameNetLink); tests give machines of their
// own, so that several sessions can run side by side in one process.
//
// Neither interface ever calls back into the session.

#include <cstdint>
#include <span>

#include "core/game/GameEnums.h"
#include "net/NetPacket.h"
#include "net/NetRaceMessages.h"

class MenuState;
struct NetSessionSettings;

class NetMachine
{
public:
    virtual ~NetMachine() = default;

    // Any thread.
    virtual uint32_t TimerMs() const = 0;      // free-running, + 2 every 2 ms tick
    virtual uint32_t TicksDone() const = 0;    // simulation steps of the running race
    virtual uint32_t RaceClockMs() const = 0;  // the race clock
    // The input steps of the running race (g_inputTick): own inputs are sampled for step
    // InputTick() + the input delay.
    virtual uint32_t InputTick() const = 0;
    virtual uint32_t PlayerRider() const = 0;  // the local player's rider (slot)
    virtual void SetPlayerRider(uint32_t rider) = 0;
    // Race time stands while held: the lock-step exchange waits for a player's inputs.
    virtual void SetClockHold(bool held) = 0;

    // Main thread.
    // One pass of the window's message pump; network waits run it while they wait.
    virtual void PumpMessages() = 0;
    virtual bool IsQuitting() const = 0;
    // True when Esc is down or was pressed since the last look; its state is cleared.
    virtual bool TakeEscape() = 0;
    virtual void ClearEscape() = 0;
    virtual MenuState& Settings() = 0;
    // The current-race variables take the session's class, the computer riders' strength,
    // the laps and the weather.
    virtual void TakeSessionSettings(const NetSessionSettings& settings) = 0;
    // Race clock, input steps, frame clock and simulation steps restart from ms; a hold of
    // the clock ends.
    virtual void ResetRaceClock(uint32_t ms) = 0;
};

// The race's side. Called on the timer thread (from the receive loop) unless said otherwise.
class NetRace
{
public:
    virtual ~NetRace() = default;

    // Any thread: the computer's name for a rider of the class.
    virtual NetName DefaultRiderName(uint32_t rider, BikeClass bikeClass) const = 0;
    // The computer takes the rider over and it leaves the race; again for a rider already
    // out does nothing.
    virtual void RetireRider(uint32_t rider) = 0;
    virtual bool IsRiderRacing(uint32_t rider) const = 0;

    // The race exchange: what the host sends for the next race and after it.
    virtual void TakeLineup(const RaceLineup& lineup) = 0;
    virtual void TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup) = 0;
    // Main thread: the rider's set-up as the race holds it, to send.
    virtual void GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const = 0;
    virtual void TakeStateCheck(const StateCheckView& check) = 0;
    // Also ends the race loop.
    virtual void TakeRaceResult(const RaceResult& result) = 0;
};
