#pragma once

// The real machine through SDL2: one window over the whole desktop that shows the game's
// picture scaled with its aspect kept to whatever size the window really has, presented in
// step with the display; keyboard and mouse as Windows virtual-key codes, periodic timers on
// threads of their own, joysticks, message boxes and shared libraries. Yield keeps the game's
// frame loops to the display's refresh rate, so that an idle screen does not spin.
//
// SDL is process-wide, so only one SdlPlatform may exist at a time. It can be built on a
// machine without a display, joystick or audio device; what is missing fails where it is
// used: the window cannot be created, no joystick is counted, no sound output opens, message
// boxes reach stderr only. Only video drivers that show something count as a display, unless
// SDL_VIDEODRIVER names one (as tests do with "dummy" and "offscreen"). Everything but the
// timer callbacks, the joystick reads and the sound output's queue belongs to the thread that
// built it.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/PeriodicTimer.h"
#include "platform/Platform.h"
#include "platform/sdl/FramePacer.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

class SdlPlatform final : public Platform
{
public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    bool CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight) override;
    void SetFullScreen(bool on) override;
    void DestroyGameWindow() override;
    void Present(const FrameView& frame) override;

    bool PollEvent(PlatformEvent& event) override;
    PicturePoint MousePosition() override;
    bool IsKeyDown(uint8_t virtualKey) override;
    void ShowCursor(bool visible) override;
    void CaptureMouse(bool captured) override;

    bool IsScreenSaverEnabled() override;
    void SetScreenSaverEnabled(bool enabled) override;

    uint32_t NowMs() override;
    void SleepMs(uint32_t ms) override;
    // Waits for the rest of a display refresh since the previous call, when there is any.
    void Yield() override;
    // Ids count from 1. A timer cannot be killed from its own callback.
    TimerId StartPeriodicTimer(uint32_t periodMs, std::function<void()> tick) override;
    void KillTimer(TimerId id) override;

    std::unique_ptr<AudioOut> OpenAudioOut(const AudioOutFormat& format) override;
    std::unique_ptr<AudioStream> OpenAudioStream(const AudioOutFormat& format,
                                                 AudioFill fill) override;

    // Safe on the timer thread.
    int JoystickCount() override;
    bool ReadJoystick(int index, JoystickState& state) override;

    void ShowMessageBox(std::string_view text) override;

    LibraryHandle OpenLibrary(std::string_view name) override;
    void* LibrarySymbol(LibraryHandle library, const char* name) override;
    void CloseLibrary(LibraryHandle library) override;

private:
    bool BringUp(uint32_t subsystem);
    void BringUpVideo();
    void CoverDisplay();
    bool TranslateEvent(const SDL_Event& sdlEvent, PlatformEvent& event);
    PicturePoint WindowToPicture(int windowX, int windowY) const;
    bool IsShowing(const FrameView& frame) const;
    void NoteShown(const FrameView& frame);
    bool PrepareTexture(int width, int height);
    void ShowPicture();

    std::vector<uint32_t> initialisedSubsystems_;  // in the order they came up
    bool videoReady_ = false;
    std::string videoError_;  // why there is no video, when there is none
    bool joysticksReady_ = false;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;  // the last picture, shown again when the window is exposed
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    std::vector<uint16_t> shownPixels_;  // the picture in the texture, rows without padding
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    bool mouseCaptured_ = false;
    FramePacer framePacer_;

    // SDL instance id of the joystick opened for each index, -1 for none; guarded by SDL's
    // joystick lock, since the timer thread reads joysticks.
    std::vector<int32_t> joystickIds_;

    std::map<TimerId, PeriodicTimer> timers_;
    TimerId nextTimerId_ = 1;
};
