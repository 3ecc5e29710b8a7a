#include "frontend/MainMenu.h"

#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "platform/VirtualKeys.h"

namespace
{
constexpr const char* kStartScreenPicture = "MainMenu/startscreen.jpg";
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
}  // namespace

MainMenu::~MainMenu()
{
    Leave();
}

bool MainMenu::Enter()
{
    redrawCount_ = kBothBuffers;
    return g_renderDevice.LoadMemoryTexture(kStartScreenPicture, &background_) != nullptr;
}

int32_t MainMenu::Step(float /*frameSeconds*/)
{
    if ((ReadKey(vk::Escape) & kKeyPressed) != 0)
    {
        return kQuit;
    }
    if ((ReadKey(vk::Return) & kKeyPressed) != 0)
    {
        return kRace;
    }
    DrawStartScreen();
    return kStay;
}

void MainMenu::DrawStartScreen()
{
    if (g_renderDevice.BeginDraw() == 0)
    {
        redrawCount_ = kBothBuffers;  // the screen is given up for now
        return;
    }
    const bool active = g_renderDevice.IsGlideActive() != 0;
    if (active != screenActive_)
    {
        screenActive_ = active;
        redrawCount_ = kBothBuffers;
    }
    if (active)
    {
        if (redrawCount_ > 0)
        {
            g_renderDevice.DrawBitmapRect(background_, 0, 0, 0, 0, kScreenWidth, kScreenHeight, 0,
                                          nullptr);
            --redrawCount_;
        }
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
    }
    g_renderDevice.EndDraw();
}

void MainMenu::Leave()
{
    if (background_ != nullptr)
    {
        g_renderDevice.FreeMemoryTexture(&background_);
    }
}
