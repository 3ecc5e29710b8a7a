// The machines' meshes each drawn frame: the shadow leaning with the bike, and the dust and
// spray at the wheels chosen by ground, weather and pitch, grown with the speed.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "tests/support/RegionRecords.h"
#include "view/race/EffectMeshes.h"
#include "view/race/GroundQuads.h"

namespace
{
// A mesh of `count` vertices at (1, 1, z) whose vertex block has room for six, and a
// one-entry texture list.
WorldObject* NewMesh(uint32_t count, float z = 0.0f)
{
    auto* mesh = NewRegionRecords<WorldObject>();
    MeshVertex* vertices = NewRegionRecords<MeshVertex>(6);
    for (uint32_t i = 0; i < 6; ++i)
    {
        vertices[i].position = {1.0f, 1.0f, z};
    }
    mesh->firstLevel.vertices.set(vertices);
    mesh->firstLevel.vertexCount = count;
    auto* textures = NewRegionRecords<uint32_t>(2);
    textures[0] = 1030;
    textures[1] = kTextureListEnd;
    mesh->textureList.set(textures);
    mesh->flags = object_flags::kNoOwnPolygons;
    return mesh;
}

class MachineMeshesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(region::Reserve()); }

    std::vector<BikeRecord> bikes_ = std::vector<BikeRecord>(2);
};

TEST_F(MachineMeshesTest, TheShadowLeansWithTheBikeOnlyOverTheCornersItHas)
{
    struct Case
    {
        uint32_t vertices;
        std::vector<float> expectedX;
    };
    // Bank 30 degrees: the corners move by -sin(bank) / 2 = -0.25.
    const std::vector<Case> cases = {
        {6, {-0.7f, 1.0f, -0.7f, 1.0f, 0.2f, 0.2f}},
        // A four-cornered shadow: nothing is written behind its last vertex.
        {4, {-0.7f, 1.0f, -0.7f, 1.0f, 1.0f, 1.0f}},
    };
    for (const Case& c : cases)
    {
        BikeRecord& bike = bikes_[0];
        WorldObject* shadow = NewMesh(c.vertices);
        auto* body = NewRegionRecords<WorldObject>();
        body->angles[2] = 0.5235988f;
        bike.links.bikeRoot.set(shadow);
        bike.links.bikeBody.set(body);
        UpdateGroundQuads(std::span(bikes_).first(1));
        const MeshVertex* corners = shadow->firstLevel.vertices.get();
        for (size_t i = 0; i < c.expectedX.size(); ++i)
        {
            EXPECT_NEAR(corners[i].position.x, c.expectedX[i], 1e-5f)
                << c.vertices << " vertices, corner " << i;
        }
    }
}

