// Reads the input as a circuit's billboard list "objekte/fuzz/Drehbar_S.4dr" from the working
// directory, attaches the billboards it makes to a fresh world and draws them, so that the
// vector engine and the rasterizer take every node the loader built. The working directory is
// the input file's folder during the load only, so that the fuzzer's own relative paths keep
// their meaning.

#include <cstdint>
#include <filesystem>

#include "app/world/ObjectWorld.h"
#include "fuzz/support/FuzzInputFile.h"
#include "fuzz/support/FuzzScreen.h"
#include "render/RenderApi.h"

namespace
{
ObjectWorld& TheWorld()
{
    static ObjectWorld* world = []
    {
        OpenFuzzScreen();
        SilenceMessages();
        auto* created = new ObjectWorld;
        created->BindEngine({&vecdll_init, &vecdll_SetVectorVars, &vecdll_Draw,
                             &vecdll_recalc_matrix, &vecdll_collrotateall});
        return created;
    }();
    return *world;
}

const FuzzInputFile& InputFile()
{
    static const FuzzInputFile* file = []
    {
        auto* created = new FuzzInputFile("objekte/fuzz/Drehbar_S.4dr");
        std::filesystem::create_directories(std::filesystem::path(created->Path()).parent_path());
        return created;
    }();
    return *file;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzInputFile& file = InputFile();
    file.Hold(data, size);
    ObjectWorld& world = TheWorld();
    world.CreateWorld(1u << 20);
    const std::filesystem::path fuzzerDirectory = std::filesystem::current_path();
    std::filesystem::current_path(file.Directory());
    world.LoadRotatingObjects(world.Root(), 4000.0f, "fuzz", 0);
    std::filesystem::current_path(fuzzerDirectory);
    world.DrawWorld(0);
    world.FreeWorld();
    FinishFuzzFrame();
    return 0;
}
