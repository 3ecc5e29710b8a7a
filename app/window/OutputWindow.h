#pragma once

// The game's one window: full screen, showing the render library's frames. The game never
// waits for events; every screen loop runs the message pump once a frame, which turns key and
// mouse events into the key table (g_keyState) and the key listeners, tells the timer tick
// that the main thread is alive, and notes a request to quit. Every screen loop ends once the
// quit flag is set. Main thread only.

#include <cstdint>
#include <string_view>

#include "app/debug/DebugLogWindow.h"
#include "platform/Platform.h"
#include "render/RenderApi.h"

class OutputWindow
{
public:
    static constexpr std::string_view kTitle = "Zarvo";

    OutputWindow();
    virtual ~OutputWindow();  // the window goes with the object
    OutputWindow(const OutputWindow&) = delete;
    OutputWindow& operator=(const OutputWindow&) = delete;

    // Creates the window with a picture of the size, then lets it cover the whole screen.
    // False when the machine refuses the window.
    bool Create(uint32_t width, uint32_t height);

    // Runs every waiting event, then yields the rest of the time slice. False when the process
    // was asked to end (the quit flag is then set); true when the queue was drained.
    bool PumpMessages();
    // A key or mouse-button event into the key table and the listeners: true when taken.
    bool TranslateInput(const PlatformEvent& event);

    // The close button or the window manager: quit, keeping the window for whatever still
    // draws into it until the game has ended.
    void OnClose();
    // Sets the quit flag. The game window also ends the player's part in a network session on
    // the first request.
    virtual void RequestQuit();
    bool IsQuitting() const { return quit_; }

    // What the render library is handed as the window: frames go to the platform's display,
    // and the mouse comes from the platform, over the picture the window was created with.
    const RenderWindow* RenderTarget() const { return &renderTarget_; }

private:
    static WindowCursor CursorOverPicture(void* user);
    void OnKeyDown(uint8_t virtualKey);
    void OnKeyUp(uint8_t virtualKey);
    // Alt+F4: the key going down completes the combination when the other one is held.
    bool CompletesAltF4(uint8_t virtualKey);

    bool quit_ = false;
    bool created_ = false;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    DebugLogWindow debugLogWindow_;
    RenderWindow renderTarget_;
};

// The window the game runs in, while it runs: code that has no window at hand pumps its
// messages and watches its quit flag. Null before and after.
void SetMainWindow(OutputWindow* window);
OutputWindow* MainWindow();

// One pass of the main window's message pump, for screen loops that do not hold the window:
// false when the process was asked to end, now or before. True, doing nothing, while there is
// no main window.
bool PumpMessages();