TEST_F(MachineMeshesTest, DustNeedsLooseGroundAndSprayTheRainEachGrownWithTheSpeed)
{
    const EffectMeshState hidden{};
    struct Case
    {
        const char* name;
        Weather weather;
        int32_t front;
        int32_t rear;
        float pitch;
        float speed;
        EffectMeshStates expected;
    };
    // At 30 m/s: front dust sqrt(30 / 30), rear dust sqrt(0.2 x 30), spray sqrt(0.025 x 30).
    const float front = 1.0f;
    const float rearDust = std::sqrt(6.0f);
    const float spray = std::sqrt(0.75f);
    const std::vector<Case> cases = {
        {"dry road", Weather::Fine, 4, 4, 0.0f, 30.0f, {hidden, hidden, hidden}},
        {"sand",
         Weather::Fine,
         1,
         1,
         0.0f,
         30.0f,
         {EffectMeshState{true, 1203, front}, {true, 1203, rearDust}, hidden}},
        {"gravel, dull",
         Weather::Dull,
         2,
         0,
         0.0f,
         30.0f,
         {EffectMeshState{true, 1208, front}, {true, 1208, rearDust}, hidden}},
        {"wheelie on sand",
         Weather::Fine,
         1,
         1,
         0.2f,
         30.0f,
         {hidden, EffectMeshState{true, 1203, rearDust}, hidden}},
        {"stoppie on sand",
         Weather::Fine,
         1,
         1,
         -0.2f,
         30.0f,
         {EffectMeshState{true, 1203, front}, hidden, hidden}},
        {"no ground under the wheels",
         Weather::Fine,
         -1,
         -1,
         0.0f,
         30.0f,
         {hidden, hidden, hidden}},
        {"standing on sand", Weather::Fine, 1, 1, 0.0f, 0.01f, {hidden, hidden, hidden}},
        {"wet road",
         Weather::Rain,
         4,
         4,
         0.0f,
         30.0f,
         {EffectMeshState{true, 0, front}, hidden, {true, 0, spray}}},
        {"wet sand",
         Weather::Rain,
         1,
         1,
         0.0f,
         30.0f,
         {EffectMeshState{true, 1204, front}, {true, 1203, rearDust}, hidden}},
        {"wet road, stoppie",
         Weather::Rain,
         4,
         4,
         -0.1f,
         30.0f,
         {EffectMeshState{true, 0, front}, hidden, hidden}},
        {"wet, no ground", Weather::Rain, -1, -1, 0.0f, 30.0f, {hidden, hidden, hidden}},
    };
    for (const Case& c : cases)
    {
        BikeRecord& bike = bikes_[0];
        bike.frontSurface.surfaceClass = c.front;
        bike.rearSurface.surfaceClass = c.rear;
        bike.pitch = c.pitch;
        bike.speed = c.speed;
        bike.wheelFrameCounter = 1;
        const EffectMeshStates states = ChooseEffectMeshes(bike, c.weather);
        for (size_t slot = 0; slot < states.size(); ++slot)
        {
            EXPECT_EQ(states[slot].shown, c.expected[slot].shown) << c.name << ", mesh " << slot;
            EXPECT_EQ(states[slot].texture, c.expected[slot].texture)
                << c.name << ", mesh " << slot;
            EXPECT_NEAR(states[slot].scale, c.expected[slot].scale, 1e-5f)
                << c.name << ", mesh " << slot;
        }
    }
}

TEST_F(MachineMeshesTest, MeshesGrowFromTheirLoadedShapeAndHideOnFallenAndGhostBikes)
{
    for (BikeRecord& bike : bikes_)
    {
        bike.links.frontDust.set(NewMesh(4, 0.9f));
        bike.links.rearDust.set(NewMesh(4, -1.0f));
        bike.links.rearSpray.set(NewMesh(4, -1.3f));
        bike.frontSurface.surfaceClass = bike.rearSurface.surfaceClass = 4;
        bike.speed = 40.0f;
    }
    EffectMeshes meshes;
    meshes.Attach(bikes_);
    WorldObject& spray = *bikes_[0].links.rearSpray.get();
    const float scale = std::sqrt(0.025f * 40.0f);
    // The same speed twice gives the same shape: the scale is of the loaded one.
    for (int frame = 0; frame < 2; ++frame)
    {
        meshes.Update(bikes_, Weather::Rain, true, 1);
        EXPECT_EQ(spray.flags & object_flags::kNoOwnPolygons, 0);
        const MeshVertex* vertices = spray.firstLevel.vertices.get();
        EXPECT_FLOAT_EQ(vertices[0].position.x, scale);
        EXPECT_FLOAT_EQ(vertices[3].position.y, scale);
        EXPECT_FLOAT_EQ(vertices[3].position.z, -1.3f);
        // Beyond the mesh's four vertices nothing is written.
        EXPECT_FLOAT_EQ(vertices[4].position.x, 1.0f);
        EXPECT_EQ(spray.textureList.get()[0], 1030u);
    }
    // The ghost's meshes stay as its playback leaves them.
    EXPECT_NE(bikes_[1].links.rearSpray.get()->flags & object_flags::kNoOwnPolygons, 0);

    bikes_[0].flags |= bike_flags::kDown;
    meshes.Update(bikes_, Weather::Rain, true, 1);
    EXPECT_NE(spray.flags & object_flags::kNoOwnPolygons, 0);
    bikes_[0].flags = 0;
    meshes.Update(bikes_, Weather::Rain, false, 1);
    EXPECT_NE(spray.flags & object_flags::kNoOwnPolygons, 0);
}
}  // namespace
