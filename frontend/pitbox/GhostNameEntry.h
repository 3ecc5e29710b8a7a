#pragma once

// Typing the name that kept laps are saved under, on the ghost page: letters (lower case
// unless Shift is held) and digits, Backspace, Enter to end. Once the name is longer than 46
// characters further keys beep and are refused, so no name grows past 47. Main thread only.

#include <cstdint>
#include <string>

class GhostNameEntry
{
public:
    static constexpr size_t kLongestName = 47;

    void Start() { active_ = true; }
    bool IsActive() const { return active_; }
    // A key going down (released false) or up, with Shift held or not. Returns true when the
    // key is taken: every key while the entry is on.
    bool OnKey(std::string& name, bool released, uint32_t key, bool shiftHeld);
    // True once after a frame in which a key was taken.
    bool TakeTyped();
    uint32_t Beeps() const { return beeps_; }

private:
    bool active_ = false;
    bool typed_ = false;
    uint32_t beeps_ = 0;
};
