#include "sound/EchoNode.h"

#include <algorithm>
#include <bit>

#include "sound/WaveOutput.h"

namespace
{
constexpr uint32_t kDefaultDelaySeconds = 2;

// Twice the highest power of two in bytes, within the line's limits.
uint32_t DelayLineBytes(uint64_t bytes)
{
    const uint64_t size = bytes == 0 ? 0 : std::bit_floor(bytes) * 2;
    return static_cast<uint32_t>(
        std::clamp<uint64_t>(size, EchoNode::kMinDelayBytes, EchoNode::kMaxDelayBytes));
}

int32_t MsFrom(uint32_t from, uint32_t to)
{
    return static_cast<int32_t>(to - from);
}
}  // namespace

bool EchoNode::Open(WaveOutput& output, uint32_t delayMs)
{
    {
        const std::lock_guard lock(echoMutex_);
        if (!output.IsInitialised() || output_ != nullptr)
        {
            return false;
        }
        output_ = &output;
        SetDelayBufferLocked(delayMs);
        inputBlock_.assign(size_t{output.GetFramesPerBuffer()} * 2, 0.0f);
        feedback_ = 0.5f;
        wet_ = 1.0f;
        leftToLeft_ = 1.0f;
        rightToLeft_ = 0.0f;
        leftToRight_ = 0.0f;
        rightToRight_ = 1.0f;
        leftPan_ = 0.0f;
        rightPan_ = 0.0f;
        mode_ = 1;
        delayFrames_ = kDefaultDelaySeconds * output.GetSampleRate();
        ring_ = std::make_unique<uint32_t[]>(kRingWords);
        readIndex_ = 0;
        pending_ = 0;
    }
    SetInputBlock(inputBlock_.data());
    return true;
}

void EchoNode::SetDelayBuffer(uint32_t delayMs)
{
    const std::lock_guard lock(echoMutex_);
    if (output_ != nullptr)
    {
        SetDelayBufferLocked(delayMs);
    }
}

void EchoNode::SetDelayBufferLocked(uint32_t delayMs)
{
    const uint64_t frames = uint64_t{output_->GetSampleRate()} * delayMs / 1000;
    const uint32_t bytes = DelayLineBytes(frames * kBytesPerFrame);
    delayLine_.assign(bytes / sizeof(float), 0.0f);
    writePosition_ = 0;
    frameMask_ = bytes / kBytesPerFrame - 1;
}

bool EchoNode::PostCommand(uint32_t opcode, uint32_t operand)
{
    const std::lock_guard lock(echoMutex_);
    constexpr uint32_t kCommandWords = 4;
    if (output_ == nullptr || opcode == kEchoTimeStamp || opcode > kEchoMode ||
        kRingWords - pending_ < kCommandWords)
    {
        return false;
    }
    const uint32_t words[kCommandWords] = {kEchoTimeStamp, output_->GetPlayPosition(), opcode,
                                           operand};
    for (const uint32_t word : words)
    {
        ring_[(readIndex_ + pending_++) % kRingWords] = word;
    }
    if (opcode == kEchoDelay)
    {
        std::fill(delayLine_.begin(), delayLine_.end(), 0.0f);
    }
    return true;
}

bool EchoNode::Calculate(const AudioBlock& block)
{
    const bool hasInput = AudioNode::Calculate(block);
    const std::lock_guard lock(echoMutex_);
    if (output_ == nullptr)
    {
        if (block.clear)
        {
            std::fill_n(block.samples, size_t{block.frames} * 2, 0.0f);
        }
        return false;
    }
    if (!hasInput)
    {
        // Without children the input is silence, not the last block they produced.
        std::fill(inputBlock_.begin(), inputBlock_.end(), 0.0f);
    }
    RunCommands(block.timeMs + static_cast<uint32_t>(std::max(output_->GetPeriodMs(), 0)));
    ProcessEcho(block);
    return hasInput;
}

