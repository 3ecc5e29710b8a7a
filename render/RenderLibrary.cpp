#include "render/RenderLibrary.h"

#include <string>

#include "glide/GlidePresent.h"
#include "glide/UntilUnload.h"
#include "render/RenderMessages.h"

namespace render
{

RenderLibrary& TheLibrary()
{
    return glide::UntilUnload<RenderLibrary>();
}

bool InitHardware(RenderLibrary& library)
{
    GrHwConfiguration hardware{};
    if (!grSstQueryBoards(&hardware))
    {
        ShowRenderMessage("Could not initialize Glide!");
        return false;
    }
    if (hardware.num_sst < 1)
    {
        ShowRenderMessage("No 3DFX Card present!");
        ShowRenderMessage("Could not initialize Glide!");
        return false;
    }
    library.adapter.Describe();
    library.screen.ForgetWindow();
    return true;
}

void ShotDown(RenderLibrary& library)
{
    library.screen.ReleaseLfb();
    if (const int32_t count = library.textures.MemoryTextureCount(); count > 0)
    {
        ShowRenderMessage(std::to_string(count) + " textures not freed");
    }
    grGlideShutdown();
    SetPresentCallback(nullptr, nullptr);
    library.screen.Shutdown();
    library.adapter.Forget();
}

void Free(RenderLibrary& library)
{
    library.screen.ForgetWindow();
    CleanUp(library);
}

}  // namespace render
