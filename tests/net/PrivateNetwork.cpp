#include "tests/net/PrivateNetwork.h"

#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

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
}  // namespace

bool EnterPrivateNetwork()
{
    if (unshare(CLONE_NEWNET) != 0)
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
