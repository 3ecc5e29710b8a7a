#include "program/GameWindow.h"

#include <algorithm>

#include "app/clock/RaceClock.h"
#include "app/debug/DebugLog.h"
#include "app/device/RenderDevice.h"
#include "app/window/FrameTime.h"
#include "net/NetSession.h"

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
    g_net.SetWindow(this);
    CreateDebugLog();
    g_net.Attach(netLink_, netLink_, network_);
}

GameWindow::~GameWindow()
{
    g_net.SetWindow(nullptr);
    timerTick_.Stop();
    g_net.Detach();
    if (mouseCaptured_)
    {
        CurrentPlatform().CaptureMouse(false);
    }
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

void GameWindow::RequestQuit()
{
    if (IsQuitting())
    {
        return;
    }
    OutputWindow::RequestQuit();
    if (g_net.IsActive())
    {
        g_net.EndSession();
    }
}
