#include "app/input/JoystickReader.h"

#include <algorithm>
#include <chrono>
#include <system_error>

JoystickReader g_joystick;

namespace
{
constexpr int kJoysticksSearched = 2;

// Sequential, so that a calibration whose minimum lies above its maximum still gives a
// defined value (the maximum).
uint32_t ClampToCalibration(uint32_t value, const AxisCalibration& range)
{
    const int64_t atLeastMinimum = std::max<int64_t>(value, range.minimum);
    return static_cast<uint32_t>(
        std::max<int64_t>(std::min<int64_t>(atLeastMinimum, range.maximum), 0));
}

bool Answers(Platform& platform, int index)
{
    JoystickState ignored;
    for (int attempt = 0; attempt < JoystickReader::kReadAttempts; ++attempt)
    {
        if (platform.ReadJoystick(index, ignored))
        {
            return true;
        }
    }
    return false;
}
}  // namespace

JoystickReader::~JoystickReader()
{
    StopThread();
}

bool JoystickReader::StartThread()
{
    if (thread_.joinable())
    {
        return false;
    }
    {
        const std::lock_guard lock(stopMutex_);
        stop_ = false;
    }
    try
    {
        thread_ = std::thread(&JoystickReader::ThreadProc, this);
    }
    catch (const std::system_error&)
    {
        return false;
    }
    return true;
}

bool JoystickReader::StopThread()
{
    if (!thread_.joinable())
    {
        return false;
    }
    {
        const std::lock_guard lock(stopMutex_);
        stop_ = true;
    }
    stopSignal_.notify_all();
    thread_.join();
    return true;
}

// Keeps the joystick's driver awake; the reading itself is not used. The platform may be a
// test's that goes before this reader does, hence the guarded use.
void JoystickReader::ThreadProc()
{
    std::unique_lock lock(stopMutex_);
    while (!stopSignal_.wait_for(lock, std::chrono::milliseconds(kThreadPeriodMs),
                                 [this] { return stop_; }))
    {
        const int32_t id = Id();
        if (id != kNoJoystick)
        {
            WithCurrentPlatform(
                [id](Platform& platform)
                {
                    JoystickState discarded;
                    platform.ReadJoystick(id, discarded);
                });
        }
    }
}

bool JoystickReader::Init()
{
    StartThread();
    Platform& platform = CurrentPlatform();
    const std::lock_guard lock(mutex_);
    id_ = kNoJoystick;
    if (platform.JoystickCount() <= 0)
    {
        return false;
    }
    state_.buttons = 0;
    for (int index = 0; index < kJoysticksSearched; ++index)
    {
        if (Answers(platform, index))
        {
            id_ = index;
            return true;
        }
    }
    return false;
}

bool JoystickReader::Poll()
{
    Platform& platform = CurrentPlatform();
    const std::lock_guard lock(mutex_);
    JoystickState reading;
    if (id_ == kNoJoystick || !platform.ReadJoystick(id_, reading))
    {
        return false;
    }
    state_.x = ClampToCalibration(reading.x, calibration_[0]);
    state_.y = ClampToCalibration(reading.y, calibration_[1]);
    state_.z = ClampToCalibration(reading.z, calibration_[2]);
    state_.r = ClampToCalibration(reading.r, calibration_[3]);
    state_.buttons = reading.buttons;
    ++readCount_;
    return true;
}

JoystickState JoystickReader::GetState() const
{
    const std::lock_guard lock(mutex_);
    return state_;
}

int32_t JoystickReader::Id() const
{
    const std::lock_guard lock(mutex_);
    return id_;
}

uint32_t JoystickReader::ReadCount() const
{
    const std::lock_guard lock(mutex_);
    return readCount_;
}
