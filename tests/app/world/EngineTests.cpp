// The vector engine's numbers: matrices by rotation order, translations through pivots, the
// collision walk, single-node recalculation, culling and distance keys, and polygon clipping
// to the viewport.

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "render/vector/ScreenClip.h"
#include "tests/app/world/WorldTestSupport.h"

namespace
{
using Matrix = std::array<double, 9>;

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix product{};
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            for (int k = 0; k < 3; ++k)
            {
                product[row * 3 + column] += a[row * 3 + k] * b[k * 3 + column];
            }
        }
    }
    return product;
}

// Rotation about x (y towards z), y (z towards x) and z (x towards y).
Matrix Rotation(int axis, double angle)
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    switch (axis)
    {
        case 0:
            return {1, 0, 0, 0, c, -s, 0, s, c};
        case 1:
            return {c, 0, s, 0, 1, 0, -s, 0, c};
        default:
            return {c, -s, 0, s, c, 0, 0, 0, 1};
    }
}

// The product of the order, leftmost factor first; angles a, b, c about x, y, z.
Matrix OrderProduct(int order, const float (&angles)[3])
{
    static constexpr int kOrders[6][3] = {{2, 1, 0}, {1, 2, 0}, {2, 0, 1},
                                          {0, 2, 1}, {1, 0, 2}, {0, 1, 2}};
    Matrix product = Rotation(kOrders[order][0], angles[kOrders[order][0]]);
    for (int i = 1; i < 3; ++i)
    {
        product = Multiply(product, Rotation(kOrders[order][i], angles[kOrders[order][i]]));
    }
    return product;
}

std::array<double, 3> Apply(const float (&m)[9], const Vector3& v)
{
    return {double{m[0]} * v.x + double{m[1]} * v.y + double{m[2]} * v.z,
            double{m[3]} * v.x + double{m[4]} * v.y + double{m[5]} * v.z,
            double{m[6]} * v.x + double{m[7]} * v.y + double{m[8]} * v.z};
}

void ExpectIdentity(const WorldObject& node)
{
    const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ(node.matrix[i], identity[i]);
    }
    EXPECT_EQ(node.viewTranslation.x, 0.0f);
    EXPECT_EQ(node.viewTranslation.y, 0.0f);
    EXPECT_EQ(node.viewTranslation.z, 0.0f);
}

class EngineTest : public WorldTest
{
protected:
    EngineTest() { root_ = world_.CreateWorld(1u << 20); }

    WorldObject* Node(WorldObject* parent, int32_t mode, uint16_t flags)
    {
        WorldObject* node = world_.AttachNewObject(parent, 0, 0, 0, mode, 1);
        node->flags = flags;
        return node;
    }

    WorldObject* root_ = nullptr;
};

