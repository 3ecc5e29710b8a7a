#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/world/WorldObject.h"
#include "tests/race/ground/GridGround.h"
#include "tests/view/motion/MotionTestSupport.h"
#include "view/motion/MotionPlayer.h"

namespace
{
constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;
constexpr float kFrameTime = 1.0f / 20.0f;

// Frames 10 to 13: "cart" moves along x by 1 a frame and turns 10 degrees a frame; "marker",
// a null object, rises by 2 a frame.
std::string Scene()
{
    std::string text =
        "LWSC\r\n1\r\nPreviewFirstFrame 10\r\nPreviewLastFrame 13\r\n"
        "LoadObject Objects/cart.lwo\r\nShowObject 6 7\r\nObjectMotion\r\n  9\r\n  2\r\n"
        "  0 0 5 0 0 0 1 1 1\r\n  10 0 0 0 0\r\n"
        "  3 0 5 30 15 -6 1 1 1\r\n  13 0 0 0 0\r\nEndBehavior 1\r\n"
        "AddNullObject marker\r\nShowObject 6 7\r\nObjectMotion\r\n  9\r\n  2\r\n"
        "  0 0 0 0 0 0 1 1 1\r\n  10 0 0 0 0\r\n"
        "  0 6 0 0 0 0 1 1 1\r\n  13 0 0 0 0\r\nEndBehavior 1\r\n";
    return text;
}

const std::string_view kNames[] = {"cart", "marker", "wheel"};

class MotionPlayerTest : public MotionTest
{
protected:
    MotionPlayerTest()
    {
        const std::string text = Scene();
        WriteGameFile("scene.lws", std::vector<uint8_t>(text.begin(), text.end()));
    }

    std::vector<MotionBinding> Bindings(uint32_t cartFlags, uint32_t markerFlags)
    {
        return {{0, &cartNode_, cartFlags},
                {1, &markerNode_, markerFlags | binding_flags::kNullObject}};
    }

