#include "platform/sdl/SdlPlatform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestDirectory.h"

namespace
{
using namespace std::chrono_literals;

// SDL's stand-ins for a machine without display or sound, set before SDL starts. The real
// display goes too, so that no message box can appear and wait for a click.
struct DummyMachine
{
    explicit DummyMachine(const char* videoDriver = "dummy")
    {
        setenv("SDL_VIDEODRIVER", videoDriver, 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
};

std::string Describe(const PlatformEvent& event)
{
    switch (event.kind)
    {
        case PlatformEvent::Kind::KeyDown:
            return "KeyDown " + std::to_string(event.virtualKey) + (event.repeat ? " repeat" : "");
        case PlatformEvent::Kind::KeyUp:
            return "KeyUp " + std::to_string(event.virtualKey);
        case PlatformEvent::Kind::MouseMove:
            return "MouseMove " + std::to_string(event.x) + "," + std::to_string(event.y);
        case PlatformEvent::Kind::MouseButton:
            return "MouseButton " + std::to_string(event.button) +
                   (event.pressed ? " down" : " up");
        case PlatformEvent::Kind::Close:
            return "Close";
        case PlatformEvent::Kind::Quit:
            return "Quit";
    }
    return "?";
}

void Push(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

SDL_Event OfType(uint32_t type)
{
    SDL_Event event{};
    event.type = type;
    return event;
}

SDL_Event Key(uint32_t type, SDL_Keycode keycode, SDL_Scancode scancode, bool repeat = false)
{
    SDL_Event event = OfType(type);
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = keycode;
    event.key.keysym.scancode = scancode;
    return event;
}

SDL_Event MouseButton(uint32_t type, uint8_t button)
{
    SDL_Event event = OfType(type);
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

SDL_Event MouseMotion(int x, int y)
{
    SDL_Event event = OfType(SDL_MOUSEMOTION);
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event WindowClose()
{
    SDL_Event event = OfType(SDL_WINDOWEVENT);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    return event;
}

class SdlPlatformTest : public testing::Test
{
protected:
    std::vector<std::string> DrainEvents()
    {
        std::vector<std::string> events;
        PlatformEvent event;
        while (platform_.PollEvent(event))
        {
            events.push_back(Describe(event));
        }
        return events;
    }

    DummyMachine machine_;
    TestDirectory directory_;  // the dummy display writes its frames here when asked
    SdlPlatform platform_;
};

TEST_F(SdlPlatformTest, CreatesTheWindowOnceAndAgainAfterDestroying)
{
    EXPECT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    EXPECT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    platform_.SetFullScreen(false);
    platform_.SetFullScreen(true);
    platform_.DestroyGameWindow();
    EXPECT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
}

// The last picture the dummy display was asked to show, as 0xRRGGBB words.
struct ShownFrame
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

ShownFrame LatestShownFrame(const std::string& directory)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
    {
        if (entry.path().filename().string().starts_with("SDL_window"))
        {
            files.push_back(entry.path().string());
        }
    }
    ShownFrame frame;
    if (files.empty())
    {
        ADD_FAILURE() << "the display showed nothing";
        return frame;
    }
    std::sort(files.begin(), files.end());
    SDL_Surface* loaded = SDL_LoadBMP(files.back().c_str());
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (surface == nullptr)
    {
        ADD_FAILURE() << SDL_GetError();
        return frame;
    }
    frame.width = surface->w;
    frame.height = surface->h;
    for (int y = 0; y < surface->h; ++y)
    {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
        frame.pixels.insert(frame.pixels.end(), row, row + surface->w);
    }
    SDL_FreeSurface(surface);
    return frame;
}

size_t ShownFrameCount(const std::string& directory)
{
    return static_cast<size_t>(std::count_if(
        std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator(),
        [](const auto& entry)
        { return entry.path().filename().string().starts_with("SDL_window"); }));
}

// True when every pixel of the shown frame has the colour (0xRRGGBB).
bool ShowsOnly(const ShownFrame& frame, uint32_t rgb)
{
    return !frame.pixels.empty() &&
           std::all_of(frame.pixels.begin(), frame.pixels.end(),
                       [&](uint32_t pixel) { return (pixel & 0xFFFFFF) == rgb; });
}

// A 565 picture of one colour whose rows are padded with another colour.
std::vector<uint16_t> PaddedPicture(int width, int height, int pitchPixels, uint16_t colour,
                                    uint16_t padding)
{
    std::vector<uint16_t> pixels(static_cast<size_t>(pitchPixels) * height, padding);
    for (int y = 0; y < height; ++y)
    {
        std::fill_n(pixels.begin() + static_cast<ptrdiff_t>(y) * pitchPixels, width, colour);
    }
    return pixels;
}

TEST_F(SdlPlatformTest, ShowsAPaddedFrameWithoutItsPaddingOverTheWholeScreen)
{
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    ASSERT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    constexpr uint16_t kBlue565 = 0x001F;
    constexpr uint16_t kRed565 = 0xF800;
    constexpr uint16_t kGreen565 = 0x07E0;

    struct Case
    {
        int width;
        int height;
        int pitchPixels;
        uint16_t colour;
        uint32_t shownAs;
    };
    // The second frame has another size: the picture still fills the same area.
    const Case cases[] = {{640, 480, 650, kBlue565, 0x0000FF},
                          {320, 240, 333, kGreen565, 0x00FF00}};
    for (const Case& c : cases)
    {
        const std::vector<uint16_t> pixels =
            PaddedPicture(c.width, c.height, c.pitchPixels, c.colour, kRed565);
        platform_.Present({pixels.data(), c.width, c.height, c.pitchPixels * 2});

        const ShownFrame shown = LatestShownFrame(directory_.path());
        SDL_DisplayMode desktop{};
        ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
        EXPECT_EQ(shown.width, desktop.w);
        EXPECT_EQ(shown.height, desktop.h);
        // The dummy desktop has the picture's aspect, so the picture covers every pixel.
        const auto wrong =
            std::count_if(shown.pixels.begin(), shown.pixels.end(),
                          [&](uint32_t rgb) { return (rgb & 0xFFFFFF) != c.shownAs; });
        EXPECT_EQ(wrong, 0) << c.width << "x" << c.height;
    }
}

TEST_F(SdlPlatformTest, LaysThePictureOutForTheSizeTheWindowHasNow)
{
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    ASSERT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    const std::vector<uint16_t> blue(640 * 480, 0x001F);
    platform_.Present({blue.data(), 640, 480, 640 * 2});

    // Each change of the window's size shows the picture again, filling the new size.
    struct Step
    {
        bool fullScreen;
        int width;
        int height;
    };
    for (const Step step : {Step{false, 640, 480}, Step{true, 1024, 768}})
    {
        platform_.SetFullScreen(step.fullScreen);
        DrainEvents();
        const ShownFrame shown = LatestShownFrame(directory_.path());
        EXPECT_EQ(shown.width, step.width);
        EXPECT_EQ(shown.height, step.height);
        EXPECT_TRUE(ShowsOnly(shown, 0x0000FF)) << step.width << "x" << step.height;
    }
}

TEST_F(SdlPlatformTest, DrawsOnlyAPictureThatChanged)
{
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    ASSERT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    const size_t blackFrame = ShownFrameCount(directory_.path());
    std::vector<uint16_t> picture(640 * 480, 0x001F);
    // Rows padded with what changes: only the picture counts.
    std::vector<uint16_t> padded = PaddedPicture(640, 480, 700, 0x001F, 0xF800);

    platform_.Present({picture.data(), 640, 480, 640 * 2});
    platform_.Present({picture.data(), 640, 480, 640 * 2});
    platform_.Present({padded.data(), 640, 480, 700 * 2});
    EXPECT_EQ(ShownFrameCount(directory_.path()), blackFrame + 1);

    picture[640 * 479 + 639] = 0xFFFF;  // one pixel in the last row's last column
    platform_.Present({picture.data(), 640, 480, 640 * 2});
    EXPECT_EQ(ShownFrameCount(directory_.path()), blackFrame + 2);
}

TEST_F(SdlPlatformTest, YieldKeepsAFrameLoopToTheDisplaysPace)
{
    ASSERT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    constexpr int kFrames = 6;
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFrames; ++frame)
    {
        platform_.Yield();
    }
    // The dummy display names no refresh rate: 60 Hz. The first frame goes at once.
    const auto atLeast = (kFrames - 1) * std::chrono::microseconds(1000000 / 60);
    EXPECT_GE(std::chrono::steady_clock::now() - start, atLeast);
}

TEST_F(SdlPlatformTest, TurnsSdlEventsIntoGameEvents)
{
    DrainEvents();
    Push(Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A));
    Push(Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, true));
    Push(Key(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A));
    Push(Key(SDL_KEYDOWN, SDLK_F13, SDL_SCANCODE_F13));  // no Windows code: dropped
    Push(Key(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT));
    Push(Key(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4));
    Push(OfType(SDL_TEXTINPUT));  // characters are not the game's business
    Push(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT));
    Push(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE));  // the game knows two buttons
    Push(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT));
    Push(WindowClose());
    Push(OfType(SDL_QUIT));

    const std::vector<std::string> expected = {
        "KeyDown 65",         "KeyDown 65 repeat", "KeyUp 65", "KeyDown 164", "KeyDown 115",
        "MouseButton 2 down", "MouseButton 1 up",  "Close",    "Quit",
    };
    EXPECT_EQ(DrainEvents(), expected);
}

