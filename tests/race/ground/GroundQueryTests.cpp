#include "race/ground/GroundQuery.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <string>

#include "core/util/LittleEndian.h"
#include "tests/race/ground/GridGround.h"

namespace
{
// Triangle offsets of the grid: cell (i, j), lower or upper half.
uint32_t Offset(const GridSpec& spec, uint32_t i, uint32_t j, bool upper)
{
    return GroundMesh::OffsetOf(2 * (j * spec.columns + i) + (upper ? 1 : 0));
}

class GroundQueryTest : public testing::Test
{
protected:
    GroundQueryTest() : ground_(spec_) { query_.triangleList = &ground_.Mesh(); }

    void Walk(float x1, float z1, float x2, float z2)
    {
        query_.x1 = x1;
        query_.z1 = z1;
        query_.x2 = x2;
        query_.z2 = z2;
        GroundWalk(query_);
    }

    GridSpec spec_{.columns = 8, .rows = 6, .cellSize = 2.0f, .surface = 4, .slope = 0.5f};
    BoundGround ground_;
    GroundQuery query_;
};

TEST_F(GroundQueryTest, LookupGivesHeightSurfaceAndTriangle)
{
    ASSERT_TRUE(ground_.Bound());
    query_.x1 = 3.5f;
    query_.z1 = 5.5f;
    GroundLookup(query_);
    EXPECT_EQ(query_.surface, 4);
    EXPECT_FLOAT_EQ(query_.height, 2.75f);
    EXPECT_EQ(query_.cachedTriangle, Offset(spec_, 1, 2, true));
}

TEST_F(GroundQueryTest, PointOnASharedEdgeBelongsToTheFirstTriangleHoldingIt)
{
    // On the diagonal of cell (0, 0): both halves hold it; the lower comes first.
    query_.x1 = 1.0f;
    query_.z1 = 1.0f;
    GroundLookup(query_);
    EXPECT_EQ(query_.cachedTriangle, Offset(spec_, 0, 0, false));
}

TEST_F(GroundQueryTest, LookupOffTheGroundKeepsTheLastResults)
{
    query_.x1 = 1.5f;
    query_.z1 = 0.5f;
    GroundLookup(query_);
    const uint32_t found = query_.cachedTriangle;
    query_.x1 = -1.0f;
    GroundLookup(query_);
    EXPECT_EQ(query_.surface, GroundQuery::kNoGround);
    EXPECT_EQ(query_.cachedTriangle, found);
    EXPECT_FLOAT_EQ(query_.height, 0.25f);
}

TEST_F(GroundQueryTest, CachedLookupScansOnlyFromTheCacheToTheEnd)
{
    query_.x1 = 0.5f;
    query_.z1 = 0.5f;
    query_.cachedTriangle = Offset(spec_, 3, 0, false);
    GroundLookupCached(query_);
    EXPECT_EQ(query_.surface, GroundQuery::kNoGround) << "no wrap to the first triangle";

    query_.cachedTriangle = GroundMesh::OffsetOf(ground_.Mesh().Count());
    query_.x1 = 15.5f;
    query_.z1 = 11.5f;
    GroundLookupCached(query_);
    EXPECT_EQ(query_.surface, GroundQuery::kNoGround) << "one past the last";
    EXPECT_EQ(query_.fallbackCount, 0u);
}

TEST_F(GroundQueryTest, ACacheThatNamesNoTriangleCostsACountedFullScan)
{
    for (const uint32_t stale : {0u, 0xAFFEu, 5u, GroundMesh::OffsetOf(1000)})
    {
        SCOPED_TRACE(stale);
        query_.cachedTriangle = stale;
        query_.x1 = 0.5f;
        query_.z1 = 0.5f;
        GroundLookupCached(query_);
        EXPECT_EQ(query_.cachedTriangle, Offset(spec_, 0, 0, false));

        query_.cachedTriangle = stale;
        Walk(0.5f, 0.5f, 5.5f, 0.5f);
        EXPECT_EQ(query_.surface, 4);
        EXPECT_EQ(query_.cachedTriangle, Offset(spec_, 2, 0, false));
    }
    EXPECT_EQ(query_.fallbackCount, 8u);
}

TEST_F(GroundQueryTest, WalkCrossesTrianglesWithoutScanning)
{
    query_.x1 = 0.5f;
    query_.z1 = 0.3f;
    GroundLookup(query_);
    // Diagonally across the whole grid, then back in small steps.
    Walk(0.5f, 0.3f, 15.2f, 11.7f);
    EXPECT_EQ(query_.surface, 4);
    EXPECT_FLOAT_EQ(query_.height, 5.85f);
    EXPECT_EQ(query_.cachedTriangle, Offset(spec_, 7, 5, true));
    float x = 15.2f;
    float z = 11.7f;
    for (int step = 0; step < 100; ++step)
    {
        Walk(x, z, x - 0.13f, z - 0.101f);
        x -= 0.13f;
        z -= 0.101f;
        ASSERT_EQ(query_.surface, 4) << step;
    }
    EXPECT_EQ(query_.fallbackCount, 0u);
}

TEST_F(GroundQueryTest, MoveOffTheBorderKeepsTheLastTriangleCrossed)
{
    query_.x1 = 1.0f;
    query_.z1 = 0.5f;
    GroundLookup(query_);
    Walk(1.0f, 0.5f, 5.0f, -1.0f);
    EXPECT_EQ(query_.surface, GroundQuery::kNoGround);
    EXPECT_EQ(query_.exitEdge, 8) << "out across the south edge";
    EXPECT_TRUE(ground_.Mesh().IsTriangle(query_.cachedTriangle));
    EXPECT_EQ(query_.fallbackCount, 0u);
}

TEST_F(GroundQueryTest, APointOutsideWhoseMoveCrossesNoEdgeFallsBackToAScan)
{
    // The cache names a far triangle the move never touches.
    query_.cachedTriangle = Offset(spec_, 6, 4, false);
    Walk(0.5f, 0.5f, 0.6f, 0.6f);
    EXPECT_EQ(query_.surface, 4);
    EXPECT_EQ(query_.cachedTriangle, Offset(spec_, 0, 0, false));
    EXPECT_EQ(query_.fallbackCount, 1u);
    EXPECT_FLOAT_EQ(query_.x1, 0.6f) << "the new point became the query point";
}

TEST_F(GroundQueryTest, EdgeCheckNamesTheFirstEdgeOutside)
{
    query_.cachedTriangle = Offset(spec_, 1, 1, false);  // (2,2) (2,4) (4,2)
    struct Case
    {
        float x, z;
        int32_t edge;
    };
    for (const Case c : {Case{2.5f, 2.5f, -1}, Case{1.0f, 3.0f, 0}, Case{3.9f, 3.9f, 4},
                         Case{3.0f, 1.0f, 8}, Case{1.0f, 1.0f, 0}})
    {
        query_.x2 = c.x;
        query_.z2 = c.z;
        GroundEdgeCheck(query_);
        EXPECT_EQ(query_.exitEdge, c.edge) << c.x << ", " << c.z;
    }
    query_.cachedTriangle = 0xAFFE;
    GroundEdgeCheck(query_);
    EXPECT_EQ(query_.exitEdge, 0);
}

TEST(GroundTriangleTest, TheSignOfZeroDecidesAPointOnAnEdge)
{
    const GroundTriangle triangle{4, 0, 1, 0, 0, {0, 0, 0}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}};
    EXPECT_TRUE(triangle.Contains(0.0f, 0.5f)) << "+0.0 on edge 0";
    EXPECT_FALSE(triangle.Contains(-0.0f, 0.5f)) << "(1 - 0) x (-0 - 0) = -0.0";
}

