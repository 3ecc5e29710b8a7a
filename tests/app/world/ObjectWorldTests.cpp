// The object world's own operations: the scene tree, levels of detail, cloning, the view
// block and its projection values, saved states, and the loaders' results and messages.

#include <bit>

#include "app/archive/ArchiveSet.h"
#include "app/debug/DebugLog.h"
#include "core/archive/CprArchive.h"
#include "core/world/MeshRecords.h"
#include "core/world/Region.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "kit/world/BillboardListWriter.h"
#include "kit/world/DemoObjects.h"
#include "kit/world/TrackCollisionWriter.h"
#include "tests/app/world/TestMeshes.h"
#include "tests/app/world/WorldTestSupport.h"
#include "tests/support/DemoInstallationCopy.h"

namespace
{
class ObjectWorldTest : public WorldTest
{
protected:
    ObjectWorldTest() { root_ = world_.CreateWorld(1u << 20); }

    std::vector<WorldObject*> Children(const WorldObject& parent) const
    {
        std::vector<WorldObject*> children;
        for (WorldObject* node = parent.firstChild.get(); node != nullptr;
             node = node->nextSibling.get())
        {
            children.push_back(node);
        }
        return children;
    }

    LevelOfDetail* Level(float key)
    {
        auto* level = static_cast<LevelOfDetail*>(world_.AllocRaw(sizeof(LevelOfDetail)));
        *level = {};
        level->maxDistanceKey = key;
        return level;
    }

