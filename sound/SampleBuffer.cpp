#include "sound/SampleBuffer.h"

#include <algorithm>

#include "sound/WaveImage.h"

bool SampleBuffer::LoadFromMemory(std::span<const uint8_t> image)
{
    std::vector<float> samples;
    const bool loaded = ParseWaveImage(image, samples);
    TakeSamples(std::move(samples));
    return loaded;
}

bool SampleBuffer::LoadFromFile(std::string_view name)
{
    std::vector<float> samples;
    const bool loaded = LoadWaveFile(name, samples);
    TakeSamples(std::move(samples));
    return loaded;
}

void SampleBuffer::TakeSamples(std::vector<float>&& samples)
{
    flags_ = 0;
    data_ = std::move(samples);
    sampleCount_ = static_cast<uint32_t>(data_.size());
    loopStart_ = 0;
    loopEnd_ = sampleCount_;
}

void SampleBuffer::Free()
{
    data_ = {};
    sampleCount_ = 0;
    loopStart_ = 0;
    loopEnd_ = 0;
}

void SampleBuffer::SetLoop(uint32_t start, uint32_t end)
{
    loopEnd_ = end == 0 ? sampleCount_ : std::min(end, sampleCount_);
    loopStart_ = loopEnd_ == 0 ? 0 : std::min(start, loopEnd_ - 1);
}

bool SampleBuffer::SetInterleaved(bool on)
{
    if (on == IsInterleaved())
    {
        return false;
    }
    std::vector<float> converted;
    if (on)
    {
        converted.resize(data_.size() * 2);
        for (size_t i = 0; i < data_.size(); ++i)
        {
            const float next = i + 1 < data_.size() ? data_[i + 1] : data_[i];
            converted[2 * i] = data_[i];
            converted[2 * i + 1] = next - data_[i];
        }
        flags_ |= kInterleaved;
    }
    else
    {
        converted.resize(data_.size() / 2);
        for (size_t i = 0; i < converted.size(); ++i)
        {
            converted[i] = data_[2 * i];
        }
        flags_ &= ~kInterleaved;
    }
    data_ = std::move(converted);
    return true;
}
