#pragma once

// The lock-step state check of a network race: the words the timer thread's network receive
// and the race tick share, and the client's own snapshots.
//
// Every fourth step a client checksums every rider's state block, keeps the rider's whole
// snapshot block in a ring of 16 slots (slot = (step >> 2) & 15), and compares its checksums
// with the host's state blocks for the same step. The first step found to differ becomes the
// divergence step; the next tick restores the host's state of that step and simulates forward
// again (RaceSim).
//
// Threads: the network receive (timer thread) fills the host ring, reads the checksum ring and
// may set the divergence step; the tick (main thread) writes the checksum ring and reads the
// rest. Ring rows are published as their contents first and their step number last; a reader
// takes a row only when the step number, read before and after the contents, is the step it
// wants. The snapshot ring is the main thread's alone. One object per machine, made for a
// network session and reused from race to race: a slot counts only through its step number.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "race/BikeRecord.h"

// A rider's state block: the checksum word of its record and the 92 words behind it.
inline constexpr size_t kStateBlockBytes = BikeRecord::kStateBlockBytes;
inline constexpr size_t kStateBlockWords = kStateBlockBytes / 4;
// What a client keeps of a rider for a rollback: 389 words from the checksum word on.
inline constexpr size_t kSnapshotWords = BikeRecord::kSnapshotWords;
inline constexpr size_t kSnapshotBytes = BikeRecord::kSnapshotBytes;
inline constexpr size_t kStateSlots = 16;
inline constexpr int32_t kNoDivergence = -1;

constexpr size_t StateSlotOf(uint32_t step)
{
    return (step >> 2) & (kStateSlots - 1);
}

// Steps rows of a ring are stamped with while they hold nothing.
inline constexpr uint32_t kNoStep = 0xFFFFFFFF;

// The host's state blocks by step: the step number, then every rider's block in rider order.
class HostStateRing
{
public:
    using Blocks = std::array<uint32_t, kRiderCount * kStateBlockWords>;

    HostStateRing();

    // Network receive: stores the blocks the host sent for a step.
    void Publish(uint32_t step, const Blocks& blocks);
    // The blocks of the step, when its slot holds that step.
    bool Read(uint32_t step, Blocks& blocks) const;
    bool Holds(uint32_t step) const;
    void Clear();

private:
    struct Slot
    {
        std::atomic<uint32_t> step{kNoStep};
        std::array<std::atomic<uint32_t>, kRiderCount * kStateBlockWords> words{};
    };
    std::array<Slot, kStateSlots> slots_;
};

// The client's own checksums by step: the step number, then one checksum per rider (0 for a
// rider not in the session).
class StateChecksumRing
{
public:
    using Row = std::array<uint32_t, kRiderCount>;

    StateChecksumRing();

    void Publish(uint32_t step, const Row& checksums);
    bool Read(uint32_t step, Row& checksums) const;
    void Clear();

private:
    struct Slot
    {
        std::atomic<uint32_t> step{kNoStep};
        std::array<std::atomic<uint32_t>, kRiderCount> checksums{};
    };
    std::array<Slot, kStateSlots> slots_;
};

struct LockstepState
{
    LockstepState();

    // The first step whose state differed from the host's, kNoDivergence when none is known.
    // Only the first difference counts: a later one does not move it.
    bool NoteDivergence(uint32_t step);

    HostStateRing hostStates;
    StateChecksumRing checksums;
    std::atomic<int32_t> divergenceStep{kNoDivergence};
    // Set for the riders that take part in the session.
    std::array<std::atomic<bool>, kRiderCount> riderPresent{};
    // Main thread only: rider rows of snapshot blocks, and the step each slot was taken at.
    std::array<std::array<std::array<uint32_t, kSnapshotWords>, kRiderCount>, kStateSlots>
        snapshots{};
    std::array<uint32_t, kStateSlots> snapshotSteps{};
    bool isHost = false;
};

// The record's state block and snapshot block as words, and back.
void CopyStateBlock(const BikeRecord& record, std::span<uint32_t, kStateBlockWords> block);
void CopySnapshotBlock(const BikeRecord& record, std::span<uint32_t, kSnapshotWords> block);
void RestoreSnapshotBlock(BikeRecord& record, std::span<const uint32_t, kSnapshotWords> block);
void RestoreStateBlock(BikeRecord& record, std::span<const uint32_t, kStateBlockWords> block);
