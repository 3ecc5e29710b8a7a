// A whole network race of three machines in one process, on a network that loses and
// duplicates a fifth of the datagrams: the line-up, the start, 1000 input steps of three
// players whose inputs every machine's simulation applies, one client's simulation knocked
// off course and taken back to the host's, a retirement, and the result.

#include <gtest/gtest.h>

#include <memory>

#include "tests/net/NetRaceDriver.h"

namespace
{
constexpr uint32_t kRiders = 6;
constexpr uint32_t kSteps = 1000;
constexpr size_t kMachines = 3;

class NetworkRaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(world_.HostWithClients(kMachines - 1));
        for (size_t index : {1u, 2u, 0u})
        {
            ASSERT_TRUE(world_.At(index).lobby.ConfirmRider());
        }
        ASSERT_TRUE(world_.At(0).lobby.StartSession());
        world_.Hub().SetConditions({20, 20, 0, 0, false});
        ASSERT_TRUE(world_.At(0).session.SendRaceLineup(0));
        for (size_t index = 1; index < kMachines; ++index)
        {
            ASSERT_TRUE(world_.At(index).session.WaitForRaceLineup());
        }

        // Every machine's race: the three players' riders at the controls read their rings.
        for (size_t index = 0; index < kMachines; ++index)
        {
            NetTestWorld::Machine& machine = world_.At(index);
            machine.session.ResetInputRings();
            auto& race = races_.emplace_back(std::make_unique<RaceOfMachine>(kRiders));
            for (uint32_t slot = 0; slot < kMachines; ++slot)
            {
                race->race.Bikes()[slot].raceStatus = 0;
                race->race.Sim().SetInputRing(slot, &machine.session.InputRingOf(slot));
            }
            racers_[index].machine = &machine;
        }
        races_[0]->lockstep.isHost = true;
        sender_ = std::make_unique<StateCheckSender>(races_[0]->race.Bikes(), world_.At(0).session);
        races_[0]->race.Sim().SetServices(sender_.get());
        for (size_t index = 1; index < kMachines; ++index)
        {
            world_.At(index).link.lockstep = &races_[index]->lockstep;
        }

        ASSERT_TRUE(world_.At(0).session.StartRaceAsHost());
        for (size_t index = 1; index < kMachines; ++index)
        {
            ASSERT_TRUE(world_.At(index).session.WaitForRaceStart());
        }
    }
    void TearDown() override
    {
        if (!races_.empty())
        {
            races_[0]->race.Sim().SetServices(nullptr);
        }
    }

    // Each machine simulates every step whose inputs it has, up to `steps`.
    bool RaceTo(uint32_t steps)
    {
        const std::vector<uint32_t> slots = {0, 1, 2};
        return world_.RunUntil(
            [&]
            {
                bool done = true;
                for (size_t index = 0; index < kMachines; ++index)
                {
                    racers_[index].Tick(slots);
                    TestRace& race = races_[index]->race;
                    const uint32_t ready = std::min(racers_[index].applied, steps);
                    if (race.Sim().TicksDone() < ready)
                    {
                        race.TickSteps(ready - race.Sim().TicksDone());
                    }
                    done = done && race.Sim().TicksDone() >= steps;
                }
                return done;
            },
            400000);
    }

    void ExpectEveryMachineAsTheHost()
    {
        for (size_t index = 1; index < kMachines; ++index)
        {
            ASSERT_EQ(races_[index]->race.Sim().TicksDone(), races_[0]->race.Sim().TicksDone());
            for (uint32_t rider = 0; rider < kRiders; ++rider)
            {
                EXPECT_EQ(races_[index]->race.Bikes()[rider].StateChecksum(),
                          races_[0]->race.Bikes()[rider].StateChecksum())
                    << "machine " << index << ", rider " << rider;
            }
        }
    }

    NetTestWorld world_;
    std::vector<std::unique_ptr<RaceOfMachine>> races_;
    std::array<Racer, kMachines> racers_;
    std::unique_ptr<StateCheckSender> sender_;
};

TEST_F(NetworkRaceTest, ThreeMachinesRaceTheSameRaceAndEndWithTheSameResult)
{
    ASSERT_TRUE(RaceTo(400));
    ExpectEveryMachineAsTheHost();

    // Client 2's simulation is knocked off course; the host's state checks bring it back.
    races_[2]->race.Bikes()[1].kineticEnergy += 500.0f;
    ASSERT_TRUE(RaceTo(kSteps));
    ExpectEveryMachineAsTheHost();
    EXPECT_EQ(races_[2]->race.Sim().SkippedRollbacks(), 0u);
    for (size_t index = 1; index < kMachines; ++index)
    {
        ASSERT_GE(racers_[index].inputs.size(), kSteps);
        for (uint32_t step = 0; step < kSteps; ++step)
        {
            ASSERT_TRUE(racers_[index].inputs[step] == racers_[0].inputs[step])
                << "machine " << index << ", step " << step;
        }
    }
    // The players' inputs steered: their riders went other ways than in the offline race.
    TestRace offline(kRiders);
    offline.RunTo(kSteps, 4);
    EXPECT_NE(offline.Bikes()[1].StateChecksum(), races_[0]->race.Bikes()[1].StateChecksum());

    // Client 1 retires; the host sends the result.
    world_.At(1).session.RetireRider();
    ASSERT_TRUE(world_.RunUntil(
        [&]
        {
            const std::vector<uint32_t> retired = {1};
            return world_.At(0).link.Retired() == retired && world_.At(2).link.Retired() == retired;
        },
        20000));
    RaceResult result;
    result.riderAtPlace = {2, 0, 3, 4, 5, 1};
    world_.At(0).session.SendRaceResult(result);
    for (size_t index = 1; index < kMachines; ++index)
    {
        const std::optional<RaceResult> received = world_.At(index).session.ReceiveRaceResult();
        ASSERT_TRUE(received.has_value());
        EXPECT_EQ(received->riderAtPlace, result.riderAtPlace);
    }
    EXPECT_FALSE(world_.TimedOut());
}
}  // namespace
