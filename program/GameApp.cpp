#include "program/GameApp.h"

#include "app/window/OutputWindow.h"
#include "platform/Platform.h"
#include "program/GameWindow.h"

uint32_t GameApp::InitInstance()
{
    GameWindow window;
    Platform& platform = CurrentPlatform();
    const bool screenSaverWasOn = platform.IsScreenSaverEnabled();
    if (screenSaverWasOn)
    {
        platform.SetScreenSaverEnabled(false);
    }
    SetMainWindow(&window);
    const uint32_t result = window.Run();
    SetMainWindow(nullptr);
    if (screenSaverWasOn)
    {
        platform.SetScreenSaverEnabled(true);
    }
    return result;
}
