// Sessions of several machines on an in-process network in virtual time: hosting, searching,
// joining, names, slots, rider choices, the host's watch, leaving and closing, on a clean
// network and on a bad one.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/net/NetTestWorld.h"

namespace
{
using Machine = NetTestWorld::Machine;

std::string NameIn(const Machine& machine, uint32_t slot)
{
    return std::string(machine.session.RiderName(slot).View());
}

struct NetworkCase
{
    std::string name;
    LinkConditions conditions;
};

void PrintTo(const NetworkCase& network, std::ostream* out)
{
    *out << network.name;
}

class LobbyTest : public ::testing::TestWithParam<NetworkCase>
{
protected:
    void SetUp() override
    {
        world_.Hub().SetConditions(GetParam().conditions);
        ASSERT_TRUE(world_.HostWithClients(3));
    }

    // Every machine's player list shows the players on these slots under these names. The
    // rosters are not acknowledged: on a bad network the host's lobby sends them again.
    bool EveryoneSees(const std::vector<std::pair<uint32_t, std::string>>& players,
                      std::vector<size_t> machines = {0, 1, 2, 3})
    {
        uint32_t waitedMs = 0;
        return world_.RunUntil(
            [&]
            {
                if ((waitedMs += 2) % 250 == 0)
                {
                    world_.At(0).session.SendPlayerRoster();
                }
                for (const size_t index : machines)
                {
                    Machine& machine = world_.At(index);
                    machine.lobby.Update();
                    for (const auto& [slot, name] : players)
                    {
                        const LobbyPlayerRow& row = machine.lobby.Players()[slot];
                        if (machine.session.IsHost()
                                ? machine.session.PeerState(slot) != NetPeerState::Player ||
                                      NameIn(machine, slot) != name
                                : !row.player || row.name.View() != name)
                        {
                            return false;
                        }
                    }
                }
                return true;
            },
            20000);
    }

