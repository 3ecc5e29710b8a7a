// The race simulation on one core: simulated seconds per wall second with a field of riders,
// and the time of one step on the same ground meshed coarse (about 400 triangles) and fine
// (about 40,000): the wheels walk from their cached triangles, so the step time must not grow
// with the mesh.

#include <benchmark/benchmark.h>

#include "tests/race/support/TestRace.h"

namespace
{
constexpr uint32_t kStepsPerFrame = 50;  // 2 s of race time per call

void RaceField(benchmark::State& state, float cellSize)
{
    const auto riders = static_cast<uint32_t>(state.range(0));
    TestRace race(riders, cellSize);
    uint64_t steps = 0;
    for (auto _ : state)
    {
        if (race.Sim().TicksDone() > 20000)
        {
            state.PauseTiming();
            race.Restart();
            state.ResumeTiming();
        }
        race.TickSteps(kStepsPerFrame);
        steps += kStepsPerFrame;
    }
    // Race seconds per wall second.
    state.counters["realtime"] =
        benchmark::Counter(static_cast<double>(steps) * 0.04, benchmark::Counter::kIsRate);
    state.counters["triangles"] = race.Ground().Count();
    state.counters["fallbacks"] = race.Sim().GroundFallbacks();
}

void CoarseGround(benchmark::State& state)
{
    RaceField(state, 57.0f);
}
void FineGround(benchmark::State& state)
{
    RaceField(state, 5.7f);
}
}  // namespace

BENCHMARK(CoarseGround)->Arg(1)->Arg(8)->Arg(26)->Unit(benchmark::kMicrosecond);
BENCHMARK(FineGround)->Arg(1)->Arg(8)->Arg(26)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
