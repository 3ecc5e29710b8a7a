// The lock-step state check of a network race: checksums and snapshots every fourth step, and
// the rollback to the first step whose state differed from the host's.

#include <algorithm>

#include "race/LockstepState.h"
#include "race/RaceRollback.h"
#include "race/RaceSim.h"

namespace
{
bool Present(const LockstepState& lockstep, uint32_t rider)
{
    return lockstep.riderPresent[rider].load(std::memory_order_relaxed);
}
}  // namespace

void RaceSim::SnapshotState(std::span<BikeRecord> records, uint32_t riderCount)
{
    LockstepState& lockstep = *lockstep_;
    const uint32_t step = ticksDone_;
    const size_t slot = StateSlotOf(step);
    StateChecksumRing::Row checksums{};
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        BikeRecord& bike = records[rider];
        if (IsInactive(bike))
        {
            continue;
        }
        bike.checksum = Present(lockstep, rider) ? bike.StateChecksum() : 0;
        checksums[rider] = bike.checksum;
        if (!lockstep.isHost)
        {
            // Every rider of the race, present or not: a rollback takes them all back.
            CopySnapshotBlock(bike, lockstep.snapshots[slot][rider]);
        }
    }
    if (lockstep.isHost)
    {
        uint32_t sent = 0;
        for (uint32_t rider = 0; rider < riderCount; ++rider)
        {
            if (Present(lockstep, rider) && !IsInactive(records[rider]))
            {
                services_->AddStateCheckRider(step, rider, sent++);
            }
        }
        if (sent > 0)
        {
            services_->SendStateCheck();
        }
        return;
    }
    lockstep.snapshotSteps[slot] = step;
    collisions_.SaveRollbackState(slot);
    if (race_ != nullptr)
    {
        rollback_->Save(slot, *race_);
    }
    lockstep.checksums.Publish(step, checksums);

    HostStateRing::Blocks host;
    if (lockstep.divergenceStep.load(std::memory_order_relaxed) != kNoDivergence ||
        !lockstep.hostStates.Read(step, host))
    {
        return;
    }
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        if (Present(lockstep, rider) && checksums[rider] != host[rider * kStateBlockWords])
        {
            lockstep.NoteDivergence(step);
            return;
        }
    }
}

uint32_t RaceSim::Resynchronise(std::span<BikeRecord> records, uint32_t riderCount, uint32_t step)
{
    LockstepState& lockstep = *lockstep_;
    lockstep.divergenceStep.store(kNoDivergence, std::memory_order_relaxed);
    const size_t slot = StateSlotOf(step);
    HostStateRing::Blocks host;
    // A step from before the ring's reach, or one the host's record is gone for, cannot be
    // restored: rather no rollback than a state stitched together from two steps.
    if (step > ticksDone_ || lockstep.snapshotSteps[slot] != step ||
        !lockstep.hostStates.Read(step, host))
    {
        ++skippedRollbacks_;
        return 0;
    }
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        BikeRecord& bike = records[rider];
        if (IsInactive(bike))
        {
            continue;
        }
        RestoreSnapshotBlock(bike, lockstep.snapshots[slot][rider]);
        if (Present(lockstep, rider))
        {
            RestoreStateBlock(bike, std::span<const uint32_t, kStateBlockWords>(
                                        &host[rider * kStateBlockWords], kStateBlockWords));
        }
    }
    collisions_.RestoreRollbackState(slot);
    if (race_ != nullptr)
    {
        rollback_->Restore(slot, *race_);
    }
    const uint32_t undone = ticksDone_ - step;
    ticksDone_ = step;
    ComputePairDistances(records, riderCount);
    return undone;
}
