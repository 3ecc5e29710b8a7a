// The wipe darkens the screen diagonally, eight tiles to a row, and ends at its 147th step.

#include <gtest/gtest.h>

#include <string>

#include "frontend/framework/ScreenTransition.h"
#include "tests/frontend/framework/RecordingRenderer.h"

namespace
{
int TilesInRow(int row)
{
    const std::string rowTop = " " + std::to_string(row * ScreenTransition::kTileHeight) + " 80 60";
    int tiles = 0;
    for (const std::string& call : RecordingRenderer::Calls())
    {
        if (call.starts_with("rect ") && call.find(rowTop) != std::string::npos &&
            call.ends_with(" 10"))
        {
            ++tiles;
        }
    }
    return tiles;
}
}  // namespace

TEST(ScreenTransition, WipesDiagonallyAndEndsAtItsStep147)
{
    const RecordingRenderer renderer;
    ScreenTransition transition;
    EXPECT_FALSE(transition.Draw());
    transition.Start();
    ASSERT_TRUE(transition.Draw());
    EXPECT_EQ(RecordingRenderer::Calls().front(), "clip 0 0 640 480");
    EXPECT_EQ(TilesInRow(0), 1);
    EXPECT_EQ(RecordingRenderer::Calls().size(), 2u);

    int steps = 1;
    while (transition.Draw())
    {
        ++steps;
    }
    EXPECT_EQ(steps, 146);  // the 147th step ends it
    EXPECT_FALSE(transition.IsRunning());
}

TEST(ScreenTransition, NoRowGetsMoreThanEightTiles)
{
    const RecordingRenderer renderer;
    ScreenTransition transition;
    transition.Start();
    for (int step = 0; step < 146; ++step)
    {
        RecordingRenderer::Calls().clear();
        ASSERT_TRUE(transition.Draw());
    }
    // Counter 12228: 47 tiles reached, every row full.
    for (int row = 0; row < 8; ++row)
    {
        EXPECT_EQ(TilesInRow(row), 8) << row;
    }
}
