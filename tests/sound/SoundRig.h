#pragma once

// What most sound tests stand on: the scripted machine, an initialised output with a PCM root,
// and helpers to make samples and to run a node for one block.

#include <cstdint>
#include <vector>

#include "platform/scripted/ScriptedPlatform.h"
#include "sound/AudioNode.h"
#include "sound/PcmOutputNode.h"
#include "sound/SampleBuffer.h"
#include "sound/WaveOutput.h"

class SoundRig
{
public:
    static constexpr uint32_t kRate = 22050;
    static constexpr uint32_t kBufferBytes = 1024;  // 256 frames, 11 ms

    explicit SoundRig(uint32_t rate = kRate, uint32_t bufferBytes = kBufferBytes);

    // The node's block for stream time timeMs, frames x 2 floats.
    std::vector<float> Render(AudioNode& node, uint32_t timeMs, bool clear = true);
    // Consecutive blocks from time 0, joined.
    std::vector<float> RenderBlocks(AudioNode& node, int blocks);
    // Every sample queued on the capture device so far, joined.
    std::vector<int16_t> CapturedPcm() const;

    uint32_t Frames() const { return output.GetFramesPerBuffer(); }
    uint32_t PeriodMs() const { return static_cast<uint32_t>(output.GetPeriodMs()); }

    ScriptedPlatform platform;
    ScopedPlatform scope{platform};
    WaveOutput output;
    PcmOutputNode root;
};

SampleBuffer MakeSample(const std::vector<int16_t>& values);
// 0, step, 2 step, ...
std::vector<int16_t> Ramp(size_t count, int16_t step);
// The left or right channel of a stereo block.
std::vector<float> Channel(const std::vector<float>& stereo, int channel);
