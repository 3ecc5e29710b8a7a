#pragma once

// What the head-up display and its TV director ask of the parts around them: the marshal
// flags, the camera, the start schedule and the one rule the display itself decides. Each does
// nothing unless the race loop overrides it.

#include <cstdint>

class HudHooks
{
public:
    virtual ~HudHooks() = default;

    virtual void ShowMarshalFlag(int32_t /*flag*/) {}
    virtual void HideMarshalFlag() {}
    // The viewed rider rode the wrong way too long: race state 7, final status -5, the
    // disqualified bit, and the TV view.
    virtual void DisqualifyRider(uint32_t /*rider*/) {}

    virtual void SetViewedRider(uint32_t /*rider*/) {}
    virtual void SetTvView() {}  // the nearest TV camera
    virtual void SetTrailView() {}
    virtual void SetCloseView() {}
    virtual void SetOnBoardView() {}
    virtual void SetFinishView() {}
    virtual void SetTvAutoSwitch() {}

    // The start clock's rate and the input tick of the start, from the grid's length.
    virtual void SetStartSchedule(float /*clockRate*/, int32_t /*startTick*/) {}
};
