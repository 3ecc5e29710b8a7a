#include <gtest/gtest.h>

#include <vector>

#include "platform/VirtualKeys.h"
#include "tests/program/TickFixture.h"

namespace
{

// Fast enough a steering rate that the change limit never binds.
constexpr float kQuickSteering = 100.0f;

ControlMap JoystickControls()
{
    ControlMap map;
    map.throttle = 7;  // Y below centre
    map.brake = 6;     // Y above centre
    map.left = 5;      // X below centre
    map.right = 4;     // X above centre
    map.clutchSelector = 8;
    map.shiftUp = 0;
    map.shiftDown = 2;
    map.wheelie = 1;
    map.lookBack = 3;
    return map;
}

class InputStepTest : public TickTest
{
protected:
    // The throttle/brake values of successive steps.
    std::vector<int> ThrottleSeries(int steps)
    {
        std::vector<int> series;
        for (int i = 0; i < steps; ++i)
        {
            RunInputSteps(1);
            series.push_back(LastInputs().throttleBrake);
        }
        return series;
    }
};

TEST_F(InputStepTest, ThrottleKeyFromRestGives63Then127AtSensitivityZero)
{
    ControlMap map;
    map.throttleSensitivity = 0;
    map.brakeSensitivity = 0;
    window_->Input().SetControlMap(map);

    PressKey(map.throttle);
    EXPECT_EQ(ThrottleSeries(3), (std::vector<int>{63, 127, 127}));

    // Never beyond what is pressed: from full throttle the brake first closes it, then
    // brakes 63 and 127.
    ReleaseKey(map.throttle);
    PressKey(map.brake);
    EXPECT_EQ(ThrottleSeries(3), (std::vector<int>{0, -63, -127}));
}

TEST_F(InputStepTest, AKeyTappedBetweenTwoStepsCountsForOneStep)
{
    ControlMap map;
    map.throttleSensitivity = 0;
    window_->Input().SetControlMap(map);
    PressKey(map.throttle);
    ReleaseKey(map.throttle);
    EXPECT_EQ(ThrottleSeries(2), (std::vector<int>{63, 0}));
}

TEST_F(InputStepTest, JoystickSteeringRespondsSquared)
{
    g_playerInputState.Publish(0.0f, kQuickSteering);
    window_->Input().SetControlMap(JoystickControls());
    struct Case
    {
        uint32_t x;
        int steer;
    };
    const Case cases[] = {
        {kStickMax, 127},  {kStickCentre + 16384, 31},  // half way reads 63: 63 x 63 / 127
        {kStickCentre, 0}, {kStickCentre - 16384, -31}, {kStickMin, -127},
    };
    PlugJoystick({});
    for (const Case& c : cases)
    {
        platform_.SetJoystick(0, {c.x, kStickCentre, kStickCentre, kStickCentre, 0});
        RunInputSteps(1);
        EXPECT_EQ(LastInputs().steer, c.steer) << "x " << c.x;
    }
}

TEST_F(InputStepTest, ReleasedSteeringKeysHoldWithAutoCentreOffAndReturnWithItOn)
{
    const ControlMap map;
    g_playerInputState.Publish(0.0f, 1.0f);
    // At standstill the steering moves (80 + 100) x 1.0 x 5.08 / 180 = 5.08 a step.
    PressKey(map.right);
    RunInputSteps(4);
    EXPECT_EQ(LastInputs().steer, 20);
    ReleaseKey(map.right);

    RunInputSteps(3);
    EXPECT_EQ(LastInputs().steer, 20) << "held";

    window_->Input().SetAutoCentre(true);
    std::vector<int> back;
    for (int i = 0; i < 5; ++i)
    {
        RunInputSteps(1);
        back.push_back(LastInputs().steer);
    }
    EXPECT_EQ(back, (std::vector<int>{14, 8, 2, 0, 0}));
}

TEST_F(InputStepTest, SteeringChangeLimitShrinksWithSpeedAndNeverTurnsNegative)
{
    const ControlMap map;
    struct Case
    {
        float speed;
        int steerAfterTwoSteps;
    };
    const Case cases[] = {
        {0.0f, 10},  // 5.08 a step
        {40.0f, 4},  // 2.032 a step
        {70.0f, 0},  // 1.0 - 70 x 0.015 < 0: the steering stays where it is
    };
    window_->Input().SetAutoCentre(true);
    for (const Case& c : cases)
    {
        ClearAllKeys();
        g_playerInputState.Publish(0.0f, 1.0f);
        RunInputSteps(5);  // back to the centre
        ASSERT_EQ(LastInputs().steer, 0);

        g_playerInputState.Publish(c.speed, 1.0f);
        PressKey(map.right);
        RunInputSteps(2);
        EXPECT_EQ(LastInputs().steer, c.steerAfterTwoSteps) << "speed " << c.speed;
    }
}

TEST_F(InputStepTest, ClutchFollowsTheSelectedAxis)
{
    struct Case
    {
        uint8_t selector;
        uint32_t z;
        uint32_t r;
        int clutch;
    };
    const Case cases[] = {
        {8, kStickMax, kStickMin, 127},                                   // Z over its whole range
        {8, kStickCentre, kStickMin, 63},  {9, kStickMax, kStickMin, 0},  // Z inverted
        {10, kStickMax, kStickCentre, 63},                                // R
        {11, kStickMax, kStickMin, 127},                                  // R inverted
        {0, kStickMin, kStickMin, 127},                                   // not an axis: engaged
        {13, kStickMin, kStickMin, 127},
    };
    PlugJoystick({});
    for (const Case& c : cases)
    {
        ControlMap map;
        map.clutchSelector = c.selector;
        window_->Input().SetControlMap(map);
        platform_.SetJoystick(0, {kStickCentre, kStickCentre, c.z, c.r, 0});
        RunInputSteps(1);
        EXPECT_EQ(LastInputs().clutch, c.clutch) << "selector " << int{c.selector};
    }
}

TEST_F(InputStepTest, WithoutAJoystickTheGameRunsOnTheKeyboardWithTheClutchEngaged)
{
    EXPECT_FALSE(window_->Input().SetJoystickDefaults(true));
    EXPECT_FALSE(g_joystickEnabled.load());

    const ControlMap map;  // the Z axis as clutch, keys for the rest
    PressKey(map.throttle);
    PressKey(map.shiftUp);
    RunInputSteps(1);
    const InputFrame inputs = LastInputs();
    EXPECT_EQ(inputs.clutch, 127);
    EXPECT_GT(inputs.throttleBrake, 0);
    EXPECT_EQ(inputs.buttons, InputFrame::kShiftUp);
}

TEST_F(InputStepTest, AJoystickSwitchedOffIsNotRead)
{
    platform_.SetJoystick(0, {kStickCentre, kStickMin, kStickCentre, kStickCentre, 0});
    EXPECT_FALSE(window_->Input().SetJoystickDefaults(false));
    EXPECT_FALSE(g_joystickEnabled.load());
    window_->Input().SetControlMap(JoystickControls());
    RunInputSteps(1);
    EXPECT_EQ(LastInputs().throttleBrake, 0);
}

TEST_F(InputStepTest, ButtonsSetTheirBitsTheWheelieFieldAndLookBack)
{
    window_->Input().SetControlMap(JoystickControls());
    struct Case
    {
        uint32_t joystickButtons;
        uint8_t bits;
    };
    const Case cases[] = {
        {0b0001, InputFrame::kShiftUp},
        {0b0100, InputFrame::kShiftDown},
        {0b0010, InputFrame::kWheelie},
        {0b1000, InputFrame::kLookBack},
        {0b1111, 0b1111},
        {0, 0},
    };
    PlugJoystick({});
    for (const Case& c : cases)
    {
        platform_.SetJoystick(
            0, {kStickCentre, kStickCentre, kStickCentre, kStickCentre, c.joystickButtons});
        RunInputSteps(1);
        EXPECT_EQ(LastInputs().buttons, c.bits) << "buttons " << c.joystickButtons;
        EXPECT_EQ(g_lookBack.load(), (c.bits & InputFrame::kLookBack) != 0);
    }
}

TEST_F(InputStepTest, JoystickThrottleAndBrakeScaleWithTheStick)
{
    ControlMap map = JoystickControls();
    map.throttleSensitivity = 100;
    map.brakeSensitivity = 100;
    window_->Input().SetControlMap(map);
    PlugJoystick({});

    platform_.SetJoystick(0, {kStickCentre, kStickMin, kStickCentre, kStickCentre, 0});
    RunInputSteps(1);
    EXPECT_EQ(LastInputs().throttleBrake, 127);  // 127 x 200 / 200

    platform_.SetJoystick(0, {kStickCentre, kStickCentre + 16384, kStickCentre, kStickCentre, 0});
    RunInputSteps(1);
    // Brake 63: (127 x 256 - 63 x 200) / 200 = 99, no further than -63 .. 0.
    EXPECT_EQ(LastInputs().throttleBrake, 0);
    RunInputSteps(1);
    EXPECT_EQ(LastInputs().throttleBrake, -63);
}

}  // namespace
