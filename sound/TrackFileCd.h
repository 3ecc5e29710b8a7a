#pragma once

// The audio-CD stand-in: a folder of the installation that holds the disc's audio tracks as
// files, "track02.wav", "track03.wav" and so on (16-bit PCM, stereo, 44100 Hz, as on a disc).
// Track 1 is the disc's data track and has no file. The disc has as many tracks as are
// numbered without a gap; without the folder there is no disc. A track that is missing or
// damaged does not play.
//
// The music plays on a pulled output of its own, opened at the first play and kept for the
// stand-in's life, so that it goes on whatever the game's own sound does.
//
// Threads: commands from one thread (the music worker); the output pulls on its own thread.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/AudioOut.h"
#include "sound/CdAudioDevice.h"
#include "sound/WaveFile.h"

class TrackFileCd final : public CdAudioDevice
{
public:
    static constexpr uint32_t kSampleRate = 44100;
    static constexpr uint32_t kFramesPerSecond = 75;
    static constexpr uint32_t kDataTrack = 1;

    explicit TrackFileCd(std::string folder) : folder_(std::move(folder)) {}
    ~TrackFileCd() override;
    TrackFileCd(const TrackFileCd&) = delete;
    TrackFileCd& operator=(const TrackFileCd&) = delete;

    bool Open() override;
    void Close() override;
    bool Stop() override;
    std::optional<uint32_t> TrackCount() override;
    std::optional<DiscLength> TrackLength(uint32_t track) override;
    bool SetTrackTimeFormat() override;
    bool Play(const TrackPosition& from, const TrackPosition& to) override;

    std::string TrackFileName(uint32_t track) const;
    bool IsPlaying() const;

private:
    void Fill(std::span<int16_t> samples);
    bool EnsureOutput();

    const std::string folder_;
    bool open_ = false;
    bool trackFormat_ = false;
    std::unique_ptr<AudioStream> output_;

    // What the output plays; shared with the output's thread.
    mutable std::mutex playMutex_;
    WaveFile track_;
    uint64_t bytesLeft_ = 0;  // up to the end position
    std::vector<uint8_t> readBuffer_;
};
