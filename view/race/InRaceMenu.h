#pragma once

// The pause menu over a running race, as the race loop drives it: opened on Esc, given a frame
// at a time until the player chose, then closed. The menus provide it; until they do, the
// default leaves the race at once, so that Esc always ends a race cleanly. Main thread only.

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

    // Session code and the training, qualifying and warm-up/race masks of the menu's page.
    virtual void Open(uint32_t /*sessionCode*/, uint32_t /*training*/, uint32_t /*qualifying*/,
                      uint32_t /*race*/)
    {
    }
    virtual uint32_t Frame(float /*realSeconds*/) { return kLeaveRace; }
    virtual void Close() {}

    // The menu put away while the player watches the race (observation): the mouse and the
    // paging keys switch riders; Esc, or both mouse buttons held, bring the menu back.
    virtual bool IsHidden() const { return false; }
    virtual void ShowAgain() {}
};
