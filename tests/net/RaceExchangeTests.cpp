// The race exchange: the host's line-up (who races, from which grid place), its way to every
// client, a retirement, and the results into the championship table.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "net/NetLineup.h"
#include "tests/net/NetTestWorld.h"

namespace
{
using Machine = NetTestWorld::Machine;
using S = NetPeerState;

LineupSlots Slots(std::initializer_list<std::pair<uint32_t, S>> states)
{
    LineupSlots slots;
    slots.states.fill(S::Empty);
    for (const auto& [slot, state] : states)
    {
        slots.states[slot] = state;
        slots.riderChoices[slot] = slot + 100;
    }
    return slots;
}

std::vector<uint32_t> GridOrder(const RaceLineup& lineup)
{
    std::vector<uint32_t> order(kNetSlotCount, kNetSlotCount);
    size_t racing = 0;
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        if (lineup.gridPlusOne[slot] != 0)
        {
            order[lineup.gridPlusOne[slot] - 1u] = slot;
            ++racing;
        }
    }
    order.resize(racing);
    return order;
}

void SetPlace(MenuState& settings, uint32_t rider, uint32_t circuit, uint8_t place)
{
    settings.SetU8At(MenuState::kChampionshipOffset + rider * 18 + circuit, place);
}
}  // namespace

TEST(RaceLineup, PlayersComeFirstAndFreeSlotsFillTheFieldForTheComputer)
{
    LineupSlots slots = Slots({{3, S::Player}, {7, S::Dropped}, {0, S::Player}});
    // Keys equal: the grid keeps the entry order, players before computers.
    const RaceLineup lineup =
        BuildRaceLineup(slots, BikeClass::Class500, 5, [](uint32_t) { return 0u; });
    EXPECT_EQ(GridOrder(lineup), (std::vector<uint32_t>{0, 3, 1, 2, 4}));
    EXPECT_EQ(lineup.human[7], 1) << "a dropped player's slot stays a human's";
    EXPECT_EQ(lineup.gridPlusOne[7], 0) << "but gets no grid place";
    EXPECT_EQ(slots.states[1], S::Computer);
    EXPECT_EQ(slots.states[5], S::Empty);
    EXPECT_EQ(lineup.riderChoice[3], 103u);
    EXPECT_EQ(lineup.peers[4].state, static_cast<int32_t>(S::Computer));
}

TEST(RaceLineup, TheGridFollowsTheKeysAndAFullFieldKeepsToTheClass)
{
    LineupSlots slots = Slots({{2, S::Player}});
    const RaceLineup byKey = BuildRaceLineup(slots, BikeClass::Class250, 4,
                                             [](uint32_t slot) { return slot == 1 ? 9u : 5u; });
    EXPECT_EQ(GridOrder(byKey), (std::vector<uint32_t>{1, 2, 0, 3}));

    LineupSlots full = Slots({});
    EXPECT_EQ(GridOrder(BuildRaceLineup(full, BikeClass::Class125, 26, [](uint32_t) { return 0u; }))
                  .size(),
              25u)
        << "26 riders only in the 250 class";
    EXPECT_EQ(full.states[25], S::Empty);
}

TEST(RaceLineup, PointsCountTheFifteenBestPlacesOfEveryRace)
{
    MenuState settings;
    for (uint32_t circuit = 0; circuit < 18; ++circuit)
    {
        SetPlace(settings, 4, circuit, 0x7F);  // took part unplaced
    }
    SetPlace(settings, 4, 0, 0);
    SetPlace(settings, 4, 5, 14);
    SetPlace(settings, 4, 6, 15);
    SetPlace(settings, 4, 7, 200);
    EXPECT_EQ(ChampionshipPointsOf(settings, 4), 26u);
}

