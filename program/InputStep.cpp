#include <algorithm>
#include <cstdlib>

#include "program/InputStep.h"

#include "app/clock/RaceClock.h"
#include "app/input/JoystickReader.h"
#include "net/NetSession.h"
#include "race/BikeRecord.h"
#include "race/PlayerInputState.h"
#include "race/RaceContext.h"

namespace
{
constexpr int kSensitivityBase = 100;
constexpr int kButtonThreshold = 63;  // a control counts as pressed above this
constexpr float kSteerLimit = 127.0f;

// The throttle rises and falls towards the pressed controls at the rate of their
// sensitivities, and never beyond what is pressed.
int8_t NextThrottleBrake(int old, int throttle, int brake, const ControlMap& map)
{
    const int blended = (throttle * (map.throttleSensitivity + kSensitivityBase) + old * 256 -
                         brake * (map.brakeSensitivity + kSensitivityBase)) /
                        200;
    return static_cast<int8_t>(std::clamp(blended, -brake, throttle));
}

// How far the steering may move in one input step: less the faster the bike goes, and not
// at all once the speed has used the whole steering rate up.
float SteeringChangeLimit(const ControlMap& map, const PlayerInputState& bike)
{
    const float change = static_cast<float>(map.steeringSensitivity + kSensitivityBase) *
                         (bike.SteeringRate() - bike.Speed() * 0.015f) * 5.08f * 0.0055555557f;
    return change > 0.0f ? change : 0.0f;
}

int8_t NextSteer(int old, int right, int left, bool holdReleasedKeys, float maxChange)
{
    const int pressed = right - left;
    float target = 0.0f;
    if (pressed != 0)
    {
        // A squared response, the sign kept: small deflections steer finely.
        target = static_cast<float>(std::abs(pressed) * pressed) * 0.007874016f;
    }
    else if (holdReleasedKeys)
    {
        target = static_cast<float>(old);
    }
    const float lowest = std::max(static_cast<float>(old) - maxChange, -kSteerLimit);
    const float highest = std::min(static_cast<float>(old) + maxChange, kSteerLimit);
    return static_cast<int8_t>(std::clamp(target, lowest, highest));
}

JoystickBlock WithReading(JoystickBlock block, const JoystickState& reading)
{
    block.axes = {static_cast<int32_t>(reading.x), static_cast<int32_t>(reading.y),
                  static_cast<int32_t>(reading.z), static_cast<int32_t>(reading.r)};
    block.buttons = reading.buttons;
    return block;
}

uint8_t ButtonBit(uint8_t control, const JoystickBlock& joystick, uint8_t bit)
{
    return ReadControl(control, joystick) > kButtonThreshold ? bit : 0;
}
}  // namespace

std::atomic<bool> g_joystickEnabled{false};
std::atomic<bool> g_lookBack{false};

void InputStep::Run(bool network, bool sessionRuns)
{
    if (g_joystickEnabled.load(std::memory_order_relaxed))
    {
        g_joystick.Poll();
    }
    SampleInput(network);
    if (network && !sessionRuns)
    {
        return;
    }
    g_inputTick.fetch_add(1, std::memory_order_relaxed);
    if (network)
    {
        g_net.SendInputFrames();
        g_net.RequestMissingInputs();
    }
}

bool InputStep::SetJoystickDefaults(bool joystickOption)
{
    const bool found = joystickOption && g_joystick.Init();
    if (found)
    {
        const std::lock_guard lock(inputMutex_);
        joystick_.calibration = {};
    }
    g_joystickEnabled = found;
    return found;
}

void InputStep::SetControlMap(const ControlMap& map)
{
    const std::lock_guard lock(inputMutex_);
    controlMap_ = map;
}

void InputStep::SampleInput(bool network)
{
    const uint32_t rider = g_playerRider.load(std::memory_order_relaxed);
    if (rider >= kRiderCount)
    {
        return;
    }
    const std::lock_guard lock(inputMutex_);
    const bool joystickEnabled = g_joystickEnabled.load(std::memory_order_relaxed);
    if (joystickEnabled)
    {
        joystick_ = WithReading(joystick_, g_joystick.GetState());
    }
    const ControlMap& map = controlMap_;

    const uint8_t throttle = ReadControl(map.throttle, joystick_);
    const uint8_t brake = ReadControl(map.brake, joystick_);
    controls_.throttleBrake = NextThrottleBrake(controls_.throttleBrake, throttle, brake, map);

    const uint8_t right = ReadControl(map.right, joystick_);
    const uint8_t left = ReadControl(map.left, joystick_);
    const bool keyboardSteering = IsKeyboardControl(map.left) && IsKeyboardControl(map.right);
    controls_.steer = NextSteer(controls_.steer, right, left, keyboardSteering && !AutoCentre(),
                                SteeringChangeLimit(map, g_playerInputState));

    // Without a joystick there is no clutch lever to read: the clutch stays engaged.
    controls_.clutch = static_cast<int8_t>(
        joystickEnabled ? ReadClutch(map.clutchSelector, joystick_) : kControlFull);

    // One after the other: a key read takes its pressed bit, so the order of the reads
    // matters when one key drives two controls.
    controls_.buttons = ButtonBit(map.shiftUp, joystick_, InputFrame::kShiftUp);
    controls_.buttons |= ButtonBit(map.shiftDown, joystick_, InputFrame::kShiftDown);
    controls_.buttons |= ButtonBit(map.wheelie, joystick_, InputFrame::kWheelie);
    controls_.buttons |= ButtonBit(map.lookBack, joystick_, InputFrame::kLookBack);
    g_lookBack.store((controls_.buttons & InputFrame::kLookBack) != 0, std::memory_order_relaxed);

    // Offline the input is used by the very next simulation step; in network play it waits
    // the input delay, so that it can reach the other machines in time.
    const uint32_t delay = network ? g_net.InputDelay() : 1;
    g_net.InputRingOf(rider).Publish(g_inputTick.load(std::memory_order_relaxed) + delay,
                                     controls_);
}
