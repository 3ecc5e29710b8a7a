// The frame kit and the background picture load only what is not loaded already.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/framework/FrameKit.h"
#include "frontend/toolkit/MenuBackground.h"
#include "tests/frontend/framework/RecordingRenderer.h"

TEST(FrameKit, LoadsALookOnceAndReplacesItForAnother)
{
    const RecordingRenderer renderer;
    FrameKit kit;
    kit.Select(0);
    kit.Select(0);
    kit.Select(2);
    kit.Select(3);  // no such look
    kit.Select(-1);
    EXPECT_EQ(kit.Look(), 2);
    kit.Free();
    const std::vector<std::string> expected = {"load MainMenu/rahmenbausatz.bmp",
                                               "reload MainMenu/rahmenbausatz3.bmp", "free"};
    EXPECT_EQ(RecordingRenderer::Calls(), expected);
}

TEST(FrameKit, AMissingPictureLeavesNoLookSoTheNextSelectTriesAgain)
{
    const RecordingRenderer renderer;
    RecordingRenderer::Missing().push_back("MainMenu/rahmenbausatz2.bmp");
    FrameKit kit;
    kit.Select(1);
    EXPECT_EQ(kit.Picture(), nullptr);
    kit.Select(1);
    EXPECT_EQ(RecordingRenderer::Calls().size(), 2u);
}

TEST(MenuBackground, TheSamePictureUnderAnotherSpellingIsNotLoadedAgain)
{
    const RecordingRenderer renderer;
    MenuBackground background;
    background.Set("MainMenu/startscreen.jpg");
    background.Set("mainmenu/STARTSCREEN.JPG");
    background.Set("MainMenu/hintergrund.jpg");
    EXPECT_EQ(background.Name(), "MainMenu/hintergrund.jpg");
    background.Free();
    EXPECT_EQ(background.Name(), "");
    background.Set("MainMenu/hintergrund.jpg");
    background.Free();
    const std::vector<std::string> expected = {"load MainMenu/startscreen.jpg",
                                               "reload MainMenu/hintergrund.jpg", "free",
                                               "load MainMenu/hintergrund.jpg", "free"};
    EXPECT_EQ(RecordingRenderer::Calls(), expected);
}
