#include "app/input/ControlMap.h"

#include <algorithm>

#include "app/input/KeyState.h"

namespace
{
constexpr uint8_t kButtonControls = 4;
constexpr size_t kFirstClutchAxisSelector = 2;

// part x 127 / whole within 0..127. A calibration without a range (whole 0) reads as the
// control not applied.
uint8_t Scale(int64_t part, int64_t whole)
{
    if (whole == 0)
    {
        return 0;
    }
    return static_cast<uint8_t>(std::clamp<int64_t>(part * kControlFull / whole, 0, kControlFull));
}

uint8_t ReadAxisDirection(uint8_t code, const JoystickBlock& joystick)
{
    const size_t axis = (code - kButtonControls) / 2;
    const bool belowCentre = (code & 1) != 0;
    const int64_t value = joystick.axes[axis];
    const AxisCalibration& range = joystick.calibration[axis];
    if (belowCentre)
    {
        return value < range.centre ? Scale(range.centre - value, range.centre - range.minimum) : 0;
    }
    return value > range.centre ? Scale(value - range.centre, range.maximum - range.centre) : 0;
}
}  // namespace

ControlMap ControlMap::FromBytes(std::span<const uint8_t, kSize> bytes)
{
    return {bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],  bytes[5],
            bytes[6], bytes[7], bytes[8], bytes[9], bytes[10], bytes[11]};
}

uint8_t ReadControl(uint8_t code, const JoystickBlock& joystick)
{
    if (code < kButtonControls)
    {
        return (joystick.buttons >> code & 1) != 0 ? kControlFull : 0;
    }
    if (!IsKeyboardControl(code))
    {
        return ReadAxisDirection(code, joystick);
    }
    return ReadKey(code) != 0 ? kControlFull : 0;
}

uint8_t ReadClutch(uint8_t selector, const JoystickBlock& joystick)
{
    const size_t axisSelector = selector / 2;
    if (axisSelector < kFirstClutchAxisSelector ||
        axisSelector >= kFirstClutchAxisSelector + kJoystickAxisCount)
    {
        return kControlFull;
    }
    const size_t axis = axisSelector - kFirstClutchAxisSelector;
    const AxisCalibration& range = joystick.calibration[axis];
    // Without a range the lever cannot be read; an engaged clutch keeps the bike drivable.
    if (range.maximum == range.minimum)
    {
        return kControlFull;
    }
    const uint8_t engaged =
        Scale(int64_t{joystick.axes[axis]} - range.minimum, int64_t{range.maximum} - range.minimum);
    const bool inverted = (selector & 1) != 0;
    return inverted ? static_cast<uint8_t>(kControlFull - engaged) : engaged;
}
