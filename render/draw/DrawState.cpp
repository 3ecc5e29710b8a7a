#include "render/draw/DrawState.h"

#include "glide/UntilUnload.h"

namespace render
{

DrawState& TheDrawState()
{
    return glide::UntilUnload<DrawState>();
}

}  // namespace render
