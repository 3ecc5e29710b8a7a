// Object files damaged in every way the loaders check: each is refused without a message and
// leaves the arena as it was, and nothing is written outside the file's own bytes.

#include <functional>

#include "core/world/VectorVars.h"
#include "kit/world/TrackCollisionWriter.h"
#include "tests/app/world/ObjectFileParts.h"
#include "tests/app/world/TestMeshes.h"
#include "tests/app/world/WorldTestSupport.h"

namespace
{
// Chunk 2 of MixedMesh: the textured triangle at 0 (100 bytes, its corner block at 48), then
// the environment-mapped one at 100 (68 bytes). Chunk 3: node 0 at 0 (polygon 0, positive
// child node 1 at 28), node 1 (polygon 100).
constexpr uint32_t kSecondPolygon = 100;

struct Damage
{
    const char* what;
    std::function<void(ObjectFileParts&)> apply;
    // Only whole objects index texture numbers of their own: further levels take their owner's
    // list, and collision bodies are not drawn.
    bool wholeObjectsOnly = false;
};

std::vector<uint8_t> Resized(std::vector<uint8_t> bytes, size_t size)
{
    bytes.resize(size, 0);
    return bytes;
}

const Damage kMeshDamage[] = {
    {"wrong tag", [](ObjectFileParts& file) { file.tag = "_4DX"; }},
    {"no vertices", [](ObjectFileParts& file) { file.Chunk(1).id = 9; }},
    {"no polygons", [](ObjectFileParts& file) { file.Chunk(2).id = 9; }},
    {"no nodes", [](ObjectFileParts& file) { file.Chunk(3).id = 9; }},
    {"no mesh information", [](ObjectFileParts& file) { file.Chunk(4).id = 9; }},
    {"vertices not whole",
     [](ObjectFileParts& file) { file.Chunk(1).data = Resized(file.Chunk(1).data, 68); }},
    {"too many vertices",
     [](ObjectFileParts& file) { file.Chunk(1).data = Resized(file.Chunk(1).data, 20001 * 16); }},
    {"too many normals",
     [](ObjectFileParts& file) { file.Chunk(8).data = Resized(file.Chunk(8).data, 2001 * 16); }},
    {"short mesh information",
     [](ObjectFileParts& file) { file.Chunk(4).data = Resized(file.Chunk(4).data, 12); }},
    {"more texture numbers than chunk 5 holds",
     [](ObjectFileParts& file) { file.SetWord(4, 12, 3); }},
    {"nodes not whole",
     [](ObjectFileParts& file) { file.Chunk(3).data = Resized(file.Chunk(3).data, 60); }},
    {"child outside the nodes", [](ObjectFileParts& file) { file.SetWord(3, 4, 56); }},
    {"child between nodes", [](ObjectFileParts& file) { file.SetWord(3, 4, 24); }},
    {"child naming the root", [](ObjectFileParts& file) { file.SetWord(3, 28 + 4, 0); }},
    {"two links to one node", [](ObjectFileParts& file) { file.SetWord(3, 0, 28); }},
    {"node polygon outside the records", [](ObjectFileParts& file) { file.SetWord(3, 24, 400); }},
    {"node polygon inside a record", [](ObjectFileParts& file) { file.SetWord(3, 24, 8); }},
    {"unknown polygon kind", [](ObjectFileParts& file) { file.SetWord(2, 0, 12); }},
    {"corner count past the chunk", [](ObjectFileParts& file) { file.SetWord(2, 24, 1000000); }},
    {"corner count past 2^32", [](ObjectFileParts& file) { file.SetWord(2, 24, 0xFFFFFFFF); }},
    {"corner block outside the chunk", [](ObjectFileParts& file) { file.SetWord(2, 28, 168); }},
    {"corner block unaligned", [](ObjectFileParts& file) { file.SetWord(2, 28, 50); }},
    {"corner outside the vertices", [](ObjectFileParts& file) { file.SetWord(2, 36, 64); }},
    {"corner between vertices", [](ObjectFileParts& file) { file.SetWord(2, 36, 20); }},
    {"texture slot past the list", [](ObjectFileParts& file) { file.SetWord(2, 48, 2); }, true},
    {"normal outside the normals",
     [](ObjectFileParts& file) { file.SetWord(2, kSecondPolygon + 52, 32); }},
    {"environment map without normals", [](ObjectFileParts& file) { file.Chunk(8).id = 9; }},
    {"list link inside a record", [](ObjectFileParts& file) { file.SetWord(2, 4, 4); }},
    {"list link into another list",
     [](ObjectFileParts& file) { file.SetWord(2, kSecondPolygon + 4, 0); }},
    {"list link looping to itself", [](ObjectFileParts& file) { file.SetWord(2, 4, 0); }},
};

class DamagedFileTest : public WorldTest
{
protected:
    DamagedFileTest() { world_.CreateWorld(1u << 20); }

