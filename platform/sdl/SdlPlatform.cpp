#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <sched.h>

#include <algorithm>
#include <array>
#include <cassert>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>
#include <utility>

#include "core/files/Windows1252.h"
#include "platform/DynamicLibrary.h"
#include "platform/VirtualKeys.h"
#include "platform/sdl/PictureArea.h"
#include "platform/sdl/SdlAudioOut.h"
#include "platform/sdl/SdlAudioStream.h"
#include "platform/sdl/SdlKeyMap.h"

namespace
{
constexpr int32_t kNoJoystick = -1;
constexpr int kJoystickAxes = 4;
constexpr int kJoystickButtons = 32;
constexpr int kAxisCentre = 32768;

void ReportSdlError(const char* what)
{
    std::fprintf(stderr, "Zarvo: %s: %s\n", what, SDL_GetError());
}

// The open joystick for a game index, opened on first use and again after it was
// unplugged; null when no device has that index. Under SDL's joystick lock.
SDL_Joystick* JoystickAt(std::vector<int32_t>& joystickIds, int index)
{
    const bool known = static_cast<size_t>(index) < joystickIds.size();
    if (known && joystickIds[index] != kNoJoystick)
    {
        SDL_Joystick* open = SDL_JoystickFromInstanceID(joystickIds[index]);
        if (open != nullptr && SDL_JoystickGetAttached(open))
        {
            return open;
        }
        if (open != nullptr)
        {
            SDL_JoystickClose(open);
        }
        joystickIds[index] = kNoJoystick;
    }
    if (index >= SDL_NumJoysticks())
    {
        return nullptr;
    }
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (joystick == nullptr)
    {
        return nullptr;
    }
    if (!known)
    {
        joystickIds.resize(index + 1, kNoJoystick);
    }
    joystickIds[index] = SDL_JoystickInstanceID(joystick);
    return joystick;
}

JoystickState ReadJoystickState(SDL_Joystick* joystick)
{
    JoystickState state;
    const std::array<uint32_t*, kJoystickAxes> axes = {&state.x, &state.y, &state.z, &state.r};
    const int axisCount = std::min(SDL_JoystickNumAxes(joystick), kJoystickAxes);
    for (int axis = 0; axis < axisCount; ++axis)
    {
        *axes[axis] = static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + kAxisCentre);
    }
    const int buttonCount = std::min(SDL_JoystickNumButtons(joystick), kJoystickButtons);
    for (int button = 0; button < buttonCount; ++button)
    {
        if (SDL_JoystickGetButton(joystick, button) != 0)
        {
            state.buttons |= 1u << button;
        }
    }
    return state;
}

// SDL's video drivers that show nothing, for tests and tools that name them.
bool ShowsNothing(std::string_view driver)
{
    return driver == "offscreen" || driver == "dummy" || driver == "evdev";
}

bool IsSet(const char* variable)
{
    const char* value = SDL_getenv(variable);
    return value != nullptr && *value != '\0';
}

// The video drivers to try when the environment names none: those that reach a display.
// Otherwise SDL falls back to one that shows nothing, and the game would run unseen. Wayland
// only where a Wayland display is named, since its library complains on stderr where none is.
std::string DisplayDrivers()
{
    std::string drivers;
    for (int index = 0; index < SDL_GetNumVideoDrivers(); ++index)
    {
        const std::string_view driver = SDL_GetVideoDriver(index);
        if (ShowsNothing(driver) || (driver == "wayland" && !IsSet("WAYLAND_DISPLAY")))
        {
            continue;
        }
        drivers += drivers.empty() ? "" : ",";
        drivers += driver;
    }
    return drivers;
}

// Why no display driver came up, in the player's terms.
std::string NoDisplayReason()
{
    if (IsSet("DISPLAY"))
    {
        return std::string("cannot open the display \"") + SDL_getenv("DISPLAY") + "\"";
    }
    return IsSet("WAYLAND_DISPLAY") ? "cannot open the Wayland display" : "DISPLAY is not set";
}

uint8_t GameMouseButton(uint8_t sdlButton)
{
    switch (sdlButton)
    {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        default:
            return 0;
    }
}
}  // namespace

SdlPlatform::SdlPlatform()
{
    // Without this SDL switches the screen saver off by itself, and asking whether it is on
    // would tell nothing about the player's setting.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // A closed window is the game's Close; Quit stays for the process being asked to end.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The game reads its joystick whether or not its window has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");

    BringUp(SDL_INIT_EVENTS);  // the quit request of SIGINT arrives through it
    BringUpVideo();
    joysticksReady_ = BringUp(SDL_INIT_JOYSTICK);
}

bool SdlPlatform::BringUp(uint32_t subsystem)
{
    if (SDL_InitSubSystem(subsystem) != 0)
    {
        return false;
    }
    initialisedSubsystems_.push_back(subsystem);
    return true;
}

