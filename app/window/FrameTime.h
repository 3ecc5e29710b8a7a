#pragma once

// The time step of the current frame, taken once a frame by every screen loop. Main thread
// only.

#include <cstdint>

// Race time since the previous frame, in seconds.
extern float g_frameDt;
// Real time since the previous frame: seconds, and whole ms.
extern float g_realFrameDt;
extern uint32_t g_realFrameMs;
// The free-running timer as the previous frame took it.
extern uint32_t g_lastFrameMs;

// The frame's time step: g_frameDt from the race clock, g_realFrameDt from the free-running
// timer.
void StepFrameTime();
