#pragma once

// The main menu as it stands until the menus are built: the start screen,
// "MainMenu/startscreen.jpg" from the menu archive, which the player can only leave by
// quitting (Esc, or closing the window). The main routine builds it on its stack for each
// visit, enters it, steps it once a frame after pumping the window's messages, and leaves it.
// Main thread only.

#include <cstdint>

struct Texture;

class MainMenu
{
public:
    // Step results: the main routine's session-loop codes.
    static constexpr int32_t kStay = 0;
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

    Texture* background_ = nullptr;
};
