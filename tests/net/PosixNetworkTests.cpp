// The real sockets: broadcasts between sockets sharing a port, the own address, and whole
// sessions between processes. Each test moves into a network namespace of its own; where the
// machine allows none it says so and stays on the loopback's broadcast address.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "net/NetSettings.h"
#include "platform/posix/PosixDatagramNetwork.h"
#include "tests/net/PrivateNetwork.h"

extern char** environ;

namespace
{
using Clock = std::chrono::steady_clock;

class PosixNetworkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        private_ = EnterPrivateNetwork();
        if (!private_)
        {
            std::cout << "No private network namespace here: the datagrams go to the "
                         "loopback broadcast address 127.255.255.255 instead.\n";
            RecordProperty("network", "loopback broadcast");
        }
    }

    PosixNetworkOptions Options(uint8_t ownHost) const
    {
        PosixNetworkOptions options;
        options.ownAddress = MakeIpv4(127, 0, 0, ownHost);
        options.broadcastAddress = TestBroadcastAddress(private_);
        return options;
    }

    // A port no other test on this machine uses at the same time.
    uint16_t TestPort() const { return static_cast<uint16_t>(40000 + getpid() % 20000); }

    bool private_ = false;
};

std::optional<std::vector<uint8_t>> ReceiveWithin(DatagramSocket& socket, size_t bufferSize)
{
    const auto until = Clock::now() + std::chrono::seconds(2);
    std::vector<uint8_t> buffer(bufferSize);
    while (Clock::now() < until)
    {
        if (const std::optional<size_t> length = socket.Receive(buffer))
        {
            buffer.resize(*length);
            return buffer;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
}

TEST(Ipv4, ReadsAndWritesDottedAddresses)
{
    EXPECT_EQ(ParseIpv4("127.0.0.2"), MakeIpv4(127, 0, 0, 2));
    EXPECT_EQ(ParseIpv4("255.255.255.255"), kIpv4Broadcast);
    for (const char* bad :
         {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "a.b.c.d", "1.2.3.4 ", "0001.2.3.4"})
    {
        EXPECT_FALSE(ParseIpv4(bad).has_value()) << bad;
    }
    EXPECT_EQ(FormatIpv4(MakeIpv4(192, 168, 10, 200)), "192.168.10.200");
}

TEST_F(PosixNetworkTest, ABroadcastReachesEverySocketOnThePortTheSenderToo)
{
    PosixDatagramNetwork first(Options(2));
    PosixDatagramNetwork second(Options(3));
    PosixDatagramNetwork elsewhere(Options(4));
    const uint16_t port = TestPort();
    const auto sender = first.OpenBroadcastSocket(port);
    const auto listener = second.OpenBroadcastSocket(port);
    const auto otherPort = elsewhere.OpenBroadcastSocket(static_cast<uint16_t>(port + 1));
    ASSERT_TRUE(sender && listener && otherPort);

    const std::vector<uint8_t> datagram = {247, 0, 255, 3, 1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(sender->Broadcast(datagram));
    EXPECT_EQ(ReceiveWithin(*listener, 64), datagram);
    EXPECT_EQ(ReceiveWithin(*sender, 64), datagram) << "the sender hears itself";
    std::vector<uint8_t> buffer(64);
    EXPECT_FALSE(otherPort->Receive(buffer).has_value());

    // A datagram longer than the buffer is reported with its whole length.
    ASSERT_TRUE(sender->Broadcast(datagram));
    const std::optional<std::vector<uint8_t>> cut = ReceiveWithin(*listener, 4);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->size(), datagram.size());
}

TEST_F(PosixNetworkTest, TheOwnAddressIsTheOneBroadcastsGoOutFrom)
{
    PosixNetworkOptions options;
    options.broadcastAddress = TestBroadcastAddress(private_);
    PosixDatagramNetwork network(options);
    const std::optional<uint32_t> own = network.OwnAddress();
    ASSERT_TRUE(own.has_value());
    if (private_)
    {
        EXPECT_EQ(*own, MakeIpv4(127, 0, 0, 1)) << "the loopback carries the broadcast route";
    }
    EXPECT_NE(*own, kIpv4None);
    EXPECT_NE(*own, kIpv4Broadcast);

    EXPECT_EQ(PosixDatagramNetwork(Options(9)).OwnAddress(), MakeIpv4(127, 0, 0, 9));
}

// A process started with its own address; its output is gathered when it ends.
class PeerProcess
{
public:
    PeerProcess(const std::vector<std::string>& arguments, const std::string& ownAddress,
                uint32_t broadcast)
    {
        int pipeEnds[2];
        if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
        std::vector<std::string> environment = {"ZARVO_NET_ADDRESS=" + ownAddress,
                                                "ZARVO_NET_BROADCAST=" + FormatIpv4(broadcast)};
        std::vector<char*> envp;
        for (std::string& entry : environment)
        {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::vector<std::string> args = arguments;
        std::vector<char*> argv;
        for (std::string& arg : args)
        {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }

    ~PeerProcess()
    {
        if (pid_ > 0)
        {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0)
        {
            close(output_);
        }
    }

    // The exit status, or -1 when it did not end in time (it is then killed).
    int Wait(Clock::time_point until)
    {
        int status = 0;
        while (pid_ > 0 && Clock::now() < until)
        {
            if (waitpid(pid_, &status, WNOHANG) == pid_)
            {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

    std::string Output()
    {
        std::string text;
        char chunk[256];
        ssize_t length = 0;
        while (output_ >= 0 && (length = read(output_, chunk, sizeof chunk)) > 0)
        {
            text.append(chunk, static_cast<size_t>(length));
        }
        return text;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

class SessionBetweenProcessesTest : public PosixNetworkTest,
                                    public ::testing::WithParamInterface<int>
{
};

TEST_P(SessionBetweenProcessesTest, PlayersFindTheHostJoinAndLeave)
{
    const int players = GetParam();
    const std::string driver = ZARVO_NET_PEER_DRIVER;
    std::vector<std::string> extra;
    if (!private_)
    {
        // Outside a private network the probe ports may be in use: one of our own is named.
        char port[16];
        std::snprintf(port, sizeof port, "%x", TestPort());
        extra.push_back(port);
    }
    const auto arguments = [&](const char* role)
    {
        std::vector<std::string> args = {driver, role, std::to_string(players)};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    const uint32_t broadcast = TestBroadcastAddress(private_);
    std::vector<std::unique_ptr<PeerProcess>> peers;
    peers.push_back(std::make_unique<PeerProcess>(arguments("host"), "127.0.0.10", broadcast));
    for (int client = 1; client < players; ++client)
    {
        peers.push_back(std::make_unique<PeerProcess>(
            arguments("client"), "127.0.0." + std::to_string(10 + client), broadcast));
    }
    const auto until = Clock::now() + std::chrono::seconds(60);
    std::vector<std::string> slots;
    for (size_t index = peers.size(); index-- > 0;)
    {
        const int status = peers[index]->Wait(until);
        const std::string output = peers[index]->Output();
        EXPECT_EQ(status, 0) << "peer " << index << " said:\n" << output;
        if (index == 0)
        {
            EXPECT_NE(output.find("full\nempty\nclosed\n"), std::string::npos) << output;
            continue;
        }
        EXPECT_NE(output.find("roster " + std::to_string(players) + "\nleft\n"), std::string::npos)
            << output;
        slots.push_back(output.substr(0, output.find('\n')));
    }
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(std::unique(slots.begin(), slots.end()), slots.end()) << "every player has a slot";
}

INSTANTIATE_TEST_SUITE_P(Processes, SessionBetweenProcessesTest, ::testing::Values(2, 4),
                         [](const ::testing::TestParamInfo<int>& info)
                         { return std::to_string(info.param) + "Processes"; });
}  // namespace
