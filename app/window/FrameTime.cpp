#include "app/window/FrameTime.h"

#include "app/clock/RaceClock.h"

float g_frameDt = 0.0f;
float g_realFrameDt = 0.0f;
uint32_t g_realFrameMs = 0;
uint32_t g_lastFrameMs = 0;

void StepFrameTime()
{
    // Both clocks wrap; the unsigned difference stays right across the wrap.
    const uint32_t raceClockMs = g_raceClockMs.load(std::memory_order_relaxed);
    const uint32_t previousFrameMs =
        g_frameClockMs.exchange(raceClockMs, std::memory_order_relaxed);
    g_frameDt = static_cast<float>(raceClockMs - previousFrameMs) * 0.001f;

    const uint32_t timerMs = g_timerMs.load(std::memory_order_relaxed);
    g_realFrameDt = static_cast<float>(timerMs - g_lastFrameMs) * 0.001f;
    g_lastFrameMs = timerMs;
    g_realFrameMs = static_cast<uint32_t>(g_realFrameDt * 1000.0f);
}
