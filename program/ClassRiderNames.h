#pragma once

// The computer's names of the riders of each class, as the class's rider profiles give them: a
// slot of a network session takes its rider's name back when its player leaves it. Each
// class's profile file is read once, the first time one of its names is asked for; a class
// without a readable file has no names. Any thread.

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "core/game/GameEnums.h"
#include "net/NetPacket.h"
#include "race/BikeRecord.h"

class ClassRiderNames
{
public:
    NetName Of(uint32_t rider, BikeClass bikeClass) const;

private:
    using Names = std::array<NetName, kRiderCount>;

    mutable std::mutex mutex_;
    mutable std::array<std::optional<Names>, kBikeClassCount> names_;
};
