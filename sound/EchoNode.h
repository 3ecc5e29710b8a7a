#pragma once

// A delay-line echo over the output of its children. Like the sampler it takes time-stamped
// commands through a ring and carries them out in its block processor: every command due
// before the end of a block takes effect at the block's start.
//
// Threads: commands are posted from the main thread, blocks are processed on the output's
// thread, both under the node's own lock.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/AudioNode.h"

class WaveOutput;

enum EchoOpcode : uint32_t
{
    kEchoTimeStamp = 0,
    kEchoDelay = 1,     // frames; also clears the delay line at once
    kEchoFeedback = 2,  // f32
    kEchoWet = 3,       // f32; the four cross gains follow from it and the pans
    kEchoLeftPan = 4,   // f32
    kEchoRightPan = 5,  // f32
    kEchoSpare = 6,     // f32, kept by no one
    kEchoMode = 7,      // 0 plain echo, 1 echo of the echo, cross-panned when overwriting
};

class EchoNode final : public AudioNode
{
public:
    static constexpr uint32_t kRingWords = 4096;
    static constexpr uint32_t kMinDelayBytes = 1024;
    static constexpr uint32_t kMaxDelayBytes = 1u << 20;
    static constexpr uint32_t kBytesPerFrame = 8;

    EchoNode() : AudioNode(AudioNodeType::Echo) {}

    // False when the output is not initialised or the node is open already. The delay line
    // is sized for delayMs; the delay itself starts at two seconds, wrapped by the line.
    bool Open(WaveOutput& output, uint32_t delayMs);
    // A fresh, silent delay line of the power of two just above delayMs (1 KiB to 1 MiB).
    void SetDelayBuffer(uint32_t delayMs);
    // False when the node is not open, the opcode is unknown or the ring is full.
    bool PostCommand(uint32_t opcode, uint32_t operand);
    bool Calculate(const AudioBlock& block) override;
    // Leaves the graph, closes the children and frees the input block and the ring; the node
    // can be opened again.
    void Close() override;

    uint32_t GetDelayBufferFrames() const;

private:
    void RunCommands(uint32_t endMs);
    void RunCommand(uint32_t opcode, uint32_t operand);
    void ProcessEcho(const AudioBlock& block);
    void SetDelayBufferLocked(uint32_t delayMs);

    mutable std::mutex echoMutex_;
    WaveOutput* output_ = nullptr;
    std::vector<float> inputBlock_;

    std::vector<float> delayLine_;  // stereo frames
    uint32_t frameMask_ = 0;
    uint32_t writePosition_ = 0;  // frames
    uint32_t delayFrames_ = 0;
    float feedback_ = 0.0f;
    float wet_ = 0.0f;
    float leftToLeft_ = 0.0f;
    float rightToLeft_ = 0.0f;
    float leftToRight_ = 0.0f;
    float rightToRight_ = 0.0f;
    float leftPan_ = 0.0f;
    float rightPan_ = 0.0f;
    uint32_t mode_ = 1;

    std::unique_ptr<uint32_t[]> ring_;
    uint32_t readIndex_ = 0;
    uint32_t pending_ = 0;
};
