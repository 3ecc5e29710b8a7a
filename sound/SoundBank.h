#pragma once

// An engine-sound bank (".std"): the engine-loop tuning of one bike class, its four engine
// loops and up to nine effect sounds with their pitches. Little-endian:
//
//   offset  size  field
//   0       4     u32 header word (ignored)
//   4       4     f32 mixScale
//   8       4     f32 initial engine speed
//   12      4     f32 pitchOffset (Hz)
//   16      64    16 f32 loopCurveVol (per cent)
//   80      64    16 f32 loopCurvePos (0..1)
//   144     32    4 x (f32 low, f32 high) loopRpmRange
//   176     32    4 x (f32 low, f32 high) loopPitchRange (Hz)
//   208     ...   4 engine-loop sound records
//   then    16    4 x u32 loop start of each engine loop (samples)
//   then    4     u32 N, the number of effect sounds (at most 9)
//   then    4N    N x f32 eventPitch (Hz)
//   then    ...   N effect-sound records
//
// Sound record: u32 name length L (below 1024), L name bytes (unused), u32 image length D,
// D bytes of a canonical 16-bit PCM WAVE image.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "sound/SampleBuffer.h"

class DAFile;

struct FloatRange
{
    float low = 0.0f;
    float high = 0.0f;
};

struct SoundBank
{
    static constexpr size_t kHeadSize = 208;
    static constexpr size_t kCurvePoints = 16;
    static constexpr size_t kEngineLoopCount = 4;
    static constexpr size_t kMaxEventSounds = 9;
    static constexpr uint32_t kMaxNameLength = 1023;
    static constexpr uint32_t kMinImageLength = 44;

    float mixScale = 0.0f;
    float engineRpm = 0.0f;
    float pitchOffset = 0.0f;
    std::array<float, kCurvePoints> loopCurveVol{};
    std::array<float, kCurvePoints> loopCurvePos{};
    std::array<FloatRange, kEngineLoopCount> loopRpmRange{};
    std::array<FloatRange, kEngineLoopCount> loopPitchRange{};
    std::array<SampleBuffer, kEngineLoopCount> engineLoops;
    uint32_t eventSoundCount = 0;
    std::array<float, kMaxEventSounds> eventPitch{};
    std::array<SampleBuffer, kMaxEventSounds> eventSounds;
};

// Fills the bank from the bytes of a bank file; engine loops are made interleaved when
// interpolate is set. A bank that breaks any limit above, runs past the end of the bytes or
// holds an image that does not load leaves the bank empty, as a missing one does: false.
bool ParseSoundBank(std::span<const uint8_t> bytes, bool interpolate, SoundBank& bank);

// The same for a bank read through the file object; a missing bank is not reported.
bool LoadSoundBank(DAFile& file, std::string_view name, bool interpolate, SoundBank& bank);
