#include "platform/Platform.h"

#include <cassert>

#include "core/util/Message.h"

namespace
{
Platform* g_platform = nullptr;

void ShowOnPlatform(std::string_view text)
{
    g_platform->ShowMessageBox(text);
}
}  // namespace

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
    SetMessageSink(ShowOnPlatform);
}

ScopedPlatform::~ScopedPlatform()
{
    g_platform = previous_;
    SetMessageSink(previous_ != nullptr ? ShowOnPlatform : nullptr);
}
