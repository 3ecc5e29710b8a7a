#pragma once

// The joystick: the first of the machine's first two joysticks that answers, read on
// demand with each axis clamped to its calibration range. The timer tick polls it every
// input step and the settings page polls it on the main thread, so its state is kept under
// a lock of its own. A companion thread, started by the first Init, reads the joystick every
// 50 ms and discards what it reads, until the reader goes.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "app/input/JoystickBlock.h"
#include "platform/Platform.h"

class JoystickReader
{
public:
    static constexpr int32_t kNoJoystick = -1;
    static constexpr int kReadAttempts = 5;  // per joystick, when looking for one
    static constexpr int kThreadPeriodMs = 50;

    JoystickReader() = default;
    ~JoystickReader();
    JoystickReader(const JoystickReader&) = delete;
    JoystickReader& operator=(const JoystickReader&) = delete;

    // Starts the companion thread when none runs, then looks for a joystick anew: true when
    // one answered.
    bool Init();

    // Thread control, from the thread that calls Init: true when this started or stopped the
    // companion thread, false when one runs already or none ran.
    bool StartThread();
    bool StopThread();

    // Reads the joystick found by Init. False when it does not answer; the last reading
    // then stays as it was.
    bool Poll();

    // The last reading: clamped axes X, Y, Z, R and the button bits.
    JoystickState GetState() const;

    int32_t Id() const;
    uint32_t ReadCount() const;  // successful polls

private:
    void ThreadProc();

    mutable std::mutex mutex_;
    int32_t id_ = kNoJoystick;
    JoystickState state_;  // the axes stand at their centre until the first reading
    std::array<AxisCalibration, kJoystickAxisCount> calibration_{};
    uint32_t readCount_ = 0;

    std::thread thread_;
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    bool stop_ = false;
};

extern JoystickReader g_joystick;
