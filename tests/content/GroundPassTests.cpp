// The loader's ground work on small hand-made racing lines over grid ground: heights,
// surfaces and the edge equation along the line, damaged links and counts, the crash figures'
// places and a machine set on sloping ground.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "content/GroundPass.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "tests/race/ground/GridGround.h"

namespace
{
using content::CrashFigurePlaceOf;
using content::PlaceOnGround;
using content::RunRacingLineGroundPass;

// 100 m x 100 m around the origin, rising by slope per metre of z.
GridSpec Ground(float slope = 0.0f, uint32_t surface = 4)
{
    return GridSpec{10, 10, 10.0f, -50.0f, -50.0f, surface, slope};
}

// A closed line through the points; the linked count covers all of them.
std::unique_ptr<RacingLine> Line(const std::vector<std::pair<float, float>>& points)
{
    auto line = std::make_unique<RacingLine>();
    const auto count = static_cast<uint16_t>(points.size());
    line->nodeCount = count;
    line->pitLaneFirstNode = count;
    line->pitLaneEndNode = count;
    line->linkLimit = count;
    for (uint16_t i = 0; i < count; ++i)
    {
        RacingLineNode& node = line->nodes[i];
        node.x = points[i].first;
        node.z = points[i].second;
        node.y = 123.0f;
        node.next = static_cast<uint16_t>((i + 1) % count);
        node.previous = static_cast<uint16_t>((i + count - 1) % count);
    }
    return line;
}

float Distance(const RacingLineNode& node, float x, float z)
{
    return node.edgeA * x + node.edgeB * z + node.edgeC;
}

TEST(GroundPassTest, HeightsSlopesAndSurfacesFromTheGround)
{
    const BoundGround ground(Ground(0.1f, 3));
    auto line = Line({{0.5f, 0.5f}, {0.5f, 10.5f}, {10.5f, 10.5f}});
    std::vector<uint8_t> surfaces;
    RunRacingLineGroundPass(*line, ground.Mesh(), surfaces);
    EXPECT_NEAR(line->nodes[0].y, 0.05f, 1e-5f);
    EXPECT_NEAR(line->nodes[1].y, 1.05f, 1e-5f);
    EXPECT_NEAR(line->nodes[0].slope, 0.1f, 1e-5f);
    EXPECT_NEAR(line->nodes[1].slope, 0.0f, 1e-5f);
    EXPECT_NEAR(line->nodes[0].heading, 0.0f, 0.01f);
    EXPECT_NEAR(line->nodes[1].heading, 1.5708f, 0.01f);
    EXPECT_NEAR(line->nodes[2].heading, 6.28319f - 2.3562f, 0.01f);  // back down and left
    EXPECT_EQ(surfaces, (std::vector<uint8_t>{3, 3, 3}));
}

// The edge equation is the signed distance from the line, on a diagonal as on an axis: a
// point on the line mid-way between the nodes is at 0, one 2 m to either side at +-2.
TEST(GroundPassTest, EdgeEquationMeasuresTheDistanceFromTheLine)
{
    const BoundGround ground(Ground());
    auto line = Line({{0.5f, 0.5f}, {10.5f, 10.5f}, {-20.5f, 5.5f}});
    std::vector<uint8_t> surfaces;
    RunRacingLineGroundPass(*line, ground.Mesh(), surfaces);
    const RacingLineNode& node = line->nodes[0];
    const float side = 2.0f / std::sqrt(2.0f);
    EXPECT_NEAR(Distance(node, 5.5f, 5.5f), 0.0f, 1e-4f);
    EXPECT_NEAR(Distance(node, 5.5f + side, 5.5f - side), 2.0f, 1e-4f);
    EXPECT_NEAR(Distance(node, 5.5f - side, 5.5f + side), -2.0f, 1e-4f);
}

// A node on the spot of its next takes the values of the node before it and no slope.
TEST(GroundPassTest, CoincidentNodesKeepTheValuesBefore)
{
    const BoundGround ground(Ground(0.2f));
    auto line = Line({{0.5f, 0.5f}, {0.5f, 10.5f}, {0.5f, 10.5f}, {0.5f, 20.5f}});
    std::vector<uint8_t> surfaces;
    RunRacingLineGroundPass(*line, ground.Mesh(), surfaces);
    const RacingLineNode& before = line->nodes[0];
    const RacingLineNode& same = line->nodes[1];
    EXPECT_EQ(same.slope, 0.0f);
    EXPECT_EQ(same.heading, before.heading);
    EXPECT_EQ(same.edgeA, before.edgeA);
    EXPECT_EQ(same.edgeC, before.edgeC);
    EXPECT_TRUE(std::isfinite(line->nodes[2].slope));
}

// No linked nodes: no heights and no derived values, but every node has its surface. A
// node off the ground keeps its height and has no surface.
TEST(GroundPassTest, NoLinkedNodesStillGiveSurfaces)
{
    const BoundGround ground(Ground());
    auto line = Line({{0.5f, 0.5f}, {500.0f, 0.5f}});
    line->pitLaneEndNode = 0;
    std::vector<uint8_t> surfaces;
    RunRacingLineGroundPass(*line, ground.Mesh(), surfaces);
    EXPECT_EQ(line->nodes[0].y, 123.0f);
    EXPECT_EQ(line->nodes[0].edgeA, 0.0f);
    EXPECT_EQ(surfaces, (std::vector<uint8_t>{4, content::kNoSurfaceCode}));
}

// Links and counts that name no node end the walk instead of reading past the line.
TEST(GroundPassTest, DamagedLinksEndTheWalk)
{
    const BoundGround ground(Ground());
    auto line = Line({{0.5f, 0.5f}, {0.5f, 10.5f}, {0.5f, 20.5f}});
    line->pitLaneEndNode = 4000;
    line->nodes[1].next = 4000;
    std::vector<uint8_t> surfaces;
    RunRacingLineGroundPass(*line, ground.Mesh(), surfaces);
    EXPECT_EQ(surfaces.size(), 3u);
    EXPECT_NE(line->nodes[0].edgeA, 0.0f);
    EXPECT_EQ(line->nodes[1].edgeA, 0.0f);  // its next is no node
    EXPECT_EQ(line->nodes[2].y, 123.0f);    // never reached
}

TEST(GroundPassTest, CrashFiguresStandOnThePracticeSlots)
{
    auto line = Line({{0.0f, 0.0f}, {0.0f, 10.0f}, {10.0f, 10.0f}, {10.0f, 0.0f}});
    StartSlots& slots = line->startSlots;
    slots.count = 4;
    slots.firstPracticeSlot = 1;
    slots.node = {3, 1, 2, 3};
    const auto first = CrashFigurePlaceOf(*line, 0);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->x, 0.0f);
    EXPECT_EQ(first->z, 10.0f);
    EXPECT_NEAR(first->heading, 0.0f, 1e-6f);  // from node 0 towards node 1
    // Past the last slot every figure stands on the last one.
    for (const uint32_t figure : {2u, 3u, 9u})
    {
        const auto place = CrashFigurePlaceOf(*line, figure);
        ASSERT_TRUE(place.has_value());
        EXPECT_EQ(place->x, 10.0f);
        EXPECT_EQ(place->z, 0.0f);
    }
    slots.node[3] = 900;
    EXPECT_FALSE(CrashFigurePlaceOf(*line, 5).has_value());
    slots.count = 0;
    EXPECT_FALSE(CrashFigurePlaceOf(*line, 0).has_value());
}

