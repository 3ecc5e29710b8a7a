#pragma once

// The game's sound front end as the main routine and the menus drive it. The sound manager is
// not built yet: its output never starts, so the game runs with sound off.

#include <atomic>

// Sound is on: the set-up allows it and the output runs. Everything that would make a sound
// tests it; it starts on, for what runs before the set-up is read.
inline std::atomic<bool> g_soundEnabled{true};

class SoundManager
{
public:
    // Opens the wave output at the set-up's rate and buffer length; when it cannot start,
    // sound is switched off and false returned.
    bool StartOutput()
    {
        g_soundEnabled.store(false, std::memory_order_relaxed);
        return false;
    }
    void StopOutput() {}
    void ReleaseMenuSounds() {}
};

inline SoundManager g_soundManager;
