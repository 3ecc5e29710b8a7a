#pragma once

// A node that mixes up to four inputs into a float block of its own, which it keeps: the
// caller's block is left as it is. Nothing in the game builds one.

#include <array>
#include <span>
#include <vector>

#include "sound/AudioNode.h"

class WaveOutput;

class MixerNode final : public AudioNode
{
public:
    static constexpr int kMaxInputs = 4;

    MixerNode() : AudioNode(AudioNodeType::Mixer) {}

    // Samplers, echo nodes and mixers, up to four. False when refused.
    bool AddInput(AudioNode* input);
    // Sizes the block for the output's buffers. False when the output is not initialised.
    bool AttachOutput(WaveOutput& output);
    bool Calculate(const AudioBlock& block) override;

    // The latest mix; read it on the thread that runs Calculate.
    std::span<const float> MixedBlock() const { return block_; }

private:
    std::array<AudioNode*, kMaxInputs> inputs_{};
    int inputCount_ = 0;
    std::vector<float> block_;
};