    NetTestWorld world_;
};

TEST_P(LobbyTest, HostAndThreeClientsJoinRenameChangeSlotsAndLeave)
{
    Machine& host = world_.At(0);
    for (uint32_t client = 1; client <= 3; ++client)
    {
        Machine& machine = world_.At(client);
        EXPECT_EQ(machine.session.OwnSlot(), client);
        EXPECT_EQ(machine.link.playerRider.load(), client) << "the player rides the granted slot";
        EXPECT_EQ(machine.session.HostSlot(), 0u);
        EXPECT_EQ(machine.session.SessionState(), NetSessionState::Lobby);
        EXPECT_EQ(host.session.PeerState(client), NetPeerState::Player);
    }
    EXPECT_EQ(host.session.ActivePeerCount(), 4u);

    // Every player renames itself.
    const std::vector<std::string> names = {"Anna", "Bert", "Carla", "Dora"};
    for (uint32_t index = 0; index < 4; ++index)
    {
        world_.At(index).link.settings.SetPlayerName(names[index]);
        world_.At(index).lobby.SubmitPlayerName();
    }
    ASSERT_TRUE(EveryoneSees({{0, "Anna"}, {1, "Bert"}, {2, "Carla"}, {3, "Dora"}}));

    // Bert moves to slot 7; nobody may take a slot a player holds.
    ASSERT_TRUE(world_.At(1).lobby.ChangeSlot(7));
    EXPECT_EQ(world_.At(1).session.OwnSlot(), 7u);
    EXPECT_EQ(world_.At(1).link.playerRider.load(), 7u);
    EXPECT_FALSE(world_.At(2).lobby.ChangeSlot(0)) << "the host's slot";
    EXPECT_FALSE(world_.At(2).lobby.ChangeSlot(7)) << "Bert's new slot";
    EXPECT_FALSE(world_.At(2).lobby.ChangeSlot(26)) << "the 250 class has 26 riders";
    ASSERT_TRUE(EveryoneSees({{0, "Anna"}, {7, "Bert"}, {2, "Carla"}, {3, "Dora"}}));
    EXPECT_EQ(host.session.PeerState(1), NetPeerState::Empty);
    EXPECT_EQ(NameIn(host, 1), "Rider 1.1") << "the old slot has the computer's name again";

    // The host moves itself too, and the clients follow it to its new slot.
    ASSERT_TRUE(host.lobby.ChangeSlot(12));
    ASSERT_TRUE(EveryoneSees({{12, "Anna"}, {7, "Bert"}, {2, "Carla"}, {3, "Dora"}}));
    world_.RunMs(1000);
    for (uint32_t client = 1; client <= 3; ++client)
    {
        EXPECT_EQ(world_.At(client).session.HostSlot(), 12u);
    }

    // Carla leaves; in the lobby her slot is free again.
    ASSERT_TRUE(world_.At(2).lobby.Update());
    world_.At(2).lobby.Leave();
    EXPECT_FALSE(world_.At(2).session.IsActive());
    ASSERT_TRUE(
        world_.RunUntil([&] { return host.session.PeerState(2) == NetPeerState::Empty; }, 20000));
    EXPECT_EQ(NameIn(host, 2), "Rider 1.2");
    EXPECT_EQ(host.session.ActivePeerCount(), 3u);
    ASSERT_TRUE(world_.RunUntil(
        [&] { return world_.At(3).session.PeerState(2) == NetPeerState::Empty; }, 20000));

    // Nobody was dropped on the way, however bad the network.
    world_.RunMs(30000);
    EXPECT_EQ(host.session.ActivePeerCount(), 3u);
    for (const uint32_t index : {1u, 3u})
    {
        EXPECT_FALSE(world_.At(index).session.IsAborted());
        EXPECT_TRUE(world_.At(index).lobby.Update());
    }

    // Dora is cut off: after 10 s the host drops her, and she gives the host up.
    Machine& dora = world_.At(3);
    world_.Hub().Isolate(dora.address, true);
    world_.RunMs(11000);
    EXPECT_EQ(host.session.PeerState(3), NetPeerState::Dropped);
    EXPECT_EQ(host.link.Retired(), (std::vector<uint32_t>{2, 3})) << "the computer rides them";
    EXPECT_EQ(NameIn(host, 3), "Rider 1.3");
    EXPECT_TRUE(dora.session.IsAborted());
    EXPECT_EQ(dora.session.ErrorCode(), kNetErrorHostLost);
    // The menu takes the error to tell it, once.
    EXPECT_EQ(dora.session.TakeErrorCode(), kNetErrorHostLost);
    EXPECT_EQ(dora.session.ErrorCode(), 0u);
    EXPECT_FALSE(dora.lobby.Update()) << "her lobby leaves the lost session";
    ASSERT_TRUE(world_.RunUntil(
        [&]
        {
            world_.At(0).session.SendPlayerRoster();
            return world_.At(1).session.PeerState(3) == NetPeerState::Dropped;
        },
        20000));
    EXPECT_FALSE(world_.At(1).session.IsAborted());
    EXPECT_FALSE(world_.TimedOut());
}

TEST_P(LobbyTest, AStartedSessionListsEveryRiderOfTheClass)
{
    Machine& host = world_.At(0);
    EXPECT_FALSE(host.lobby.StartSession()) << "nobody has chosen a rider";
    EXPECT_EQ(host.session.SessionState(), NetSessionState::Lobby);
    for (uint32_t index = 1; index <= 3; ++index)
    {
        ASSERT_TRUE(world_.At(index).lobby.ConfirmRider());
        EXPECT_TRUE(host.session.IsPeerReady(index));
    }
    EXPECT_FALSE(host.lobby.StartSession()) << "the host has not chosen";
    ASSERT_TRUE(world_.At(3).lobby.WithdrawRider()) << "the session is still open";
    EXPECT_FALSE(host.session.IsPeerReady(3));
    ASSERT_TRUE(world_.At(3).lobby.ConfirmRider());
    ASSERT_TRUE(host.lobby.ConfirmRider());

    ASSERT_TRUE(host.lobby.StartSession());
    EXPECT_EQ(host.session.SessionState(), NetSessionState::Running);
    for (uint32_t index = 1; index <= 3; ++index)
    {
        Machine& client = world_.At(index);
        client.lobby.Update();
        EXPECT_EQ(client.lobby.Riders().count, 26u) << "every rider of the 250 class";
        EXPECT_EQ(client.session.QuerySessionOpen(), false) << "the session runs";
    }
    EXPECT_FALSE(world_.At(1).lobby.ChangeSlot(9)) << "no slot changes once it runs";
}

INSTANTIATE_TEST_SUITE_P(
    Networks, LobbyTest,
    ::testing::Values(NetworkCase{"Clean", {}},
                      NetworkCase{"ThirtyPercentLossAndDuplication", {30, 30, 0, 0, false}},
                      NetworkCase{"DelayedAndReordered", {10, 10, 40, 200, false}}),
    [](const ::testing::TestParamInfo<NetworkCase>& info) { return info.param.name; });

TEST(NetSession, SilentPlayersAnswerTheHostsStatus)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(2));
    // Nothing to say for a minute: the host's status asks the silent ones, they answer.
    world.RunMs(60000);
    EXPECT_EQ(world.At(0).session.ActivePeerCount(), 3u);
    EXPECT_FALSE(world.At(1).session.IsAborted());
    EXPECT_FALSE(world.At(2).session.IsAborted());
}

