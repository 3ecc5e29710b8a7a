#include "app/debug/CycleTimer.h"

#if defined(__x86_64__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

CycleTimer g_cycleTimer;

namespace
{

uint64_t ReadCounter()
{
#if defined(__x86_64__)
    return __rdtsc();
#else
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
#endif
}

}  // namespace

void CycleTimer::Start()
{
    startCount_ = ReadCounter();
}

// Unsigned, so a counter that wrapped since Start still gives the right difference.
uint64_t CycleTimer::Elapsed() const
{
    return ReadCounter() - startCount_;
}
