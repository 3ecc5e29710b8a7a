#include "sound/MixerNode.h"

#include "sound/WaveOutput.h"

bool MixerNode::AddInput(AudioNode* input)
{
    const std::lock_guard lock(nodeMutex_);
    const bool accepted = input != nullptr && input->Type() != AudioNodeType::PcmOutput &&
                          input->Type() != AudioNodeType::WaveStream && inputCount_ < kMaxInputs;
    if (accepted)
    {
        inputs_[inputCount_++] = input;
    }
    return accepted;
}

bool MixerNode::AttachOutput(WaveOutput& output)
{
    const std::lock_guard lock(nodeMutex_);
    if (!output.IsInitialised())
    {
        return false;
    }
    block_.assign(size_t{output.GetFramesPerBuffer()} * 2, 0.0f);
    return true;
}

bool MixerNode::Calculate(const AudioBlock& block)
{
    const std::lock_guard lock(nodeMutex_);
    if (inputCount_ == 0 || block_.size() < size_t{block.frames} * 2)
    {
        return false;
    }
    AudioBlock own;
    own.samples = block_.data();
    own.frames = block.frames;
    own.timeMs = block.timeMs;
    for (int i = 0; i < inputCount_; ++i)
    {
        own.clear = i == 0;
        inputs_[i]->Calculate(own);
    }
    return true;
}
