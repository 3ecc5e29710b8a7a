#pragma once

// The application: runs the game window's main routine with the screen saver held off, and
// gives back how the run ended. Main thread, with the platform installed.

#include <cstdint>

class GameApp
{
public:
    // GameWindow::kRunEnded after a normal end, kStartUpFailed when the game could not start,
    // kRunFailed when a failure ended it later.
    // The screen saver is on afterwards exactly when it was on before.
    uint32_t InitInstance();
};
