// The bike set-up exchange before a race: each machine loads its race on its own thread, as
// the game does, while one thread at a time lets the in-process network's virtual time pass.

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "tests/net/NetTestWorld.h"

namespace
{
using Machine = NetTestWorld::Machine;

class BikeSetupExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(world_.HostWithClients(2));
        for (size_t index : {1u, 2u, 0u})
        {
            ASSERT_TRUE(world_.At(index).lobby.ConfirmRider());
        }
        ASSERT_TRUE(world_.At(0).lobby.StartSession());
        ASSERT_TRUE(world_.At(0).session.SendRaceLineup(0));
        for (size_t index = 1; index < 3; ++index)
        {
            ASSERT_TRUE(world_.At(index).session.WaitForRaceLineup());
        }
        world_.Hub().SetConditions({20, 20, 0, 0, false});
        for (size_t index = 0; index < 3; ++index)
        {
            world_.At(index).link.pump = [this]
            {
                const std::lock_guard lock(tickMutex_);
                world_.Tick();
            };
        }
    }

    NetTestWorld world_;
    std::mutex tickMutex_;
};

TEST_F(BikeSetupExchangeTest, EveryMachineEndsWithEveryRacingRidersSetup)
{
    Machine& host = world_.At(0);
    host.link.bikeSetups[0].fill(0xC0);
    world_.At(1).link.bikeSetups[1].fill(0xA1);
    world_.At(2).link.bikeSetups[2].fill(0xB2);
    world_.At(1).link.bikeSetups[9].fill(0x99);  // not the client's to send

    bool hostDone = false;
    std::array<bool, 2> clientsDone{};
    {
        std::jthread hostThread([&] { hostDone = host.session.CollectBikeSetups(); });
        std::jthread first([&] { clientsDone[0] = world_.At(1).session.SendBikeSetup(); });
        std::jthread second([&] { clientsDone[1] = world_.At(2).session.SendBikeSetup(); });
    }
    EXPECT_TRUE(hostDone);
    EXPECT_EQ(clientsDone, (std::array<bool, 2>{true, true}));
    for (size_t index = 0; index < 3; ++index)
    {
        const auto& setups = world_.At(index).link.bikeSetups;
        EXPECT_EQ(setups[0][0], 0xC0) << index;
        EXPECT_EQ(setups[1][kBikeSetupBytes - 1], 0xA1) << index;
        EXPECT_EQ(setups[2][0], 0xB2) << index;
        EXPECT_EQ(setups[9], TestNetMachine::OwnSetups()[9])
            << "the host's set-up of a computer rider goes to everyone, " << index;
    }
    EXPECT_FALSE(world_.TimedOut());
}

TEST_F(BikeSetupExchangeTest, AHostAloneAsksNobody)
{
    NetTestWorld alone;
    ASSERT_TRUE(alone.HostWithClients(0));
    ASSERT_TRUE(alone.At(0).session.SendRaceLineup(0));
    const uint64_t sent = alone.Hub().DatagramsSent();
    EXPECT_TRUE(alone.At(0).session.CollectBikeSetups());
    EXPECT_EQ(alone.Hub().DatagramsSent(), sent);
}
}  // namespace
