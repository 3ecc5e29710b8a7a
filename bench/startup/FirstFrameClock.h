#pragma once

// A machine that notes when the first frame reaches the display and then asks the game to
// end: every call goes on to the machine it wraps.

#include <chrono>
#include <optional>
#include <utility>

#include "platform/Platform.h"

class FirstFrameClock final : public Platform
{
public:
    using Clock = std::chrono::steady_clock;

    explicit FirstFrameClock(Platform& machine) : machine_(machine) {}

    std::optional<Clock::time_point> FirstFrame() const { return firstFrame_; }

    bool CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight) override;
    void SetFullScreen(bool on) override { machine_.SetFullScreen(on); }
    void DestroyGameWindow() override { machine_.DestroyGameWindow(); }
    void Present(const FrameView& frame) override;

    bool PollEvent(PlatformEvent& event) override;
    PicturePoint MousePosition() override { return machine_.MousePosition(); }
    bool IsKeyDown(uint8_t virtualKey) override { return machine_.IsKeyDown(virtualKey); }
    void ShowCursor(bool visible) override { machine_.ShowCursor(visible); }
    void CaptureMouse(bool captured) override { machine_.CaptureMouse(captured); }

    bool IsScreenSaverEnabled() override { return machine_.IsScreenSaverEnabled(); }
    void SetScreenSaverEnabled(bool enabled) override { machine_.SetScreenSaverEnabled(enabled); }

    uint32_t NowMs() override { return machine_.NowMs(); }
    void SleepMs(uint32_t ms) override { machine_.SleepMs(ms); }
    void Yield() override { machine_.Yield(); }
    TimerId StartPeriodicTimer(uint32_t periodMs, std::function<void()> tick) override;
    void KillTimer(TimerId id) override { machine_.KillTimer(id); }

    std::unique_ptr<AudioOut> OpenAudioOut(const AudioOutFormat& format) override;
    std::unique_ptr<AudioStream> OpenAudioStream(const AudioOutFormat& format,
                                                 AudioFill fill) override
    {
        return machine_.OpenAudioStream(format, std::move(fill));
    }

    int JoystickCount() override { return machine_.JoystickCount(); }
    bool ReadJoystick(int index, JoystickState& state) override;

    void ShowMessageBox(std::string_view text) override { machine_.ShowMessageBox(text); }

    LibraryHandle OpenLibrary(std::string_view name) override;
    void* LibrarySymbol(LibraryHandle library, const char* name) override;
    void CloseLibrary(LibraryHandle library) override { machine_.CloseLibrary(library); }

private:
    Platform& machine_;
    std::optional<Clock::time_point> firstFrame_;
    bool quitAsked_ = false;
};