TEST_F(EngineTest, RotationOrdersGiveTheirProducts)
{
    const float angles[3] = {0.3f, -1.1f, 2.0f};
    for (int order = 0; order < 6; ++order)
    {
        WorldObject* node = Node(root_, kAttachChild, static_cast<uint16_t>(0x20 | order));
        std::copy(std::begin(angles), std::end(angles), node->angles);
        world_.CollRotateAll();
        const Matrix expected = OrderProduct(order, angles);
        for (int i = 0; i < 9; ++i)
        {
            EXPECT_NEAR(node->matrix[i], expected[i], 1e-6) << "order " << order << " entry " << i;
        }
    }

    // Orders 6 and 7 leave the matrix as it is.
    WorldObject* fixed = Node(root_, kAttachChild, 0x26);
    const float values[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::copy(std::begin(values), std::end(values), fixed->matrix);
    world_.CollRotateAll();
    EXPECT_TRUE(std::equal(std::begin(values), std::end(values), fixed->matrix));
}

TEST_F(EngineTest, TranslationsTurnAboutPivots)
{
    WorldObject* parent = Node(root_, kAttachChild, 0x20);
    parent->placement = {1, 2, 3};
    parent->pivot = {0.5f, 0, -1};
    parent->angles[1] = 0.7f;
    WorldObject* child = Node(parent, kAttachChild, 0x20 | 5);
    child->placement = {-2, 1, 4};
    child->pivot = {0, 1, 0};
    child->angles[0] = 0.4f;
    child->angles[2] = -0.9f;
    world_.CollRotateAll();

    // t = M_P (placement + pivot) + t_P - M pivot
    const Vector3 sum = {child->placement.x + child->pivot.x, child->placement.y + child->pivot.y,
                         child->placement.z + child->pivot.z};
    const auto parentPart = Apply(parent->matrix, sum);
    const auto pivotPart = Apply(child->matrix, child->pivot);
    EXPECT_NEAR(child->viewTranslation.x, parentPart[0] + parent->viewTranslation.x - pivotPart[0],
                1e-5);
    EXPECT_NEAR(child->viewTranslation.y, parentPart[1] + parent->viewTranslation.y - pivotPart[1],
                1e-5);
    EXPECT_NEAR(child->viewTranslation.z, parentPart[2] + parent->viewTranslation.z - pivotPart[2],
                1e-5);
}

TEST_F(EngineTest, CollisionWalkFollowsOnlyFlaggedSubtrees)
{
    root_->angles[1] = 1.0f;
    root_->placement = {5, 5, 5};
    world_.UpdateCamera();
    WorldObject* flagged = Node(root_, kAttachChild, 0x20);
    flagged->placement = {1, 0, 0};
    WorldObject* reached[3] = {Node(flagged, kAttachChild, 0x20),
                               Node(flagged, kAttachSubObject, 0x20),
                               Node(flagged, kAttachBspObject, 0x20)};
    WorldObject* unflagged = Node(root_, kAttachChild, 0);
    WorldObject* hidden = Node(unflagged, kAttachChild, 0x20);
    hidden->viewTranslation = {9, 9, 9};

    world_.CollRotateAll();
    ExpectIdentity(*root_);
    for (const WorldObject* node : reached)
    {
        EXPECT_EQ(node->viewTranslation.x, 1.0f);
        EXPECT_EQ(node->matrix[0], 1.0f);
    }
    EXPECT_EQ(hidden->viewTranslation.x, 9.0f);
}

TEST_F(EngineTest, RecalcMatrixWorksDownFromTheCamera)
{
    WorldObject* parent = Node(root_, kAttachChild, 0);
    parent->placement = {0, 0, 4};
    parent->angles[1] = 0.5f;
    WorldObject* child = Node(parent, kAttachChild, 0);
    child->placement = {1, 0, 0};
    root_->matrix[0] = 7.0f;
    world_.RecalcMatrix(child);
    ExpectIdentity(*root_);
    EXPECT_NEAR(child->viewTranslation.x, std::cos(0.5), 1e-6);
    EXPECT_NEAR(child->viewTranslation.z, 4.0 - std::sin(0.5), 1e-6);

    // A node that does not hang below the camera is refused without any change.
    WorldObject* loose = Node(root_, kAttachChild, 0);
    WorldObject* looseChild = Node(loose, kAttachChild, 0);
    world_.DetachObject(loose, root_, kAttachChild);
    looseChild->viewTranslation = {3, 3, 3};
    root_->matrix[0] = 7.0f;
    world_.RecalcMatrix(looseChild);
    world_.RecalcMatrix(nullptr);
    EXPECT_EQ(looseChild->viewTranslation.x, 3.0f);
    EXPECT_EQ(root_->matrix[0], 7.0f);
}

TEST_F(EngineTest, FarDistanceIsRaisedInTheGameBlock)
{
    world_.Vars().farDistance = 0.05f;
    vecdll_SetVectorVars(&world_.Vars());
    EXPECT_EQ(world_.Vars().farDistance, 0.1f);
}

class CullingTest : public SceneTest
{
protected:
    CullingTest() { root_ = CreateScene(); }

    WorldObject* Node(WorldObject* parent, float z, float ownRadius, float groupRadius)
    {
        WorldObject* node = world_.AttachNewObject(parent, 0, 0, z, kAttachChild, groupRadius);
        node->ownRadius = ownRadius;
        return node;
    }

    WorldObject* root_ = nullptr;
};

TEST_F(CullingTest, SpheresSetClipCodesAndKeys)
{
    WorldObject* ahead = Node(root_, 10, 1, 1);
    WorldObject* behind = Node(root_, -10, 1, 1);
    // Its own sphere lies behind the eye, its group reaches into the view.
    WorldObject* group = Node(root_, -0.5f, 0.1f, 5);
    WorldObject* member = Node(group, 10.5f, 1, 1);
    WorldObject* outsideMember = Node(behind, 20, 1, 1);
    outsideMember->clipCode = 0x55;
    world_.DrawWorld(0);

    EXPECT_EQ(ahead->clipCode, 0x80);
    EXPECT_FLOAT_EQ(ahead->distanceKey, 100.0f / (300.0f * 300.0f));
    EXPECT_EQ(behind->clipCode, 0);
    EXPECT_EQ(group->clipCode, 0x80);
    EXPECT_EQ(member->clipCode, 0x80);
    EXPECT_FLOAT_EQ(member->distanceKey, ahead->distanceKey);
    EXPECT_EQ(outsideMember->clipCode, 0x55);  // below a node whose group is outside
}

TEST_F(CullingTest, NothingHappensWhileTheScreenIsGivenUp)
{
    WorldObject* node = Node(root_, 10, 1, 1);
    node->clipCode = 0x55;
    rdll_LooseFocus();
    EXPECT_EQ(world_.DrawWorld(0), 1);
    EXPECT_EQ(node->clipCode, 0x55);
}

using render::vector::ClipCorners;
using render::vector::ClipToScreen;
using render::vector::ClipVertex;

ClipVertex Corner(int32_t x, int32_t y, float q = 1.0f, float u = 0.0f)
{
    ClipVertex vertex;
    vertex.screenX = x;
    vertex.screenY = y;
    vertex.q = q;
    vertex.u = u;
    return vertex;
}

ClipCorners Polygon(std::initializer_list<ClipVertex> corners)
{
    ClipCorners polygon;
    for (const ClipVertex& corner : corners)
    {
        polygon.Add(corner);
    }
    return polygon;
}

TEST(ScreenClip, PolygonOverTheWholeViewportKeepsItsCorners)
{
    ClipCorners polygon = Polygon({Corner(-500, -400), Corner(900, -400), Corner(200, 3000)});
    ClipCorners scratch;
    ClipToScreen(polygon, scratch, 320, 240);
    std::vector<std::pair<int32_t, int32_t>> corners;
    for (const ClipVertex& vertex : polygon)
    {
        corners.emplace_back(vertex.screenX, vertex.screenY);
    }
    std::ranges::sort(corners);
    EXPECT_EQ(corners,
              (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {0, 240}, {320, 0}, {320, 240}}));
}