TEST_F(SdlPlatformTest, TurnsAnInterruptIntoQuit)
{
    DrainEvents();
    ASSERT_EQ(raise(SIGINT), 0);
    const std::vector<std::string> expected = {"Quit"};
    EXPECT_EQ(DrainEvents(), expected);
}

TEST_F(SdlPlatformTest, ReportsMouseMotionInPictureCoordinates)
{
    ASSERT_TRUE(platform_.CreateGameWindow("Zarvo", 640, 480));
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    ASSERT_EQ(desktop.w, 1024) << "the dummy display's desktop changed";
    ASSERT_EQ(desktop.h, 768) << "the dummy display's desktop changed";
    DrainEvents();

    Push(MouseMotion(0, 0));
    Push(MouseMotion(512, 384));
    Push(MouseMotion(1023, 767));
    Push(MouseMotion(-10, 2000));

    const std::vector<std::string> expected = {"MouseMove 0,0", "MouseMove 320,240",
                                               "MouseMove 639,479", "MouseMove 0,479"};
    EXPECT_EQ(DrainEvents(), expected);
}

TEST_F(SdlPlatformTest, MessageBoxWithoutADisplayReturnsAndEchoesInUtf8)
{
    testing::internal::CaptureStderr();
    platform_.ShowMessageBox("Fehler beim anfordern des Bildschirmaufl\xF6sung");
    const std::string echoed = testing::internal::GetCapturedStderr();
    EXPECT_NE(echoed.find("Zarvo: Fehler beim anfordern des Bildschirmaufl\xC3\xB6sung\n"),
              std::string::npos)
        << echoed;
}

