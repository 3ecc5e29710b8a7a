#pragma once

// The machine's local network as network play uses it: UDP datagrams broadcast on one port to
// every machine (this one included), and the machine's own IPv4 address as the others see it.
// PosixDatagramNetwork drives the real sockets; DatagramHub connects machines inside one
// process in virtual time, for tests.
//
// IPv4 addresses are 32-bit words whose little-endian bytes are the address in network order:
// a.b.c.d is a | b << 8 | c << 16 | d << 24, exactly as the network messages carry it.
//
// Threads: a socket may be used from any thread, but from one at a time.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

constexpr uint32_t MakeIpv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return uint32_t{a} | uint32_t{b} << 8 | uint32_t{c} << 16 | uint32_t{d} << 24;
}

inline constexpr uint32_t kIpv4None = 0;
inline constexpr uint32_t kIpv4Broadcast = 0xFFFFFFFF;  // 255.255.255.255

// "a.b.c.d"; nothing for any other text.
std::optional<uint32_t> ParseIpv4(std::string_view text);
std::string FormatIpv4(uint32_t address);

class DatagramSocket
{
public:
    virtual ~DatagramSocket() = default;

    // Sends one datagram to every socket on the port. False when it could not be sent.
    virtual bool Broadcast(std::span<const uint8_t> datagram) = 0;
    // Takes the next waiting datagram; never waits. Returns its whole length, of which the
    // first buffer.size() bytes were stored (a longer datagram is cut), or nothing when none
    // is waiting.
    virtual std::optional<size_t> Receive(std::span<uint8_t> buffer) = 0;
};

class DatagramNetwork
{
public:
    virtual ~DatagramNetwork() = default;

    // The address the other machines know this one by; nothing when the machine has none.
    virtual std::optional<uint32_t> OwnAddress() = 0;
    // A socket bound to the UDP port on every local address, next to any other socket on the
    // same port, broadcasting to that port; nullptr when the socket cannot be opened.
    virtual std::unique_ptr<DatagramSocket> OpenBroadcastSocket(uint16_t udpPort) = 0;
};
