#pragma once

// Machines of network play inside one process, on one in-process network, in virtual time.
// Each machine has its own settings record, clocks, keys, race and session; a wait on any of
// them runs the whole world forward 2 ms per message-pump pass, ticking every session whose
// network play is on exactly as the game's timer tick does.

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "app/settings/MenuState.h"
#include "net/NetLinks.h"
#include "net/NetLobby.h"
#include "net/NetSession.h"
#include "platform/scripted/DatagramHub.h"

struct LockstepState;

// A race that hands everything on to another; tests override what they take over themselves.
class ForwardingNetRace : public NetRace
{
public:
    explicit ForwardingNetRace(NetRace& target) : target_(target) {}

    NetName DefaultRiderName(uint32_t rider, BikeClass bikeClass) const override
    {
        return target_.DefaultRiderName(rider, bikeClass);
    }
    void RetireRider(uint32_t rider) override { target_.RetireRider(rider); }
    bool IsRiderRacing(uint32_t rider) const override { return target_.IsRiderRacing(rider); }
    void TakeLineup(const RaceLineup& lineup) override { target_.TakeLineup(lineup); }
    void TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup) override
    {
        target_.TakeBikeSetup(rider, setup);
    }
    void GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const override
    {
        target_.GiveBikeSetup(rider, setup);
    }
    void TakeStateCheck(const StateCheckView& check) override { target_.TakeStateCheck(check); }
    void TakeRaceResult(const RaceResult& result) override { target_.TakeRaceResult(result); }

private:
    NetRace& target_;
};

// A machine and race of our own. What the race is handed is recorded for the test.
class TestNetMachine final : public NetMachine, public NetRace
{
public:
    uint32_t TimerMs() const override { return timerMs.load(); }
    uint32_t TicksDone() const override { return ticksDone.load(); }
    uint32_t RaceClockMs() const override { return raceClockMs.load(); }
    uint32_t InputTick() const override { return inputTick.load(); }
    uint32_t PlayerRider() const override { return playerRider.load(); }
    void SetPlayerRider(uint32_t rider) override { playerRider.store(rider); }
    void SetClockHold(bool held) override { clockHold.store(held); }
    void PumpMessages() override;
    bool IsQuitting() const override { return quitting.load(); }
    bool TakeEscape() override { return escape.exchange(false); }
    void ClearEscape() override { escape = false; }
    MenuState& Settings() override { return settings; }
    void TakeSessionSettings(const NetSessionSettings& taken) override;
    void ResetRaceClock(uint32_t ms) override;

    NetName DefaultRiderName(uint32_t rider, BikeClass bikeClass) const override;
    void RetireRider(uint32_t rider) override;
    bool IsRiderRacing(uint32_t rider) const override;
    void TakeLineup(const RaceLineup& lineup) override;
    void TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup) override;
    void GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const override;
    void TakeStateCheck(const StateCheckView& check) override;
    void TakeRaceResult(const RaceResult& result) override;

    std::vector<uint32_t> Retired() const;

    // Runs on every pass of the message pump (the world's tick, or a wait of the test's).
    std::function<void()> pump;
    std::atomic<uint32_t> timerMs{0};
    std::atomic<uint32_t> ticksDone{0};
    std::atomic<uint32_t> raceClockMs{0};
    std::atomic<uint32_t> inputTick{0};
    std::atomic<uint32_t> playerRider{20};
    std::atomic<bool> clockHold{false};
    std::atomic<bool> quitting{false};
    std::atomic<bool> escape{false};
    MenuState settings;
    std::optional<NetSessionSettings> sessionSettings;
    // The lock-step state the host's state checks go into; none: they are only counted.
    LockstepState* lockstep = nullptr;
    std::optional<RaceLineup> lineup;
    uint32_t bikeSetupsTaken = 0;
    // The set-ups the race holds: each rider's own pattern until one is taken.
    std::array<std::array<uint8_t, kBikeSetupBytes>, kNetSlotCount> bikeSetups = OwnSetups();
    static std::array<std::array<uint8_t, kBikeSetupBytes>, kNetSlotCount> OwnSetups();
    uint32_t stateChecksTaken = 0;
    std::optional<RaceResult> raceResult;

private:
    mutable std::mutex raceMutex_;
    std::vector<uint32_t> retired_;
};

class NetTestWorld
{
public:
    // A wait still running after this much virtual time makes every machine quit, so that a
    // broken test fails instead of hanging.
    static constexpr uint32_t kTimeLimitMs = 600000;

    struct Machine
    {
        uint32_t address = 0;
        TestNetMachine link;
        std::unique_ptr<DatagramNetwork> network;
        NetSession session;
        NetLobby lobby{session, link};
    };

    explicit NetTestWorld(uint32_t seed = 1);
    ~NetTestWorld();

    // A machine at 10.0.0.n (n counts from 1), whose player rides `playerRider` and is
    // called `name`.
    Machine& Add(uint32_t playerRider, std::string_view name);
    Machine& At(size_t index) { return *machines_[index]; }
    size_t Count() const { return machines_.size(); }

    // One 2 ms tick of every machine.
    void Tick();
    void RunMs(uint32_t ms);
    // Ticks until the condition holds; false when it did not within the time.
    bool RunUntil(const std::function<bool()>& condition, uint32_t limitMs);
    uint32_t NowMs() const { return nowMs_; }
    bool TimedOut() const { return timedOut_; }
    DatagramHub& Hub() { return hub_; }

    // Machine 0 hosts a session on a free port (its player on slot 0, named "Host") and
    // `clients` further machines join it (client n asks for slot n and is named "Client n").
    // False when a step failed.
    bool HostWithClients(size_t clients);

private:
    DatagramHub hub_;
    std::vector<std::unique_ptr<Machine>> machines_;
    uint32_t nowMs_ = 0;
    bool timedOut_ = false;
};

inline constexpr uint32_t WorldAddress(size_t machine)
{
    return MakeIpv4(10, 0, 0, static_cast<uint8_t>(machine + 1));
}
