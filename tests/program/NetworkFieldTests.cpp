// The field of a network race as the line-up enters it: the same race on every machine,
// whatever the machine's own player and whatever an earlier race left in the records.

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "net/NetPeer.h"
#include "program/NetworkField.h"
#include "race/RaceContext.h"

namespace
{
constexpr uint32_t kPlayerAtControls = 0;
constexpr uint32_t kComputerRider = 8;

// Players in slots 0 and 5 (the one in 5 with every aid on), the computer in 1 and 2; slots 3
// and 4 are not in the race.
RaceLineup TwoPlayersAndTwoComputers()
{
    RaceLineup lineup;
    for (const uint32_t slot : {0u, 5u})
    {
        lineup.human[slot] = 1;
        lineup.peers[slot].state = static_cast<int32_t>(NetPeerState::Player);
    }
    lineup.gridPlusOne[5] = 1;
    lineup.gridPlusOne[0] = 2;
    lineup.gridPlusOne[1] = 3;
    lineup.gridPlusOne[2] = 4;
    lineup.firstAid[5] = lineup.secondAid[5] = lineup.thirdAid[5] = 1;
    lineup.riderChoice[0] = 7;
    lineup.riderChoice[5] = 19;
    lineup.riderChoice[1] = 3;  // a computer rider chooses nothing
    for (uint32_t word = 0; word < lineup.randomTable.size(); ++word)
    {
        lineup.randomTable[word] = 1000 + word;
    }
    return lineup;
}
}  // namespace

TEST(NetworkField, EveryMachineEntersTheSameFieldFromTheLineup)
{
    const RaceLineup lineup = TwoPlayersAndTwoComputers();
    for (const uint32_t own : {0u, 5u})
    {
        auto race = std::make_unique<RaceContext>();
        for (BikeRecord& bike : race->bikes)
        {
            // What an earlier race may have left: aids switched on by a function key.
            bike.autoGearbox = bike.furtherAid = bike.steeringAid = bike.steeringAidMode = 3;
            bike.raceStatus = kComputerRider;
            bike.lobbyChoices = {9, 9, 9, 9};
        }

        const NetworkField field = EnterNetworkField(*race, lineup, own, 2);

        EXPECT_EQ(field.racingRiders, 0b100111u) << own;
        EXPECT_EQ(field.otherPlayers, own == 0 ? 1u << 5 : 1u) << own;
        EXPECT_EQ(race->current.riderCount, 6u);
        for (const uint32_t player : {0u, 5u})
        {
            EXPECT_EQ(race->bikes[player].raceStatus, kPlayerAtControls)
                << "rider " << player << " on the machine of " << own;
        }
        EXPECT_EQ(race->bikes[1].raceStatus, kComputerRider);
        EXPECT_TRUE(race->bikes[3].IsInactive());
        EXPECT_EQ(race->race.inRace[3], 0u);
        EXPECT_EQ(race->standings.gridOrder[5], 1);
        EXPECT_EQ(race->bikes[5].autoGearbox, 1);
        EXPECT_EQ(race->bikes[5].steeringAid, 1);
        EXPECT_EQ(race->bikes[0].autoGearbox, 0);
        EXPECT_EQ(race->bikes[0].furtherAid, 0);
        EXPECT_EQ(race->bikes[0].steeringAidMode, 0);
        EXPECT_EQ(race->randomTable.words[259], 1259u);
        EXPECT_EQ(race->bikes[0].lobbyChoices, (std::array<uint8_t, 4>{7, 0, 0, 0}));
        EXPECT_EQ(race->bikes[5].lobbyChoices, (std::array<uint8_t, 4>{19, 0, 0, 0}));
        EXPECT_EQ(race->bikes[1].lobbyChoices, (std::array<uint8_t, 4>{}));
    }
}
