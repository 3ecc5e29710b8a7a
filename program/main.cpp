// The game. It reads no command-line options: everything it needs is in its working directory.

#include "platform/sdl/SdlPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"

int main()
{
    SdlPlatform platform;
    const ScopedPlatform installed(platform);
    GameApp app;
    return app.InitInstance() == GameWindow::kRunEnded ? 0 : 1;
}
