// The race's particles: started in the first free entry, faded, moved and grown by the frame
// time, hung into the effects group only while they live.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "core/world/Region.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "tests/support/RegionRecords.h"
#include "view/race/ParticleTable.h"

namespace
{
class ParticleTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(region::Reserve());
        group_ = NewRegionRecords<WorldObject>();
        for (WorldObject*& quad : quads_)
        {
            quad = NewRegionRecords<WorldObject>();
            quad->firstLevel.vertices.set(NewRegionRecords<MeshVertex>(4));
            quad->firstLevel.vertexCount = 4;
            auto* textures = NewRegionRecords<uint32_t>(2);
            textures[0] = 1019;
            textures[1] = kTextureListEnd;
            quad->textureList.set(textures);
            quad->colour = 0x00808080;
            // As the loader leaves them: every quad in the group.
            LinkFirst(*quad, *group_, group_->firstSubObject);
        }
        table_.Attach(quads_, group_);
    }

    size_t InGroup() const
    {
        size_t count = 0;
        for (WorldObject* node = group_->firstSubObject.get(); node != nullptr;
             node = node->nextSibling.get())
        {
            ++count;
        }
        return count;
    }

    WorldObject* group_ = nullptr;
    std::array<WorldObject*, ParticleTable::kParticles> quads_{};
    ParticleTable table_;
};

TEST_F(ParticleTableTest, OnlyTheLivingHangInTheGroupAndTheyAgeByTheFrameTime)
{
    table_.Update(0.0f);
    EXPECT_EQ(InGroup(), 0u);

    ASSERT_TRUE(table_.Emit(RaceParticle::TyreSmoke, 10.0f, 2.0f, -5.0f, 100.0f, 0.0f));
    ASSERT_TRUE(table_.Emit(RaceParticle::DirtLight, 0.0f, 0.0f, 0.0f, 50.0f, 0.0f));
    EXPECT_EQ(table_.Update(0.1f), 2u);
    EXPECT_EQ(InGroup(), 2u);

    const Particle& smoke = table_[0];
    // 100 - 100/s x 0.1 s.
    EXPECT_FLOAT_EQ(smoke.life, 90.0f);
    EXPECT_EQ(smoke.object->colour, 0x5A808080u);
    EXPECT_FLOAT_EQ(smoke.object->placement.x, 10.0f);
    EXPECT_GT(smoke.object->placement.y, 2.0f);
    const MeshVertex* corners = smoke.object->firstLevel.vertices.get();
    EXPECT_FLOAT_EQ(corners[0].position.x, -smoke.halfWidth);
    EXPECT_FLOAT_EQ(corners[1].position.x, smoke.halfWidth);
    EXPECT_FLOAT_EQ(corners[1].position.y, smoke.height);
    EXPECT_FLOAT_EQ(corners[2].position.y, 0.0f);
    EXPECT_FLOAT_EQ(corners[3].position.y, smoke.height);
    // Dirt of light ground takes the first dust picture.
    EXPECT_EQ(table_[1].object->textureList.get()[0], 1200u);

    // The dirt fades at 250 a second: gone after another half second, the smoke not yet.
    EXPECT_EQ(table_.Update(0.5f), 1u);
    EXPECT_TRUE(table_[0].active);
    EXPECT_FALSE(table_[1].active);
    EXPECT_EQ(InGroup(), 1u);
}

TEST_F(ParticleTableTest, AFullTableDropsTheEmissionAndAFreedEntryIsTakenAgain)
{
    for (size_t index = 0; index < ParticleTable::kParticles; ++index)
    {
        ASSERT_TRUE(table_.Emit(RaceParticle::ExhaustSmoke, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    }
    EXPECT_FALSE(table_.Emit(RaceParticle::Spray, 0.0f, 0.0f, 0.0f, 50.0f, 0.0f));
    EXPECT_EQ(table_.Update(0.0f), ParticleTable::kParticles);
    EXPECT_EQ(InGroup(), ParticleTable::kParticles);

    // Smoke lives one second; the first entry freed is the one started next.
    table_.Update(1.5f);
    EXPECT_EQ(InGroup(), 0u);
    ASSERT_TRUE(table_.Emit(RaceParticle::Spray, 1.0f, 0.0f, 0.0f, 50.0f, 0.0f));
    EXPECT_TRUE(table_[0].active);
    EXPECT_EQ(table_[0].object->textureList.get()[0], 1030u);
}

TEST_F(ParticleTableTest, AStrongEmitterNeitherWrapsTheAlphaNorStartsWithoutQuads)
{
    ASSERT_TRUE(table_.Emit(RaceParticle::DustCloud, 0.0f, 0.0f, 0.0f, 400.0f, 0.0f));
    table_.Update(0.0f);
    EXPECT_EQ(table_[0].object->colour >> 24, 255u);

    table_.Detach();
    EXPECT_FALSE(table_.Emit(RaceParticle::DustCloud, 0.0f, 0.0f, 0.0f, 10.0f, 0.0f));
    EXPECT_EQ(table_.Update(0.1f), 0u);
}
TEST_F(ParticleTableTest, SprayAndDirtGrowWithTheMachinesSpeedAndFanOutBehindIt)
{
    // A standing machine's spray or dirt has no strength: nothing starts.
    EXPECT_FALSE(table_.Emit(RaceParticle::Spray, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(table_.Emit(RaceParticle::DirtLight, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(table_[0].active);

    ASSERT_TRUE(table_.Emit(RaceParticle::Spray, 0.0f, 0.0f, 0.0f, 40.0f, 0.0f));
    ASSERT_TRUE(table_.Emit(RaceParticle::Spray, 0.0f, 0.0f, 0.0f, 200.0f, 0.0f));
    EXPECT_LT(table_[0].halfWidth, table_[1].halfWidth);
    EXPECT_LT(table_[0].height, table_[1].height);
    EXPECT_LT(table_[0].halfWidthRate, table_[1].halfWidthRate);

    // Heading 0 rides towards +z: every spray flies back, some to either side.
    bool left = false;
    bool right = false;
    for (size_t i = 2; i < 7; ++i)
    {
        ASSERT_TRUE(table_.Emit(RaceParticle::Spray, 0.0f, 0.0f, 0.0f, 200.0f, 0.0f));
        EXPECT_LT(table_[i].velocity.z, 0.0f);
        left = left || table_[i].velocity.x < 0.0f;
        right = right || table_[i].velocity.x > 0.0f;
    }
    EXPECT_TRUE(left && right);
    // Heading a quarter turn rides towards +x: the spray flies to -x.
    ASSERT_TRUE(table_.Emit(RaceParticle::Spray, 0.0f, 0.0f, 0.0f, 200.0f, 1.5707964f));
    EXPECT_LT(table_[7].velocity.x, 0.0f);
}
}  // namespace
