#include "view/race/StartSequence.h"

namespace
{
// Light state from the steps still to go: after start - 73 state 2, after - 50 state 3 ...
struct LightStep
{
    int32_t after;  // steps relative to the start
    int32_t state;
};
constexpr LightStep kCountdown[] = {{-23, 6}, {-25, 5}, {-48, 4}, {-50, 3}, {-73, 2}};
}  // namespace

void StartSequence::Reset()
{
    lightState = kLightsOff;
    preStartClock = 0.0f;
    procedureBegun_ = false;
    startReached_ = false;
    flyingStartTaken_ = false;
}

void StartSequence::Restart()
{
    lightState = kLightsOff;
    procedureBegun_ = false;
}

StartSequence::Moments StartSequence::Update(uint32_t ticksDone, uint32_t startTick,
                                             bool standingStart, bool waitingForStart,
                                             float frameDt)
{
    Moments moments;
    if (!standingStart)
    {
        if (waitingForStart && !flyingStartTaken_)
        {
            flyingStartTaken_ = true;
            moments.restoreView = true;
            moments.started = true;
        }
        return moments;
    }
    // Signed: a start step below 75 still runs the whole procedure.
    const auto relative = static_cast<int32_t>(ticksDone - startTick);
    if (relative < 0)
    {
        if (relative < -static_cast<int32_t>(kProcedureSteps))
        {
            preStartClock += frameDt * preStartRate;
            return moments;
        }
        if (!procedureBegun_)
        {
            procedureBegun_ = true;
            moments.restoreView = true;
            moments.startSound = true;
            lightState = 1;
        }
        for (const LightStep& step : kCountdown)
        {
            if (relative > step.after)
            {
                lightState = step.state;
                break;
            }
        }
        preStartClock += frameDt;
        return moments;
    }
    preStartClock += frameDt;
    if (!startReached_)
    {
        startReached_ = true;
        moments.started = true;
        lightState = 7;
    }
    if (relative > 25)
    {
        lightState = kLightsOff;
    }
    else if (relative > 2)
    {
        lightState = 8;
    }
    return moments;
}
