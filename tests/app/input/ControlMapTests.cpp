#include "app/input/ControlMap.h"

#include <gtest/gtest.h>

#include <array>

#include "app/input/KeyState.h"

namespace
{

JoystickBlock Stick(int32_t x, int32_t y, int32_t z, int32_t r, uint32_t buttons = 0)
{
    JoystickBlock block;
    block.axes = {x, y, z, r};
    block.buttons = buttons;
    return block;
}

TEST(ReadControlTest, MapsButtonsAndAxisDirections)
{
    struct Case
    {
        uint8_t code;
        JoystickBlock joystick;
        uint8_t value;
    };
    const Case cases[] = {
        {0, Stick(32768, 32768, 32768, 32768, 0b0001), 127},
        {3, Stick(32768, 32768, 32768, 32768, 0b0111), 0},
        {4, Stick(65535, 32768, 32768, 32768), 127},  // X above centre
        {4, Stick(49152, 32768, 32768, 32768), 63},
        {4, Stick(0, 32768, 32768, 32768), 0},
        {5, Stick(0, 32768, 32768, 32768), 127},  // X below centre
        {5, Stick(65535, 32768, 32768, 32768), 0},
        {7, Stick(32768, 16384, 32768, 32768), 63},   // Y below centre
        {8, Stick(32768, 32768, 65535, 32768), 127},  // Z above centre
        {11, Stick(32768, 32768, 32768, 0), 127},     // R below centre
        {11, Stick(32768, 32768, 32768, 32768), 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ReadControl(c.code, c.joystick), c.value) << "code " << int{c.code};
    }
}

TEST(ReadControlTest, StaysWithinItsRangeWhateverTheCalibration)
{
    JoystickBlock beyond = Stick(70000, -5000, 32768, 32768);
    EXPECT_EQ(ReadControl(4, beyond), 127) << "beyond the maximum";
    EXPECT_EQ(ReadControl(7, beyond), 127) << "beyond the minimum";

    // A calibration without a range on one side reads 0 on that side.
    JoystickBlock flat = Stick(40000, 20000, 32768, 32768);
    flat.calibration[0] = {0, 30000, 30000};
    flat.calibration[1] = {30000, 30000, 65535};
    EXPECT_EQ(ReadControl(4, flat), 0);
    EXPECT_EQ(ReadControl(7, flat), 0);
    EXPECT_EQ(ReadControl(5, flat), 0);
    EXPECT_EQ(ReadControl(6, flat), 0);
}

TEST(ReadControlTest, KeysReadTheKeyTable)
{
    ClearAllKeys();
    const JoystickBlock joystick;
    EXPECT_EQ(ReadControl(vk::Letter('A'), joystick), 0);
    PressKey(vk::Letter('A'));
    ReleaseKey(vk::Letter('A'));
    EXPECT_EQ(ReadControl(vk::Letter('A'), joystick), 127) << "a press not read yet";
    EXPECT_EQ(ReadControl(vk::Letter('A'), joystick), 0);
    PressKey(kFirstKeyboardControl);
    EXPECT_EQ(ReadControl(kFirstKeyboardControl, joystick), 127);
    ClearAllKeys();
}

TEST(ReadClutchTest, AnAxisWithoutRangeKeepsTheClutchEngaged)
{
    JoystickBlock joystick = Stick(32768, 32768, 0, 32768);
    joystick.calibration[2] = {5000, 5000, 5000};
    EXPECT_EQ(ReadClutch(8, joystick), 127);
    EXPECT_EQ(ReadClutch(9, joystick), 127);
    joystick.calibration[2] = {0, 32768, 65535};
    EXPECT_EQ(ReadClutch(8, joystick), 0);
    EXPECT_EQ(ReadClutch(9, joystick), 127);
}

TEST(ControlMapTest, TakesTheSettingsBytesInOrder)
{
    const std::array<uint8_t, ControlMap::kSize> bytes = {7, 6, 5, 4, 8, 0, 2, 1, 3, 100, 90, 80};
    const ControlMap map = ControlMap::FromBytes(bytes);
    EXPECT_EQ(map.throttle, 7);
    EXPECT_EQ(map.clutchSelector, 8);
    EXPECT_EQ(map.lookBack, 3);
    EXPECT_EQ(map.throttleSensitivity, 100);
    EXPECT_EQ(map.steeringSensitivity, 80);
    const ControlMap defaults;
    EXPECT_NE(map, defaults);
    EXPECT_EQ(defaults.brake, 'Y');
    EXPECT_TRUE(IsKeyboardControl(defaults.left) && IsKeyboardControl(defaults.right));
}

}  // namespace
