#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

#include "core/world/MeshRecords.h"
#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "race/ChannelList.h"
#include "race/ground/BspQuery.h"

namespace
{
template <class T>
T* New()
{
    const uint32_t offset = region::Allocate(sizeof(T));
    auto* record = reinterpret_cast<T*>(region::Address(offset));
    std::memset(record, 0, sizeof(T));
    return record;
}

// A unit box around the origin: six planes, each facing out, chained along the back side.
class BspQueryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(region::Reserve());
        const Plane faces[] = {{{1, 0, 0}, -1},  {{-1, 0, 0}, -1}, {{0, 1, 0}, -1},
                               {{0, -1, 0}, -1}, {{0, 0, 1}, -1},  {{0, 0, -1}, -1}};
        BspNode* previous = nullptr;
        BspNode* root = nullptr;
        for (const Plane& face : faces)
        {
            auto* node = New<BspNode>();
            auto* polygon = New<PolygonRecord>();
            polygon->plane = face;
            node->firstPolygon.set(polygon);
            if (previous != nullptr)
            {
                previous->negativeChild.set(node);
            }
            else
            {
                root = node;
            }
            previous = node;
        }
        auto* body = New<CollisionBody>();
        body->nodes.set(root);
        object_ = New<WorldObject>();
        object_->collisionBody.set(body);
    }

    uint32_t Depth(float x, float y, float z)
    {
        BspQuery query;
        query.object = object_;
        query.x = x;
        query.y = y;
        query.z = z;
        BspPointInside(query);
        return query.depth;
    }

    WorldObject* object_ = nullptr;
};

TEST_F(BspQueryTest, InsidePointsCountTheNodesOnTheWay)
{
    EXPECT_EQ(Depth(0.0f, 0.0f, 0.0f), 6u);
    EXPECT_EQ(Depth(0.9f, -0.9f, 0.5f), 6u);
    EXPECT_EQ(Depth(1.5f, 0.0f, 0.0f), 0u);
    EXPECT_EQ(Depth(0.0f, 0.0f, -1.01f), 0u);
}

TEST_F(BspQueryTest, APointOnASplittingPlaneTakesTheBackChild)
{
    EXPECT_EQ(Depth(1.0f, 0.0f, 0.0f), 6u);
    EXPECT_EQ(Depth(0.0f, 0.0f, 1.0f), 6u);
}

TEST_F(BspQueryTest, AnObjectWithoutASolidIsNeverEntered)
{
    object_->collisionBody.reset();
    EXPECT_EQ(Depth(0.0f, 0.0f, 0.0f), 0u);
}

TEST(ChannelListTest, SetWritesAtOnceAndSnapRestoresTheEnd)
{
    float pitch = 0.25f;
    float height = 1.0f;
    ChannelList list;
    list.Set(ChannelKind::Angle, &pitch, 0.5f);
    list.Set(ChannelKind::Value, &height, 3.0f);
    EXPECT_EQ(pitch, 0.5f);
    InterpolateChannels(list, 0.5f);
    EXPECT_FLOAT_EQ(pitch, 0.375f);
    EXPECT_FLOAT_EQ(height, 2.0f);
    SnapChannels(list);
    EXPECT_EQ(pitch, 0.5f);
    EXPECT_EQ(height, 3.0f);
}

TEST(ChannelListTest, AnglesTakeTheShortWayRound)
{
    constexpr float kPi = std::numbers::pi_v<float>;
    float heading = 0.0f;
    ChannelList list;
    list.Add(ChannelKind::Angle, &heading, 3.0f, -3.0f);
    InterpolateChannels(list, 0.5f);
    EXPECT_NEAR(std::abs(heading), kPi, 1e-5f) << "through pi, not through 0";

    float value = 0.0f;
    list.Clear();
    list.Add(ChannelKind::Value, &value, 3.0f, -3.0f);
    InterpolateChannels(list, 0.5f);
    EXPECT_FLOAT_EQ(value, 0.0f);
}

TEST(ChannelListTest, AFullListDropsAndCountsFurtherChannels)
{
    static ChannelList list;
    float target = 0.0f;
    for (uint32_t i = 0; i < ChannelList::kCapacity + 3; ++i)
    {
        list.Set(ChannelKind::Value, &target, static_cast<float>(i));
    }
    EXPECT_EQ(list.Count(), ChannelList::kCapacity);
    EXPECT_EQ(list.DroppedCount(), 3u);
    EXPECT_EQ(target, static_cast<float>(ChannelList::kCapacity + 2)) << "still written";
}
}  // namespace