    WorldObject* root_ = nullptr;
};

TEST_F(ObjectWorldTest, AttachingLinksFirstAndMovesLinkedNodes)
{
    WorldObject* a = world_.AttachNewObject(root_, 0, 0, 0, kAttachChild, 1);
    WorldObject* b = world_.AttachNewObject(root_, 0, 0, 0, kAttachChild, 1);
    WorldObject* c = world_.AttachNewObject(root_, 0, 0, 0, kAttachChild, 1);
    EXPECT_EQ(Children(*root_), (std::vector<WorldObject*>{c, b, a}));

    // A linked node leaves its old list when attached elsewhere.
    EXPECT_EQ(world_.AttachObject(b, a, 4, 5, 6, kAttachSubObject, 9), b);
    EXPECT_EQ(Children(*root_), (std::vector<WorldObject*>{c, a}));
    EXPECT_EQ(a->firstSubObject.get(), b);
    EXPECT_EQ(b->parent.get(), a);
    EXPECT_EQ(b->placement.z, 6.0f);
    EXPECT_EQ(b->groupRadius, 9.0f);

    EXPECT_EQ(world_.DetachObject(b, root_, kAttachChild), 0);  // not in that list
    EXPECT_EQ(b->parent.get(), a);
    EXPECT_EQ(world_.DetachObject(c, root_, kAttachChild), 1);
    EXPECT_EQ(Children(*root_), (std::vector<WorldObject*>{a}));
    EXPECT_FALSE(c->parent);
    EXPECT_FALSE(a->previousSibling);

    EXPECT_EQ(world_.AttachNewObject(nullptr, 0, 0, 0, kAttachChild, 1), nullptr);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_EQ(world_.AttachNewObject(root_, 0, 0, 0, 3, 1), nullptr);
    EXPECT_EQ(world_.AttachObject(c, root_, 0, 0, 0, -1, 1), nullptr);
    EXPECT_EQ(platform_.MessageBoxes(), (std::vector<std::string>{"Kein Child/Sub/BSP-Object \n",
                                                                  "Kein Child/Sub/BSP-Object \n"}));
}

TEST_F(ObjectWorldTest, LevelsStayInAscendingOrder)
{
    WorldObject* owner = world_.AttachNewObject(root_, 0, 0, 0, kAttachChild, 1);
    owner->firstLevel.maxDistanceKey = 10.0f;
    LevelOfDetail* far = Level(40.0f);
    LevelOfDetail* middle = Level(20.0f);
    EXPECT_EQ(world_.InsertSorted(far, owner), &owner->firstLevel);
    EXPECT_EQ(world_.InsertSorted(middle, owner), &owner->firstLevel);
    LevelOfDetail* equal = Level(20.0f);
    EXPECT_EQ(world_.InsertSorted(equal, owner), &owner->firstLevel);  // before the equal key

    // A key below the embedded level's: the two records change contents.
    LevelOfDetail* nearest = Level(5.0f);
    EXPECT_EQ(world_.InsertSorted(nearest, owner), &owner->firstLevel);
    std::vector<float> keys;
    for (const LevelOfDetail* level = &owner->firstLevel; level != nullptr;
         level = level->next.get())
    {
        keys.push_back(level->maxDistanceKey);
    }
    EXPECT_EQ(keys, (std::vector<float>{5, 10, 20, 20, 40}));
    EXPECT_EQ(owner->firstLevel.next.get(), nearest);
    EXPECT_EQ(nearest->next.get(), equal);
}

TEST_F(ObjectWorldTest, ClonesShareMeshesAndCopyTheirTextureList)
{
    WriteFile("box.4do", kit::WriteObjectFile(kit::TexturedBox(1.0f, 31)));
    WorldObject* box = world_.LoadObject("box.4do", 5, 100.0);
    ASSERT_NE(box, nullptr);
    world_.AttachObject(box, root_, 1, 2, 3, kAttachChild, 4);
    WorldObject* bspObject = world_.AttachNewObject(box, 0, 0, 0, kAttachBspObject, 1);
    world_.AttachNewObject(box, 0, 0, 0, kAttachChild, 1);
    world_.AttachNewObject(box, 0, 0, 0, kAttachSubObject, 1);

    const WorldObject* clone = world_.CloneObject(box);
    ASSERT_NE(clone, nullptr);
    EXPECT_FALSE(clone->nextSibling || clone->previousSibling || clone->firstChild ||
                 clone->firstSubObject || clone->sortNear || clone->sortFar || clone->entry.next ||
                 clone->polygonListPrevious);
    EXPECT_EQ(clone->firstBspObject.get(), bspObject);
    EXPECT_EQ(clone->parent.get(), root_);
    EXPECT_EQ(clone->userValue, 5u);
    EXPECT_EQ(clone->firstLevel.vertices, box->firstLevel.vertices);
    // The loader counts the mesh's vertices (four per side of the box); the clone keeps them.
    EXPECT_EQ(box->firstLevel.vertexCount, 24u);
    EXPECT_EQ(clone->firstLevel.vertexCount, 24u);
    EXPECT_NE(clone->textureList, box->textureList);
    EXPECT_EQ(clone->textureList.get()[0], 31u);
    EXPECT_EQ(clone->textureList.get()[1], kTextureListEnd);

    // An empty list copies only its end mark.
    box->textureList.get()[0] = kTextureListEnd;
    const uint32_t usedBefore = world_.Vars().arenaUsed;
    const WorldObject* bare = world_.CloneObject(box);
    EXPECT_EQ(world_.Vars().arenaUsed - usedBefore, 240u + 4u);
    EXPECT_EQ(bare->textureList.get()[0], kTextureListEnd);
}

TEST_F(ObjectWorldTest, CameraUpdatePublishesTheProjection)
{
    world_.SetFieldOfView(600.0f, 1.0f);
    EXPECT_EQ(world_.SetViewport(0, 0, 640, 480, 0.11f, 300.0f), 1);
    const ProjectionValues& projection = world_.Projection();
    EXPECT_EQ(projection.viewportWidth, 640);
    EXPECT_EQ(projection.viewportHeight, 480);
    EXPECT_EQ(projection.centreX, 320.0f);
    EXPECT_EQ(projection.centreY, 240.0f);
    EXPECT_EQ(projection.scaleX, 600.0f);
    EXPECT_EQ(projection.scaleY, 600.0f);
    EXPECT_EQ(projection.nearDistance, 0.11f);

    world_.SetViewport(10, 20, 111, 71, 0.2f, 0.05f);
    EXPECT_EQ(world_.Vars().centreX, 60u);
    EXPECT_EQ(world_.Vars().centreY, 45u);
    EXPECT_EQ(world_.Vars().farDistance, 0.1f);

    world_.SetScreenSize(800, 600);
    world_.UpdateCamera();
    EXPECT_EQ(projection.scaleY, 750.0f);
    EXPECT_EQ(projection.scaleX, 750.0f);
}

TEST_F(ObjectWorldTest, SavedStateKeepsItsArena)
{
    WorldObject* node = world_.AttachNewObject(root_, 7, 0, 0, kAttachChild, 1);
    uint32_t saved[24];
    world_.SaveState(saved, true);
    EXPECT_EQ(world_.Root(), nullptr);
    EXPECT_EQ(world_.World(), nullptr);
    EXPECT_FALSE(world_.Vars().arenaBase);
    EXPECT_EQ(world_.DrawWorld(0), 0);

    // Another world in between; the saved arena is untouched by it.
    WorldObject* other = world_.CreateWorld(0x8000);
    world_.AttachNewObject(other, 0, 0, 0, kAttachChild, 1);
    uint32_t flagWorld[24];
    world_.SaveState(flagWorld, true);

    EXPECT_EQ(world_.RestoreState(saved), 1);
    EXPECT_EQ(world_.Root(), root_);
    EXPECT_EQ(root_->firstChild.get(), node);
    EXPECT_EQ(node->placement.x, 7.0f);
    world_.RestoreState(flagWorld);
    world_.FreeWorld();
    world_.RestoreState(saved);
}

TEST_F(ObjectWorldTest, EmptyWorldIsLoggedOncePerWorld)
{
    CreateDebugLog();
    const std::string line = "Out of Objects in World Error \n";
    EXPECT_EQ(world_.DrawWorld(0), 0);
    EXPECT_EQ(world_.DrawWorld(0), 0);
    EXPECT_EQ(directory_.ReadFile("tempdaten/Debug.Log"), line);
    world_.CreateWorld(0x1000);
    EXPECT_EQ(world_.DrawWorld(0), 0);
    EXPECT_EQ(directory_.ReadFile("tempdaten/Debug.Log"), line + line);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(ObjectWorldTest, ArenaOverflowIsReportedAndRefused)
{
    world_.CreateWorld(4096);
    WriteFile("box.4do", kit::WriteObjectFile(kit::TexturedBox(1.0f, 1)));
    WriteFile("sphere.4do", kit::WriteObjectFile(kit::SphereMesh(1.0f, 12, 24, 1)));
    const uint32_t usedBefore = world_.Vars().arenaUsed;
    EXPECT_EQ(world_.LoadObject("sphere.4do", 0, 1.0), nullptr);
    EXPECT_EQ(world_.Vars().arenaUsed, usedBefore);
    EXPECT_EQ(world_.AllocRaw(8192), nullptr);
    EXPECT_EQ(platform_.MessageBoxes(),
              (std::vector<std::string>{"VectorMem overflow!", "VectorMem overflow!"}));
    EXPECT_NE(world_.LoadObject("box.4do", 0, 1.0), nullptr);
}

TEST_F(ObjectWorldTest, MissingFilesAreReportedBySomeLoaders)
{
    EXPECT_EQ(world_.LoadObject("objekte/none.4do", 0, 1.0), nullptr);
    EXPECT_EQ(world_.LoadZObject("objekte/none.4do", 0, 1.0), nullptr);
    EXPECT_EQ(world_.LoadCollisionObject("objekte/none.4do"), nullptr);
    EXPECT_EQ(world_.LoadTrackCollision("objekte/none.4co"), nullptr);
    world_.LoadRotatingObjects(root_, 100.0f, "none", 0);
    EXPECT_EQ(platform_.MessageBoxes(),
              (std::vector<std::string>{"objekte/none.4do kann nicht geladen werden",
                                        "ZObjekt objekte/none.4do kann nicht geladen werden",
                                        "objekte/none.4do kann nicht geladen werden",
                                        "objekte/none.4co kann nicht geladen werden"}));
}

TEST_F(ObjectWorldTest, LevelsAndCollisionBodiesLoad)
{
    const std::vector<uint8_t> file = kit::WriteObjectFile(MixedMesh());
    WriteFile("mixed.4do", file);
    const LevelOfDetail* level = world_.LoadZObject("mixed.4do", 9, 2000.0);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->maxDistanceKey, 25.0f);
    EXPECT_FALSE(level->next);
    EXPECT_EQ(region::OffsetOf(level->vertices.get()), region::OffsetOf(level) + 24 + 4 + 8);
    EXPECT_TRUE(level->normals);

    const CollisionBody* body = world_.LoadCollisionObject("mixed.4do");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->vertexCount, 4);
    EXPECT_EQ(region::OffsetOf(body->vertices.get()), region::OffsetOf(body) + 12 + 4 + 8);
    EXPECT_EQ(body->nodes->negativeChild.get(), nullptr);
    EXPECT_EQ(body->nodes->positiveChild.get(), body->nodes.get() + 1);
}

