#pragma once

// The joystick: the first of the machine's first two joysticks that answers, read on
// demand with each axis clamped to its calibration range. The timer tick polls it every
// input step and the settings page polls it on the main thread, so its state is kept under
// a lock of its own.

#include <array>
#include <cstdint>
#include <mutex>

#include "app/input/JoystickBlock.h"
#include "platform/Platform.h"

class JoystickReader
{
public:
    static constexpr int32_t kNoJoystick = -1;
    static constexpr int kReadAttempts = 5;  // per joystick, when looking for one

    // Looks for a joystick anew: true when one answered.
    bool Init();

    // Reads the joystick found by Init. False when it does not answer; the last reading
    // then stays as it was.
    bool Poll();

    // The last reading: clamped axes X, Y, Z, R and the button bits.
    JoystickState GetState() const;

    int32_t Id() const;
    uint32_t ReadCount() const;  // successful polls

private:
    mutable std::mutex mutex_;
    int32_t id_ = kNoJoystick;
    JoystickState state_;  // the axes stand at their centre until the first reading
    std::array<AxisCalibration, kJoystickAxisCount> calibration_{};
    uint32_t readCount_ = 0;
};

extern JoystickReader g_joystick;
