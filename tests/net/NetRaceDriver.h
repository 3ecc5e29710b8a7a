#pragma once

// Network races of machines on an in-process network, driven as the game drives them: the
// players' input steps as the timer tick runs them, the race start, and a small race per
// machine whose host sends its state checks through its session.

#include <array>
#include <cstdint>
#include <vector>

#include "race/LockstepState.h"
#include "race/RaceServices.h"
#include "tests/net/NetTestWorld.h"
#include "tests/race/support/TestRace.h"

// What a player steers on a step: different for every slot and step.
InputFrame PlayerInput(uint32_t slot, uint32_t frame);

// A host and `clients` clients confirm their riders and start a race together; every
// machine's rings are primed for it as the race set-up primes them. Fails the test when a
// step fails.
void StartRace(NetTestWorld& world, size_t clients);

// One machine's input steps, as the timer tick takes them, and the inputs that have reached
// it from every player.
struct Racer
{
    static constexpr uint32_t kInputStepMs = 40;
    static constexpr uint32_t kRepeatMs = 200;

    // One 2 ms tick: an input step every 40 ms while the race clock runs, the missing frame
    // asked for again every 200 ms while it is held.
    void Tick(const std::vector<uint32_t>& slots);

    NetTestWorld::Machine* machine = nullptr;
    uint32_t sinceStepMs = 0;
    uint32_t heldMs = 0;
    uint32_t heldTotalMs = 0;
    uint32_t applied = 0;  // steps whose inputs of every racing slot are there
    // Per step, every racing slot's inputs in slot order.
    std::vector<std::vector<InputFrame>> inputs;
};

// The host's race hands its state checks to its session.
class StateCheckSender : public RaceServices
{
public:
    StateCheckSender(const std::array<BikeRecord, kRiderCount>& bikes, NetSession& session)
        : bikes_(bikes), session_(session)
    {
    }
    void AddStateCheckRider(uint32_t step, uint32_t rider, uint32_t index) override;
    void SendStateCheck() override { session_.SendStateCheck(); }

private:
    const std::array<BikeRecord, kRiderCount>& bikes_;
    NetSession& session_;
};

// One machine's race of `riders` riders and its lock-step state.
struct RaceOfMachine
{
    explicit RaceOfMachine(uint32_t riders);
    TestRace race;
    LockstepState lockstep;
};
