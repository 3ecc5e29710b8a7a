#include "render/draw/DrawState.h"

namespace render
{

DrawState& TheDrawState()
{
    static DrawState state;
    return state;
}

}  // namespace render