TEST(GroundWalkTest, LinksInACircleEndInAScan)
{
    // Two triangles side by side whose links across the far edges lead back to each other.
    auto triangles = GridTriangles({.columns = 1, .rows = 1});
    triangles[0].neighbours = {1, 1, 1};
    triangles[1].neighbours = {0, 0, 0};
    BoundGround ground(triangles);
    ASSERT_TRUE(ground.Bound());
    GroundQuery query;
    query.triangleList = &ground.Mesh();
    query.cachedTriangle = GroundMesh::OffsetOf(0);
    query.x1 = 0.2f;
    query.z1 = 0.2f;
    query.x2 = 5.0f;
    query.z2 = 0.2f;
    GroundWalk(query);
    EXPECT_EQ(query.surface, GroundQuery::kNoGround);
    EXPECT_EQ(query.fallbackCount, 1u);
}

// Damage to one word of a bound list, and whether the list must then be refused.
struct Damage
{
    std::string name;
    uint32_t byteOffset;  // into the list
    uint32_t value;
};

class GroundBindTest : public testing::TestWithParam<Damage>
{
};

TEST_P(GroundBindTest, RefusesUnsoundLists)
{
    BoundGround ground(GridSpec{.columns = 2, .rows = 2});
    ASSERT_TRUE(ground.Bound());
    std::vector<uint8_t>& list = ground.Image();
    const size_t listBytes = 4 + size_t{LoadLe32(list.data())} * GroundMesh::kRecordBytes;
    StoreLe32(list.data() + GetParam().byteOffset, GetParam().value);
    const auto bytes = std::as_bytes(std::span(list.data(), listBytes));
    EXPECT_FALSE(GroundMesh::Bind(bytes).has_value());
}

constexpr uint32_t kNaN = 0x7FC00000;
INSTANTIATE_TEST_SUITE_P(
    Damages, GroundBindTest,
    testing::Values(Damage{"CountBeyondTheData", 0, 9},
                    Damage{"CountBeyondAnyCircuit", 0, 0xFFFFFFFF}, Damage{"SurfaceAbove31", 4, 32},
                    Damage{"FlatPlane", 4 + 8, 0}, Damage{"PlaneNotANumber", 4 + 16, kNaN},
                    Damage{"CornerNotANumber", 4 + 40, kNaN},
                    Damage{"LinkInsideARecord", 4 + 20, 8},
                    Damage{"LinkPastTheEnd", 4 + 24, GroundMesh::OffsetOf(8)},
                    Damage{"LinkToTheCountWord", 4 + 28, 2}),
    [](const testing::TestParamInfo<Damage>& info) { return info.param.name; });

TEST(GroundBindTest, AcceptsAnEmptyListAndRefusesATruncatedOne)
{
    const uint8_t empty[4] = {0, 0, 0, 0};
    const auto mesh = GroundMesh::Bind(std::as_bytes(std::span(empty)));
    ASSERT_TRUE(mesh.has_value());
    GroundQuery query;
    query.triangleList = &*mesh;
    GroundWalk(query);
    EXPECT_EQ(query.surface, GroundQuery::kNoGround);

    BoundGround ground(GridSpec{.columns = 1, .rows = 1});
    const auto cut = std::as_bytes(std::span(ground.Image().data(), 4 + 56 + 55));
    EXPECT_FALSE(GroundMesh::Bind(cut).has_value());
    EXPECT_FALSE(GroundMesh::Bind(cut.first(3)).has_value());
}
}  // namespace
