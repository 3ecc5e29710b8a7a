#include "app/input/JoystickReader.h"

#include <algorithm>

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

bool JoystickReader::Init()
{
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
