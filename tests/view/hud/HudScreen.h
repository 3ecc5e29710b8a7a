#pragma once

// The head-up display on the game's render library: a 640 x 480 screen of the game's window
// under the scripted platform, the demo installation's font sheets and display pictures in the
// texture and menu archives, the front end's race fonts and the display's own loaded.
// Presented frames are the platform's captured frames.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/device/RenderDevice.h"
#include "app/window/OutputWindow.h"
#include "core/archive/CprArchive.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"
#include "tests/view/hud/HudTestSupport.h"
#include "view/hud/RaceHud.h"
#include "view/hud/RenderDeviceCanvas.h"

class HudScreen : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A fixed picture behind the display: bands of colour, so that translucency shows.
    void DrawBackground();
    // Draws a frame: the background, then what draw does; presents it.
    template <typename Draw>
    void Present(Draw draw)
    {
        DrawBackground();
        draw();
        g_renderDevice.Flip();
    }
    // The last presented frame's region against the hash.
    void ExpectGolden(const std::string& name, int x, int y, int width, int height,
                      uint64_t hash) const;

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    OutputWindow window_;
    std::unique_ptr<CprArchive> menuArchive_;
    std::unique_ptr<CprArchive> texturesArchive_;
    HudScene scene_{26};
    RecordingHooks hooks_;
    RaceHud hud_{[] { return 0; }};
    std::unique_ptr<RenderDeviceCanvas> canvas_;
};
