#pragma once

// The pause menu over a running race, as the race loop drives it: opened on Esc, given a frame
// at a time until the player chose, then closed. The game's is the pit box; this default
// leaves the race at once. Main thread only.

#include <cstdint>

class InRaceMenu
{
public:
    // What the player chose; kStillOpen while the menu runs.
    static constexpr uint32_t kStillOpen = 0;
    static constexpr uint32_t kResume = 1;
    static constexpr uint32_t kLeaveRace = 2;
    static constexpr uint32_t kRaceAgain = 8;

    virtual ~InRaceMenu() = default;

    // Opens the menu over the race, on the page of the game's mode and session. False when it
    // could not be made: the race then runs on as if nothing had been asked.
    virtual bool Open() { return true; }
    virtual uint32_t Frame(float /*realSeconds*/) { return kLeaveRace; }
    virtual void Close() {}

    // The menu put away while the player watches the race (observation): the mouse and the
    // paging keys switch riders; Esc, or both mouse buttons held, bring the menu back.
    virtual bool IsHidden() const { return false; }
    virtual void ShowAgain() {}
};