    // Loads the file with every loader that reads it; true when one of them took it.
    bool AnyLoaderTakes(const std::vector<uint8_t>& file, bool wholeObjectsOnly = false)
    {
        WriteFile("damaged.4do", file);
        const uint32_t usedBefore = world_.Vars().arenaUsed;
        const bool taken =
            world_.LoadObject("damaged.4do", 0, 1.0) != nullptr ||
            (!wholeObjectsOnly && (world_.LoadZObject("damaged.4do", 0, 1.0) != nullptr ||
                                   world_.LoadCollisionObject("damaged.4do") != nullptr));
        EXPECT_EQ(world_.Vars().arenaUsed, usedBefore);
        return taken;
    }
};

TEST_F(DamagedFileTest, SoundFileLoads)
{
    WriteFile("mixed.4do", kit::WriteObjectFile(MixedMesh()));
    EXPECT_NE(world_.LoadObject("mixed.4do", 0, 1.0), nullptr);
    EXPECT_NE(world_.LoadZObject("mixed.4do", 0, 1.0), nullptr);
    EXPECT_NE(world_.LoadCollisionObject("mixed.4do"), nullptr);
}

TEST_F(DamagedFileTest, EveryDamageIsRefusedSilently)
{
    const std::vector<uint8_t> sound = kit::WriteObjectFile(MixedMesh());
    for (const Damage& damage : kMeshDamage)
    {
        ObjectFileParts parts = ObjectFileParts::Parse(sound);
        damage.apply(parts);
        EXPECT_FALSE(AnyLoaderTakes(parts.Build(), damage.wholeObjectsOnly)) << damage.what;
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(DamagedFileTest, BrokenChunkWalksAreRefused)
{
    const std::vector<uint8_t> sound = kit::WriteObjectFile(MixedMesh());
    std::vector<uint8_t> overrun = sound;
    StoreLe32(overrun.data() + 8, 0x7FFFFFF0);
    std::vector<uint8_t> trailing = sound;
    trailing.push_back(0);
    std::vector<uint8_t> misaligned = sound;
    StoreLe32(misaligned.data() + 8, LoadLe32(misaligned.data() + 8) - 2);
    for (const auto& file :
         {std::vector<uint8_t>(sound.begin(), sound.begin() + 4), overrun, trailing, misaligned})
    {
        EXPECT_FALSE(AnyLoaderTakes(file));
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(DamagedFileTest, DamagedTrackModelsAreRefused)
{
    kit::TrackTriangle triangle;
    triangle.neighbours = {0, -1, -1};
    const std::vector<uint8_t> sound = kit::WriteTrackCollisionFile({triangle, triangle});
    const std::function<void(ObjectFileParts&)> damages[] = {
        [](ObjectFileParts& file) { file.tag = "_4DO"; },
        [](ObjectFileParts& file) { file.Chunk(6).id = 7; },
        [](ObjectFileParts& file) { file.Chunk(6).data.resize(100); },
        [](ObjectFileParts& file) { file.SetWord(6, 20, 112); },
        [](ObjectFileParts& file) { file.SetWord(6, 24, 28); },
    };
    const uint32_t usedBefore = world_.Vars().arenaUsed;
    for (const auto& damage : damages)
    {
        ObjectFileParts parts = ObjectFileParts::Parse(sound);
        damage(parts);
        WriteFile("damaged.4co", parts.Build());
        EXPECT_EQ(world_.LoadTrackCollision("damaged.4co"), nullptr);
        EXPECT_EQ(world_.Vars().arenaUsed, usedBefore);
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}
}  // namespace