TEST(NetSession, AClientDroppedByTheHostLearnsItFromTheHostStatus)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    Machine& host = world.At(0);
    Machine& client = world.At(1);
    // Only the client's datagrams are lost: it still hears the host.
    world.Hub().SetLinkConditions(client.address, host.address, {100, 0, 0, 0, false});
    world.RunMs(3000);
    EXPECT_EQ(host.session.PeerState(1), NetPeerState::Player) << "silent, not yet dropped";
    world.RunMs(8000);
    EXPECT_EQ(host.session.PeerState(1), NetPeerState::Dropped);
    EXPECT_TRUE(client.session.IsAborted());
    EXPECT_EQ(client.session.ErrorCode(), kNetErrorDropped);
    EXPECT_EQ(client.session.SessionsClosed(), 1u);
}

TEST(NetSession, ClosingTheSessionEndsItForEveryClient)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(2));
    Machine& host = world.At(0);
    const uint64_t sentBefore = world.Hub().DatagramsSent();
    host.lobby.Leave();
    EXPECT_LT(world.Hub().DatagramsSent() - sentBefore, 6u)
        << "answered at once, not after the re-sends ran out";
    EXPECT_FALSE(host.session.IsActive());
    for (uint32_t index = 1; index <= 2; ++index)
    {
        Machine& client = world.At(index);
        EXPECT_TRUE(client.session.IsAborted());
        EXPECT_EQ(client.session.SessionsClosed(), 1u);
        EXPECT_FALSE(client.lobby.Update());
        EXPECT_FALSE(client.session.IsActive());
        EXPECT_FALSE(client.session.IsAborted()) << "the end was taken: no later game ends";
    }
}

TEST(NetSession, AFullSessionRefusesTheNextPlayer)
{
    NetTestWorld world;
    Machine& host = world.Add(0, "Host");
    host.link.settings.SetU32At(MenuState::kNetworkRiderCountOffset, 2);
    ASSERT_TRUE(host.lobby.StartHosting());
    Machine& first = world.Add(0, "First");
    ASSERT_TRUE(first.lobby.JoinServer(first.lobby.SearchServers().at(0)));
    EXPECT_EQ(first.session.OwnSlot(), 1u) << "the wanted slot is the host's: the first free";

    Machine& second = world.Add(5, "Second");
    const std::vector<LobbyServerRow> servers = second.lobby.SearchServers();
    ASSERT_EQ(servers.size(), 1u);
    EXPECT_FALSE(second.lobby.JoinServer(servers[0]));
    EXPECT_EQ(second.session.FailedType(), static_cast<uint32_t>(NetMsgType::MsgJoinReject));
    EXPECT_EQ(second.session.ErrorCode(), static_cast<uint32_t>(JoinRefusal::SessionFull));
    EXPECT_FALSE(second.session.IsActive());
    EXPECT_EQ(host.session.ActivePeerCount(), 2u);
}

TEST(NetSession, AJoinFromAKnownAddressGetsItsSlotBack)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    Machine& client = world.At(1);
    client.session.Shutdown();
    ASSERT_TRUE(client.lobby.JoinServer(client.lobby.SearchServers().at(0)));
    EXPECT_EQ(client.session.OwnSlot(), 1u);
    EXPECT_EQ(world.At(0).session.ActivePeerCount(), 2u);
}

