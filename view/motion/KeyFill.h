#pragma once

// Fills a track's frames from a scene object's keys: each key lands in the slot of its frame
// (relative to the scene's first frame; keys before it land in slot 0, keys at or past the
// frame count are dropped), the slots between two keys are filled step by step, each step
// closing the rest of the gap evenly (in integers it truncates), and the last key holds to the
// end. Slots before the first key move from slot 0 towards it.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "view/motion/SceneText.h"

template <class Triple, class ValueOf>
void FillKeyedTrack(std::span<Triple> track, const std::vector<SceneKey>& keys, ValueOf valueOf,
                    int32_t firstFrame, int32_t frameCount)
{
    using Value = typename Triple::value_type;
    int32_t origin = 0;
    for (const SceneKey& key : keys)
    {
        const int64_t relative = int64_t{key.frame} - firstFrame;
        if (relative < 0)
        {
            track[0] = valueOf(key);
            continue;
        }
        if (relative >= frameCount)
        {
            continue;
        }
        const auto slot = static_cast<int32_t>(relative);
        track[static_cast<size_t>(slot)] = valueOf(key);
        const Triple& target = track[static_cast<size_t>(slot)];
        for (int32_t j = origin; j + 2 <= slot; ++j)
        {
            const Triple& from = track[static_cast<size_t>(j)];
            Triple& next = track[static_cast<size_t>(j) + 1];
            for (size_t c = 0; c < next.size(); ++c)
            {
                next[c] = static_cast<Value>(from[c] +
                                             (target[c] - from[c]) / static_cast<Value>(slot - j));
            }
        }
        origin = slot;
    }
    std::fill(track.begin() + origin + 1, track.begin() + frameCount,
              track[static_cast<size_t>(origin)]);
}