// A further level takes its owner's texture list; a whole object needs numbers of its own.
TEST_F(ObjectWorldTest, LevelsNeedNoTextureNumbersOfTheirOwn)
{
    kit::Mesh box = kit::TexturedBox(1.0f, 0);
    box.textureNumbers.clear();
    for (kit::MeshPolygon& polygon : box.polygons)
    {
        polygon.textureSlot = 2;
    }
    WriteFile("bare.4do", kit::WriteObjectFile(box));
    EXPECT_NE(world_.LoadZObject("bare.4do", 0, 1000.0), nullptr);
    EXPECT_EQ(world_.LoadObject("bare.4do", 0, 1000.0), nullptr);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(ObjectWorldTest, TrackCollisionLinksBecomeBlockOffsets)
{
    kit::TrackTriangle first;
    first.plane = {0, 1, 0, 0};
    first.neighbours = {1, -1, -1};
    kit::TrackTriangle second;
    second.surface = 3;
    second.neighbours = {-1, 0, -1};
    WriteFile("ring.4co", kit::WriteTrackCollisionFile({first, second}));
    TrackCollisionModel* model = world_.LoadTrackCollision("ring.4co");
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->recordCount, 2u);
    const TrackCollisionRecord* records = model->Records();
    EXPECT_EQ(records[0].links[0], 4u + 56u);
    EXPECT_EQ(records[0].links[1], 0u);
    EXPECT_EQ(records[1].head[0], 3u);
    EXPECT_EQ(records[1].links[1], 4u);
    EXPECT_EQ(records[0].head[2], std::bit_cast<uint32_t>(1.0f));
}