TEST(ScreenClip, PolygonOnTheScreenComesBackAsItWas)
{
    // Corners on all four borders count as inside.
    const ClipCorners original =
        Polygon({Corner(0, 0, 1.0f, 0.25f), Corner(320, 17, 0.5f, 1.0f),
                 Corner(160, 240, 0.75f, 0.5f), Corner(0, 120, 0.9f, 0.1f)});
    ClipCorners polygon = original;
    ClipCorners scratch;
    ClipToScreen(polygon, scratch, 320, 240);
    ASSERT_EQ(polygon.size(), original.size());
    for (size_t i = 0; i < original.size(); ++i)
    {
        EXPECT_EQ(polygon[i].screenX, original[i].screenX) << i;
        EXPECT_EQ(polygon[i].screenY, original[i].screenY) << i;
        EXPECT_EQ(polygon[i].q, original[i].q) << i;
        EXPECT_EQ(polygon[i].u, original[i].u) << i;
    }
}

TEST(ScreenClip, CutsInterpolateInScreenSpaceAndPerspective)
{
    // An edge from x = -100 to 100 is cut at x = 0: the other coordinate by integers, q in
    // screen space, u by the perspective-correct fraction s q1 / q.
    ClipCorners polygon = Polygon(
        {Corner(-100, 50, 1.0f, 0.0f), Corner(100, 151, 0.5f, 1.0f), Corner(100, 200, 0.5f, 1.0f)});
    ClipCorners scratch;
    ClipToScreen(polygon, scratch, 320, 240);
    ASSERT_EQ(polygon.size(), 4u);
    const ClipVertex& cut = polygon[0];
    EXPECT_EQ(cut.screenX, 0);
    EXPECT_EQ(cut.screenY, 100);  // 50 + 100 x 101 / 200, truncated toward zero
    EXPECT_FLOAT_EQ(cut.q, 0.75f);
    EXPECT_FLOAT_EQ(cut.u, 1.0f / 3.0f);

    ClipCorners outside = Polygon({Corner(-30, 5), Corner(-10, 5), Corner(-10, 90)});
    ClipToScreen(outside, scratch, 320, 240);
    EXPECT_TRUE(outside.empty());
}

TEST(ScreenClip, PolygonGrowingBeyondTheCornerBufferIsNotDrawn)
{
    // A zigzag over the left border: every edge is cut, so n corners become n / 2 + n.
    const struct
    {
        int corners;
        size_t clipped;
    } cases[] = {{42, 63}, {44, 0}};
    for (const auto& c : cases)
    {
        ClipCorners polygon;
        for (int k = 0; k < c.corners; ++k)
        {
            polygon.Add(Corner(k % 2 == 0 ? -10 : 10, k));
        }
        ClipCorners scratch;
        ClipToScreen(polygon, scratch, 320, 240);
        EXPECT_EQ(polygon.size(), c.clipped) << c.corners;
    }
}
}  // namespace
