#pragma once

// The motion channels: visible values (node angles, heights and offsets, a bike's place) that
// a simulation step moves from a start value to an end value. The step writes each end value
// at once and records the pair; every drawn frame interpolates between them by the fraction of
// the step elapsed, and the next step first snaps each target to its end value.
//
// Angle channels interpolate the short way round. The list holds a fixed number of channels;
// appends beyond it are dropped and counted. Main thread only; nothing allocates.

#include <array>
#include <cstdint>

enum class ChannelKind : uint32_t
{
    Value = 0,
    Angle = 1,
};

struct MotionChannel
{
    ChannelKind kind;
    float* target;
    float start;  // value at the last step
    float end;    // value at this step
};

class ChannelList
{
public:
    static constexpr uint32_t kCapacity = 4096;

    // Records the target's present value as start and writes the new value to it.
    void Set(ChannelKind kind, float* target, float value);
    // Records a channel whose target already holds its end value.
    void Add(ChannelKind kind, float* target, float start, float end);

    uint32_t Count() const { return count_; }
    uint32_t DroppedCount() const { return dropped_; }
    const MotionChannel& operator[](uint32_t index) const { return channels_[index]; }
    void Clear() { count_ = 0; }

private:
    std::array<MotionChannel, kCapacity> channels_;
    uint32_t count_ = 0;
    uint32_t dropped_ = 0;
};

// Writes every end value, last channel first.
void SnapChannels(const ChannelList& list);
// Writes start + (end - start) x t to every target, last channel first; angles take the
// shorter way.
void InterpolateChannels(const ChannelList& list, float t);
