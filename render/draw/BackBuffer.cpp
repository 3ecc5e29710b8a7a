#include "render/draw/BackBuffer.h"

#include "render/Screen.h"

namespace render
{

std::optional<PixelSurface> LockBackBuffer(Screen& screen)
{
    if (!screen.AcquireLfb())
    {
        return std::nullopt;
    }
    const LfbInfo locked = screen.LockedLfb();
    return PixelSurface{static_cast<uint8_t*>(locked.address), locked.stride, screen.Width(),
                        screen.Height()};
}

}  // namespace render
