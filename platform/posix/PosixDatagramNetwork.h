#pragma once

// The machine's real network: POSIX UDP sockets. A socket is bound to every local address with
// SO_REUSEADDR, so that several games on one machine share the port, allows broadcasts, never
// blocks, and sends every datagram to the broadcast address on its own port.
//
// The own address is the IPv4 address of the interface that carries the broadcast route (the
// address the kernel sends broadcasts from), not the host name's address, which is a loopback
// address on most Linux machines and the same on every one of them. Two environment values
// override the choice, so that several games can play on one machine:
//   ZARVO_NET_ADDRESS    the own address, e.g. 127.0.0.2
//   ZARVO_NET_BROADCAST  where datagrams go instead of 255.255.255.255, e.g. 127.255.255.255

#include <optional>

#include "platform/DatagramNetwork.h"

struct PosixNetworkOptions
{
    std::optional<uint32_t> ownAddress;  // nothing: found from the interfaces
    uint32_t broadcastAddress = kIpv4Broadcast;

    // The options the two environment values give; an unreadable value counts as unset.
    static PosixNetworkOptions FromEnvironment();
};

class PosixDatagramNetwork final : public DatagramNetwork
{
public:
    explicit PosixDatagramNetwork(const PosixNetworkOptions& options) : options_(options) {}

    std::optional<uint32_t> OwnAddress() override;
    std::unique_ptr<DatagramSocket> OpenBroadcastSocket(uint16_t udpPort) override;

private:
    PosixNetworkOptions options_;
};
