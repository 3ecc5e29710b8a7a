#pragma once

// The sampler's block mixer: runs each voice's due events at their times within the block
// and mixes the voice into the float stereo block. Allocates nothing.

#include <cstdint>
#include <span>

#include "sound/Sampler.h"

struct SamplerMixParams
{
    float* block = nullptr;  // frames x 2 floats
    uint32_t frames = 0;
    bool clear = true;
    float rate = 0.0f;  // output frames per second
    float gain = 1.0f;  // the sampler's gain, applied as volume and pan events run
    uint32_t startMs = 0;
    uint32_t endMs = 0;                      // start + the output's period
    std::span<const SamplerSample> samples;  // id - 1 indexes it
};

void MixSamplerVoices(std::span<SamplerVoice> voices, const SamplerMixParams& params);
