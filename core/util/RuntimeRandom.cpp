#include "core/util/RuntimeRandom.h"

#include <atomic>

namespace
{
// Shared by the main thread and the timer thread; the exchange loop makes every call take
// exactly one step of the sequence, whoever calls.
std::atomic<uint32_t> g_runtimeRandomState{1};

constexpr uint32_t NextState(uint32_t state)
{
    return state * 214013u + 2531011u;
}
}  // namespace

int RuntimeRand()
{
    uint32_t state = g_runtimeRandomState.load(std::memory_order_relaxed);
    while (!g_runtimeRandomState.compare_exchange_weak(state, NextState(state),
                                                       std::memory_order_relaxed))
    {
    }
    return static_cast<int>((NextState(state) >> 16) & kRuntimeRandMax);
}

void RuntimeSeed(uint32_t seed)
{
    g_runtimeRandomState.store(seed, std::memory_order_relaxed);
}