TEST(RaceExchange, ThreeMachinesShareTheLineupARetirementAndTheResult)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(2));
    world.At(2).link.settings.SetU32At(MenuState::kNetworkRiderChoiceOffset, 17);
    for (size_t index : {1u, 2u, 0u})
    {
        ASSERT_TRUE(world.At(index).lobby.ConfirmRider());
    }
    ASSERT_TRUE(world.At(0).lobby.StartSession());
    for (size_t index = 1; index < 3; ++index)
    {
        EXPECT_EQ(world.At(index).session.SessionState(), NetSessionState::Running)
            << "a client follows the host into the races";
    }
    world.Hub().SetConditions({20, 20, 0, 0, false});
    Machine& host = world.At(0);
    host.link.settings.SetU32At(MenuState::kNetworkRiderChoiceOffset, 11);

    ASSERT_TRUE(host.session.SendRaceLineup(40));
    for (size_t index = 1; index < 3; ++index)
    {
        ASSERT_TRUE(world.At(index).session.WaitForRaceLineup());
    }
    ASSERT_TRUE(host.link.lineup.has_value());
    const RaceLineup& sent = *host.link.lineup;
    EXPECT_EQ(sent.riderChoice[0], 11u);
    EXPECT_EQ(sent.riderChoice[2], 17u) << "a client's choice confirmed in the lobby";
    EXPECT_EQ(sent.raceStartTick, 40u);
    EXPECT_EQ(GridOrder(sent).size(), 25u);
    EXPECT_TRUE(std::equal(sent.randomTable.begin() + 256, sent.randomTable.end(),
                           sent.randomTable.begin()))
        << "the last four words repeat the first four";
    for (size_t index = 1; index < 3; ++index)
    {
        const std::optional<RaceLineup>& taken = world.At(index).link.lineup;
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(taken->gridPlusOne, sent.gridPlusOne);
        EXPECT_EQ(taken->randomTable, sent.randomTable);
        EXPECT_EQ(taken->riderChoice, sent.riderChoice);
        EXPECT_EQ(world.At(index).session.PeerState(24), NetPeerState::Computer);
    }

    // Client 2 retires: the computer takes its rider over everywhere.
    world.At(2).session.RetireRider();
    ASSERT_TRUE(world.RunUntil(
        [&]
        {
            const std::vector<uint32_t> retired = {2};
            return host.link.Retired() == retired && world.At(1).link.Retired() == retired;
        },
        20000));
    EXPECT_EQ(world.At(2).link.Retired(), (std::vector<uint32_t>{2}));

    // The next line-up goes out only once the result has reached every client.
    RaceResult result;
    result.riderAtPlace[0] = 2;
    result.sessionTimes[0] = 91.25f;
    world.Hub().SetConditions({40, 0, 0, 0, false});
    host.session.SendRaceResult(result);
    ASSERT_TRUE(host.session.SendRaceLineup(40));
    world.Hub().SetConditions({});
    for (size_t index = 1; index < 3; ++index)
    {
        const std::optional<RaceResult> received = world.At(index).session.ReceiveRaceResult();
        ASSERT_TRUE(received.has_value());
        EXPECT_EQ(received->riderAtPlace, result.riderAtPlace);
        EXPECT_EQ(received->sessionTimes, result.sessionTimes);
    }
    // That line-up came before the clients were done with the race: each keeps it through the
    // end of its race and has it at once when it asks.
    const RaceLineup next = *host.link.lineup;
    for (size_t index = 1; index < 3; ++index)
    {
        Machine& client = world.At(index);
        client.session.ResetInputRings();
        const uint32_t now = world.NowMs();
        ASSERT_TRUE(client.session.WaitForRaceLineup());
        EXPECT_LE(world.NowMs(), now + 2) << "one pass of the pump";
        EXPECT_EQ(client.link.lineup->randomTable, next.randomTable) << "the next race's";
    }
    EXPECT_FALSE(world.TimedOut());
}

TEST(RaceExchange, AHostAloneSendsNothingAndAClientMayBackOutOfTheWait)
{
    NetTestWorld alone;
    ASSERT_TRUE(alone.HostWithClients(0));
    const uint64_t sent = alone.Hub().DatagramsSent();
    const uint32_t now = alone.NowMs();
    ASSERT_TRUE(alone.At(0).session.SendRaceLineup(0));
    EXPECT_EQ(alone.Hub().DatagramsSent(), sent);
    EXPECT_EQ(alone.NowMs(), now);
    EXPECT_TRUE(alone.At(0).link.lineup.has_value());
    EXPECT_TRUE(alone.At(0).session.CollectBikeSetups());
    EXPECT_EQ(alone.Hub().DatagramsSent(), sent) << "nobody to ask for a set-up";

    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    Machine& client = world.At(1);
    uint32_t waitedMs = 0;
    client.link.pump = [&]
    {
        world.Tick();
        client.link.escape = (waitedMs += 2) == 500;
    };
    EXPECT_FALSE(client.session.WaitForRaceLineup());
    EXPECT_TRUE(client.session.IsAborted());
    ASSERT_TRUE(world.RunUntil([&] { return world.At(0).session.ActivePeerCount() == 1; }, 5000));
}
