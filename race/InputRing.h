#pragma once

// One rider's control inputs by simulation step: 256 entries, entry = step & 255, each the
// step number it holds and the four input bytes of that step. An entry counts only for the
// step it holds, so a reader asks for a step and gets nothing while that step has not
// arrived.
//
// One thread writes a ring (the timer tick: the input step for the own rider, the network
// receive for the others) while the race tick reads it on the main thread. A writer clears
// the step number, stores the inputs and stores the step number last; a reader takes the
// step number, the inputs and then the step number again, and accepts the inputs only when
// both step numbers are the one it asked for. A reader can therefore never pair a step
// number with inputs of another step.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

struct InputFrame
{
    static constexpr uint8_t kShiftUp = 1;
    static constexpr uint8_t kShiftDown = 2;
    static constexpr uint8_t kWheelie = 4;
    static constexpr uint8_t kLookBack = 8;

    int8_t steer = 0;          // -127..127, positive = right
    int8_t throttleBrake = 0;  // positive = throttle, negative = brake
    int8_t clutch = 0;         // 0..127, 127 = engaged
    uint8_t buttons = 0;

    bool operator==(const InputFrame&) const = default;
};

class InputRing
{
public:
    static constexpr size_t kSize = 256;
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;

    InputRing() { Clear(); }
    InputRing(const InputRing&) = delete;
    InputRing& operator=(const InputRing&) = delete;

    // Every entry empty. Not while another thread writes the ring.
    void Clear();

    void Publish(uint32_t step, const InputFrame& frame);
    std::optional<InputFrame> Read(uint32_t step) const;
    // The step whose inputs the entry of `step` holds (kEmpty for none): `step` itself, or one
    // that lies a multiple of kSize before or after it.
    uint32_t HeldStep(uint32_t step) const;

private:
    struct Entry
    {
        std::atomic<uint32_t> step{kEmpty};
        std::atomic<uint32_t> inputs{0};  // the four bytes of InputFrame, little-endian
    };
    static_assert(sizeof(Entry) == 8);

    std::array<Entry, kSize> entries_;
};
