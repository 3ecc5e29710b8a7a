#pragma once

// The library's application object: every long-lived part of the library, built when the
// library loads and torn down when it unloads. Main thread only.

#include <cstdint>

#include "render/DisplayModes.h"
#include "render/ImageBuffer.h"
#include "render/RenderState.h"
#include "render/Screen.h"
#include "render/TextureStore.h"

namespace render
{

struct RenderLibrary
{
    ImageBuffer imageBuffer;  // every picture is decoded here, from the archive it holds
    TextureStore textures;
    Screen screen{textures, imageBuffer};
    Adapter adapter;
    SavedRenderStates savedStates;
};

RenderLibrary& TheLibrary();

// Queries the board and describes it; false, with a message, when there is none.
bool InitHardware(RenderLibrary& library);
// Closes the screen and the board; tells of memory textures the game did not free.
void ShotDown(RenderLibrary& library);
// Forgets the window, gives up the screen and frees the table textures.
void Free(RenderLibrary& library);

}  // namespace render
