// A small player of network play for tests between processes: one machine's session over the
// real sockets, with a 2 ms timer thread of its own, that either hosts or joins and leaves:
//
//   net_peer_driver host PLAYERS [PORT]    hosts until PLAYERS players were in and left again
//   net_peer_driver client PLAYERS [PORT]  joins, waits for PLAYERS players, leaves
//
// PORT is a port value in hex; without it every probe port is tried. The own address and the
// broadcast address come from ZARVO_NET_ADDRESS and ZARVO_NET_BROADCAST. Prints one line per
// step; exits 0 when every step was done, 1 when one failed, 2 when it ran out of time.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/NetLobby.h"
#include "net/NetSession.h"
#include "platform/posix/PosixDatagramNetwork.h"

namespace
{
using Clock = std::chrono::steady_clock;
constexpr auto kTimeLimit = std::chrono::seconds(45);

class DriverMachine final : public NetMachine, public NetRace
{
public:
    uint32_t TimerMs() const override { return timerMs.load(); }
    uint32_t TicksDone() const override { return 0; }
    uint32_t RaceClockMs() const override { return 0; }
    uint32_t InputTick() const override { return 0; }
    uint32_t PlayerRider() const override { return playerRider.load(); }
    void SetPlayerRider(uint32_t rider) override { playerRider.store(rider); }
    void SetClockHold(bool /*held*/) override {}
    void PumpMessages() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
    bool IsQuitting() const override { return Clock::now() > deadline; }
    bool TakeEscape() override { return false; }
    void ClearEscape() override {}
    MenuState& Settings() override { return settings; }
    void TakeSessionSettings(const NetSessionSettings& /*taken*/) override {}
    void ResetRaceClock(uint32_t /*ms*/) override {}

    NetName DefaultRiderName(uint32_t rider, BikeClass /*bikeClass*/) const override
    {
        return NetName("Computer " + std::to_string(rider));
    }
    void RetireRider(uint32_t /*rider*/) override {}
    bool IsRiderRacing(uint32_t /*rider*/) const override { return false; }
    void TakeLineup(const RaceLineup& /*lineup*/) override {}
    void TakeBikeSetup(uint32_t /*rider*/,
                       std::span<const uint8_t, kBikeSetupBytes> /*setup*/) override
    {
    }
    void GiveBikeSetup(uint32_t /*rider*/, std::span<uint8_t, kBikeSetupBytes> setup) const override
    {
        std::fill(setup.begin(), setup.end(), uint8_t{0});
    }
    void TakeStateCheck(const StateCheckView& /*check*/) override {}
    void TakeRaceResult(const RaceResult& /*result*/) override {}

    std::atomic<uint32_t> timerMs{0};
    std::atomic<uint32_t> playerRider{20};
    MenuState settings;
    Clock::time_point deadline = Clock::now() + kTimeLimit;
};

// The timer tick's network part, every 2 ms.
class TimerThread
{
public:
    TimerThread(NetSession& session, DriverMachine& machine)
        : thread_(
              [this, &session, &machine]
              {
                  auto next = Clock::now();
                  while (!stop_.load())
                  {
                      if (session.IsActive())
                      {
                          session.Receive();
                          session.CountDownTimers(2);
                          session.ResendPending();
                          session.CheckTimeouts();
                      }
                      machine.timerMs += 2;
                      next += std::chrono::milliseconds(2);
                      std::this_thread::sleep_until(next);
                  }
              })
    {
    }
    ~TimerThread()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

bool WaitFor(const DriverMachine& machine, const std::function<bool()>& condition)
{
    while (!condition())
    {
        if (machine.IsQuitting())
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int Host(NetSession& session, NetLobby& lobby, DriverMachine& machine, uint32_t players)
{
    machine.settings.SetU32At(MenuState::kNetworkRiderCountOffset, players);
    if (!lobby.StartHosting())
    {
        std::printf("hosting failed\n");
        return 1;
    }
    std::printf("hosting 0x%04x\n", session.Port());
    if (!WaitFor(machine, [&] { return session.ActivePeerCount() == players; }))
    {
        return 2;
    }
    std::printf("full\n");
    if (!WaitFor(machine, [&] { return session.ActivePeerCount() == 1; }))
    {
        return 2;
    }
    std::printf("empty\n");
    lobby.Leave();
    std::printf("closed\n");
    return 0;
}

int Client(NetSession& session, NetLobby& lobby, DriverMachine& machine, uint32_t players)
{
    std::vector<LobbyServerRow> servers;
    while (servers.empty() && !machine.IsQuitting())
    {
        servers = lobby.SearchServers();
    }
    if (servers.empty() || !lobby.JoinServer(servers.front()))
    {
        std::printf("join failed\n");
        return 1;
    }
    std::printf("joined slot %u\n", session.OwnSlot());
    machine.settings.SetPlayerName("Player " + std::to_string(session.OwnSlot()));
    lobby.SubmitPlayerName();
    const auto playersListed = [&]
    {
        if (!lobby.Update())
        {
            return false;
        }
        uint32_t listed = 0;
        for (const LobbyPlayerRow& row : lobby.Players())
        {
            listed += row.player ? 1 : 0;
        }
        return listed == players;
    };
    if (!WaitFor(machine, playersListed))
    {
        return 2;
    }
    std::printf("roster %u\n", players);
    // The others may still be on their way to seeing everyone: nobody leaves at once.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    if (!session.Leave())
    {
        std::printf("leave unanswered\n");
        return 1;
    }
    session.Shutdown();
    std::printf("left\n");
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: net_peer_driver host|client PLAYERS [PORT]\n");
        return 1;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string role = argv[1];
    const auto players = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    DriverMachine machine;
    if (argc > 3)
    {
        machine.settings.SetI32At(MenuState::kNetworkChoiceOffset,
                                  static_cast<int32_t>(std::strtol(argv[3], nullptr, 16)));
    }
    PosixDatagramNetwork network(PosixNetworkOptions::FromEnvironment());
    NetSession session;
    session.Attach(machine, machine, network);
    NetLobby lobby(session, machine);
    const TimerThread timer(session, machine);
    const int result = role == "host" ? Host(session, lobby, machine, players)
                                      : Client(session, lobby, machine, players);
    session.Shutdown();
    return result;
}
