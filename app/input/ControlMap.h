#pragma once

// The player's control assignment: which key, joystick button or joystick axis direction
// drives each control, and the three sensitivities. The settings record keeps it as twelve
// bytes in the order of the fields below.
//
// Control codes: 0..3 joystick button 0..3; 4..11 an axis direction (4 X above centre,
// 5 X below, 6 and 7 Y, 8 and 9 Z, 10 and 11 R); 12..255 a keyboard virtual-key code.
// The clutch holds an axis selector instead: (value / 2) = 2..5 takes the X, Y, Z or R axis
// over its whole range, bit 0 inverts it, and any other value keeps the clutch engaged.

#include <cstddef>
#include <cstdint>
#include <span>

#include "app/input/JoystickBlock.h"
#include "platform/VirtualKeys.h"

inline constexpr uint8_t kFirstKeyboardControl = 12;
inline constexpr uint8_t kControlFull = 127;  // a control fully applied, or an engaged clutch

struct ControlMap
{
    static constexpr size_t kSize = 12;

    uint8_t throttle = vk::Letter('A');
    uint8_t brake = vk::Letter('Y');
    uint8_t left = vk::Left;
    uint8_t right = vk::Right;
    uint8_t clutchSelector = 8;  // the Z axis
    uint8_t shiftUp = vk::Up;
    uint8_t shiftDown = vk::Down;
    uint8_t wheelie = vk::Letter('S');
    uint8_t lookBack = vk::Letter('D');
    // Each sensitivity s weighs as s + 100.
    uint8_t throttleSensitivity = 50;
    uint8_t brakeSensitivity = 100;
    uint8_t steeringSensitivity = 80;

    static ControlMap FromBytes(std::span<const uint8_t, kSize> bytes);

    bool operator==(const ControlMap&) const = default;
};

inline bool IsKeyboardControl(uint8_t code)
{
    return code >= kFirstKeyboardControl;
}

// How far one control is applied, 0..127. A key's pressed bit is taken by the read, so a
// tap shorter than an input step still counts once.
uint8_t ReadControl(uint8_t code, const JoystickBlock& joystick);

// Clutch engagement 0..127 (127 = fully engaged) from the clutch selector.
uint8_t ReadClutch(uint8_t selector, const JoystickBlock& joystick);
