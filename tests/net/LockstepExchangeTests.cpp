// The lock-step input exchange between three machines on an in-process network: every
// machine's input step runs as the timer tick runs it (held while an input is missing, asking
// again every 200 ms), and every machine must apply the same inputs of every rider, step by
// step, on a clean network and on a bad one.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/net/NetRaceDriver.h"

namespace
{
using Machine = NetTestWorld::Machine;

struct NetworkCase
{
    std::string name;
    LinkConditions conditions;
};

void PrintTo(const NetworkCase& network, std::ostream* out)
{
    *out << network.name;
}

class LockstepTest : public ::testing::TestWithParam<NetworkCase>
{
protected:
    // A host and two clients start a race together on a clean network; then the network
    // turns as bad as the case says.
    void StartRaceOnBadNetwork()
    {
        StartRace(world_, 2);
        for (size_t index = 0; index < 3; ++index)
        {
            racers_[index].machine = &world_.At(index);
        }
        world_.Hub().SetConditions(GetParam().conditions);
    }

    // Runs until every machine has applied `steps` steps; false when it did not in time.
    bool RunSteps(uint32_t steps, uint32_t limitMs)
    {
        const std::vector<uint32_t> slots = {0, 1, 2};
        return world_.RunUntil(
            [&]
            {
                bool done = true;
                for (Racer& racer : racers_)
                {
                    racer.Tick(slots);
                    done = done && racer.applied >= steps;
                }
                return done;
            },
            limitMs);
    }

    NetTestWorld world_;
    std::array<Racer, 3> racers_;
};

TEST_P(LockstepTest, EveryMachineAppliesTheSameInputsOfEveryRider)
{
    StartRaceOnBadNetwork();
    constexpr uint32_t kSteps = 1000;
    ASSERT_TRUE(RunSteps(kSteps, 400000));
    if (GetParam().name == "Clean")
    {
        // Every frame arrives before it is needed: the clocks never wait.
        for (const Racer& racer : racers_)
        {
            EXPECT_EQ(racer.heldTotalMs, 0u);
        }
    }
    const uint32_t delay = world_.At(0).session.InputDelay();
    for (uint32_t step = 0; step < kSteps; ++step)
    {
        for (uint32_t slot = 0; slot < 3; ++slot)
        {
            // The primed steps carry no input; then each player's own.
            const InputFrame expected = step < delay ? InputFrame{} : PlayerInput(slot, step);
            for (const Racer& racer : racers_)
            {
                ASSERT_EQ(racer.inputs[step][slot], expected)
                    << "machine " << racer.machine->session.OwnSlot() << " step " << step
                    << " slot " << slot;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Networks, LockstepTest,
    ::testing::Values(NetworkCase{"Clean", {}},
                      NetworkCase{"TwentyPercentLossAndDuplication", {20, 20, 0, 0, false}},
                      NetworkCase{"DelayedAndReordered", {5, 5, 30, 60, false}}),
    [](const ::testing::TestParamInfo<NetworkCase>& info) { return info.param.name; });

// A host and a client racing: their input steps run `ms` on.
class TwoRacers
{
public:
    explicit TwoRacers(NetTestWorld& world) : world_(world)
    {
        StartRace(world, 1);
        racers_[0].machine = &world.At(0);
        racers_[1].machine = &world.At(1);
    }

    void Run(uint32_t ms)
    {
        for (uint32_t passed = 0; passed < ms; passed += 2)
        {
            world_.Tick();
            for (Racer& racer : racers_)
            {
                racer.Tick({0, 1});
            }
        }
    }

    std::array<Racer, 2>& Racers() { return racers_; }

private:
    NetTestWorld& world_;
    std::array<Racer, 2> racers_;
};

TEST(Lockstep, TheClockWaitsForACutOffPlayerAndRunsOnWhenItReturns)
{
    NetTestWorld world;
    TwoRacers two(world);
    std::array<Racer, 2>& racers = two.Racers();
    const auto run = [&](uint32_t ms) { two.Run(ms); };
    run(2000);
    EXPECT_GT(racers[0].applied, 40u);

    // A second's cut: both clocks stand within a few steps, each asking the other again.
    world.Hub().Isolate(world.At(1).address, true);
    run(200);
    const uint32_t standing = world.At(0).link.inputTick.load();
    const uint64_t sent = world.Hub().DatagramsSent();
    run(1000);
    EXPECT_TRUE(world.At(0).link.clockHold.load());
    EXPECT_EQ(world.At(0).link.inputTick.load(), standing);
    EXPECT_GE(world.Hub().DatagramsSent() - sent, 8u) << "requests every 200 ms";

    world.Hub().Isolate(world.At(1).address, false);
    run(1000);
    EXPECT_FALSE(world.At(0).link.clockHold.load());
    EXPECT_GT(world.At(0).link.inputTick.load(), standing + 10);
    const size_t common = std::min(racers[0].inputs.size(), racers[1].inputs.size());
    for (size_t step = 0; step < common; ++step)
    {
        ASSERT_EQ(racers[0].inputs[step], racers[1].inputs[step]) << step;
    }
}

TEST(Lockstep, NobodyWaitsForARetiredPlayer)
{
    NetTestWorld world;
    TwoRacers two(world);
    two.Run(1000);
    world.At(1).session.RetireRider();
    two.Run(1000);
    ASSERT_EQ(world.At(0).link.Retired(), (std::vector<uint32_t>{1}));

    // The retired player's machine falls silent, as one whose player left the race would.
    world.Hub().Isolate(world.At(1).address, true);
    const uint32_t before = world.At(0).link.inputTick.load();
    two.Run(1000);
    EXPECT_FALSE(world.At(0).link.clockHold.load());
    EXPECT_GE(world.At(0).link.inputTick.load(), before + 20);
}

TEST(Lockstep, AJoinedClientsRingsHoldTheFirstFramesOfTheHostsDelay)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    NetSession& client = world.At(1).session;
    ASSERT_GT(client.InputDelay(), 2u) << "more than the delay a client starts with";
    for (uint32_t frame = 0; frame < client.InputDelay(); ++frame)
    {
        for (const uint32_t slot : {0u, 1u})
        {
            EXPECT_TRUE(client.InputRingOf(slot).Read(frame).has_value()) << frame;
        }
    }
}
}  // namespace
