// Scenes drawn through the object world, the vector engine and the render library, each
// checked by the hash of its frame (references in golden/) and by the pixels that show what
// the scene is about.

#include <cstring>

#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "glide/Glide.h"
#include "kit/world/DemoObjects.h"
#include "tests/app/world/TestMeshes.h"
#include "tests/app/world/WorldTestSupport.h"

namespace
{
constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kGreen = 0x07E0;
constexpr uint16_t kBlue = 0x001F;
constexpr uint16_t kYellow = 0xFFE0;
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kQuadrants[4] = {kRed, kGreen, kBlue, kYellow};
constexpr uint32_t kClear = 0xFF402010;  // ABGR
constexpr uint16_t kClear565 = (0x10 >> 3) << 11 | (0x20 >> 2) << 5 | (0x40 >> 3);

enum TextureNumber : uint32_t
{
    kQuadrantTexture = 1,
    kRedTexture = 2,
    kGreenTexture = 3,
    kBlueTexture = 4,
    kWhiteTexture = 5,
};

// Which of the pure colours the pixel is closest to in hue: its largest channel.
char Dominant(uint16_t pixel)
{
    const int red = (pixel >> 11) * 2;
    const int green = (pixel >> 5) & 0x3F;
    const int blue = (pixel & 0x1F) * 2;
    if (red > green && red > blue)
    {
        return 'r';
    }
    return green > blue ? 'g' : 'b';
}

class GoldenSceneTest : public SceneTest
{
protected:
    GoldenSceneTest()
    {
        root_ = CreateScene();
        MakeQuadrantTexture(kQuadrantTexture, kQuadrants);
        MakeSolidTexture(kRedTexture, kRed);
        MakeSolidTexture(kGreenTexture, kGreen);
        MakeSolidTexture(kBlueTexture, kBlue);
        MakeSolidTexture(kWhiteTexture, kWhite);
    }

    WorldObject* Load(const kit::Mesh& mesh, const std::string& name, double range = 4000.0)
    {
        WriteFile(name, kit::WriteObjectFile(mesh));
        WorldObject* node = world_.LoadObject(name, 0, range);
        EXPECT_NE(node, nullptr);
        return node;
    }

    WorldObject* Place(WorldObject* node, WorldObject* parent, float x, float y, float z,
                       int32_t mode = kAttachChild)
    {
        return world_.AttachObject(node, parent, x, y, z, mode, node->ownRadius);
    }

