#include "sound/PcmOutputNode.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>

#include "sound/WaveOutput.h"

namespace
{
constexpr float kRoundingBias = 8388608.0f;  // 2^23: adding it leaves the integer in the low bits
constexpr float kSaturation = 32768.0f;

int16_t ConvertSample(float value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    const float magnitude = std::min(std::fabs(value), kSaturation);
    const uint32_t rounded = std::bit_cast<uint32_t>(magnitude + kRoundingBias) & 0xFFFFFF;
    if (rounded >= 0x8000)
    {
        return std::signbit(value) ? INT16_MIN : INT16_MAX;
    }
    const auto bits = static_cast<uint16_t>(std::signbit(value) ? ~rounded : rounded);
    return std::bit_cast<int16_t>(bits);
}
}  // namespace

void ConvertToPcm16(std::span<const float> samples, std::span<int16_t> pcm)
{
    assert(pcm.size() >= samples.size());
    std::transform(samples.begin(), samples.end(), pcm.begin(), ConvertSample);
}

bool PcmOutputNode::AttachOutput(WaveOutput& output)
{
    ClearChildren();
    {
        const std::lock_guard lock(nodeMutex_);
        if (!output.IsInitialised() || output_ != nullptr)
        {
            return false;
        }
        floatBlock_.assign(static_cast<size_t>(output.GetFramesPerBuffer()) * 2, 0.0f);
        SetInputBlock(floatBlock_.data());
        output_ = &output;
    }
    output.AttachRoot(this);
    return true;
}

bool PcmOutputNode::Calculate(const AudioBlock& block)
{
    const std::lock_guard lock(nodeMutex_);
    const size_t sampleCount = static_cast<size_t>(block.frames) * 2;
    const std::span<int16_t> pcm(block.pcm, sampleCount);
    if (floatBlock_.size() < sampleCount || !AudioNode::Calculate(block))
    {
        std::fill(pcm.begin(), pcm.end(), int16_t{0});
        return true;
    }
    ConvertToPcm16(std::span(floatBlock_).first(sampleCount), pcm);
    return true;
}

void PcmOutputNode::Close()
{
    AudioNode::Close();
    const std::lock_guard lock(nodeMutex_);
    SetInputBlock(nullptr);
    floatBlock_ = {};
    output_ = nullptr;
}