TEST(NetSession, ARunningSessionTakesNobodyIn)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(0));
    Machine& host = world.At(0);
    ASSERT_TRUE(host.lobby.ConfirmRider());
    ASSERT_TRUE(host.lobby.StartSession()) << "alone: at once";
    Machine& late = world.Add(3, "Late");
    const std::vector<LobbyServerRow> servers = late.lobby.SearchServers();
    ASSERT_EQ(servers.size(), 1u);
    EXPECT_TRUE(servers[0].running);
    EXPECT_FALSE(late.lobby.JoinServer(servers[0]));

    // Asked anyway, the host refuses: no session open for joining.
    late.session.SetHost(false);
    ASSERT_TRUE(late.session.Startup());
    late.session.SetActive(true);
    late.session.SetPort(servers[0].port);
    ASSERT_TRUE(late.session.OpenSocket());
    EXPECT_FALSE(late.session.Join());
    EXPECT_EQ(late.session.FailedType(), static_cast<uint32_t>(NetMsgType::MsgJoinReject));
    EXPECT_EQ(late.session.ErrorCode(), static_cast<uint32_t>(JoinRefusal::NotPossibleNow));
}

TEST(NetSession, HostsTakeFreePortsAndTheSearchListsOneServerPerPort)
{
    NetTestWorld world;
    Machine& first = world.Add(0, "First");
    first.link.settings.SetServerName("Erster");
    ASSERT_TRUE(first.lobby.StartHosting());
    EXPECT_EQ(first.session.Port(), 0x4750);
    Machine& second = world.Add(0, "Second");
    second.link.settings.SetServerName("Zweiter");
    second.link.settings.SetU32At(MenuState::kNetworkClassOffset, 2);
    ASSERT_TRUE(second.lobby.StartHosting());
    EXPECT_EQ(second.session.Port(), 0x4751) << "0x4750 is taken";

    Machine& client = world.Add(4, "Client");
    const uint32_t before = world.NowMs();
    const std::vector<LobbyServerRow> servers = client.lobby.SearchServers();
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0].port, 0x4750);
    EXPECT_EQ(servers[0].name.View(), "Erster");
    EXPECT_EQ(servers[1].port, 0x4751);
    EXPECT_EQ(servers[1].name.View(), "Zweiter");
    EXPECT_EQ(servers[1].settings.bikeClass, 2u);
    EXPECT_FALSE(servers[0].running);
    // Six ports without an answer cost their query and three re-sends 120 ms apart.
    EXPECT_GE(world.NowMs() - before, 6u * 4 * 120);
    EXPECT_FALSE(client.session.IsActive()) << "the socket is closed until the join";

    // A named port is the only one searched.
    client.link.settings.SetI32At(MenuState::kNetworkChoiceOffset, 0x4751);
    const std::vector<LobbyServerRow> named = client.lobby.SearchServers();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].name.View(), "Zweiter");
    ASSERT_TRUE(client.lobby.JoinServer(named[0]));
    ASSERT_TRUE(client.link.sessionSettings.has_value());
    EXPECT_EQ(client.link.sessionSettings->bikeClass, BikeClass::Class500);
}

TEST(NetSession, HostingFailsWhenEveryPortIsTakenOrNoSocketOpens)
{
    NetTestWorld world;
    for (int host = 0; host < 8; ++host)
    {
        ASSERT_TRUE(world.Add(0, "Host").lobby.StartHosting());
    }
    Machine& ninth = world.Add(0, "Ninth");
    EXPECT_FALSE(ninth.lobby.StartHosting());
    EXPECT_FALSE(ninth.session.IsActive());

    world.Hub().SetSocketsFail(true);
    Machine& unlucky = world.Add(0, "Unlucky");
    unlucky.link.settings.SetI32At(MenuState::kNetworkChoiceOffset, 0x4760);
    EXPECT_FALSE(unlucky.lobby.StartHosting());

    NetTestWorld empty;
    Machine& nowhere = empty.Add(0, "Nowhere");
    nowhere.network = empty.Hub().AddMachine(std::nullopt);
    nowhere.session.Attach(nowhere.link, nowhere.link, *nowhere.network);
    EXPECT_FALSE(nowhere.lobby.StartHosting()) << "a machine without an address";
}