class PlaceOnGroundTest : public testing::Test
{
protected:
    PlaceOnGroundTest()
    {
        bike_.positionX = 0.5f;
        bike_.positionZ = 0.5f;
        bike_.heading = 0.0f;
        bike_.setup.referenceOffset = 0.2f;
        bike_.setup.frontWheelBase = 0.6f;
        bike_.setup.rearWheelBase = -0.8f;
    }

    BikeRecord bike_{};
    std::unique_ptr<RacingLine> line_ = Line({{0.5f, 0.5f}, {0.5f, 10.5f}});
};

// On a slope the reference height lies on the line between the contacts.
TEST_F(PlaceOnGroundTest, ReferenceHeightBetweenTheContacts)
{
    const BoundGround ground(Ground(0.5f));
    const float height = PlaceOnGround(bike_, ground.Mesh(), *line_);
    EXPECT_NEAR(bike_.frontContactZ, 1.3f, 1e-6f);
    EXPECT_NEAR(bike_.rearContactZ, -0.1f, 1e-6f);
    EXPECT_NEAR(bike_.frontGroundHeight, 0.65f, 1e-5f);
    EXPECT_NEAR(bike_.rearGroundHeight, -0.05f, 1e-5f);
    EXPECT_NEAR(height, 0.25f, 1e-5f);
    EXPECT_EQ(bike_.groundHeight, height);
    EXPECT_EQ(bike_.groundTrail[0].triangle, bike_.rearTriangle);
    EXPECT_EQ(bike_.groundTrail[11].x, bike_.rearContactX);
}

// Both contacts at one point would divide by zero: the front height is taken.
TEST_F(PlaceOnGroundTest, ContactsAtOnePointTakeTheFrontHeight)
{
    const BoundGround ground(Ground(0.5f));
    bike_.setup.rearWheelBase = bike_.setup.frontWheelBase;
    const float height = PlaceOnGround(bike_, ground.Mesh(), *line_);
    EXPECT_TRUE(std::isfinite(height));
    EXPECT_EQ(height, bike_.frontGroundHeight);
}

// Off the ground the bike takes the height of its racing-line node.
TEST_F(PlaceOnGroundTest, OffTheGroundTakesTheNodeHeight)
{
    const BoundGround ground(Ground());
    bike_.positionX = 900.0f;
    line_->nodes[1].y = 7.5f;
    bike_.aiLineNode = 1;
    EXPECT_EQ(PlaceOnGround(bike_, ground.Mesh(), *line_), 7.5f);
}
}  // namespace
