#include <gtest/gtest.h>

#include "app/config/ConfigBlock.h"
#include "app/config/RaceScreenMode.h"

namespace
{
bool operator==(const ScreenMode& a, const ScreenMode& b)
{
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel &&
           a.refreshRateHz == b.refreshRateHz && a.unused == b.unused;
}

// An offered size is taken with every word of the record; any other size, the all-zero
// record of a fresh set-up among them, falls back to the game's own mode.
TEST(RaceScreenModeTest, TakesAnOfferedModeAndFallsBackOtherwise)
{
    struct Case
    {
        DisplayModeRecord record;
        ScreenMode expected;
    };
    const ScreenMode fallback{640, 480, 16, 60, 0};
    const Case cases[] = {
        {{800, 600, 16, 75, 3}, {800, 600, 16, 75, 3}},
        {{1600, 1200, 16, 60, 0}, {1600, 1200, 16, 60, 0}},
        {{0, 0, 0, 0, 0}, fallback},
        {{640, 0, 16, 60, 0}, fallback},
        {{641, 480, 16, 60, 0}, fallback},
        {{-640, -480, 16, 60, 0}, fallback},
    };
    for (const Case& test : cases)
    {
        ConfigBlock config;
        config.SetDisplayMode(test.record);
        const ConfigBlock before = config;
        g_raceScreenMode = {};
        TakeRaceScreenMode(config);
        EXPECT_TRUE(g_raceScreenMode == test.expected)
            << test.record.width << "x" << test.record.height;
        EXPECT_TRUE(config == before);
    }
}
}  // namespace
