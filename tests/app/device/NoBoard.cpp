// A build of the render library on a machine without a 3D board: the board is looked for
// when the game starts the library, and none is found.

#include "glide/GlideOptions.h"

namespace
{
[[maybe_unused]] const bool kNoBoard = []
{
    SetGlideOptions({.boardCount = 0});
    return true;
}();
}  // namespace
