#pragma once

// One sound the game plays: mono float samples on the 16-bit scale, with loop points. For
// interpolated playback the data can be held interleaved as (value, slope) pairs, so that
// the mixer interpolates with one multiply-add.
//
// A sampler plays straight from the data: a buffer must not be freed, reloaded or changed
// while a connected sampler may still play it (close the sampler first).

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class SampleBuffer
{
public:
    static constexpr uint32_t kInterleaved = 1;

    // From a WAVE image in the canonical layout; loop over the whole sample. False, and
    // empty, for a malformed or non-PCM image.
    bool LoadFromMemory(std::span<const uint8_t> image);
    // From a WAVE file on the disk.
    bool LoadFromFile(std::string_view name);
    // Drops the data and the loop; the flags stay.
    void Free();

    // end 0 means the end of the sample. Both points are kept inside the sample, the start
    // before the end, so that a loop never runs past the data.
    void SetLoop(uint32_t start, uint32_t end);
    // False when the buffer is already in the asked form.
    bool SetInterleaved(bool on);

    bool HasData() const { return !data_.empty(); }
    uint32_t GetFlags() const { return flags_; }
    bool IsInterleaved() const { return (flags_ & kInterleaved) != 0; }
    uint32_t GetSampleCount() const { return sampleCount_; }
    uint32_t GetLoopStart() const { return loopStart_; }
    uint32_t GetLoopEnd() const { return loopEnd_; }
    // The samples, or (value, slope) pairs when interleaved.
    std::span<const float> GetData() const { return data_; }
    uint32_t GetDataSize() const { return static_cast<uint32_t>(data_.size() * sizeof(float)); }

private:
    void TakeSamples(std::vector<float>&& samples);

    uint32_t flags_ = 0;
    uint32_t sampleCount_ = 0;
    uint32_t loopStart_ = 0;
    uint32_t loopEnd_ = 0;
    std::vector<float> data_;
};