void SdlPlatform::BringUpVideo()
{
    const bool driverNamed = IsSet("SDL_VIDEODRIVER");
    if (!driverNamed)
    {
        const std::string drivers = DisplayDrivers();
        if (drivers.empty())
        {
            videoError_ = NoDisplayReason();
            return;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    videoReady_ = BringUp(SDL_INIT_VIDEO);
    if (!videoReady_)
    {
        videoError_ = driverNamed ? SDL_GetError() : NoDisplayReason();
        return;
    }
    SDL_StopTextInput();
}

SdlPlatform::~SdlPlatform()
{
    timers_.clear();  // no tick may reach a joystick that is going away
    if (joysticksReady_)
    {
        SDL_LockJoysticks();
        for (const int32_t id : joystickIds_)
        {
            if (id != kNoJoystick)
            {
                SDL_JoystickClose(SDL_JoystickFromInstanceID(id));
            }
        }
        joystickIds_.clear();
        SDL_UnlockJoysticks();
    }
    DestroyGameWindow();
    for (auto subsystem = initialisedSubsystems_.rbegin();
         subsystem != initialisedSubsystems_.rend(); ++subsystem)
    {
        SDL_QuitSubSystem(*subsystem);
    }
    // Whoever else brought a part of SDL up (sound) takes it down too.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
    {
        SDL_Quit();
    }
}

bool SdlPlatform::CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight)
{
    if (window_ != nullptr)
    {
        return true;
    }
    if (!videoReady_)
    {
        std::fprintf(stderr, "Zarvo: no display: %s\n", videoError_.c_str());
        return false;
    }
    // Made over the whole display from the start: see CoverDisplay.
    SDL_Rect display{0, 0, pictureWidth, pictureHeight};
    SDL_GetDisplayBounds(0, &display);
    window_ = SDL_CreateWindow(Windows1252ToUtf8(title).c_str(), display.x, display.y, display.w,
                               display.h, SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    if (window_ == nullptr)
    {
        ReportSdlError("cannot create the window");
        return false;
    }
    // In step with the display's retrace; SDL keeps to it by waiting where the driver cannot.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr)
    {
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
    }
    if (renderer_ == nullptr)
    {
        ReportSdlError("cannot draw into the window");
        DestroyGameWindow();
        return false;
    }
    SDL_DisplayMode mode{};
    framePacer_.SetRefreshRate(SDL_GetWindowDisplayMode(window_, &mode) == 0 ? mode.refresh_rate
                                                                             : 0);
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
    SDL_SetWindowGrab(window_, mouseCaptured_ ? SDL_TRUE : SDL_FALSE);
    ShowPicture();  // black until the first frame
    return true;
}

void SdlPlatform::SetFullScreen(bool on)
{
    if (window_ == nullptr)
    {
        return;
    }
    if (on)
    {
        CoverDisplay();
        return;
    }
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, pictureWidth_, pictureHeight_);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// Without a window manager nobody carries out a full-screen request: the window would keep
// its size while SDL takes it for the display's, and the picture would be laid out for a
// window that is not there. Moved and sized over the display first, the window is as large as
// SDL believes, with a window manager or without one.
void SdlPlatform::CoverDisplay()
{
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
        SDL_WINDOW_FULLSCREEN_DESKTOP)
    {
        return;
    }
    SDL_Rect display{};
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &display) == 0)
    {
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowPosition(window_, display.x, display.y);
        SDL_SetWindowSize(window_, display.w, display.h);
    }
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlPlatform::DestroyGameWindow()
{
    if (texture_ != nullptr)
    {
        SDL_DestroyTexture(texture_);
    }
    if (renderer_ != nullptr)
    {
        SDL_DestroyRenderer(renderer_);
    }
    if (window_ != nullptr)
    {
        SDL_DestroyWindow(window_);
    }
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    shownPixels_.clear();
    textureWidth_ = 0;
    textureHeight_ = 0;
}

void SdlPlatform::Present(const FrameView& frame)
{
    const bool valid = frame.pixels != nullptr && frame.width > 0 && frame.height > 0 &&
                       frame.pitchBytes >= frame.width * 2;
    assert(valid && "a frame needs pixels and a pitch of at least one row");
    // A screen that stands still presents the same picture again and again; the display
    // still shows it, so only a changed picture is drawn.
    if (renderer_ == nullptr || !valid || IsShowing(frame) ||
        !PrepareTexture(frame.width, frame.height))
    {
        return;
    }
    if (SDL_UpdateTexture(texture_, nullptr, frame.pixels, frame.pitchBytes) != 0)
    {
        ReportSdlError("cannot take the picture");
        shownPixels_.clear();
        return;
    }
    NoteShown(frame);
    ShowPicture();
}

