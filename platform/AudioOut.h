#pragma once

// The machine's audio outputs, 16-bit signed stereo PCM (left, right per frame). An AudioOut
// plays buffers pushed in order one after the other (the sound engine drives it); an
// AudioStream pulls its samples through a callback whenever the device wants more (music,
// which goes on whatever the rest of the game does). Each is opened through the Platform and
// is a device of its own: destroying it stops its sound at once and closes it.
// Queue and QueuedBytes may be called from a thread other than the one that opened it, but
// never from two threads at a time.

#include <cstdint>
#include <functional>
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

// Fills the samples (two per frame) a stream plays next. It runs on the device's own thread
// (on the scripted machine, on the thread that lets virtual time pass), never concurrently
// with itself, and must not open or close a device.
using AudioFill = std::function<void(std::span<int16_t> samples)>;

// A pulled output: plays while it lives.
class AudioStream
{
public:
    virtual ~AudioStream() = default;
};
