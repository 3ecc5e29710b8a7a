// The controls panel's swap table: a key or joystick code for a waiting row moves the codes so
// that no code drives two controls, and the clutch keeps a whole axis.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "app/input/ControlMap.h"
#include "frontend/mainmenu/ControlAssignment.h"

namespace
{
// Throttle, brake, left, right, clutch, shift up, shift down, wheelie, look back.
using Codes = std::array<uint8_t, kControlRows>;
constexpr Codes kKeyboard = {'A', 'Y', vk::Left, vk::Right, 8, vk::Up, vk::Down, 'S', 'D'};
constexpr Codes kJoystick = {7, 6, 5, 4, 8, 0, 2, 1, 3};
}  // namespace

TEST(ControlAssignment, KeysSwapWithTheRowThatHeldThem)
{
    const struct
    {
        const char* name;
        Codes before;
        size_t waiting;
        uint8_t key;
        bool changed;
        Codes after;
    } cases[] = {
        {"brake takes the throttle's key",
         kKeyboard,
         1,
         'A',
         true,
         {'Y', 'A', vk::Left, vk::Right, 8, vk::Up, vk::Down, 'S', 'D'}},
        {"a free key",
         kKeyboard,
         7,
         'Q',
         true,
         {'A', 'Y', vk::Left, vk::Right, 8, vk::Up, vk::Down, 'Q', 'D'}},
        {"a key without a name", kKeyboard, 0, vk::F1, false, kKeyboard},
        {"the clutch row takes no key", kKeyboard, kClutchRow, 'Q', false, kKeyboard},
        // Backspace is 8 and the left mouse button 1: the numbers of joystick codes.
        {"Backspace is no Z axis", kKeyboard, 0, vk::Back, false, kKeyboard},
        {"a mouse click is no joystick button", kKeyboard, 0, vk::LeftButton, false, kKeyboard},
    };
    for (const auto& test : cases)
    {
        Codes codes = test.before;
        EXPECT_EQ(AssignKey(codes, test.waiting, test.key), test.changed) << test.name;
        EXPECT_EQ(codes, test.after) << test.name;
    }
}

TEST(ControlAssignment, JoystickCodesSwapAndTheClutchKeepsAWholeAxis)
{
    const struct
    {
        const char* name;
        Codes before;
        size_t waiting;
        uint8_t code;
        bool done;
        Codes after;
    } cases[] = {
        {"the row's own code", kJoystick, 0, 7, true, kJoystick},
        {"a button held by another row", kJoystick, 0, 2, true, {2, 6, 5, 4, 8, 0, 7, 1, 3}},
        {"the clutch ignores buttons", kJoystick, kClutchRow, 0, false, kJoystick},
        // The clutch moves to Y; the rows on Y+ and Y- take X+ and X-... of the clutch's Z.
        {"the clutch takes another axis",
         kJoystick,
         kClutchRow,
         6,
         true,
         {9, 8, 5, 4, 6, 0, 2, 1, 3}},
        // Throttle on Y+ (6) asks for Z- (9), the clutch's axis: the clutch moves to Y, and
        // the row on Y- (7) takes Z+.
        {"a direction of the clutch's axis",
         {6, 7, 5, 4, 8, 0, 2, 1, 3},
         0,
         9,
         true,
         {9, 8, 5, 4, 6, 0, 2, 1, 3}},
        {"the clutch's axis for a button row", kJoystick, 5, 8, true, kJoystick},
    };
    for (const auto& test : cases)
    {
        Codes codes = test.before;
        EXPECT_EQ(AssignJoystickCode(codes, test.waiting, test.code), test.done) << test.name;
        EXPECT_EQ(codes, test.after) << test.name;
    }
}

TEST(ControlAssignment, AStickHeldOverGivesOneCodeUntilItCentresAgain)
{
    JoystickCodeReader reader;
    JoystickBlock joystick;
    joystick.axes[1] = 0;  // Y pushed before the panel opened
    EXPECT_FALSE(reader.Read(joystick).has_value());
    joystick.axes[1] = 32768;
    EXPECT_FALSE(reader.Read(joystick).has_value());
    joystick.axes[1] = 2000;
    EXPECT_EQ(reader.Read(joystick), std::optional<uint8_t>(7));
    EXPECT_FALSE(reader.Read(joystick).has_value());

    // Two axes at once give nothing; a button wins over the axes.
    reader.Disarm();
    joystick.axes = {32768, 32768, 32768, 32768};
    reader.Read(joystick);
    joystick.axes = {65535, 32768, 0, 32768};
    EXPECT_FALSE(reader.Read(joystick).has_value());
    joystick.buttons = 0b1100;
    EXPECT_EQ(reader.Read(joystick), std::optional<uint8_t>(2));
}

TEST(ControlAssignment, CodesShowTheirNamesInBothLanguages)
{
    EXPECT_STREQ(ControlCodeName('A', Language::German), "A");
    EXPECT_STREQ(ControlCodeName(vk::Left, Language::German), "links");
    EXPECT_STREQ(ControlCodeName(vk::Left, Language::English), "left");
    EXPECT_STREQ(ControlCodeName(vk::LeftShift, Language::German), "L-Umsch.");
    EXPECT_STREQ(ControlCodeName(0x69, Language::English), "Num9");
    EXPECT_STREQ(ControlCodeName(3, Language::English), "Button 4");
    EXPECT_STREQ(ControlCodeName(6, Language::German), "Joy 1 Y-");
    EXPECT_STREQ(ControlCodeName(6, Language::English), "Joy 1 Y+");
    EXPECT_STREQ(ControlCodeName(11, Language::English), "Joy 2 Y-");
    EXPECT_STREQ(ControlCodeName(vk::F1, Language::English), "A");
    EXPECT_EQ(ControlCodePermission(vk::Return), 51);
}