    WorldObject* root_ = nullptr;
};

TEST_F(GoldenSceneTest, TexturedBoxFromThreeAngles)
{
    Place(Load(kit::TexturedBox(1.0f, kQuadrantTexture), "box.4do"), root_, 0, 0, 0);
    root_->placement = {0.0f, 0.0f, -4.0f};  // the box 4 ahead, whichever way the view turns
    const struct
    {
        const char* name;
        float pitch;
        float heading;
        float bank;
        uint64_t hash;
    } kViews[] = {
        {"box-front-left", 0.35f, 0.6f, 0.0f, 0x086204B909D38FB0},
        {"box-behind-below", -0.5f, 2.4f, 0.2f, 0xE4E0E3D4A19E4183},
        {"box-above", 0.9f, -0.9f, 0.0f, 0x19EBF8C00AB0EA74},
    };
    for (const auto& view : kViews)
    {
        root_->angles[0] = view.pitch;
        root_->angles[1] = view.heading;
        root_->angles[2] = view.bank;
        DrawFrame(kClear);
        ExpectGolden(view.name, view.hash);
        EXPECT_NE(frame_.At(160, 120), kClear565) << view.name;
        EXPECT_EQ(frame_.At(2, 2), kClear565) << view.name;
    }
}

TEST_F(GoldenSceneTest, MeshCrossingTheNearPlane)
{
    // The ground runs from behind the eye to far ahead of it.
    Place(Load(kit::GroundPlane(20.0f, 8, kQuadrantTexture), "ground.4do"), root_, 0, -1.5f, 5);
    root_->angles[0] = -0.25f;
    DrawFrame(kClear);
    ExpectGolden("ground-through-near-plane", 0x555439C7DA10F2AA);
    EXPECT_NE(frame_.At(160, 239), kClear565);  // reaches the bottom edge
    EXPECT_EQ(frame_.At(160, 2), kClear565);    // sky above the horizon
}

TEST_F(GoldenSceneTest, PolygonLargerThanTheScreenKeepsItsCorners)
{
    WorldObject* square = Place(Load(FacingSquare(1000.0f, 0.0f, 0), "square.4do"), root_, 0, 0, 5);
    square->textureList.get()[0] = kQuadrantTexture;
    square->flags = object_flags::kPointSampled;  // the quadrants stay sharp however magnified
    DrawFrame(kClear);
    ExpectGolden("square-over-screen", 0x40F51CD0896B4725);
    // The four quadrants meet in the middle; every corner of the viewport is covered.
    EXPECT_EQ(frame_.At(0, 0), kRed);
    EXPECT_EQ(frame_.At(319, 0), kGreen);
    EXPECT_EQ(frame_.At(0, 239), kBlue);
    EXPECT_EQ(frame_.At(319, 239), kYellow);
}

// The owner's walls and the objects placed between them are drawn without depth test, so
// only the order of drawing decides what is seen.
TEST_F(GoldenSceneTest, NestedAndBspObjectsInDrawingOrder)
{
    constexpr uint16_t kOrderOnly = object_flags::kDepthTestOff | object_flags::kDepthWriteOff;
    WorldObject* walls = Place(Load(TwoWalls(), "walls.4do"), root_, 0, 0, 6);
    walls->flags = kOrderOnly;
    walls->textureList.get()[0] = kRedTexture;
    walls->textureList.get()[1] = kQuadrantTexture;
    // Between the walls, partly behind the small front one.
    WorldObject* between = Place(Load(kit::TexturedBox(0.4f, kGreenTexture), "between.4do"), walls,
                                 0.45f, -0.3f, 0.0f, kAttachBspObject);
    between->flags = kOrderOnly;
    // A sub-object behind the back wall is still drawn after its owner.
    WorldObject* after = Place(Load(FacingSquare(0.3f, 0.0f, 0), "after.4do"), walls, -1.2f, 1.0f,
                               3.0f, kAttachSubObject);
    after->flags = kOrderOnly;
    after->textureList.get()[0] = kBlueTexture;

    DrawFrame(kClear);
    ExpectGolden("bsp-order", 0x8AF27C4910FE444E);
    EXPECT_EQ(Dominant(frame_.At(160, 120)), 'r');  // the front wall over the box
    EXPECT_EQ(Dominant(frame_.At(196, 141)), 'g');  // the box over the back wall
    EXPECT_EQ(Dominant(frame_.At(120, 87)), 'b');   // the sub-object over the back wall
}

TEST_F(GoldenSceneTest, SortedObjectsFarthestFirstAndLaterEqualKeysFirst)
{
    const auto square = [&](const char* name, uint32_t texture, float x, float z)
    {
        WorldObject* node = Place(Load(FacingSquare(1.0f, 0.0f, 0), name), root_, x, 0, z);
        node->flags = object_flags::kDepthTestOff | object_flags::kDepthWriteOff;
        node->textureList.get()[0] = texture;
    };
    square("near.4do", kRedTexture, -1.0f, 8.0f);
    square("far.4do", kGreenTexture, -1.5f, 9.0f);  // its overlap is hidden by the nearer one
    // Two at one place: the later attached heads the list, is sorted in first, drawn last.
    square("first.4do", kBlueTexture, 1.2f, 8.0f);
    square("second.4do", kWhiteTexture, 1.2f, 8.0f);
    DrawFrame(kClear);
    EXPECT_EQ(frame_.At(160 - 46, 120), kRed);
    EXPECT_EQ(frame_.At(160 + 45, 120), kWhite);
}

TEST_F(GoldenSceneTest, FogOnDistantObjects)
{
    rdll_EnableFog();
    // The library's table as it made it: in the 3D region, where a node's link can name it.
    uint8_t* table = rdll_FogGenerateLinear(40.0f, 700.0f);
    ASSERT_TRUE(region::Contains(table, kGrFogTableSize));
    WorldObject* box = Load(kit::TexturedBox(0.8f, kQuadrantTexture), "box.4do");
    const float depths[5] = {4, 8, 16, 32, 64};
    for (int i = 0; i < 5; ++i)
    {
        WorldObject* copy = world_.CloneObject(box);
        // Side by side on the screen, farther and farther away.
        Place(copy, root_, (static_cast<float>(i) - 2.0f) * depths[i] * 0.225f, 0, depths[i]);
        copy->angles[1] = 0.6f;
        copy->fogTable.set(table);
        copy->fogColour = 0xFFC0C0C0;
    }
    DrawFrame(kClear);
    ExpectGolden("fog", 0x82C2D6E137E218EC);
}

TEST_F(GoldenSceneTest, LevelOfDetailSwitchesWithDistance)
{
    // Each level in a colour of its own: red, then green from 6, blue from 12, none from 24.
    const float ranges[3] = {8.0f, 16.0f, 32.0f};
    const uint32_t detail[3][2] = {{12, 24}, {8, 16}, {4, 8}};
    std::vector<std::string> names;
    for (int level = 0; level < 3; ++level)
    {
        kit::Mesh sphere = kit::SphereMesh(0.5f, static_cast<int>(detail[level][0]),
                                           static_cast<int>(detail[level][1]), 0);
        // Further levels have no numbers of their own: they draw with their owner's.
        if (level == 0)
        {
            sphere.textureNumbers = {kRedTexture, kGreenTexture, kBlueTexture};
        }
        for (kit::MeshPolygon& polygon : sphere.polygons)
        {
            polygon.textureSlot = static_cast<uint32_t>(level);
        }
        names.push_back("sphere" + std::to_string(level) + ".4do");
        WriteFile(names.back(), kit::WriteObjectFile(sphere));
    }
    const float places[4][2] = {{-1.2f, 4.0f}, {0.0f, 9.0f}, {2.5f, 18.0f}, {8.0f, 30.0f}};
    for (const auto& place : places)
    {
        WorldObject* sphere = world_.LoadObject(names[0], 0, ranges[0]);
        ASSERT_NE(sphere, nullptr);
        world_.InsertSorted(world_.LoadZObject(names[2], 0, ranges[2]), sphere);
        world_.InsertSorted(world_.LoadZObject(names[1], 0, ranges[1]), sphere);
        Place(sphere, root_, place[0], 0, place[1]);
    }
    DrawFrame(kClear);
    ExpectGolden("levels-of-detail", 0x95866BAFB5730897);
    EXPECT_EQ(Dominant(frame_.At(70, 120)), 'r');
    EXPECT_EQ(Dominant(frame_.At(160, 120)), 'g');
    EXPECT_EQ(Dominant(frame_.At(201, 120)), 'b');
    EXPECT_EQ(frame_.At(240, 120), kClear565);
}

TEST_F(GoldenSceneTest, TexturedAndEnvironmentMappedPolygonsDraw)
{
    // Left half: corners red, green, blue over a white picture; right half: white, mapped.
    WorldObject* mixed = Place(Load(MixedMesh(), "mixed.4do"), root_, 0, 0, 3);
    mixed->textureList.get()[0] = kWhiteTexture;
    mixed->textureList.get()[1] = kWhiteTexture;
    DrawFrame(kClear);
    EXPECT_EQ(Dominant(frame_.At(120, 40)), 'r');
    EXPECT_EQ(Dominant(frame_.At(215, 65)), 'g');
    EXPECT_EQ(Dominant(frame_.At(215, 170)), 'b');
    EXPECT_EQ(frame_.At(100, 170), kWhite);
}

TEST_F(GoldenSceneTest, PolygonsOfMoreThan35CornersAreNotDrawn)
{
    WorldObject* drawn = Place(Load(RegularPolygon(35, 1.0f, 0.0f), "35.4do"), root_, -1.5f, 0, 6);
    WorldObject* dropped = Place(Load(RegularPolygon(36, 1.0f, 0.0f), "36.4do"), root_, 1.5f, 0, 6);
    drawn->textureList.get()[0] = kWhiteTexture;
    dropped->textureList.get()[0] = kWhiteTexture;
    DrawFrame(kClear);
    EXPECT_EQ(frame_.At(160 - 75, 120), kWhite);
    EXPECT_EQ(frame_.At(160 + 75, 120), kClear565);
}

TEST_F(GoldenSceneTest, HiddenAndDistantObjectsStillLeadToTheirChildren)
{
    const auto square = [&](const char* name, WorldObject* parent, float x, float z, int32_t mode)
    {
        WorldObject* node =
            Place(Load(FacingSquare(0.5f, 0.0f, 0), name, 40.0), parent, x, 0, z, mode);
        node->textureList.get()[0] = kWhiteTexture;
        return node;
    };
    // Hidden: neither drawn nor sorted, but its children are.
    WorldObject* hidden = square("hidden.4do", root_, -1.5f, 5.0f, kAttachChild);
    hidden->flags = object_flags::kDrawAtOnce | object_flags::kHidden;
    hidden->groupRadius = 10.0f;
    square("child.4do", hidden, 1.2f, 3.0f, kAttachChild);
    // Beyond its last level: only its sub-objects are drawn.
    WorldObject* distant = square("distant.4do", root_, 3.0f, 40.0f, kAttachChild);
    square("sub.4do", distant, 0.0f, -30.0f, kAttachSubObject);

    DrawFrame(kClear);
    EXPECT_EQ(frame_.At(160 - 90, 120), kClear565);  // the hidden square
    EXPECT_EQ(frame_.At(160 - 11, 120), kWhite);     // its child
    EXPECT_EQ(frame_.At(160 + 22, 120), kClear565);  // the distant square
    EXPECT_EQ(frame_.At(160 + 90, 120), kWhite);     // its sub-object
}

// A nested object's states are set back for the rest of its owner: the front wall, drawn after
// the box placed behind it, looks the same whatever filter the box was drawn with.
TEST_F(GoldenSceneTest, NestedObjectStatesAreSetBack)
{
    WorldObject* walls = Place(Load(TwoWalls(), "walls.4do"), root_, 0, 0, 2.5f);
    walls->textureList.get()[0] = kQuadrantTexture;
    walls->textureList.get()[1] = kWhiteTexture;
    WorldObject* between = Place(Load(kit::TexturedBox(0.2f, kGreenTexture), "between.4do"), walls,
                                 1.1f, 0.9f, 0.0f, kAttachBspObject);
    const auto frontWall = [&]
    {
        DrawFrame(kClear);
        const FrameView565 wall = frame_.Region(70, 30, 180, 180);
        std::vector<uint16_t> pixels;
        for (int y = 0; y < wall.height; ++y)
        {
            pixels.insert(pixels.end(), wall.Address(0, y), wall.Address(0, y) + wall.width);
        }
        return pixels;
    };
    between->flags = 0;
    const std::vector<uint16_t> plain = frontWall();
    between->flags =
        object_flags::kPointSampled | object_flags::kDepthTestOff | object_flags::kDepthWriteOff;
    EXPECT_EQ(frontWall(), plain);
}
}  // namespace
