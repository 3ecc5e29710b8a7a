#pragma once

// What the steps of one tick leave for the sound and the joystick, read after the tick: the
// impact and collision sounds in the order they happened, and the player's force feedback of
// the last step. Main thread; a fixed list that drops and counts what does not fit.

#include <array>
#include <cstdint>

enum class RaceSound : uint8_t
{
    Impact,
    Collision,
};

struct RaceSoundEvent
{
    RaceSound sound;
    uint8_t rider;
    uint32_t step;
};

// The player's force feedback before the road noise, which the joystick adds from its own
// random numbers by the front wheel's surface class.
struct ForceFeedback
{
    bool active = false;
    float longitudinal = 0.0f;
    float lateral = 0.0f;
    float speed = 0.0f;
    int32_t frontSurface = -1;
};

class RaceEvents
{
public:
    static constexpr uint32_t kCapacity = 256;

    void AddSound(RaceSound sound, uint32_t rider, uint32_t step)
    {
        if (count_ == kCapacity)
        {
            ++dropped_;
            return;
        }
        sounds_[count_++] = {sound, static_cast<uint8_t>(rider), step};
    }
    uint32_t SoundCount() const { return count_; }
    const RaceSoundEvent& Sound(uint32_t index) const { return sounds_[index]; }
    uint32_t DroppedCount() const { return dropped_; }
    // The reader empties the list once it has played it.
    void Clear()
    {
        count_ = 0;
        dropped_ = 0;
    }

    ForceFeedback forceFeedback;

private:
    std::array<RaceSoundEvent, kCapacity> sounds_{};
    uint32_t count_ = 0;
    uint32_t dropped_ = 0;
};