TEST_F(ObjectWorldTest, BillboardsAttachToTheParent)
{
    WriteFile("objekte/ring/Drehbar_S.4dr",
              kit::WriteBillboardList({{1, 0, 1, 1, 2, 7}, {2, 0, 2, 1, 2, 8}}));
    WriteFile("objekte/ring/Drehbar_R.4dr", kit::WriteBillboardList({}));
    world_.LoadRotatingObjects(root_, 100.0f, "ring", 2);
    EXPECT_TRUE(Children(*root_).empty());
    world_.LoadRotatingObjects(root_, 100.0f, "ring", 3);
    EXPECT_TRUE(Children(*root_).empty());
    world_.LoadRotatingObjects(root_, 100.0f, "ring", 0);
    const std::vector<WorldObject*> children = Children(*root_);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0]->textureList.get()[0], 8u);
    EXPECT_EQ(children[1]->placement.x, 1.0f);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}
TEST_F(ObjectWorldTest, DemoObjectsLoadFromTheObjectsArchive)
{
    std::string error;
    ASSERT_TRUE(CopyDemoInstallation("demo", error)) << error;
    CprArchive objects;
    ASSERT_TRUE(objects.Open("demo/archives/objects.cpr", true));
    for (const std::string_view name :
         {kit::kDemoBoxObject, kit::kDemoSphereObject, kit::kDemoGroundObject})
    {
        EXPECT_NE(world_.LoadObjectFrom(name, 0, 1000.0, &objects), nullptr) << name;
    }
    g_archiveObjects = &objects;
    for (const std::string_view level : kit::kDemoSphereLevels)
    {
        EXPECT_NE(world_.LoadZObject(level, 0, 1000.0), nullptr) << level;
    }
    world_.LoadRotatingObjects(root_, 400.0f, kit::kDemoCircuitName, 1);
    g_archiveObjects = nullptr;
    EXPECT_EQ(Children(*root_).size(), kit::DemoBillboards(0).size());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}
}  // namespace
