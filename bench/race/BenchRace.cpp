// The race simulation on one core: whole races of computer riders on the demo circuit
// (simulated seconds per wall second, median of five, with the end checksum that a valid run
// must repeat), clean and with falls and attrition, over 1, 8, 16 and 26 riders; and the time
// of one step on the same ground meshed coarse (about 400 triangles) and fine (about 40,000):
// the wheels walk from their cached triangles, so the step time must not grow with the mesh.
// And the cost of falls: the field crashing and sliding against the clean race.

#include <benchmark/benchmark.h>

#include <cinttypes>
#include <cstdio>

#include "tests/race/support/HeadlessRace.h"
#include "tests/race/support/TestRace.h"

namespace
{
constexpr uint32_t kStepsPerFrame = 50;  // 2 s of race time per call

void RaceField(benchmark::State& state, float cellSize, bool falls = false,
               uint32_t restartSteps = 20000)
{
    const auto riders = static_cast<uint32_t>(state.range(0));
    TestRace race(riders, cellSize, falls);
    uint64_t steps = 0;
    for (auto _ : state)
    {
        if (race.Sim().TicksDone() >= restartSteps)
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
    state.counters["crashed"] = race.Sim().Collisions().CrashedCount();
}

void CoarseGround(benchmark::State& state)
{
    RaceField(state, 57.0f);
}
void FineGround(benchmark::State& state)
{
    RaceField(state, 5.7f);
}
// The first 24 s of the race again and again, without and with falls: with falls contacts
// bring riders down, and the field spiralling off the ground crashes, slides and tumbles
// (from about 11 s on).
constexpr uint32_t kOpeningSteps = 600;
void OpeningClean(benchmark::State& state)
{
    RaceField(state, 57.0f, false, kOpeningSteps);
}
void OpeningWithFalls(benchmark::State& state)
{
    RaceField(state, 57.0f, true, kOpeningSteps);
}

// A whole race of the given riders over 20 laps: args riders, falls and attrition (0/1).
constexpr uint32_t kRaceLaps = 20;
constexpr uint32_t kRaceStepLimit = kRaceLaps * 5 * 60 * 25;
void WholeRace(benchmark::State& state)
{
    HeadlessRaceOptions options;
    options.riders = static_cast<uint32_t>(state.range(0));
    options.laps = kRaceLaps;
    options.fallsAndAttrition = state.range(1) != 0;
    HeadlessRace race(options);
    double simulated = 0.0;
    bool finished = true;
    for (auto _ : state)
    {
        state.PauseTiming();
        race.Restart();
        state.ResumeTiming();
        finished = race.RunToEnd(kRaceStepLimit) && finished;
        simulated += race.RaceSeconds();
    }
    state.counters["realtime"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
    state.counters["race_s"] = race.RaceSeconds();
    state.counters["crashed"] = race.Sim().Collisions().CrashedCount();
    state.counters["out"] = race.RidersOut();
    char label[64];
    std::snprintf(label, sizeof label, "checksum %016" PRIx64 "%s", race.Checksum(),
                  finished ? "" : " UNFINISHED");
    state.SetLabel(label);
}
}  // namespace

BENCHMARK(WholeRace)
    ->ArgsProduct({{1, 8, 16, 26}, {0, 1}})
    ->ArgNames({"riders", "falls"})
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(CoarseGround)->Arg(1)->Arg(8)->Arg(26)->Unit(benchmark::kMicrosecond);
BENCHMARK(FineGround)->Arg(1)->Arg(8)->Arg(26)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpeningClean)->Arg(8)->Arg(26)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpeningWithFalls)->Arg(8)->Arg(26)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
