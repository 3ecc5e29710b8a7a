#include "platform/Platform.h"

#include <atomic>
#include <cassert>
#include <mutex>
#include <shared_mutex>

#include "core/util/Message.h"

namespace
{
std::atomic<Platform*> g_platform{nullptr};

// Held shared while a thread of our own uses the platform, exclusively while one is installed
// or taken away. Never destroyed: such a thread may still run while statics go at exit.
std::shared_mutex& PlatformUse()
{
    static auto* use = new std::shared_mutex;
    return *use;
}

void ShowOnPlatform(std::string_view text)
{
    g_platform.load()->ShowMessageBox(text);
}
}  // namespace

Platform& CurrentPlatform()
{
    Platform* const platform = g_platform.load();
    assert(platform != nullptr && "no platform installed");
    return *platform;
}

bool HasPlatform()
{
    return g_platform != nullptr;
}

bool WithCurrentPlatform(const std::function<void(Platform&)>& use)
{
    const std::shared_lock inUse(PlatformUse());
    Platform* const platform = g_platform.load();
    if (platform == nullptr)
    {
        return false;
    }
    use(*platform);
    return true;
}

ScopedPlatform::ScopedPlatform(Platform& platform)
{
    const std::unique_lock change(PlatformUse());
    previous_ = g_platform.exchange(&platform);
    SetMessageSink(ShowOnPlatform);
}

ScopedPlatform::~ScopedPlatform()
{
    const std::unique_lock change(PlatformUse());
    g_platform = previous_;
    SetMessageSink(previous_ != nullptr ? ShowOnPlatform : nullptr);
}