    WorldObject cart_{};
    WorldObject marker_{};
    WorldObject* cartNode_ = &cart_;
    WorldObject* markerNode_ = &marker_;
    MotionPlayer player_;
};

TEST_F(MotionPlayerTest, PlaysPositionAndRotationKeysInALoop)
{
    const uint32_t both = binding_flags::kSetPosition | binding_flags::kSetRotation;
    ASSERT_TRUE(player_.ConvertScene("scene", kNames, Bindings(both, both)));
    EXPECT_EQ(player_.FrameCount(), 4);
    EXPECT_FLOAT_EQ(player_.Duration(), 0.2f);
    struct Case
    {
        float dt;
        float x;        // of the cart
        float heading;  // degrees
        float markerY;
    };
    // Frame 3 blends back into frame 0 as the animation loops.
    const Case cases[] = {
        {0.0f, 0.0f, 0.0f, 0.0f},
        {0.5f * kFrameTime, 0.5f, 5.0f, 1.0f},
        {kFrameTime, 1.5f, 15.0f, 3.0f},
        {1.25f * kFrameTime, 2.75f, 27.5f, 5.5f},
        {0.5f * kFrameTime, 2.25f, 22.5f, 4.5f},  // 3.25 frames: on the way back to frame 0
        {0.25f * kFrameTime, 1.5f, 15.0f, 3.0f},
        {0.5f * kFrameTime, 0.0f, 0.0f, 0.0f},  // round and back at frame 0
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(player_.Advance(c.dt));
        EXPECT_NEAR(cart_.placement.x, c.x, 1e-4f) << player_.Time();
        EXPECT_FLOAT_EQ(cart_.placement.z, 5.0f);
        EXPECT_NEAR(cart_.angles[1], c.heading * kDegree, 1e-5f) << player_.Time();
        EXPECT_NEAR(cart_.angles[0], c.heading * 0.5f * kDegree, 1e-5f) << "pitch";
        EXPECT_NEAR(cart_.angles[2], -c.heading * 0.2f * kDegree, 1e-5f) << "bank";
        EXPECT_NEAR(marker_.placement.y, c.markerY, 1e-4f);
    }
}

TEST_F(MotionPlayerTest, MissingObjectIsReportedAndPlaysNothing)
{
    std::vector<MotionBinding> bindings = Bindings(binding_flags::kSetPosition, 0);
    WorldObject wheel{};
    WorldObject* wheelNode = &wheel;
    bindings.push_back({2, &wheelNode, binding_flags::kSetPosition});
    bindings.push_back({7, &wheelNode, binding_flags::kSetPosition});
    ASSERT_TRUE(player_.ConvertScene("scene", kNames, bindings));
    EXPECT_EQ(platform_.MessageBoxes(),
              (std::vector<std::string>{"wheel not found in motion", " not found in motion"}));
    wheel.placement = {9.0f, 9.0f, 9.0f};
    ASSERT_TRUE(player_.Advance(0.06f));
    EXPECT_EQ(wheel.placement.x, 9.0f);
    EXPECT_EQ(player_.Channels()[2].positionKeys, -1);
}

TEST_F(MotionPlayerTest, CacheLoadsAsTheSceneConvertedAndOthersShareIt)
{
    const uint32_t both = binding_flags::kSetPosition | binding_flags::kSetRotation;
    ASSERT_TRUE(player_.ConvertScene("scene", kNames, Bindings(both, both)));
    ASSERT_TRUE(player_.Save("scene"));

    WorldObject cart{};
    WorldObject marker{};
    WorldObject* cartNode = &cart;
    WorldObject* markerNode = &marker;
    const MotionBinding bindings[] = {{0, &cartNode, both}, {1, &markerNode, both}};
    MotionPlayer loaded;
    ASSERT_TRUE(loaded.Load("scene", 0, bindings));
    EXPECT_EQ(cart.placement.z, 5.0f) << "the first frame";
    MotionPlayer shared;
    WorldObject other{};
    WorldObject* otherNode = &other;
    const MotionBinding otherBindings[] = {{0, &otherNode, both}};
    shared.ShareFrom(player_, otherBindings);
    for (int frame = 0; frame < 7; ++frame)
    {
        player_.Advance(0.03f);
        loaded.Advance(0.03f);
        shared.Advance(0.03f);
        EXPECT_EQ(cart.placement.x, cart_.placement.x);
        EXPECT_EQ(cart.angles[1], cart_.angles[1]);
        EXPECT_EQ(marker.placement.y, marker_.placement.y);
        EXPECT_EQ(other.placement.x, cart_.placement.x);
    }

    MotionPlayer wrong;
    EXPECT_FALSE(wrong.Load("scene", 0, otherBindings)) << "made for other bindings";
    EXPECT_FALSE(wrong.Advance(0.1f)) << "nothing to play";
}

// A relative channel adds each frame's step; one in the node's frame turns it first.
TEST_F(MotionPlayerTest, RelativeMotionInTheNodesFrame)
{
    using namespace binding_flags;
    ASSERT_TRUE(player_.ConvertScene(
        "scene", kNames,
        Bindings(kSetPosition | kRelative | kInNodeFrame | kAddOffset, kSetPosition | kRelative)));
    // A quarter turn: x becomes -z.
    const float turn[9] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, -1.0f, 0.0f, 0.0f};
    std::copy(std::begin(turn), std::end(turn), cart_.matrix);
    player_.SetChannelOffset(0, 0.0f, 0.25f, 0.0f);
    player_.Advance(kFrameTime);  // frame 1: a step of +1 in x
    EXPECT_FLOAT_EQ(cart_.placement.z, -1.0f);
    EXPECT_FLOAT_EQ(cart_.placement.y, 0.25f);
    player_.Advance(2.0f * kFrameTime);  // frame 3
    EXPECT_FLOAT_EQ(cart_.placement.z, -2.0f);
    player_.Advance(kFrameTime);  // frame 0 takes the step from the last frame
    EXPECT_FLOAT_EQ(marker_.placement.y, 2.0f + 2.0f - 6.0f);
}

TEST_F(MotionPlayerTest, FollowsTheGroundAndFacesItsTarget)
{
    using namespace binding_flags;
    BoundGround ground(GridSpec{4, 4, 2.0f, -1.0f, 0.0f, 4, 0.5f});
    ASSERT_TRUE(player_.ConvertScene(
        "scene", kNames, Bindings(kSetPosition | kFollowGround | kFaceTarget, kSetPosition)));
    player_.SetGround(&ground.Mesh());
    player_.SetChannelTarget(0, -10.0f, 0.0f, 5.0f);
    ASSERT_TRUE(player_.Advance(kFrameTime));
    EXPECT_FLOAT_EQ(cart_.placement.y, 2.5f) << "the ground at z = 5";
    EXPECT_NEAR(cart_.angles[1], -std::numbers::pi_v<float> / 2, 0.01f) << "towards -x";
    player_.SetChannelTarget(0, cart_.placement.x, 0.0f, cart_.placement.z);
    const float heading = cart_.angles[1];
    player_.Advance(0.0f);
    EXPECT_EQ(cart_.angles[1], heading) << "standing on its target";

    MotionPlayer offGround;
    ASSERT_TRUE(offGround.ConvertScene("scene", kNames, Bindings(kSetPosition | kFollowGround, 0)));
    BoundGround far(GridSpec{1, 1, 1.0f, 100.0f, 100.0f});
    offGround.SetGround(&far.Mesh());
    EXPECT_FALSE(offGround.Advance(kFrameTime)) << "no ground at the first lookup";
}
}  // namespace
