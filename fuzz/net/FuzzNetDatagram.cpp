// Feeds the input as one datagram to a machine in every role a datagram can meet (host in its
// lobby, host running, client outside a session, in the lobby, in a race) and checks what
// must always hold: every value in range, and a datagram whose layout is not valid changes
// nothing and is not answered. A machine that a valid datagram changed is built again.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "tests/net/NetDatagramCases.h"

namespace
{
struct RoleMachine
{
    std::unique_ptr<RoleWorld> world;
    NetSessionSnapshot pristine{};
};

void Build(RoleMachine& machine, NetRole role)
{
    machine.world = std::make_unique<RoleWorld>(role);
    if (!machine.world->IsReady())
    {
        std::abort();
    }
    machine.pristine = machine.world->Target().Snapshot();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::array<RoleMachine, std::size(kNetRoles)> machines;
    const std::span<const uint8_t> datagram(data, size);
    const bool wellFormed = IsWellFormedNetDatagram(datagram);
    for (size_t index = 0; index < machines.size(); ++index)
    {
        RoleMachine& machine = machines[index];
        if (!machine.world)
        {
            Build(machine, kNetRoles[index]);
        }
        const uint64_t sent = machine.world->DatagramsSent();
        machine.world->Inject(datagram);
        const NetSessionSnapshot after = machine.world->Target().Snapshot();
        if (!BrokenInvariant(after).empty())
        {
            std::abort();
        }
        const bool unchanged = after == machine.pristine;
        if (!wellFormed && (!unchanged || machine.world->DatagramsSent() != sent + 1))
        {
            std::abort();
        }
        if (!unchanged)
        {
            machine.world.reset();
        }
    }
    return 0;
}
