#pragma once

// The input step: every 40 ms of race time the timer tick samples the player's keys and
// joystick through the control map and publishes the result as the input frame of a coming
// simulation step in the player's input ring.
//
// Threads: Run runs on the timer thread; the setters run on the main thread. The joystick
// block, the control map and the controls carried from one step to the next are kept under
// one lock.

#include <atomic>
#include <mutex>

#include "app/input/ControlMap.h"
#include "app/input/JoystickBlock.h"
#include "race/InputRing.h"

// The joystick is read: it answered when the game last looked for it.
extern std::atomic<bool> g_joystickEnabled;
// The look-back control is held.
extern std::atomic<bool> g_lookBack;

class InputStep
{
public:
    // One step: polls the joystick, samples the player's controls into the player's input
    // ring and, unless a network session waits for its race, counts the step; in a running
    // network session the new inputs go out and missing ones are asked for.
    void Run(bool network, bool sessionRuns);

    // With the joystick option on, looks for a joystick and resets the calibration to its
    // defaults. Returns the option as it stands afterwards: off when no joystick answered.
    // g_joystickEnabled follows it.
    bool SetJoystickDefaults(bool joystickOption);

    // The controls that the step reads; the settings change them between races.
    void SetControlMap(const ControlMap& map);

    // The auto-centre (steering-aid) switch: while it is off, released steering keys hold
    // the steering where it is; while it is on, the steering returns towards the centre.
    void SetAutoCentre(bool on) { autoCentre_.store(on, std::memory_order_relaxed); }
    bool AutoCentre() const { return autoCentre_.load(std::memory_order_relaxed); }

private:
    void SampleInput(bool network);  // the player's controls into the player's input ring

    std::mutex inputMutex_;
    JoystickBlock joystick_;
    ControlMap controlMap_;
    InputFrame controls_;  // the player's controls, kept from one input step to the next
    std::atomic<bool> autoCentre_{false};
};
