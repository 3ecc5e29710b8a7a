#pragma once

// The back buffer as a pixel surface, through the frame-buffer lock, which stays held until
// the next board work releases it.

#include <optional>

#include "render/draw/PixelSurface.h"

namespace render
{

class Screen;

// Nothing when the screen is not active or the lock cannot be taken.
std::optional<PixelSurface> LockBackBuffer(Screen& screen);

}  // namespace render