bool SdlPlatform::IsShowing(const FrameView& frame) const
{
    if (texture_ == nullptr || frame.width != textureWidth_ || frame.height != textureHeight_ ||
        shownPixels_.size() != static_cast<size_t>(frame.width) * frame.height)
    {
        return false;
    }
    const auto* rows = reinterpret_cast<const uint8_t*>(frame.pixels);
    const size_t rowBytes = static_cast<size_t>(frame.width) * sizeof(uint16_t);
    for (int row = 0; row < frame.height; ++row)
    {
        const uint16_t* shownRow = shownPixels_.data() + static_cast<size_t>(row) * frame.width;
        if (std::memcmp(rows + static_cast<size_t>(row) * frame.pitchBytes, shownRow, rowBytes) !=
            0)
        {
            return false;
        }
    }
    return true;
}

void SdlPlatform::NoteShown(const FrameView& frame)
{
    const auto* rows = reinterpret_cast<const uint8_t*>(frame.pixels);
    const size_t rowBytes = static_cast<size_t>(frame.width) * sizeof(uint16_t);
    shownPixels_.resize(static_cast<size_t>(frame.width) * frame.height);
    for (int row = 0; row < frame.height; ++row)
    {
        std::memcpy(shownPixels_.data() + static_cast<size_t>(row) * frame.width,
                    rows + static_cast<size_t>(row) * frame.pitchBytes, rowBytes);
    }
}

bool SdlPlatform::PrepareTexture(int width, int height)
{
    if (texture_ != nullptr && width == textureWidth_ && height == textureHeight_)
    {
        return true;
    }
    if (texture_ != nullptr)
    {
        SDL_DestroyTexture(texture_);
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    if (texture_ == nullptr)
    {
        ReportSdlError("cannot hold the picture");
        textureWidth_ = 0;
        textureHeight_ = 0;
        return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    textureWidth_ = width;
    textureHeight_ = height;
    return true;
}

void SdlPlatform::ShowPicture()
{
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(renderer_);
    if (texture_ != nullptr)
    {
        int outputWidth = 0;
        int outputHeight = 0;
        SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
        const PictureArea area =
            FitPicture(outputWidth, outputHeight, pictureWidth_, pictureHeight_);
        const SDL_Rect target{area.x, area.y, area.width, area.height};
        SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    }
    SDL_RenderPresent(renderer_);
}

bool SdlPlatform::PollEvent(PlatformEvent& event)
{
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent) != 0)
    {
        if (TranslateEvent(sdlEvent, event))
        {
            return true;
        }
    }
    return false;
}