TEST_F(SdlPlatformTest, ScreenSaverCanBeQueriedAndSwitched)
{
    EXPECT_TRUE(platform_.IsScreenSaverEnabled()) << "SDL switched it off by itself";
    platform_.SetScreenSaverEnabled(false);
    EXPECT_FALSE(platform_.IsScreenSaverEnabled());
    platform_.SetScreenSaverEnabled(true);
    EXPECT_TRUE(platform_.IsScreenSaverEnabled());
}

TEST_F(SdlPlatformTest, NowMsCountsMilliseconds)
{
    const uint32_t before = platform_.NowMs();
    platform_.SleepMs(30);
    EXPECT_GE(platform_.NowMs() - before, 29u);
}

bool WaitFor(const std::function<bool()>& condition)
{
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (!condition() && std::chrono::steady_clock::now() < giveUp)
    {
        std::this_thread::sleep_for(1ms);
    }
    return condition();
}

TEST_F(SdlPlatformTest, TimersHaveIdsFromOneAndStopWhenKilled)
{
    std::atomic<int> first{0};
    std::atomic<int> second{0};
    EXPECT_EQ(platform_.StartPeriodicTimer(0, [] {}), 0u);
    const Platform::TimerId firstId = platform_.StartPeriodicTimer(2, [&] { ++first; });
    const Platform::TimerId secondId = platform_.StartPeriodicTimer(2, [&] { ++second; });
    EXPECT_EQ(firstId, 1u);
    EXPECT_EQ(secondId, 2u);
    ASSERT_TRUE(WaitFor([&] { return first > 0 && second > 0; }));

    platform_.KillTimer(firstId);
    platform_.KillTimer(99);  // unknown ids are ignored
    const int firstAfterKill = first.load();
    const int secondBefore = second.load();
    ASSERT_TRUE(WaitFor([&] { return second > secondBefore + 3; }));
    EXPECT_EQ(first.load(), firstAfterKill);
}

// A virtual joystick stands in for a device; its axes run -32768..32767.
class VirtualJoystick
{
public:
    VirtualJoystick(int axes, int buttons)
        : index_(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons, 0)),
          device_(SDL_JoystickOpen(index_))
    {
    }
    ~VirtualJoystick()
    {
        SDL_JoystickClose(device_);
        Unplug();
    }
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    int index() const { return index_; }
    bool plugged() const { return device_ != nullptr; }
    void SetAxis(int axis, int16_t value) { SDL_JoystickSetVirtualAxis(device_, axis, value); }
    void SetButton(int button, bool down) { SDL_JoystickSetVirtualButton(device_, button, down); }
    void Unplug()
    {
        if (index_ >= 0)
        {
            SDL_JoystickDetachVirtual(index_);
            index_ = -1;
        }
    }

