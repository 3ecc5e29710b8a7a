// The state check over the network: the host's simulation sends every fourth step's state
// blocks through its session, the clients' sessions hand them to their lock-step state, and a
// client whose simulation drifted away is taken back to the host's state.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/net/NetRaceDriver.h"

namespace
{
constexpr uint32_t kRiders = 6;

class StateCheckTest : public ::testing::TestWithParam<LinkConditions>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(world_.HostWithClients(2));
        world_.Hub().SetConditions(GetParam());
        for (size_t index = 0; index < 3; ++index)
        {
            races_.push_back(std::make_unique<RaceOfMachine>(kRiders));
        }
        races_[0]->lockstep.isHost = true;
        sender_ = std::make_unique<StateCheckSender>(races_[0]->race.Bikes(), world_.At(0).session);
        races_[0]->race.Sim().SetServices(sender_.get());
        for (size_t index = 1; index < 3; ++index)
        {
            world_.At(index).link.lockstep = &races_[index]->lockstep;
        }
    }
    void TearDown() override { races_[0]->race.Sim().SetServices(nullptr); }

    // Frame by frame; the host's state checks reach the clients before or after their own
    // steps.
    void Run(uint32_t steps, uint32_t perFrame, bool clientsFirst)
    {
        while (races_[1]->race.Sim().TicksDone() < steps)
        {
            if (!clientsFirst)
            {
                races_[0]->race.TickSteps(perFrame);
                world_.RunMs(20);
            }
            races_[1]->race.TickSteps(perFrame);
            races_[2]->race.TickSteps(perFrame);
            if (clientsFirst)
            {
                races_[0]->race.TickSteps(perFrame);
                world_.RunMs(20);
            }
        }
    }

    void ExpectEveryMachineAsTheHost()
    {
        for (size_t index = 1; index < 3; ++index)
        {
            const TestRace& race = races_[index]->race;
            ASSERT_EQ(const_cast<TestRace&>(race).Sim().TicksDone(),
                      races_[0]->race.Sim().TicksDone());
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
    std::unique_ptr<StateCheckSender> sender_;
};

TEST_P(StateCheckTest, TheClientsFollowTheHostAndADriftIsRepairedOverTheNetwork)
{
    Run(200, 2, false);
    ExpectEveryMachineAsTheHost();
    EXPECT_GT(world_.At(1).link.stateChecksTaken, 0u);
    EXPECT_EQ(races_[1]->lockstep.divergenceStep.load(), kNoDivergence);

    // Client 2's rider 3 gains energy the host's never had; the host's checks arrive before
    // the client's steps.
    races_[2]->race.Bikes()[3].kineticEnergy += 500.0f;
    Run(400, 2, false);
    ExpectEveryMachineAsTheHost();

    // Again, with the host's checks arriving after the client has simulated the step.
    races_[1]->race.Bikes()[1].kineticEnergy += 300.0f;
    Run(600, 2, true);
    ExpectEveryMachineAsTheHost();
    EXPECT_EQ(races_[1]->race.Sim().SkippedRollbacks(), 0u);
    EXPECT_EQ(races_[2]->race.Sim().SkippedRollbacks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Networks, StateCheckTest,
                         ::testing::Values(LinkConditions{}, LinkConditions{20, 20, 0, 0, false}),
                         [](const ::testing::TestParamInfo<LinkConditions>& info)
                         { return info.param.lossPercent == 0 ? "Clean" : "LossAndDuplication"; });

TEST(StateCheck, AClientTakesTheHostsBlocksAndNotesTheFirstDifference)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    LockstepState lockstep;
    world.At(1).link.lockstep = &lockstep;
    NetSession& host = world.At(0).session;

    // The client has simulated step 8: rider 4's checksum 77.
    StateChecksumRing::Row own{};
    own[4] = 77;
    lockstep.checksums.Publish(8, own);
    std::array<uint8_t, kStateBlockBytes> block{};
    block[0] = 77;
    block[4] = 5;
    host.AddStateCheckRider(8, 4, 0, block);
    block[0] = 0;
    host.AddStateCheckRider(8, 9, 1, block);
    host.SendStateCheck();
    world.RunMs(10);
    HostStateRing::Blocks blocks{};
    ASSERT_TRUE(lockstep.hostStates.Read(8, blocks));
    EXPECT_EQ(blocks[4 * kStateBlockWords], 77u);
    EXPECT_EQ(blocks[4 * kStateBlockWords + 1], 5u);
    EXPECT_EQ(lockstep.divergenceStep.load(), kNoDivergence) << "rider 9 is not in the race";

    own[9] = 1;
    lockstep.checksums.Publish(12, own);
    block[0] = 77;
    host.AddStateCheckRider(12, 4, 0, block);
    host.SendStateCheck();
    host.SendStateCheck();  // nothing added since: nothing sent
    world.RunMs(10);
    EXPECT_EQ(world.At(1).link.stateChecksTaken, 2u);
    EXPECT_EQ(lockstep.divergenceStep.load(), kNoDivergence) << "only the riders sent count";
    block[0] = 78;
    host.AddStateCheckRider(16, 4, 0, block);
    host.SendStateCheck();
    world.RunMs(10);
    EXPECT_EQ(lockstep.divergenceStep.load(), kNoDivergence)
        << "a step not simulated yet is compared by the race when it gets there";
    EXPECT_TRUE(lockstep.hostStates.Holds(16));

    for (const uint32_t step : {20u, 24u})
    {
        lockstep.checksums.Publish(step, own);
        host.AddStateCheckRider(step, 4, 0, block);
        host.SendStateCheck();
        world.RunMs(10);
    }
    EXPECT_EQ(lockstep.divergenceStep.load(), 20) << "the first difference counts";
}
}  // namespace
