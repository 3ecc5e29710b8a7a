#include "tests/frontend/toolkit/ToolkitScreen.h"

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "kit/DemoInstallation.h"
#include "kit/font/DemoFonts.h"
#include "kit/menu/MenuCanvas.h"
#include "kit/menu/MenuPictures.h"
#include "kit/picture/BmpWriter.h"

namespace
{
constexpr const char* kMenuArchiveName = "menu.cpr";

kit::RgbaPicture Button(uint32_t face, uint32_t label)
{
    kit::MenuCanvas canvas(kButtonWidth, kButtonHeight, face);
    canvas.Bevel({0, 0, kButtonWidth, kButtonHeight}, face, false);
    canvas.Label({0, 0, kButtonWidth, kButtonHeight}, "OK", 2, label);
    return canvas.Picture();
}

kit::RgbaPicture Knob()
{
    kit::MenuCanvas canvas(16, 16, 0xC83C3C);
    canvas.Bevel({0, 0, 16, 16}, 0xC83C3C, false);
    return canvas.Picture();
}

bool AddTestPictures(kit::CprWriter& menu, std::string& error)
{
    return menu.Add(kButtonName, kit::WriteBmp24(Button(0x50648C, 0xFFFFFF)),
                    kit::MemberStorage::Stored, error) &&
           menu.Add(kLitButtonName, kit::WriteBmp24(Button(0xDCB43C, 0x282828)),
                    kit::MemberStorage::Stored, error) &&
           menu.Add(kKnobName, kit::WriteBmp24(Knob()), kit::MemberStorage::Stored, error);
}
}  // namespace

void ToolkitScreen::OpenScreen(bool withDemoMenuFiles)
{
    kit::DemoArchives archives;
    std::string error;
    ASSERT_TRUE(AddTestPictures(archives.menu, error)) << error;
    if (withDemoMenuFiles)
    {
        ASSERT_TRUE(kit::AddDemoFonts(archives, error)) << error;
        ASSERT_TRUE(kit::AddMenuPictures(archives.menu, error)) << error;
    }
    const std::vector<uint8_t> bytes = archives.menu.Build();
    directory_.WriteFile(kMenuArchiveName, std::string(bytes.begin(), bytes.end()));
    menuArchive_ = std::make_unique<CprArchive>();
    ASSERT_TRUE(menuArchive_->Open(kMenuArchiveName, true));
    g_archiveMenu = menuArchive_.get();

    ASSERT_TRUE(window_.Create(kScreenWidth, kScreenHeight));
    ASSERT_TRUE(g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY));
    const ScreenMode mode{kScreenWidth, kScreenHeight, 16, 60, 0};
    ASSERT_EQ(g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode), 1);
}

void ToolkitScreen::TearDown()
{
    FreeMenuFonts();
    FreeRaceFonts();
    SetActiveRectList(nullptr);
    ClearExtraClipRect();
    g_renderDevice.CleanUp();
    g_renderDevice.ShotDown();
    g_archiveMenu = nullptr;
}

FrameView565 ToolkitScreen::Frame(size_t index) const
{
    const CapturedFrame& frame = platform_.Frames().at(index);
    return {frame.pixels.data(), frame.width, frame.height, frame.width * 2};
}

void ToolkitScreen::ExpectGolden(const std::string& name, size_t frameIndex, int width, int height,
                                 uint64_t hash) const
{
    const std::string reference = std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp";
    EXPECT_TRUE(
        MatchesGolden(name, Frame(frameIndex).Region(0, 0, width, height), hash, reference));
}
