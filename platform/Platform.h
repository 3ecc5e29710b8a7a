#pragma once

// The one seam between the game and the machine it runs on. The game talks to the window,
// input devices, clock, timer, sound output, message boxes and dynamic libraries only through
// this interface; SdlPlatform drives the real machine, ScriptedPlatform runs the game in
// virtual time for tests.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/AudioOut.h"

struct PlatformEvent
{
    enum class Kind : uint8_t
    {
        KeyDown,      // virtualKey, repeat
        KeyUp,        // virtualKey
        MouseMove,    // x, y in picture coordinates
        MouseButton,  // button 1 = left, 2 = right; pressed
        Close,        // the window's close button or the window manager
        Quit,         // the process is asked to end (SIGINT, session end)
    };

    Kind kind = Kind::Quit;
    uint8_t virtualKey = 0;
    bool repeat = false;
    uint8_t button = 0;
    bool pressed = false;
    int x = 0;
    int y = 0;
};

// One joystick as the game sees it: four axes 0..65535 centred on 32768, button bits.
struct JoystickState
{
    uint32_t x = 32768;
    uint32_t y = 32768;
    uint32_t z = 32768;
    uint32_t r = 32768;
    uint32_t buttons = 0;
};

// A finished 16-bit 565 picture handed over for display. pitchBytes may exceed width * 2.
struct FrameView
{
    const uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchBytes = 0;
};

struct PicturePoint
{
    int x = 0;
    int y = 0;
};

class Platform
{
public:
    using TimerId = uint32_t;  // 0 = no timer
    using LibraryHandle = void*;

    virtual ~Platform() = default;

    // Window. The game draws a fixed-size picture (640 x 480); the platform scales it onto
    // whatever the window really covers and reports the mouse in picture coordinates.
    virtual bool CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight) = 0;
    virtual void SetFullScreen(bool on) = 0;
    virtual void DestroyGameWindow() = 0;
    virtual void Present(const FrameView& frame) = 0;

    // Input. PollEvent never blocks; key codes are Windows virtual-key codes.
    virtual bool PollEvent(PlatformEvent& event) = 0;
    virtual PicturePoint MousePosition() = 0;
    virtual bool IsKeyDown(uint8_t virtualKey) = 0;  // 1 and 2 are the mouse buttons
    virtual void ShowCursor(bool visible) = 0;
    virtual void CaptureMouse(bool captured) = 0;

    virtual bool IsScreenSaverEnabled() = 0;
    virtual void SetScreenSaverEnabled(bool enabled) = 0;

    // Time. The periodic callback runs on a thread of its own (never concurrently with
    // itself) on the real machine, and synchronously as virtual time passes in tests.
    virtual uint32_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
    virtual void Yield() = 0;
    virtual TimerId StartPeriodicTimer(uint32_t periodMs, std::function<void()> tick) = 0;
    virtual void KillTimer(TimerId id) = 0;

    // Sound: an output device playing from now on, or nullptr when the machine has none.
    virtual std::unique_ptr<AudioOut> OpenAudioOut(const AudioOutFormat& format) = 0;
    // A second kind of output, pulling its samples from fill; may be opened from any thread.
    virtual std::unique_ptr<AudioStream> OpenAudioStream(const AudioOutFormat& format,
                                                         AudioFill fill) = 0;

    virtual int JoystickCount() = 0;
    virtual bool ReadJoystick(int index, JoystickState& state) = 0;

    // Modal; returns when the player has acknowledged it. Text is Windows-1252.
    virtual void ShowMessageBox(std::string_view text) = 0;

    // Name rule: a name with '/' is used as given; otherwise the working directory and then
    // the executable's directory are searched, and a name ending in ".dll" is also tried
    // with ".so".
    virtual LibraryHandle OpenLibrary(std::string_view name) = 0;
    virtual void* LibrarySymbol(LibraryHandle library, const char* name) = 0;
    virtual void CloseLibrary(LibraryHandle library) = 0;
};

// The platform the process runs on. Installed for the whole run by main() or by a test;
// game code that needs the machine reaches it here.
Platform& CurrentPlatform();
bool HasPlatform();
// For a thread of our own that may outlive a test's platform: runs the function on the
// platform installed now, which stays installed until it returns; false when none is.
bool WithCurrentPlatform(const std::function<void(Platform&)>& use);

class ScopedPlatform
{
public:
    explicit ScopedPlatform(Platform& platform);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};
