#pragma once

// The game's side of network play: the session g_net runs on the game window's message pump,
// the clocks of the timer tick, the key table, the settings record and the game's network
// race, which takes what the race exchange hands over.

#include "net/NetLinks.h"
#include "program/ClassRiderNames.h"
#include "program/NetworkRace.h"

class GameWindow;

class GameNetLink final : public NetMachine, public NetRace
{
public:
    explicit GameNetLink(GameWindow& window);

    NetworkRace& Race() { return race_; }

    uint32_t TimerMs() const override;
    uint32_t TicksDone() const override;
    uint32_t RaceClockMs() const override;
    uint32_t InputTick() const override;
    uint32_t PlayerRider() const override;
    void SetPlayerRider(uint32_t rider) override;
    void SetClockHold(bool held) override;
    void PumpMessages() override;
    bool IsQuitting() const override;
    bool TakeEscape() override;
    void ClearEscape() override;
    MenuState& Settings() override;
    void TakeSessionSettings(const NetSessionSettings& settings) override;
    void ResetRaceClock(uint32_t ms) override;

    NetName DefaultRiderName(uint32_t rider, BikeClass bikeClass) const override;
    void RetireRider(uint32_t rider) override;
    bool IsRiderRacing(uint32_t rider) const override;
    void TakeLineup(const RaceLineup& lineup) override;
    void TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup) override;
    void GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const override;
    void TakeStateCheck(const StateCheckView& check) override;
    void TakeRaceResult(const RaceResult& result) override;

private:
    GameWindow& window_;
    NetworkRace race_;
    ClassRiderNames riderNames_;
};