private:
    int index_;
    SDL_Joystick* device_;
};

TEST_F(SdlPlatformTest, ReadsAJoysticksAxesAndButtons)
{
    const int before = platform_.JoystickCount();
    VirtualJoystick stick(4, 8);
    ASSERT_TRUE(stick.plugged()) << SDL_GetError();
    EXPECT_EQ(platform_.JoystickCount(), before + 1);

    stick.SetAxis(0, -32768);
    stick.SetAxis(1, 32767);
    stick.SetAxis(2, 0);
    stick.SetAxis(3, -16384);
    stick.SetButton(0, true);
    stick.SetButton(5, true);
    DrainEvents();  // the pump brings the device's state in

    JoystickState state;
    ASSERT_TRUE(platform_.ReadJoystick(stick.index(), state));
    EXPECT_EQ(state.x, 0u);
    EXPECT_EQ(state.y, 65535u);
    EXPECT_EQ(state.z, 32768u);
    EXPECT_EQ(state.r, 16384u);
    EXPECT_EQ(state.buttons, 0b100001u);
}

TEST_F(SdlPlatformTest, AxesAJoystickLacksReadCentred)
{
    VirtualJoystick stick(2, 2);
    ASSERT_TRUE(stick.plugged()) << SDL_GetError();
    stick.SetAxis(0, 100);
    stick.SetAxis(1, 200);
    DrainEvents();

    JoystickState state;
    ASSERT_TRUE(platform_.ReadJoystick(stick.index(), state));
    EXPECT_EQ(state.x, 32868u);
    EXPECT_EQ(state.y, 32968u);
    EXPECT_EQ(state.z, 32768u);
    EXPECT_EQ(state.r, 32768u);
}

TEST_F(SdlPlatformTest, ReadsNothingFromAMissingOrUnpluggedJoystick)
{
    JoystickState state;
    EXPECT_FALSE(platform_.ReadJoystick(-1, state));
    EXPECT_FALSE(platform_.ReadJoystick(platform_.JoystickCount(), state));

    VirtualJoystick stick(4, 4);
    ASSERT_TRUE(stick.plugged()) << SDL_GetError();
    const int index = stick.index();
    ASSERT_TRUE(platform_.ReadJoystick(index, state));
    stick.Unplug();
    DrainEvents();
    EXPECT_FALSE(platform_.ReadJoystick(index, state));
}

TEST_F(SdlPlatformTest, ReadsTheJoystickOnTheTimerThreadWhileTheGamePumps)
{
    VirtualJoystick stick(4, 4);
    ASSERT_TRUE(stick.plugged()) << SDL_GetError();
    stick.SetButton(2, true);
    const int index = stick.index();
    std::atomic<int> reads{0};
    std::atomic<uint32_t> buttons{0};
    const Platform::TimerId timer =
        platform_.StartPeriodicTimer(1,
                                     [&]
                                     {
                                         JoystickState state;
                                         if (platform_.ReadJoystick(index, state))
                                         {
                                             buttons = state.buttons;
                                             ++reads;
                                         }
                                     });
    ASSERT_NE(timer, 0u);
    EXPECT_TRUE(WaitFor(
        [&]
        {
            DrainEvents();
            return reads > 20 && buttons == 0b100u;
        }));
    platform_.KillTimer(timer);
}

TEST(SdlPlatformWithoutDisplayTest, NeverFallsBackToADriverThatShowsNothing)
{
    DummyMachine noDisplay;
    unsetenv("SDL_VIDEODRIVER");  // the player's environment names no driver
    SdlPlatform platform;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform.CreateGameWindow("Zarvo", 640, 480));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told, "Zarvo: no display: DISPLAY is not set\n");
}

TEST(SdlPlatformWithoutDisplayTest, StillStartsReportsAndEchoes)
{
    const DummyMachine noDisplay("no-such-display");
    SdlPlatform platform;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform.CreateGameWindow("Zarvo", 640, 480));
    platform.ShowMessageBox("Timer initialization failed!");
    const std::string echoed = testing::internal::GetCapturedStderr();
    EXPECT_NE(echoed.find("Zarvo: no display"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("Zarvo: Timer initialization failed!\n"), std::string::npos) << echoed;

    Push(OfType(SDL_QUIT));
    PlatformEvent event;
    ASSERT_TRUE(platform.PollEvent(event));
    EXPECT_EQ(event.kind, PlatformEvent::Kind::Quit);
}
}  // namespace
