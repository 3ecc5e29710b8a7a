#include "platform/Platform.h"

#include <cassert>
#include <cstdio>

#include "platform/Windows1252.h"

namespace
{
Platform* g_platform = nullptr;
}

Platform& CurrentPlatform()
{
    assert(g_platform != nullptr && "no platform installed");
    return *g_platform;
}

bool HasPlatform()
{
    return g_platform != nullptr;
}

ScopedPlatform::ScopedPlatform(Platform& platform) : previous_(g_platform)
{
    g_platform = &platform;
}

ScopedPlatform::~ScopedPlatform()
{
    g_platform = previous_;
}

void ShowMessage(std::string_view text)
{
    if (g_platform != nullptr)
    {
        g_platform->ShowMessageBox(text);
        return;
    }
    std::fprintf(stderr, "Zarvo: %s\n", Windows1252ToUtf8(text).c_str());
}
