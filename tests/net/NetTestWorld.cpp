#include "tests/net/NetTestWorld.h"

#include <algorithm>
#include <string>

#include "net/NetSettings.h"
#include "net/NetStateCheck.h"

void TestNetMachine::PumpMessages()
{
    if (pump)
    {
        pump();
    }
}

void TestNetMachine::TakeSessionSettings(const NetSessionSettings& taken)
{
    sessionSettings = taken;
}

void TestNetMachine::ResetRaceClock(uint32_t ms)
{
    raceClockMs.store(ms);
    ticksDone.store(0);
    inputTick.store(0);
    clockHold.store(false);
}

NetName TestNetMachine::DefaultRiderName(uint32_t rider, BikeClass bikeClass) const
{
    return NetName("Rider " + std::to_string(static_cast<uint32_t>(bikeClass)) + "." +
                   std::to_string(rider));
}

void TestNetMachine::RetireRider(uint32_t rider)
{
    const std::lock_guard lock(raceMutex_);
    if (std::find(retired_.begin(), retired_.end(), rider) == retired_.end())
    {
        retired_.push_back(rider);
    }
}

bool TestNetMachine::IsRiderRacing(uint32_t rider) const
{
    const std::lock_guard lock(raceMutex_);
    return std::find(retired_.begin(), retired_.end(), rider) == retired_.end();
}

void TestNetMachine::TakeLineup(const RaceLineup& taken)
{
    lineup = taken;
}

void TestNetMachine::TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup)
{
    ++bikeSetupsTaken;
    std::copy(setup.begin(), setup.end(), bikeSetups[rider].begin());
}

void TestNetMachine::GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const
{
    std::copy(bikeSetups[rider].begin(), bikeSetups[rider].end(), setup.begin());
}

std::array<std::array<uint8_t, kBikeSetupBytes>, kNetSlotCount> TestNetMachine::OwnSetups()
{
    std::array<std::array<uint8_t, kBikeSetupBytes>, kNetSlotCount> setups{};
    for (uint32_t rider = 0; rider < kNetSlotCount; ++rider)
    {
        for (size_t byte = 0; byte < kBikeSetupBytes; ++byte)
        {
            setups[rider][byte] = static_cast<uint8_t>(rider * 7 + byte);
        }
    }
    return setups;
}

void TestNetMachine::TakeStateCheck(const StateCheckView& check)
{
    ++stateChecksTaken;
    if (lockstep != nullptr)
    {
        TakeHostStateCheck(*lockstep, check);
    }
}

void TestNetMachine::TakeRaceResult(const RaceResult& result)
{
    raceResult = result;
}

std::vector<uint32_t> TestNetMachine::Retired() const
{
    const std::lock_guard lock(raceMutex_);
    return retired_;
}

NetTestWorld::NetTestWorld(uint32_t seed) : hub_(seed) {}

NetTestWorld::~NetTestWorld()
{
    for (const auto& machine : machines_)
    {
        machine->session.Detach();
    }
}

NetTestWorld::Machine& NetTestWorld::Add(uint32_t playerRider, std::string_view name)
{
    auto machine = std::make_unique<Machine>();
    machine->address = WorldAddress(machines_.size());
    machine->network = hub_.AddMachine(machine->address);
    machine->link.playerRider = playerRider;
    machine->link.settings.SetPlayerName(name);
    machine->link.timerMs = nowMs_;
    machine->link.pump = [this] { Tick(); };
    machine->session.Attach(machine->link, machine->link, *machine->network);
    machines_.push_back(std::move(machine));
    return *machines_.back();
}

void NetTestWorld::Tick()
{
    nowMs_ += 2;
    hub_.AdvanceTo(nowMs_);
    for (const auto& machine : machines_)
    {
        NetSession& session = machine->session;
        if (session.IsActive())
        {
            session.Receive();
            session.CountDownTimers(2);
            session.ResendPending();
            session.CheckTimeouts();
        }
        machine->link.timerMs = nowMs_;
    }
    if (nowMs_ > kTimeLimitMs && !timedOut_)
    {
        timedOut_ = true;
        for (const auto& machine : machines_)
        {
            machine->link.quitting = true;
        }
    }
}

void NetTestWorld::RunMs(uint32_t ms)
{
    for (uint32_t passed = 0; passed < ms; passed += 2)
    {
        Tick();
    }
}

bool NetTestWorld::RunUntil(const std::function<bool()>& condition, uint32_t limitMs)
{
    for (uint32_t passed = 0; passed <= limitMs; passed += 2)
    {
        if (condition())
        {
            return true;
        }
        Tick();
    }
    return false;
}

bool NetTestWorld::HostWithClients(size_t clients)
{
    Machine& host = Add(0, "Host");
    if (!host.lobby.StartHosting())
    {
        return false;
    }
    for (size_t client = 1; client <= clients; ++client)
    {
        Machine& machine = Add(static_cast<uint32_t>(client), "Client " + std::to_string(client));
        // On a bad network a search may miss the server: the player searches again.
        std::vector<LobbyServerRow> servers;
        for (int search = 0; search < 10 && servers.empty(); ++search)
        {
            servers = machine.lobby.SearchServers();
        }
        if (servers.empty() || !machine.lobby.JoinServer(servers.front()))
        {
            return false;
        }
    }
    return true;
}
