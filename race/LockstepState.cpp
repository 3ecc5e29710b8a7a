#include "race/LockstepState.h"

#include <cstring>

namespace
{
std::byte* StateBytes(BikeRecord& record)
{
    return record.SnapshotBlock().data();
}

// A row is stamped empty, filled, then stamped with its step: a reader that sees the new
// contents sees at least the empty stamp.
template <class Words, class Source>
void PublishRow(std::atomic<uint32_t>& stamp, Words& words, uint32_t step, const Source& source)
{
    stamp.store(kNoStep, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (size_t i = 0; i < words.size(); ++i)
    {
        words[i].store(source[i], std::memory_order_relaxed);
    }
    stamp.store(step, std::memory_order_release);
}

template <class Words, class Target>
bool ReadRow(const std::atomic<uint32_t>& stamp, const Words& words, uint32_t step, Target& target)
{
    if (step == kNoStep || stamp.load(std::memory_order_acquire) != step)
    {
        return false;
    }
    for (size_t i = 0; i < words.size(); ++i)
    {
        target[i] = words[i].load(std::memory_order_relaxed);
    }
    std::atomic_thread_fence(std::memory_order_acquire);
    return stamp.load(std::memory_order_relaxed) == step;
}
}  // namespace

HostStateRing::HostStateRing()
{
    Clear();
}

void HostStateRing::Publish(uint32_t step, const Blocks& blocks)
{
    Slot& slot = slots_[StateSlotOf(step)];
    PublishRow(slot.step, slot.words, step, blocks);
}

bool HostStateRing::Read(uint32_t step, Blocks& blocks) const
{
    const Slot& slot = slots_[StateSlotOf(step)];
    return ReadRow(slot.step, slot.words, step, blocks);
}

bool HostStateRing::Holds(uint32_t step) const
{
    return step != kNoStep &&
           slots_[StateSlotOf(step)].step.load(std::memory_order_acquire) == step;
}

void HostStateRing::Clear()
{
    for (Slot& slot : slots_)
    {
        slot.step.store(kNoStep, std::memory_order_relaxed);
    }
}

StateChecksumRing::StateChecksumRing()
{
    Clear();
}

void StateChecksumRing::Publish(uint32_t step, const Row& checksums)
{
    Slot& slot = slots_[StateSlotOf(step)];
    PublishRow(slot.step, slot.checksums, step, checksums);
}

bool StateChecksumRing::Read(uint32_t step, Row& checksums) const
{
    const Slot& slot = slots_[StateSlotOf(step)];
    return ReadRow(slot.step, slot.checksums, step, checksums);
}

void StateChecksumRing::Clear()
{
    for (Slot& slot : slots_)
    {
        slot.step.store(kNoStep, std::memory_order_relaxed);
    }
}

LockstepState::LockstepState()
{
    snapshotSteps.fill(kNoStep);
}

bool LockstepState::NoteDivergence(uint32_t step)
{
    int32_t none = kNoDivergence;
    return divergenceStep.compare_exchange_strong(none, static_cast<int32_t>(step),
                                                  std::memory_order_relaxed);
}

void CopyStateBlock(const BikeRecord& record, std::span<uint32_t, kStateBlockWords> block)
{
    std::memcpy(block.data(), record.StateBlock().data(), kStateBlockBytes);
}

void CopySnapshotBlock(const BikeRecord& record, std::span<uint32_t, kSnapshotWords> block)
{
    std::memcpy(block.data(), record.SnapshotBlock().data(), kSnapshotBytes);
}

void RestoreSnapshotBlock(BikeRecord& record, std::span<const uint32_t, kSnapshotWords> block)
{
    std::memcpy(StateBytes(record), block.data(), kSnapshotBytes);
}

void RestoreStateBlock(BikeRecord& record, std::span<const uint32_t, kStateBlockWords> block)
{
    std::memcpy(StateBytes(record), block.data(), kStateBlockBytes);
}