TEST(NetSession, TheJoinedClientTakesTheHostsSettings)
{
    NetTestWorld world;
    Machine& host = world.Add(0, "Host");
    MenuState& hostSettings = host.link.settings;
    hostSettings.SetU32At(MenuState::kNetworkClassOffset, 0);
    hostSettings.SetU32At(MenuState::kNetworkLevelOffset, 2);
    hostSettings.SetU32At(MenuState::kNetworkLapsOffset, 7);
    hostSettings.SetU32At(MenuState::kNetworkInputDelayOffset, 3);
    hostSettings.SetU32At(MenuState::kTimeLimitIndexOffset, 1);
    hostSettings.SetI8At(MenuState::kNetworkCircuitsOffset, 16);
    hostSettings.SetI8At(MenuState::kNetworkCircuitsOffset + 1, 3);
    hostSettings.SetU16At(MenuState::kNetworkPressureOffset + 2, 1013);
    ASSERT_TRUE(host.lobby.StartHosting());
    EXPECT_EQ(host.session.InputDelay(), 5u);

    Machine& client = world.Add(9, "Client");
    ASSERT_TRUE(client.lobby.JoinServer(client.lobby.SearchServers().at(0)));
    const MenuState& taken = client.link.settings;
    EXPECT_EQ(taken.U32At(MenuState::kBikeClassOffset), 0u);
    EXPECT_EQ(taken.U32At(MenuState::kNetworkClassOffset), 0u);
    EXPECT_EQ(taken.U32At(MenuState::kNetworkLevelOffset), 2u);
    EXPECT_EQ(taken.U32At(MenuState::kNetworkLapsOffset), 7u);
    EXPECT_EQ(taken.U32At(MenuState::kNetworkInputDelayOffset), 3u) << "the setting, not + 2";
    EXPECT_EQ(taken.U32At(MenuState::kTimeLimitIndexOffset), 1u);
    EXPECT_EQ(taken.I8At(MenuState::kNetworkCircuitsOffset), 16);
    EXPECT_EQ(taken.I8At(MenuState::kNetworkCircuitsOffset + 1), 3);
    EXPECT_EQ(taken.U16At(MenuState::kNetworkPressureOffset + 2), 1013);
    EXPECT_EQ(client.session.InputDelay(), 5u);
    ASSERT_TRUE(client.link.sessionSettings.has_value());
    EXPECT_EQ(client.link.sessionSettings->bikeClass, BikeClass::Class125);
    EXPECT_EQ(client.link.sessionSettings->Strength(), 0u);
}

TEST(NetSession, AHostAloneStartsAtOnceWithoutTraffic)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(0));
    Machine& host = world.At(0);
    ASSERT_TRUE(host.lobby.ConfirmRider());
    const uint64_t sent = world.Hub().DatagramsSent();
    const uint32_t now = world.NowMs();
    ASSERT_TRUE(host.session.StartSession());
    ASSERT_TRUE(host.session.StartRaceAsHost());
    EXPECT_TRUE(host.session.RaceStarted());
    EXPECT_EQ(world.NowMs(), now) << "nothing waited";
    EXPECT_EQ(world.Hub().DatagramsSent(), sent);
}

TEST(NetSession, HostAndClientStartARaceTogether)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    Machine& host = world.At(0);
    Machine& client = world.At(1);
    ASSERT_TRUE(client.lobby.ConfirmRider());
    ASSERT_TRUE(host.lobby.ConfirmRider());
    ASSERT_TRUE(host.lobby.StartSession());
    host.link.raceClockMs = 777;
    ASSERT_TRUE(host.session.StartRaceAsHost());
    EXPECT_EQ(host.link.raceClockMs.load(), 0u) << "the host's clock restarts";
    ASSERT_TRUE(client.session.WaitForRaceStart());
    EXPECT_TRUE(client.session.RaceStarted());
    EXPECT_EQ(client.session.RaceStartClockMs(), 0u);

    // A start repeated later does not start the race again.
    host.link.raceClockMs = 5000;
    world.RunMs(3000);
    EXPECT_EQ(client.session.RaceStartClockMs(), 0u);
    client.session.ResetInputRings();
    EXPECT_FALSE(client.session.RaceStarted()) << "the next race waits for its own start";
}

TEST(NetSession, EscapeWhileWaitingForTheStartLeavesTheSession)
{
    NetTestWorld world;
    ASSERT_TRUE(world.HostWithClients(1));
    Machine& host = world.At(0);
    Machine& client = world.At(1);
    uint32_t waitedMs = 0;
    client.link.pump = [&]
    {
        world.Tick();
        // Esc is pressed while the client waits, well after its wait began.
        client.link.escape = (waitedMs += 2) == 1000;
    };
    EXPECT_FALSE(client.session.WaitForRaceStart());
    EXPECT_GE(waitedMs, 1000u);
    EXPECT_TRUE(client.session.IsAborted());
    ASSERT_TRUE(world.RunUntil([&] { return host.session.ActivePeerCount() == 1; }, 5000));
}
}  // namespace
