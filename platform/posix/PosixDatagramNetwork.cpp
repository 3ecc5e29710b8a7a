#include "platform/posix/PosixDatagramNetwork.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <utility>

namespace
{
// The discard port: a connected socket that is never used to send only asks the routing.
constexpr uint16_t kRouteProbePort = 9;

sockaddr_in SocketAddress(uint32_t address, uint16_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    // Our words hold the address bytes in network order when stored little-endian.
    const uint8_t bytes[4] = {static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8),
                              static_cast<uint8_t>(address >> 16),
                              static_cast<uint8_t>(address >> 24)};
    std::memcpy(&result.sin_addr, bytes, sizeof bytes);
    return result;
}

uint32_t AddressWord(const in_addr& address)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    return MakeIpv4(bytes[0], bytes[1], bytes[2], bytes[3]);
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
        {
            close(fd_);
        }
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }

private:
    int fd_;
};

bool EnableOption(int fd, int option)
{
    const int on = 1;
    return setsockopt(fd, SOL_SOCKET, option, &on, sizeof on) == 0;
}

// The source address the kernel picks for a broadcast: the address of the interface that
// carries the broadcast route. Nothing when there is no such route.
std::optional<uint32_t> BroadcastSourceAddress(uint32_t broadcastAddress)
{
    const FileDescriptor probe(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!probe.IsOpen() || !EnableOption(probe.Get(), SO_BROADCAST))
    {
        return std::nullopt;
    }
    const sockaddr_in target = SocketAddress(broadcastAddress, kRouteProbePort);
    if (connect(probe.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0)
    {
        return std::nullopt;
    }
    sockaddr_in source{};
    socklen_t length = sizeof source;
    if (getsockname(probe.Get(), reinterpret_cast<sockaddr*>(&source), &length) != 0 ||
        source.sin_addr.s_addr == INADDR_ANY)
    {
        return std::nullopt;
    }
    return AddressWord(source.sin_addr);
}

// The interface holding the wanted address, or else the first one that is up and can
// broadcast, loopback last.
std::optional<uint32_t> InterfaceAddress(std::optional<uint32_t> wanted)
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
    {
        return wanted;
    }
    std::optional<uint32_t> broadcasting;
    std::optional<uint32_t> loopback;
    std::optional<uint32_t> found;
    for (const ifaddrs* entry = list; entry != nullptr && !found; entry = entry->ifa_next)
    {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0)
        {
            continue;
        }
        const uint32_t address =
            AddressWord(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr);
        if (wanted && address == *wanted)
        {
            found = address;
        }
        else if ((entry->ifa_flags & IFF_LOOPBACK) != 0)
        {
            loopback = loopback.value_or(address);
        }
        else if ((entry->ifa_flags & IFF_BROADCAST) != 0)
        {
            broadcasting = broadcasting.value_or(address);
        }
    }
    freeifaddrs(list);
    if (found)
    {
        return found;
    }
    // A route's source that no interface lists is still what the others see.
    if (wanted)
    {
        return wanted;
    }
    return broadcasting ? broadcasting : loopback;
}

class PosixDatagramSocket final : public DatagramSocket
{
public:
    PosixDatagramSocket(FileDescriptor fd, const sockaddr_in& destination)
        : fd_(std::move(fd)), destination_(destination)
    {
    }

    bool Broadcast(std::span<const uint8_t> datagram) override
    {
        const ssize_t sent =
            sendto(fd_.Get(), datagram.data(), datagram.size(), MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&destination_), sizeof destination_);
        return sent == static_cast<ssize_t>(datagram.size());
    }

    std::optional<size_t> Receive(std::span<uint8_t> buffer) override
    {
        for (;;)
        {
            // With MSG_TRUNC the whole length comes back even when the buffer is shorter.
            const ssize_t length = recv(fd_.Get(), buffer.data(), buffer.size(), MSG_TRUNC);
            if (length >= 0)
            {
                return static_cast<size_t>(length);
            }
            // Nothing waiting, or an error a broadcast socket can only report and forget
            // (an ICMP answer to an earlier send): either way nothing to take now.
            if (errno != EINTR)
            {
                return std::nullopt;
            }
        }
    }

private:
    FileDescriptor fd_;
    sockaddr_in destination_;
};
}  // namespace

PosixNetworkOptions PosixNetworkOptions::FromEnvironment()
{
    PosixNetworkOptions options;
    if (const char* own = std::getenv("ZARVO_NET_ADDRESS"))
    {
        options.ownAddress = ParseIpv4(own);
    }
    if (const char* broadcast = std::getenv("ZARVO_NET_BROADCAST"))
    {
        options.broadcastAddress = ParseIpv4(broadcast).value_or(kIpv4Broadcast);
    }
    return options;
}

std::optional<uint32_t> PosixDatagramNetwork::OwnAddress()
{
    if (options_.ownAddress)
    {
        return options_.ownAddress;
    }
    return InterfaceAddress(BroadcastSourceAddress(options_.broadcastAddress));
}

std::unique_ptr<DatagramSocket> PosixDatagramNetwork::OpenBroadcastSocket(uint16_t udpPort)
{
    FileDescriptor fd(socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const sockaddr_in local = SocketAddress(kIpv4None, udpPort);
    if (!fd.IsOpen() || !EnableOption(fd.Get(), SO_REUSEADDR) ||
        !EnableOption(fd.Get(), SO_BROADCAST) ||
        bind(fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
    {
        return nullptr;
    }
    return std::make_unique<PosixDatagramSocket>(std::move(fd),
                                                 SocketAddress(options_.broadcastAddress, udpPort));
}
