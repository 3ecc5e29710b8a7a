#include "tests/view/hud/HudScreen.h"

#include <cstdlib>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "frontend/toolkit/MenuFonts.h"
#include "kit/font/DemoFonts.h"
#include "kit/hud/HudPictures.h"

namespace
{
constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::unique_ptr<CprArchive> Mount(const TestDirectory& directory, const char* name,
                                  const kit::CprWriter& writer)
{
    const std::vector<uint8_t> bytes = writer.Build();
    directory.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    auto archive = std::make_unique<CprArchive>();
    return archive->Open(name, true) ? std::move(archive) : nullptr;
}
}  // namespace

void HudScreen::SetUp()
{
    kit::DemoArchives archives;
    std::string error;
    ASSERT_TRUE(kit::AddDemoFonts(archives, error)) << error;
    ASSERT_TRUE(kit::AddDemoHudPictures(archives, error)) << error;
    menuArchive_ = Mount(directory_, "menu.cpr", archives.menu);
    texturesArchive_ = Mount(directory_, "textures.cpr", archives.textures);
    ASSERT_TRUE(menuArchive_ && texturesArchive_);
    g_archiveMenu = menuArchive_.get();
    g_archiveTextures = texturesArchive_.get();

    ASSERT_TRUE(window_.Create(kWidth, kHeight));
    ASSERT_TRUE(g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY));
    const ScreenMode mode{kWidth, kHeight, 16, 60, 0};
    ASSERT_EQ(g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode), 1);

    g_renderDevice.SetArchive(g_archiveMenu);
    LoadRaceFonts();
    scene_.frame.bikeClass = BikeClass::Class250;
    hud_.LoadTextures(scene_.frame, hooks_);
    canvas_ = std::make_unique<RenderDeviceCanvas>(hud_.Resources());
    ASSERT_EQ(g_renderDevice.BeginDraw(), 1);
}

void HudScreen::TearDown()
{
    g_renderDevice.EndDraw();
    hud_.FreeTextures();
    FreeRaceFonts();
    g_renderDevice.CleanUp();
    g_renderDevice.ShotDown();
    g_archiveMenu = nullptr;
    g_archiveTextures = nullptr;
}

void HudScreen::DrawBackground()
{
    g_renderDevice.SetClipRect(0, 0, kWidth, kHeight);
    constexpr uint32_t kBands[] = {0x705030, 0x3C7850, 0x804878, 0x4878A0};
    for (int band = 0; band < 4; ++band)
    {
        g_renderDevice.FillSolidRect(0, band * kHeight / 4, kWidth, kHeight / 4, kBands[band]);
    }
}

void HudScreen::ExpectGolden(const std::string& name, int x, int y, int width, int height,
                             uint64_t hash) const
{
    const CapturedFrame& frame = platform_.Frames().back();
    const FrameView565 view{frame.pixels.data(), frame.width, frame.height, frame.width * 2};
    // Full-screen references would weigh a megabyte each: a mismatch writes the actual frame,
    // and ZARVO_RECORD_GOLDEN=1 writes the reference beside this file for review.
    const std::string reference = std::getenv("ZARVO_RECORD_GOLDEN") != nullptr
                                      ? std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp"
                                      : "";
    EXPECT_TRUE(MatchesGolden(name, view.Region(x, y, width, height), hash, reference));
}
