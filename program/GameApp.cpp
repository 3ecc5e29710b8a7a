#include "program/GameApp.h"

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
    const uint32_t result = window.Run();
    if (screenSaverWasOn)
    {
        platform.SetScreenSaverEnabled(true);
    }
    return result;
}
