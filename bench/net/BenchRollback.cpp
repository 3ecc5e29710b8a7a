// A network client's longest rollback: the first difference found at the oldest step the
// state ring still holds (60 steps back, the ring reaching 64), restored from the host's
// state and simulated forward again inside one tick of the client, with the whole field of
// 26 riders. Goal: within one 60 Hz frame (16.7 ms).

#include <benchmark/benchmark.h>

#include "race/LockstepState.h"
#include "tests/race/support/HostStateSender.h"
#include "tests/race/support/TestRace.h"

namespace
{
constexpr uint32_t kRiders = 26;
constexpr uint32_t kRollbackSteps = 60;  // a multiple of 4 inside the ring's 64

void LongestRollback(benchmark::State& state)
{
    TestRace host(kRiders);
    TestRace client(kRiders);
    LockstepState hostState;
    LockstepState clientState;
    hostState.isHost = true;
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        hostState.riderPresent[rider] = true;
        clientState.riderPresent[rider] = true;
    }
    HostStateSender sender(host.Bikes(), clientState.hostStates);
    host.Sim().SetLockstep(&hostState);
    host.Sim().SetServices(&sender);
    client.Sim().SetLockstep(&clientState);
    while (client.Sim().TicksDone() < 200)
    {
        host.TickSteps(4);
        client.TickSteps(4);
    }
    for (auto _ : state)
    {
        state.PauseTiming();
        host.TickSteps(4);
        const uint32_t now = client.Sim().TicksDone();
        clientState.NoteDivergence(now - kRollbackSteps);
        state.ResumeTiming();
        client.TickSteps(4);
    }
    state.counters["skipped"] = client.Sim().SkippedRollbacks();
    host.Sim().SetServices(nullptr);
}
BENCHMARK(LongestRollback)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
