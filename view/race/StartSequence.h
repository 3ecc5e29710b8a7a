#pragma once

// The start of a race as the frames see it: the start lights' state from the simulation's
// step count against the start step, the pre-start clock, and the one-off moments the race
// frame acts on (the chosen camera view, the sound manager's start hook).
//
// Light states: -1 off, 0 before the procedure, 1..6 over the last 3 s, 7 at the start, 8
// shortly after; off again 1 s after the start. Main thread only.

#include <cstdint>

class StartSequence
{
public:
    static constexpr int32_t kLightsOff = -1;
    static constexpr uint32_t kProcedureSteps = 75;

    // What a frame must do besides.
    struct Moments
    {
        bool restoreView = false;  // the chosen camera view, once
        bool startSound = false;   // the sound manager's start hook, once
        bool started = false;      // the start step is reached: no more waiting
    };

    // For a new race: lights off, nothing done yet, the pre-start clock at 0.
    void Reset();

    // Esc before the start: the procedure runs again from its first light.
    void Restart();

    // One frame: ticksDone against startTick with a standing start (the start procedure's
    // switch) or not; waitingForStart is the race's flag.
    Moments Update(uint32_t ticksDone, uint32_t startTick, bool standingStart, bool waitingForStart,
                   float frameDt);

    int32_t lightState = kLightsOff;
    float preStartClock = 0.0f;
    float preStartRate = 1.0f;

private:
    bool procedureBegun_ = false;
    bool startReached_ = false;
    bool flyingStartTaken_ = false;
};
