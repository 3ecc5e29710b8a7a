#pragma once

// The sound manager's fixed tables: what the set-up file's sound indexes stand for, the pitch
// each rider's engine is tuned apart by, and the loudness of the collision sounds in turn.

#include <array>
#include <cstdint>

inline constexpr std::array<uint32_t, 3> kSoundRates = {11000, 22050, 44100};
inline constexpr std::array<uint32_t, 5> kSoundBufferSizes = {256, 512, 1024, 2048, 4096};  // bytes
inline constexpr std::array<uint32_t, 3> kSoundVoiceCounts = {4, 8, 16};  // engine slots

// Hz added to the engines of the riders the camera does not follow (half of it), by rider.
inline constexpr std::array<float, 26> kRiderPitchOffset = {
    -1000.0f, 2000.0f,  -1000.0f, 2000.0f,  -3000.0f, 4000.0f,  -5000.0f, 4000.0f,  -3000.0f,
    2000.0f,  -1000.0f, 2000.0f,  -3000.0f, 4000.0f,  -5000.0f, 8000.0f,  -6000.0f, 9000.0f,
    -3000.0f, 4500.0f,  0.0f,     0.0f,     -1000.0f, 2000.0f,  -3000.0f, 1000.0f};

inline constexpr std::array<float, 8> kCollisionGains = {0.3f, 0.5f, 0.1f, 0.4f,
                                                         0.2f, 0.8f, 0.7f, 0.6f};
