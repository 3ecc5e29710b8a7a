#pragma once

// The main menu as it stands until the menus are built: the start screen,
// "MainMenu/startscreen.jpg" from the menu archive, which the player can only leave by
// quitting (Esc, or closing the window) or by starting a race (Enter). The main routine builds it
// on its stack for each visit, enters it, steps it once a frame after pumping the window's
// messages, and leaves it. Like the menus, it draws only what changed and flips every frame, so
// that the display's retrace sets its pace: the picture goes into both video buffers once, and
// again in full after the screen was lost. Main thread only.

#include <cstdint>

struct Texture;

class MainMenu
{
public:
    // Step results: the main routine's session-loop codes.
    static constexpr int32_t kStay = 0;
    static constexpr int32_t kRace = 1;  // Enter: a race on the installation's circuit
    static constexpr int32_t kQuit = 2;

    MainMenu() = default;
    virtual ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Loads the start screen's picture: false when it cannot be read.
    bool Enter();
    // Draws the start screen and reads the keys; frameSeconds is the real time since the
    // previous frame.
    int32_t Step(float frameSeconds);
    void Leave();

private:
    void DrawStartScreen();

    static constexpr int32_t kBothBuffers = 2;

    Texture* background_ = nullptr;
    int32_t redrawCount_ = kBothBuffers;  // frames still to draw in full
    bool screenActive_ = false;           // the render library's screen, as last seen
};