void EchoNode::Close()
{
    AudioNode::Close();
    SetInputBlock(nullptr);
    const std::lock_guard lock(echoMutex_);
    inputBlock_ = {};
    ring_.reset();
    pending_ = 0;
    readIndex_ = 0;
    output_ = nullptr;
}

uint32_t EchoNode::GetDelayBufferFrames() const
{
    const std::lock_guard lock(echoMutex_);
    return static_cast<uint32_t>(delayLine_.size() / 2);
}

// Commands due before the block's end run now; past time stamps are passed over.
void EchoNode::RunCommands(uint32_t endMs)
{
    while (pending_ >= 2)
    {
        const uint32_t opcode = ring_[readIndex_];
        const uint32_t operand = ring_[(readIndex_ + 1) % kRingWords];
        if (opcode == kEchoTimeStamp && MsFrom(endMs, operand) >= 0)
        {
            return;
        }
        if (opcode != kEchoTimeStamp)
        {
            RunCommand(opcode, operand);
        }
        readIndex_ = (readIndex_ + 2) % kRingWords;
        pending_ -= 2;
    }
}

void EchoNode::RunCommand(uint32_t opcode, uint32_t operand)
{
    const float value = std::bit_cast<float>(operand);
    switch (opcode)
    {
        case kEchoDelay:
            delayFrames_ = operand;
            break;
        case kEchoFeedback:
            feedback_ = value;
            break;
        case kEchoWet:
            wet_ = value;
            leftToLeft_ = (1.0f - leftPan_) * wet_;
            rightToLeft_ = leftPan_ * wet_;
            leftToRight_ = (1.0f - rightPan_) * wet_;
            rightToRight_ = rightPan_ * wet_;
            break;
        case kEchoLeftPan:
            leftPan_ = value;
            leftToLeft_ = (1.0f - leftPan_) * wet_;
            rightToLeft_ = leftPan_ * wet_;
            break;
        case kEchoRightPan:
            rightPan_ = value;
            leftToRight_ = (1.0f - rightPan_) * wet_;
            rightToRight_ = rightPan_ * wet_;
            break;
        case kEchoMode:
            if (operand <= 1)
            {
                mode_ = operand;
            }
            break;
        default:
            break;
    }
}

void EchoNode::ProcessEcho(const AudioBlock& block)
{
    float* out = block.samples;
    const float* in = inputBlock_.data();
    float* line = delayLine_.data();
    const uint32_t frames = std::min<uint32_t>(block.frames, inputBlock_.size() / 2);
    uint32_t w = writePosition_;
    for (uint32_t i = 0; i < frames; ++i, w = (w + 1) & frameMask_)
    {
        const uint32_t r = (w - delayFrames_) & frameMask_;
        const float inLeft = in[2 * i];
        const float inRight = in[2 * i + 1];
        float echoLeft = line[2 * r];
        float echoRight = line[2 * r + 1];
        if (mode_ == 1 && block.clear)
        {
            const float readLeft = echoLeft;
            echoLeft = readLeft * leftToLeft_ + echoRight * rightToLeft_;
            echoRight = readLeft * leftToRight_ + echoRight * rightToRight_;
        }
        else if (mode_ == 1)
        {
            echoLeft *= wet_;
            echoRight *= wet_;
        }
        // The plain echo keeps only the input in the line, the other also its own echo.
        const float keptLeft = mode_ == 1 ? echoLeft : 0.0f;
        const float keptRight = mode_ == 1 ? echoRight : 0.0f;
        line[2 * w] = keptLeft + inLeft * feedback_;
        line[2 * w + 1] = keptRight + inRight * feedback_;
        if (block.clear)
        {
            out[2 * i] = inLeft + echoLeft;
            out[2 * i + 1] = inRight + echoRight;
        }
        else
        {
            out[2 * i] += inLeft + echoLeft;
            out[2 * i + 1] += inRight + echoRight;
        }
    }
    writePosition_ = w;
}
