#include "platform/sdl/PictureArea.h"

#include <gtest/gtest.h>

namespace
{
TEST(FitPictureTest, KeepsTheAspectAndCentres)
{
    struct Case
    {
        int outerWidth;
        int outerHeight;
        int x;
        int y;
        int width;
        int height;
    };
    const Case cases[] = {
        {640, 480, 0, 0, 640, 480},        // the picture's own size
        {1024, 768, 0, 0, 1024, 768},      // same aspect
        {1920, 1080, 240, 0, 1440, 1080},  // wide: bars left and right
        {1280, 1024, 0, 32, 1280, 960},    // tall: bars above and below
        {0, 0, 0, 0, 0, 0},                // a minimised window
    };
    for (const Case& c : cases)
    {
        const PictureArea area = FitPicture(c.outerWidth, c.outerHeight, 640, 480);
        EXPECT_EQ(area.x, c.x) << c.outerWidth << "x" << c.outerHeight;
        EXPECT_EQ(area.y, c.y) << c.outerWidth << "x" << c.outerHeight;
        EXPECT_EQ(area.width, c.width) << c.outerWidth << "x" << c.outerHeight;
        EXPECT_EQ(area.height, c.height) << c.outerWidth << "x" << c.outerHeight;
    }
}

TEST(WindowToPictureTest, ScalesIntoThePictureAndClampsTheBorders)
{
    const PictureArea wide = FitPicture(1920, 1080, 640, 480);
    struct Case
    {
        int windowX;
        int windowY;
        int x;
        int y;
    };
    const Case cases[] = {
        {240, 0, 0, 0},          // the picture's first pixel
        {960, 540, 320, 240},    // its centre
        {1679, 1079, 639, 479},  // its last pixel
        {100, 540, 0, 240},      // on the left bar
        {1900, -20, 639, 0},     // right bar, above the window
        {5000, 5000, 639, 479},  // far outside
    };
    for (const Case& c : cases)
    {
        const PicturePoint point = WindowToPicture(c.windowX, c.windowY, wide, 640, 480);
        EXPECT_EQ(point.x, c.x) << c.windowX << "," << c.windowY;
        EXPECT_EQ(point.y, c.y) << c.windowX << "," << c.windowY;
    }
    const PicturePoint none = WindowToPicture(10, 10, PictureArea{}, 640, 480);
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
}
}  // namespace
