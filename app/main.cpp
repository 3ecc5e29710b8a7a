#include <cstdio>

#include "platform/sdl/SdlPlatform.h"

int main()
{
    SdlPlatform platform;
    ScopedPlatform installed(platform);
    ShowMessage("The game's start-up is not built yet.");
    return 1;
}
