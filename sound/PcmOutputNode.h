#pragma once

// The root of the sound graph: its children mix into a float block, which it turns into the
// output's 16-bit stereo buffer, or silence when it has no children.

#include <cstdint>
#include <span>
#include <vector>

#include "sound/AudioNode.h"

class WaveOutput;

// Rounds each float to the nearest integer and saturates it to 16 bits. A negative value
// comes out as the ones' complement of its magnitude (-1000.0 gives -1001, 0xFC17); NaN
// gives 0.
void ConvertToPcm16(std::span<const float> samples, std::span<int16_t> pcm);

class PcmOutputNode final : public AudioNode
{
public:
    PcmOutputNode() : AudioNode(AudioNodeType::PcmOutput) {}

    // Forgets the children, then becomes the root of an initialised output that has no root
    // node yet. The node must outlive the output's use of it.
    bool AttachOutput(WaveOutput& output);
    bool Calculate(const AudioBlock& block) override;
    // Closes the children and lets the output go; the output's buffers are silent after it.
    void Close() override;

private:
    WaveOutput* output_ = nullptr;
    std::vector<float> floatBlock_;
};
