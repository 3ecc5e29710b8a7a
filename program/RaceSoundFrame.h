#pragma once

// The engine sounds' view of a race frame, gathered from the riders' records, the race camera
// and the race clock after the frame's steps. Main thread only.

#include <array>
#include <cstdint>
#include <span>

#include "sound/SoundManager.h"

struct BikeRecord;
class RaceCamera;

class RaceSoundFrameBuilder
{
public:
    // The frame of the riders' records as the view has just drawn them.
    const RaceSoundFrame& Gather(std::span<const BikeRecord> bikes, const RaceCamera& camera,
                                 uint32_t viewedRider, uint32_t playerRider, uint32_t raceClockMs);

private:
    std::array<RiderSoundInput, SoundManager::kRiderCount> riders_{};
    RaceSoundFrame frame_;
};
