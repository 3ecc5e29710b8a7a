#pragma once

// The tracks of a motion clip and their binary cache (".bmo"), little-endian. F = frame count;
// a triple is three i16; every track has F + 1 slots, the last one being the wrap or hold slot.
//
//   u32 F
//   u32 1, u32 (F + 1) x 84, f32 speed, rider block: (F + 1) root position triples, then the
//       13 body parts' angle tracks of (F + 1) triples each
//   u32 2, u32 (F + 1) x 12, bike block: (F + 1) position triples, then (F + 1) angle triples
//   u32 0xFFFFFFFF
//
// The reader takes the blocks in either order and skips any other word before the end mark.
// Positions are in 1/64 unit, angles in 8192 per turn as (pitch, heading, bank).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

using MotionTriple = std::array<int16_t, 3>;

inline constexpr int32_t kMotionPartCount = 13;

struct MotionTracks
{
    static constexpr int32_t kRiderTracks = 1 + kMotionPartCount;  // the root, then the parts
    static constexpr int32_t kBikeTracks = 2;                      // positions, angles

    int32_t frameCount = 0;
    float speed = 0.0f;  // ground speed of the root in units per second at the clip's rate
    std::vector<MotionTriple> rider;
    std::vector<MotionTriple> bike;

    // Zeroed tracks for frameCount frames.
    static MotionTracks Zeroed(int32_t frameCount);

    int32_t Slots() const { return frameCount + 1; }
    std::span<MotionTriple> RiderTrack(int32_t track);
    std::span<const MotionTriple> RiderTrack(int32_t track) const;
    std::span<MotionTriple> BikeTrack(int32_t track);
    std::span<const MotionTriple> BikeTrack(int32_t track) const;
};

// Nothing when the bytes are not a whole cache: a frame count below 1, a block of the wrong
// size, no rider block, or an end before the end mark. A missing bike block reads as zeros.
std::optional<MotionTracks> DecodeMotionTracks(std::span<const uint8_t> bytes);
std::vector<uint8_t> EncodeMotionTracks(const MotionTracks& tracks);
