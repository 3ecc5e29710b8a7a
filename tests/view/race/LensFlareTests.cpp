// The lens flare's sprites from the sun's view position: depth, the border fade, off-screen
// suns and the screen's width.

#include <gtest/gtest.h>

#include "view/race/LensFlare.h"

namespace
{
// A sun straight ahead projects onto the screen's centre.
FlareView SunAt(float x, float y, float depth, int32_t width = 640, int32_t height = 480)
{
    return {x, y, depth, 320.0f, 320.0f, width, height};
}

TEST(LensFlareTest, ASunAtTheNearestDepthIsDrawnAndNearerIsNot)
{
    EXPECT_EQ(ComputeLensFlare(SunAt(0.0f, 0.0f, 0.1f)).count, 16u);
    EXPECT_EQ(ComputeLensFlare(SunAt(0.0f, 0.0f, 0.0999f)).count, 0u);
    EXPECT_EQ(ComputeLensFlare(SunAt(0.0f, 0.0f, -5.0f)).count, 0u);
}

TEST(LensFlareTest, TheChainRunsFromTheSunThroughTheCentreToItsMirrorPoint)
{
    // 100 pixels right of and 50 above the centre.
    const FlareSprites flare = ComputeLensFlare(SunAt(100.0f, 50.0f, 320.0f));
    ASSERT_EQ(flare.count, 16u);
    EXPECT_EQ(flare.sprites[0].x, 420);  // the glow
    EXPECT_EQ(flare.sprites[0].y, 190);
    EXPECT_EQ(flare.sprites[0].size, 300);
    EXPECT_EQ(flare.sprites[0].alpha, 180);
    EXPECT_EQ(flare.sprites[1].size, 100);  // the core
    EXPECT_EQ(flare.sprites[1].texture, 1054);
    const FlareSprite& centre = flare.sprites[2 + 5];  // place 0.5
    EXPECT_EQ(centre.x, 320);
    EXPECT_EQ(centre.y, 240);
    const FlareSprite& mirror = flare.sprites[2 + 13];  // place 1.0
    EXPECT_EQ(mirror.x, 220);
    EXPECT_EQ(mirror.y, 290);
    EXPECT_EQ(mirror.size, 150);
}

TEST(LensFlareTest, AtTheBorderOnlyTheCoreKeepsItsAlpha)
{
    // Exactly on the left edge.
    const FlareSprites flare = ComputeLensFlare(SunAt(-320.0f, 0.0f, 320.0f));
    ASSERT_EQ(flare.count, 16u);
    EXPECT_EQ(flare.sprites[0].alpha, 0);
    EXPECT_EQ(flare.sprites[1].alpha, 255);
    for (size_t i = 2; i < flare.count; ++i)
    {
        EXPECT_EQ(flare.sprites[i].alpha, 0) << i;
    }
}

TEST(LensFlareTest, ASunOffTheScreenDrawsGlowAndCoreOnly)
{
    EXPECT_EQ(ComputeLensFlare(SunAt(-400.0f, 0.0f, 320.0f)).count, 2u);
    EXPECT_EQ(ComputeLensFlare(SunAt(0.0f, 300.0f, 320.0f)).count, 2u);
}

TEST(LensFlareTest, TheFlareScalesWithTheScreenWidth)
{
    // 20 pixels inside the border: half faded at 640 (zone 40), less at 1024 (zone 64).
    EXPECT_EQ(ComputeLensFlare(SunAt(300.0f, 0.0f, 320.0f)).sprites[0].alpha, 128 * 180 >> 8);
    const FlareSprites wide = ComputeLensFlare(SunAt(492.0f, 0.0f, 320.0f, 1024, 768));
    EXPECT_EQ(wide.sprites[0].size, 480);
    EXPECT_EQ(wide.sprites[0].alpha, (20 * 256 / 64) * 180 >> 8);
}

TEST(LensFlareTest, ASunBesideTheEyeProjectsFarOffWithoutOverflow)
{
    const FlareSprites flare = ComputeLensFlare(SunAt(1.0e30f, 0.0f, 0.1f));
    EXPECT_EQ(flare.count, 2u);
}
}  // namespace
