#include "tests/net/PrivateNetwork.h"

#include <fcntl.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace
{
bool BringLoopbackUp(int fd)
{
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    if (ioctl(fd, SIOCGIFFLAGS, &request) != 0)
    {
        return false;
    }
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP | IFF_RUNNING);
    return ioctl(fd, SIOCSIFFLAGS, &request) == 0;
}

bool RouteBroadcastToLoopback(int fd)
{
    rtentry route{};
    auto* destination = reinterpret_cast<sockaddr_in*>(&route.rt_dst);
    destination->sin_family = AF_INET;
    destination->sin_addr.s_addr = htonl(INADDR_BROADCAST);
    auto* mask = reinterpret_cast<sockaddr_in*>(&route.rt_genmask);
    mask->sin_family = AF_INET;
    mask->sin_addr.s_addr = htonl(INADDR_BROADCAST);
    route.rt_flags = RTF_UP | RTF_HOST;
    char device[] = "lo";
    route.rt_dev = device;
    return ioctl(fd, SIOCADDRT, &route) == 0;
}

// Without the privilege for a network namespace of its own, a process may still make one
// inside a user namespace of its own, in which it is root.
bool EnterUserAndNetworkNamespace()
{
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
    {
        return false;
    }
    const auto write = [](const char* path, const std::string& text)
    {
        const int fd = open(path, O_WRONLY | O_CLOEXEC);
        const bool written =
            fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        if (fd >= 0)
        {
            close(fd);
        }
        return written;
    };
    write("/proc/self/setgroups", "deny");
    return write("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1\n") &&
           write("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1\n");
}
}  // namespace

bool EnterPrivateNetwork()
{
    if (unshare(CLONE_NEWNET) != 0 && !EnterUserAndNetworkNamespace())
    {
        return false;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool ready = fd >= 0 && BringLoopbackUp(fd) && RouteBroadcastToLoopback(fd);
    if (fd >= 0)
    {
        close(fd);
    }
    return ready;
}

uint32_t TestBroadcastAddress(bool privateNetwork)
{
    return privateNetwork ? kIpv4Broadcast : MakeIpv4(127, 255, 255, 255);
}
