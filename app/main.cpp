// The game. It reads no command-line options: everything it needs is in its working directory.

#include "app/window/GameApp.h"
#include "app/window/GameWindow.h"
#include "platform/sdl/SdlPlatform.h"

int main()
{
    SdlPlatform platform;
    const ScopedPlatform installed(platform);
    GameApp app;
    return app.InitInstance() == GameWindow::kRunEnded ? 0 : 1;
}
