#pragma once

// The machine's audio output as the sound engine drives it: buffers of 16-bit signed stereo
// PCM (left, right per frame) pushed in order and played one after the other. Opened through
// Platform::OpenAudioOut; destroying it stops the sound at once and closes the device.
// Queue and QueuedBytes may be called from a thread other than the one that opened it, but
// never from two threads at a time.

#include <cstdint>
#include <span>

struct AudioOutFormat
{
    uint32_t sampleRate = 22050;
    uint32_t bufferFrames = 256;  // frames the game mixes at a time
};

class AudioOut
{
public:
    static constexpr uint32_t kChannels = 2;
    static constexpr uint32_t kBytesPerFrame = kChannels * sizeof(int16_t);

    virtual ~AudioOut() = default;

    // Appends samples (two per frame) to the play queue. False when the device refuses them.
    virtual bool Queue(std::span<const int16_t> samples) = 0;
    // Bytes queued that the device has not taken for playing yet.
    virtual uint64_t QueuedBytes() = 0;
};
