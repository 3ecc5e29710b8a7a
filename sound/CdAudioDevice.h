#pragma once

// The audio-CD drive as the music commands it: open, stop, close, the track table, the time
// format and play from one position to another. Playing goes on after the device is closed, as
// a disc keeps spinning; only stop (or another play) ends it.
//
// Threads: the music worker commands it; the sound it makes comes from a device thread.

#include <cstdint>
#include <optional>

// A position on the disc: track, minutes, seconds and frames (75 a second) into the track.
struct TrackPosition
{
    uint32_t track = 0;
    uint32_t minutes = 0;
    uint32_t seconds = 0;
    uint32_t frames = 0;
};

// A length in minutes, seconds and frames.
struct DiscLength
{
    uint32_t minutes = 0;
    uint32_t seconds = 0;
    uint32_t frames = 0;
};

class CdAudioDevice
{
public:
    virtual ~CdAudioDevice() = default;

    // False when there is no disc.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool Stop() = 0;
    virtual std::optional<uint32_t> TrackCount() = 0;
    virtual std::optional<DiscLength> TrackLength(uint32_t track) = 0;
    // Positions are given as track, minutes, seconds and frames from now on.
    virtual bool SetTrackTimeFormat() = 0;
    // Fails for a track that is not audio or cannot be played; then nothing plays.
    virtual bool Play(const TrackPosition& from, const TrackPosition& to) = 0;
};
