#pragma once

// The joystick as the input step maps it: the four axes and the buttons as the joystick
// reader last delivered them, and the calibration that turns an axis into a control value.

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr size_t kJoystickAxisCount = 4;  // X, Y, Z, R in this order

struct AxisCalibration
{
    int32_t minimum = 0;
    int32_t centre = 32768;
    int32_t maximum = 65535;

    bool operator==(const AxisCalibration&) const = default;
};

struct JoystickBlock
{
    // Until the first reading the stick stands at its centre, so that a player without a
    // joystick steers, accelerates and brakes nothing through it.
    std::array<int32_t, kJoystickAxisCount> axes{32768, 32768, 32768, 32768};
    uint32_t buttons = 0;
    std::array<AxisCalibration, kJoystickAxisCount> calibration{};
};
