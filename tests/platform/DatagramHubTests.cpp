#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/scripted/DatagramHub.h"

namespace
{
constexpr uint16_t kPort = 24647;
const uint32_t kFirst = MakeIpv4(10, 0, 0, 1);
const uint32_t kSecond = MakeIpv4(10, 0, 0, 2);

std::vector<uint8_t> Datagram(uint8_t number)
{
    return {number, 0, 255, number};
}

// The first byte of every datagram waiting on the socket, in the order they arrived.
std::vector<uint8_t> Arrived(DatagramSocket& socket)
{
    std::vector<uint8_t> numbers;
    std::vector<uint8_t> buffer(16);
    while (const std::optional<size_t> length = socket.Receive(buffer))
    {
        EXPECT_EQ(*length, 4u);
        numbers.push_back(buffer[0]);
    }
    return numbers;
}

struct Pair
{
    explicit Pair(DatagramHub& hub)
        : first(hub.AddMachine(kFirst)),
          second(hub.AddMachine(kSecond)),
          sender(first->OpenBroadcastSocket(kPort)),
          receiver(second->OpenBroadcastSocket(kPort))
    {
    }

    std::unique_ptr<DatagramNetwork> first;
    std::unique_ptr<DatagramNetwork> second;
    std::unique_ptr<DatagramSocket> sender;
    std::unique_ptr<DatagramSocket> receiver;
};

TEST(DatagramHub, BroadcastsToEverySocketOnThePortTheSenderToo)
{
    DatagramHub hub;
    Pair pair(hub);
    const std::unique_ptr<DatagramSocket> otherPort = pair.second->OpenBroadcastSocket(kPort + 1);
    EXPECT_EQ(pair.first->OwnAddress(), kFirst);
    ASSERT_TRUE(pair.sender->Broadcast(Datagram(1)));
    EXPECT_EQ(Arrived(*pair.receiver), std::vector<uint8_t>{1});
    EXPECT_EQ(Arrived(*pair.sender), std::vector<uint8_t>{1});
    EXPECT_TRUE(Arrived(*otherPort).empty());
    EXPECT_EQ(hub.DatagramsSent(), 1u);

    // A datagram longer than the buffer is cut and reported whole.
    ASSERT_TRUE(pair.sender->Broadcast(std::vector<uint8_t>(100, 7)));
    std::vector<uint8_t> small(10);
    EXPECT_EQ(pair.receiver->Receive(small), 100u);
}

TEST(DatagramHub, DelaysAndReordersInVirtualTime)
{
    DatagramHub hub(7);
    Pair pair(hub);
    hub.SetConditions({0, 0, 100, 0, false});
    pair.sender->Broadcast(Datagram(1));
    hub.AdvanceTo(99);
    EXPECT_TRUE(Arrived(*pair.receiver).empty());
    EXPECT_EQ(Arrived(*pair.sender), std::vector<uint8_t>{1}) << "its own at once";
    hub.AdvanceTo(100);
    EXPECT_EQ(Arrived(*pair.receiver), std::vector<uint8_t>{1});

    hub.SetConditions({0, 0, 0, 500, false});
    for (uint8_t number = 0; number < 20; ++number)
    {
        pair.sender->Broadcast(Datagram(number));
    }
    hub.AdvanceTo(1000);
    std::vector<uint8_t> arrived = Arrived(*pair.receiver);
    ASSERT_EQ(arrived.size(), 20u);
    EXPECT_FALSE(std::is_sorted(arrived.begin(), arrived.end())) << "some overtook others";
}

TEST(DatagramHub, LosesDuplicatesAndCutsAsTold)
{
    DatagramHub hub(3);
    Pair pair(hub);
    hub.SetLinkConditions(kFirst, kSecond, {30, 30, 0, 0, false});
    for (uint8_t number = 0; number < 200; ++number)
    {
        pair.sender->Broadcast(Datagram(number));
    }
    const std::vector<uint8_t> arrived = Arrived(*pair.receiver);
    EXPECT_GT(arrived.size(), 140u);
    EXPECT_LT(arrived.size(), 200u) << "about 30 % lost, 30 % of the rest twice";
    EXPECT_NE(std::adjacent_find(arrived.begin(), arrived.end()), arrived.end());
    EXPECT_EQ(Arrived(*pair.sender).size(), 200u) << "its own never lost";

    hub.SetLinkConditions(kFirst, kSecond, {});
    hub.Isolate(kSecond, true);
    pair.sender->Broadcast(Datagram(1));
    pair.receiver->Broadcast(Datagram(2));
    EXPECT_TRUE(Arrived(*pair.receiver) == std::vector<uint8_t>{2});
    EXPECT_TRUE(Arrived(*pair.sender) == std::vector<uint8_t>{1});
    hub.Isolate(kSecond, false);
    pair.sender->Broadcast(Datagram(3));
    EXPECT_EQ(Arrived(*pair.receiver), std::vector<uint8_t>{3});
}

TEST(DatagramHub, SameSeedSameRun)
{
    std::vector<std::vector<uint8_t>> runs;
    for (int run = 0; run < 2; ++run)
    {
        DatagramHub hub(11);
        Pair pair(hub);
        hub.SetConditions({20, 20, 10, 40, false});
        for (uint8_t number = 0; number < 50; ++number)
        {
            pair.sender->Broadcast(Datagram(number));
            hub.AdvanceTo(number * 2u);
        }
        hub.AdvanceTo(1000);
        runs.push_back(Arrived(*pair.receiver));
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST(DatagramHub, SocketsFailWhenToldAndClosedOnesHearNothing)
{
    DatagramHub hub;
    Pair pair(hub);
    hub.SetConditions({0, 0, 50, 0, false});
    pair.sender->Broadcast(Datagram(1));
    pair.receiver.reset();
    hub.AdvanceTo(100);
    pair.receiver = pair.second->OpenBroadcastSocket(kPort);
    EXPECT_TRUE(Arrived(*pair.receiver).empty()) << "sent to the socket that was closed";
    hub.SetSocketsFail(true);
    EXPECT_EQ(pair.second->OpenBroadcastSocket(kPort), nullptr);
    EXPECT_FALSE(hub.AddMachine(std::nullopt)->OwnAddress().has_value());
}
}  // namespace
