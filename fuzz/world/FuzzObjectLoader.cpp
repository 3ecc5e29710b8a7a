// Loads the input with every object loader (".4do" mesh, level of detail and collision body,
// ".4co" circuit model); whatever loads is then drawn in front of the camera and the frame
// finished, so that the vector engine walks every link the loader let through and the
// rasterizer draws what it made of them.

#include <cstdint>
#include <cstdlib>

#include "app/world/ObjectWorld.h"
#include "core/world/WorldObject.h"
#include "fuzz/support/FuzzInputFile.h"
#include "fuzz/support/FuzzScreen.h"
#include "render/RenderApi.h"

namespace
{
// A world drawn on an open screen with no window, for the whole run.
ObjectWorld& TheWorld()
{
    static ObjectWorld* world = []
    {
        OpenFuzzScreen();
        SilenceMessages();
        // The texture the seeds draw with.
        Texture* texture = rdll_CreateTexture(8, 8, 1, kTextureFormatRgb565);
        if (texture == nullptr || rdll_DownLoadTexture(texture) != 1)
        {
            std::abort();
        }
        auto* created = new ObjectWorld;
        created->BindEngine({&vecdll_init, &vecdll_SetVectorVars, &vecdll_Draw,
                             &vecdll_recalc_matrix, &vecdll_collrotateall});
        return created;
    }();
    return *world;
}

void Draw(ObjectWorld& world, WorldObject* node)
{
    world.AttachObject(node, world.Root(), 0.0f, 0.0f, 3.0f, kAttachChild, 1000.0f);
    node->flags |= object_flags::kClipTested;
    world.DrawWorld(0);
    world.DetachObject(node, world.Root(), kAttachChild);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile file("fuzz.4do");
    file.Hold(data, size);
    ObjectWorld& world = TheWorld();
    world.CreateWorld(1u << 20);
    if (WorldObject* mesh = world.LoadObject(file.Path(), 0, 4000.0))
    {
        Draw(world, mesh);
    }
    world.LoadZObject(file.Path(), 0, 4000.0);
    world.LoadCollisionObject(file.Path());
    world.LoadTrackCollision(file.Path());
    world.FreeWorld();
    FinishFuzzFrame();
    return 0;
}
