#include "app/window/GameWindow.h"

#include <algorithm>

#include "app/clock/RaceClock.h"
#include "app/debug/DebugLog.h"
#include "app/input/JoystickReader.h"
#include "app/render/RenderDevice.h"
#include "app/window/FrameTime.h"

std::atomic<bool> g_joystickEnabled{false};
std::atomic<bool> g_lookBack{false};
ScreenMode g_displayMode;

GameWindow::GameWindow()
{
    g_clockHold = false;
    g_pumpWatchdogMs = 0;
    g_raceClockMs = 0;
    g_frameClockMs = 0;
    g_timerMs = 0;
    g_ticksDone = 0;
    g_inputStepMs = 0;
    g_inputTick = 0;
    g_lastFrameMs = 0;
    g_realFrameDt = 0.0f;
    CreateDebugLog();
}

GameWindow::~GameWindow()
{
    StopTimer();
    if (mouseCaptured_)
    {
        CurrentPlatform().CaptureMouse(false);
    }
}

bool GameWindow::StartTimer()
{
    StopTimer();
    Platform& platform = CurrentPlatform();
    timerId_ = platform.StartPeriodicTimer(kTimerPeriodMs, [this] { OnTimerTick(); });
    if (timerId_ == 0)
    {
        ShowMessage("Timer initialization failed!");
        return false;
    }
    timerPlatform_ = &platform;
    return true;
}

void GameWindow::StopTimer()
{
    if (timerId_ == 0)
    {
        return;
    }
    timerPlatform_->KillTimer(timerId_);
    timerId_ = 0;
    timerPlatform_ = nullptr;
}

bool GameWindow::SetJoystickDefaults(bool joystickOption)
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

void GameWindow::SetControlMap(const ControlMap& map)
{
    const std::lock_guard lock(inputMutex_);
    controlMap_ = map;
}

void GameWindow::SetWaveOutput(WaveOutput* output)
{
    const std::lock_guard lock(soundMutex_);
    waveOutput_ = output;
}

ViewPoint GameWindow::GetMousePosition(bool centred) const
{
    constexpr int32_t kPictureWidth = 640;
    constexpr int32_t kPictureHeight = 480;
    const PicturePoint cursor = CurrentPlatform().MousePosition();
    const int32_t viewWidth = g_renderDevice.ScreenWidth();
    const int32_t viewHeight = g_renderDevice.ScreenHeight();
    const ViewPoint point = {
        std::clamp(cursor.x * viewWidth / kPictureWidth, 0, kPictureWidth - 1),
        std::clamp(cursor.y * viewHeight / kPictureHeight, 0, kPictureHeight - 1),
    };
    if (!centred)
    {
        return point;
    }
    return {point.x - viewWidth / 2, viewHeight / 2 - point.y};
}
