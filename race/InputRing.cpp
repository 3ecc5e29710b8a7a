#include "race/InputRing.h"

#include <bit>

namespace
{
struct PackedInputs
{
    int8_t steer;
    int8_t throttleBrake;
    int8_t clutch;
    uint8_t buttons;
};
static_assert(sizeof(PackedInputs) == sizeof(uint32_t));
static_assert(std::endian::native == std::endian::little);

uint32_t Pack(const InputFrame& frame)
{
    return std::bit_cast<uint32_t>(
        PackedInputs{frame.steer, frame.throttleBrake, frame.clutch, frame.buttons});
}

InputFrame Unpack(uint32_t inputs)
{
    const auto packed = std::bit_cast<PackedInputs>(inputs);
    return {packed.steer, packed.throttleBrake, packed.clutch, packed.buttons};
}
}  // namespace

void InputRing::Clear()
{
    for (Entry& entry : entries_)
    {
        entry.step.store(kEmpty, std::memory_order_relaxed);
        entry.inputs.store(0, std::memory_order_relaxed);
    }
}

void InputRing::Publish(uint32_t step, const InputFrame& frame)
{
    Entry& entry = entries_[step % kSize];
    entry.step.store(kEmpty, std::memory_order_relaxed);
    // A reader that sees the new inputs sees the cleared step number too.
    std::atomic_thread_fence(std::memory_order_release);
    entry.inputs.store(Pack(frame), std::memory_order_relaxed);
    entry.step.store(step, std::memory_order_release);
}

std::optional<InputFrame> InputRing::Read(uint32_t step) const
{
    const Entry& entry = entries_[step % kSize];
    if (step == kEmpty || entry.step.load(std::memory_order_acquire) != step)
    {
        return std::nullopt;
    }
    const uint32_t inputs = entry.inputs.load(std::memory_order_relaxed);
    // The inputs are read before the step number is checked again.
    std::atomic_thread_fence(std::memory_order_acquire);
    if (entry.step.load(std::memory_order_relaxed) != step)
    {
        return std::nullopt;
    }
    return Unpack(inputs);
}

uint32_t InputRing::HeldStep(uint32_t step) const
{
    return entries_[step % kSize].step.load(std::memory_order_acquire);
}