bool SdlPlatform::TranslateEvent(const SDL_Event& sdlEvent, PlatformEvent& event)
{
    event = PlatformEvent{};
    switch (sdlEvent.type)
    {
        case SDL_QUIT:
            event.kind = PlatformEvent::Kind::Quit;
            return true;
        case SDL_WINDOWEVENT:
            if (sdlEvent.window.event == SDL_WINDOWEVENT_CLOSE)
            {
                event.kind = PlatformEvent::Kind::Close;
                return true;
            }
            if (renderer_ != nullptr && (sdlEvent.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                         sdlEvent.window.event == SDL_WINDOWEVENT_SIZE_CHANGED))
            {
                ShowPicture();
            }
            return false;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            shownPixels_.clear();  // the texture may have lost the picture: take the next one
            return false;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.virtualKey =
                VirtualKeyFromSdl(sdlEvent.key.keysym.sym, sdlEvent.key.keysym.scancode);
            event.kind = sdlEvent.type == SDL_KEYDOWN ? PlatformEvent::Kind::KeyDown
                                                      : PlatformEvent::Kind::KeyUp;
            event.repeat = sdlEvent.type == SDL_KEYDOWN && sdlEvent.key.repeat != 0;
            return event.virtualKey != 0;
        case SDL_MOUSEMOTION:
        {
            const PicturePoint point = WindowToPicture(sdlEvent.motion.x, sdlEvent.motion.y);
            event.kind = PlatformEvent::Kind::MouseMove;
            event.x = point.x;
            event.y = point.y;
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        {
            const PicturePoint point = WindowToPicture(sdlEvent.button.x, sdlEvent.button.y);
            event.kind = PlatformEvent::Kind::MouseButton;
            event.button = GameMouseButton(sdlEvent.button.button);
            event.pressed = sdlEvent.type == SDL_MOUSEBUTTONDOWN;
            event.x = point.x;
            event.y = point.y;
            return event.button != 0;
        }
        default:
            return false;
    }
}

PicturePoint SdlPlatform::WindowToPicture(int windowX, int windowY) const
{
    if (window_ == nullptr)
    {
        return {};
    }
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    const PictureArea area = FitPicture(windowWidth, windowHeight, pictureWidth_, pictureHeight_);
    return ::WindowToPicture(windowX, windowY, area, pictureWidth_, pictureHeight_);
}

PicturePoint SdlPlatform::MousePosition()
{
    SDL_PumpEvents();
    int windowX = 0;
    int windowY = 0;
    SDL_GetMouseState(&windowX, &windowY);
    return WindowToPicture(windowX, windowY);
}

bool SdlPlatform::IsKeyDown(uint8_t virtualKey)
{
    // Pumping brings SDL's key and button state up to date without taking events off the
    // queue; PollEvent still sees them.
    SDL_PumpEvents();
    if (virtualKey == vk::LeftButton || virtualKey == vk::RightButton)
    {
        const uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
        const int button = virtualKey == vk::LeftButton ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
        return (buttons & SDL_BUTTON(button)) != 0;
    }
    int keyCount = 0;
    const uint8_t* keys = SDL_GetKeyboardState(&keyCount);
    const std::vector<SDL_Scancode> scancodes = ScancodesOfVirtualKey(virtualKey);
    return std::any_of(scancodes.begin(), scancodes.end(),
                       [&](SDL_Scancode scancode)
                       { return scancode < keyCount && keys[scancode] != 0; });
}

void SdlPlatform::ShowCursor(bool visible)
{
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlPlatform::CaptureMouse(bool captured)
{
    mouseCaptured_ = captured;
    if (window_ != nullptr)
    {
        SDL_SetWindowGrab(window_, captured ? SDL_TRUE : SDL_FALSE);
    }
}

bool SdlPlatform::IsScreenSaverEnabled()
{
    return SDL_IsScreenSaverEnabled() == SDL_TRUE;
}

void SdlPlatform::SetScreenSaverEnabled(bool enabled)
{
    if (enabled)
    {
        SDL_EnableScreenSaver();
    }
    else
    {
        SDL_DisableScreenSaver();
    }
}

uint32_t SdlPlatform::NowMs()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void SdlPlatform::SleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SdlPlatform::Yield()
{
    const FramePacer::Clock::duration wait = framePacer_.WaitBeforeFrame(FramePacer::Clock::now());
    if (wait > FramePacer::Clock::duration::zero())
    {
        std::this_thread::sleep_for(wait);
    }
    else
    {
        sched_yield();
    }
}

Platform::TimerId SdlPlatform::StartPeriodicTimer(uint32_t periodMs, std::function<void()> tick)
{
    const TimerId id = nextTimerId_;
    const auto [timer, inserted] = timers_.try_emplace(id);
    assert(inserted);
    if (!timer->second.Start(periodMs, std::move(tick)))
    {
        timers_.erase(timer);
        return 0;
    }
    nextTimerId_ = nextTimerId_ == UINT32_MAX ? 1 : nextTimerId_ + 1;
    return id;
}

void SdlPlatform::KillTimer(TimerId id)
{
    timers_.erase(id);
}

std::unique_ptr<AudioOut> SdlPlatform::OpenAudioOut(const AudioOutFormat& format)
{
    return SdlAudioOut::Open(format);
}

std::unique_ptr<AudioStream> SdlPlatform::OpenAudioStream(const AudioOutFormat& format,
                                                          AudioFill fill)
{
    return SdlAudioStream::Open(format, std::move(fill));
}

int SdlPlatform::JoystickCount()
{
    if (!joysticksReady_)
    {
        return 0;
    }
    SDL_LockJoysticks();
    const int count = std::max(SDL_NumJoysticks(), 0);
    SDL_UnlockJoysticks();
    return count;
}

bool SdlPlatform::ReadJoystick(int index, JoystickState& state)
{
    if (index < 0 || !joysticksReady_)
    {
        return false;
    }
    SDL_LockJoysticks();
    SDL_Joystick* joystick = JoystickAt(joystickIds_, index);
    if (joystick != nullptr)
    {
        state = ReadJoystickState(joystick);
    }
    SDL_UnlockJoysticks();
    return joystick != nullptr;
}

void SdlPlatform::ShowMessageBox(std::string_view text)
{
    const std::string utf8 = Windows1252ToUtf8(text);
    // Always on stderr: without a display the box cannot appear, and the call then returns
    // as if OK had been pressed.
    std::fprintf(stderr, "Zarvo: %s\n", utf8.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zarvo", utf8.c_str(), window_);
}

Platform::LibraryHandle SdlPlatform::OpenLibrary(std::string_view name)
{
    return dynlib::Open(name);
}

void* SdlPlatform::LibrarySymbol(LibraryHandle library, const char* name)
{
    return dynlib::Symbol(library, name);
}

void SdlPlatform::CloseLibrary(LibraryHandle library)
{
    dynlib::Close(library);
}
