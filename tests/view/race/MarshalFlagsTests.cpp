// The waving cloth: its mesh as the engine walks it, the wave and its shading; and which flag
// the marshal shows.

#include <gtest/gtest.h>

#include <vector>

#include "app/device/RenderDevice.h"
#include "app/world/ObjectWorld.h"
#include "core/util/SineTable.h"
#include "core/world/WorldObject.h"
#include "view/race/MarshalFlags.h"

namespace
{
struct Triangle
{
    PolygonRecord polygon;
    uint32_t corners[4];
    uint32_t textureSlot;
    TexturedCorner block[4];
};

class FlagMeshTest : public testing::Test
{
protected:
    FlagMeshTest()
    {
        root = world.CreateWorld(1u << 20);
        mesh = CreateFlagMesh(world, 10, 10, 20, 12, 1183);
    }
    ~FlagMeshTest() override { world.FreeWorld(); }

    std::vector<const Triangle*> Triangles() const
    {
        std::vector<const Triangle*> out;
        const auto* entry = &mesh->firstLevel.bspRoot.get()->firstPolygon.get()->entry;
        for (; entry != nullptr; entry = entry->next.get())
        {
            out.push_back(reinterpret_cast<const Triangle*>(entry));
        }
        return out;
    }
    const Vector3& Vertex(uint32_t row, uint32_t column) const
    {
        return mesh->firstLevel.vertices.get()[row * 10 + column].position;
    }

    SineTable sines;
    ObjectWorld world;
    WorldObject* root = nullptr;
    WorldObject* mesh = nullptr;
};

TEST_F(FlagMeshTest, TheClothIsAGridOfTexturedTrianglesChainedInOrder)
{
    ASSERT_NE(mesh, nullptr);
    EXPECT_FLOAT_EQ(Vertex(0, 0).x, -10.0f);
    EXPECT_FLOAT_EQ(Vertex(0, 9).x, 8.0f);
    EXPECT_FLOAT_EQ(Vertex(0, 0).y, 6.0f);
    EXPECT_FLOAT_EQ(Vertex(9, 0).y, 6.0f - 9 * 1.2f);
    const std::vector<const Triangle*> triangles = Triangles();
    ASSERT_EQ(triangles.size(), 18u * 9u);
    // Row 0, cell 0: the even triangle (0,0) (0,1) (1,0), the odd one (0,1) (1,1) (1,0).
    const Triangle& even = *triangles[0];
    EXPECT_EQ(even.polygon.cornerCount, 3u);
    EXPECT_EQ(even.corners[0], 0u);
    EXPECT_EQ(even.corners[1], 16u);
    EXPECT_EQ(even.corners[2], 160u);
    EXPECT_EQ(even.corners[3], 0u);
    EXPECT_EQ(even.polygon.cornerBlock.get(), &even.textureSlot);
    EXPECT_FLOAT_EQ(even.block[2].v, 1.0f - 1.0f / 9);
    const Triangle& odd = *triangles[1];
    EXPECT_EQ(odd.corners[1], 176u);
    EXPECT_FLOAT_EQ(odd.block[0].u, 1.0f / 9);
    // The next cell starts one step right.
    EXPECT_FLOAT_EQ(triangles[2]->block[0].u, 1.0f / 9);
    const uint32_t* textures = mesh->textureList.get();
    EXPECT_EQ(textures[0], 1183u);
    EXPECT_EQ(textures[1], 1183u);
    EXPECT_EQ(textures[2], kTextureListEnd);
}

TEST_F(FlagMeshTest, TheWaveGrowsFromTheStaffAndAFrameOfNoTimeKeepsShapeAndShade)
{
    FlagWave wave{300000, 700000};
    AnimateFlagMesh(10, 10, *mesh, 0.0f, wave);
    std::vector<float> depths;
    for (uint32_t r = 0; r < 10; ++r)
    {
        EXPECT_FLOAT_EQ(Vertex(r, 0).z, 0.0f);  // the staff side stays put
        for (uint32_t c = 0; c < 10; ++c)
        {
            depths.push_back(Vertex(r, c).z);
        }
    }
    const uint32_t shade = Triangles()[40]->block[1].colour;
    AnimateFlagMesh(10, 10, *mesh, 0.0f, wave);
    EXPECT_EQ(wave.first, 300000u);
    for (uint32_t r = 0; r < 10; ++r)
    {
        for (uint32_t c = 0; c < 10; ++c)
        {
            EXPECT_FLOAT_EQ(Vertex(r, c).z, depths[r * 10 + c]);
        }
    }
    EXPECT_EQ(Triangles()[40]->block[1].colour, shade);
    EXPECT_EQ(shade >> 24, 0xFFu);
    EXPECT_EQ(Triangles()[40]->block[3].colour, Triangles()[40]->block[0].colour);
}

TEST_F(FlagMeshTest, ThePhasesMoveOnByTheFrameTimeAndWrapAtTwentyBits)
{
    FlagWave wave{(1u << 20) - 100, 5};
    AnimateFlagMesh(10, 10, *mesh, 0.001f, wave);
    EXPECT_EQ(wave.first, 1024u - 100u);
    EXPECT_EQ(wave.second, 1029u);
}

TEST(MarshalFlagsTest, OnlySevenFlagsAndHidingKeepsTheLastOne)
{
    RenderDevice device;  // no library: the pictures stay empty
    MarshalFlags flags(device);
    flags.Show(7);
    EXPECT_FALSE(flags.Visible());
    EXPECT_EQ(flags.ShownFlag(), MarshalFlags::kNoFlag);
    flags.Show(3);
    EXPECT_TRUE(flags.Visible());
    flags.Hide();
    EXPECT_FALSE(flags.Visible());
    flags.Show(3);
    EXPECT_TRUE(flags.Visible());
    EXPECT_EQ(flags.ShownFlag(), 3);
}
}  // namespace
