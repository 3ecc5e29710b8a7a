#pragma once

// Datagrams for tests of the receive loop: a valid one of every message type, variants of it
// that break its length, header or fields (the cases a hostile or broken peer could send), and
// machines in each role a datagram can meet: host in its lobby, host with a race running,
// client outside a session, client in the lobby, client in a race.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "race/LockstepState.h"
#include "tests/net/NetTestWorld.h"

using Datagram = std::vector<uint8_t>;

// A valid datagram of the type, as a peer in `sender` sends it to `target`, with plausible
// contents (the requester addresses are `address`).
Datagram ValidDatagram(NetMsgType type, uint8_t sender, uint8_t target, uint32_t address);

// Whether the receive loop takes the datagram's layout as valid: a known type, its length and
// every field in range (the header's slots are not judged here).
bool IsWellFormedNetDatagram(std::span<const uint8_t> datagram);

// `count` variants of a valid datagram of the type: the listed hostile cases first (lengths
// around the type's, header bytes, out-of-range fields), then random damage from the seed.
std::vector<Datagram> MalformedVariants(NetMsgType type, size_t count, uint32_t seed);

enum class NetRole
{
    HostInLobby,
    HostRunning,
    ClientOutsideSession,
    ClientInLobby,
    ClientInRace,
};
inline constexpr NetRole kNetRoles[] = {NetRole::HostInLobby, NetRole::HostRunning,
                                        NetRole::ClientOutsideSession, NetRole::ClientInLobby,
                                        NetRole::ClientInRace};
std::string RoleName(NetRole role);

// A world in which one machine plays the role (a host with two clients, or a client of such
// a host), and an injector machine whose datagrams reach that machine alone.
class RoleWorld
{
public:
    explicit RoleWorld(NetRole role);

    bool IsReady() const { return ready_; }
    NetSession& Target() { return target_->session; }
    TestNetMachine& TargetLink() { return target_->link; }
    // The datagram is broadcast by the injector and taken by the target's receive loop,
    // with no timer step between.
    void Inject(std::span<const uint8_t> datagram);
    uint64_t DatagramsSent() { return world_.Hub().DatagramsSent(); }
    NetTestWorld& World() { return world_; }

private:
    // A client in a race takes the host's state checks into it.
    LockstepState lockstep_;
    NetTestWorld world_;
    NetTestWorld::Machine* target_ = nullptr;
    std::unique_ptr<DatagramNetwork> injectorNetwork_;
    std::unique_ptr<DatagramSocket> injector_;
    bool ready_ = false;
};

// What must hold in every session whatever it received.
std::string BrokenInvariant(const NetSessionSnapshot& snapshot);
