#include "app/window/OutputWindow.h"

#include "app/clock/RaceClock.h"
#include "core/util/Message.h"
#include "platform/Platform.h"

namespace
{
OutputWindow* g_mainWindow = nullptr;

void PresentFrame(const uint16_t* pixels, int width, int height, int pitchBytes, void* /*user*/)
{
    CurrentPlatform().Present({pixels, width, height, pitchBytes});
}

void ShowRenderMessage(const char* text, void* /*user*/)
{
    ShowMessage(text);
}
}  // namespace

OutputWindow::OutputWindow()
{
    renderTarget_.present = PresentFrame;
    renderTarget_.cursor = CursorOverPicture;
    renderTarget_.showMessage = ShowRenderMessage;
    renderTarget_.user = this;
}

OutputWindow::~OutputWindow()
{
    if (created_)
    {
        CurrentPlatform().DestroyGameWindow();
    }
}

bool OutputWindow::Create(uint32_t width, uint32_t height)
{
    Platform& platform = CurrentPlatform();
    if (!created_)
    {
        created_ =
            platform.CreateGameWindow(kTitle, static_cast<int>(width), static_cast<int>(height));
        if (!created_)
        {
            return false;
        }
        pictureWidth_ = static_cast<int>(width);
        pictureHeight_ = static_cast<int>(height);
    }
    platform.SetFullScreen(true);
    return true;
}

WindowCursor OutputWindow::CursorOverPicture(void* user)
{
    const auto* window = static_cast<const OutputWindow*>(user);
    const PicturePoint point = CurrentPlatform().MousePosition();
    return {point.x, point.y, window->pictureWidth_, window->pictureHeight_};
}

bool OutputWindow::PumpMessages()
{
    g_pumpWatchdogMs.store(0, std::memory_order_relaxed);
    Platform& platform = CurrentPlatform();
    PlatformEvent event;
    while (platform.PollEvent(event))
    {
        switch (event.kind)
        {
            case PlatformEvent::Kind::Quit:
                RequestQuit();
                return false;
            case PlatformEvent::Kind::Close:
                OnClose();
                break;
            default:
                TranslateInput(event);
                break;
        }
    }
    platform.Yield();
    return true;
}

void OutputWindow::OnClose()
{
    RequestQuit();
}

void OutputWindow::RequestQuit()
{
    quit_ = true;
}

void SetMainWindow(OutputWindow* window)
{
    g_mainWindow = window;
}

OutputWindow* MainWindow()
{
    return g_mainWindow;
}

bool PumpMessages()
{
    // A quit asked for earlier (in a race, say) ends every later screen loop too.
    return g_mainWindow == nullptr || (g_mainWindow->PumpMessages() && !g_mainWindow->IsQuitting());
}
