#pragma once

// The pulled audio outputs of the scripted machine: every stream opened is kept with all it
// played, and plays in virtual time, pulling rate / 1000 frames from its fill per virtual ms.
// Streams may be opened and closed from any thread; they play on the thread that lets time
// pass, which is also where a test reads what they played.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/AudioOut.h"

class CapturedStreams
{
public:
    std::unique_ptr<AudioStream> Open(const AudioOutFormat& format, AudioFill fill, uint32_t nowMs);
    // Pulls from every open stream what it plays up to the time.
    void PlayUntil(uint32_t nowMs);

    size_t Count() const;
    bool IsOpen(size_t index) const;
    AudioOutFormat Format(size_t index) const;
    // Everything the index-th stream opened has played, two samples per frame.
    std::vector<int16_t> Samples(size_t index) const;

private:
    struct Entry
    {
        AudioOutFormat format;
        AudioFill fill;
        std::vector<int16_t> samples;
        bool open = true;
        uint32_t playedUntilMs = 0;
        uint64_t milliFrames = 0;  // frames x 1000 not yet pulled, so that no fraction is lost
    };
    class Handle;

    void Close(size_t index);

    mutable std::mutex mutex_;
    std::deque<Entry> entries_;  // a deque keeps the entries in place
};
