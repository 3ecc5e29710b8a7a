#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "kit/motion/MotionCacheWriter.h"
#include "tests/view/motion/MotionTestSupport.h"
#include "view/motion/MotionFile.h"

namespace
{
constexpr float kRate = 10.0f;
constexpr int32_t kFrames = 4;

// The value of a numbered track at a frame position, reading the wrap slot as the clip does.
float ValueAt(int32_t track, int32_t component, float t, bool loop)
{
    const auto slot = [&](int32_t frame)
    {
        const int32_t stored = frame < kFrames ? frame : loop ? 0 : kFrames - 1;
        return static_cast<float>(NumberedValue(track, component, stored));
    };
    const auto index = static_cast<int32_t>(t);
    const float fraction = t - static_cast<float>(index);
    return slot(index) + (slot(index + 1) - slot(index)) * fraction;
}

class MotionEvaluationTest : public MotionTest
{
protected:
    void LoadClip(uint32_t flags, uint32_t loop)
    {
        WriteGameFile("clip.bmo", kit::WriteMotionCache(NumberedClip(kFrames)));
        ASSERT_TRUE(clip_.Load("clip", flags, kRate, loop));
    }

    MotionFile clip_;
};

// Frame positions move by step x rate, wrap past the end of a looping clip and stop at the
// frame count of one that holds; between the last frame and the wrap slot a looping clip
// blends back into its first frame.
TEST_F(MotionEvaluationTest, RootMovesOnWrapsOrHolds)
{
    struct Case
    {
        uint32_t loop;
        float frame;
        float step;
        float expectedT;
    };
    const Case cases[] = {
        {0, 0.0f, 0.0f, 0.0f}, {0, 1.5f, 0.0f, 1.5f},  {0, 1.0f, 0.05f, 1.5f},
        {0, 3.0f, 0.2f, 4.0f}, {0, 4.0f, 0.0f, 4.0f},  {0, 3.5f, 0.0f, 3.5f},
        {1, 3.5f, 0.0f, 3.5f}, {1, 3.0f, 0.15f, 0.5f}, {1, 2.0f, 0.2f, 0.0f},
    };
    for (const Case& c : cases)
    {
        LoadClip(0, c.loop);
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        const float t = clip_.EvaluateRoot(c.frame, c.step, x, y, z, 0);
        SCOPED_TRACE(testing::Message()
                     << "loop " << c.loop << ", frame " << c.frame << " + " << c.step << " s");
        EXPECT_FLOAT_EQ(t, c.expectedT);
        EXPECT_FLOAT_EQ(x, ValueAt(0, 0, t, c.loop) * kPositionUnit);
        EXPECT_FLOAT_EQ(y, ValueAt(0, 1, t, c.loop) * kPositionUnit);
        EXPECT_FLOAT_EQ(z, ValueAt(0, 2, t, c.loop) * kPositionUnit);
        float a = 0.0f;
        float b = 0.0f;
        float angle = 0.0f;
        clip_.EvaluatePart(6, a, b, angle);
        EXPECT_FLOAT_EQ(b, ValueAt(7, 1, t, c.loop) * kAngleUnit) << "upper arm left, heading";
    }
}

// Pose values at chosen frames: each part plays its own track, or when mirrored its partner's
// with heading and bank negated.
TEST_F(MotionEvaluationTest, MirroringSwapsLimbsAndNegatesSideways)
{
    LoadClip(0, 0);
    const int32_t partners[kMotionPartCount] = {0, 1, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 12};
    for (const float frame : {0.0f, 1.25f, 2.5f, 3.75f})
    {
        for (const uint32_t mirror : {0u, 1u})
        {
            float x = 0.0f;
            float y = 0.0f;
            float z = 0.0f;
            const float t = clip_.EvaluateRoot(frame, 0.0f, x, y, z, mirror);
            const float sign = mirror != 0 ? -1.0f : 1.0f;
            EXPECT_FLOAT_EQ(x, sign * ValueAt(0, 0, t, false) * kPositionUnit);
            EXPECT_FLOAT_EQ(z, ValueAt(0, 2, t, false) * kPositionUnit);
            for (int32_t part = 0; part < kMotionPartCount; ++part)
            {
                const int32_t track = 1 + (mirror != 0 ? partners[part] : part);
                float a = 0.0f;
                float b = 0.0f;
                float c = 0.0f;
                clip_.EvaluatePart(part, a, b, c);
                SCOPED_TRACE(testing::Message()
                             << "frame " << frame << ", mirror " << mirror << ", part " << part);
                EXPECT_FLOAT_EQ(a, ValueAt(track, 0, t, false) * kAngleUnit);
                EXPECT_FLOAT_EQ(b, sign * ValueAt(track, 1, t, false) * kAngleUnit);
                EXPECT_FLOAT_EQ(c, sign * ValueAt(track, 2, t, false) * kAngleUnit);
            }
        }
    }
}

TEST_F(MotionEvaluationTest, BikeTracksPlayLikeTheRoot)
{
    LoadClip(0, 0);
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    const float t = clip_.EvaluateBikeRoot(0.5f, 0.1f, x, y, z, 1);
    ASSERT_FLOAT_EQ(t, 1.5f);
    EXPECT_FLOAT_EQ(x, -ValueAt(14, 0, t, false) * kPositionUnit);
    EXPECT_FLOAT_EQ(y, ValueAt(14, 1, t, false) * kPositionUnit);
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    clip_.EvaluateBikeAngles(a, b, c);
    EXPECT_FLOAT_EQ(a, ValueAt(15, 0, t, false) * kAngleUnit);
    EXPECT_FLOAT_EQ(c, -ValueAt(15, 2, t, false) * kAngleUnit);
}

TEST_F(MotionEvaluationTest, ScaledClipsMultiplyTheRootsGroundPlaneByTheRate)
{
    LoadClip(kClipRootScaledByRate, 0);
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    clip_.EvaluateRoot(2.0f, 0.0f, x, y, z, 0);
    EXPECT_FLOAT_EQ(x, ValueAt(0, 0, 2.0f, false) * kPositionUnit * kRate);
    EXPECT_FLOAT_EQ(y, ValueAt(0, 1, 2.0f, false) * kPositionUnit);
    EXPECT_FLOAT_EQ(z, ValueAt(0, 2, 2.0f, false) * kPositionUnit * kRate);
}

TEST_F(MotionEvaluationTest, EmptyClipEvaluatesToRest)
{
    float x = 1.0f;
    float y = 1.0f;
    float z = 1.0f;
    EXPECT_EQ(clip_.EvaluateRoot(2.0f, 0.5f, x, y, z, 1), 2.0f);
    EXPECT_EQ(x, 0.0f);
    clip_.EvaluatePart(4, x, y, z);
    EXPECT_EQ(z, 0.0f);
}

TEST(RotateXZTest, TurnsThePairByTheThirdAngle)
{
    const float angles[3] = {1.0f, 2.0f, std::numbers::pi_v<float> / 2};
    float a = 1.0f;
    float b = 0.0f;
    RotateXZ(angles, a, b);
    EXPECT_NEAR(a, 0.0f, 1e-6f);
    EXPECT_NEAR(b, -1.0f, 1e-6f);
}
}  // namespace
