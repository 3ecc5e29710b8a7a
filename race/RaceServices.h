#pragma once

// What a simulation step asks of the Parts around it: ghost playback and lap recording, the
// computer riders, rider animation, standings and the network's state check. Each call has a
// do-nothing default, so that a headless race runs on this class as it is and each Part
// overrides what it provides.
//
// Called on the main thread from inside a step, in the step's fixed order; an override may
// change the records (that is what the computer riders do) but must read nothing that differs
// between machines (the camera, the frame time, the runtime random generator). Sound and force
// feedback are not here: the step leaves them in its event list.

#include <cstddef>
#include <cstdint>

struct BikeRecord;

enum class RaceParticle : uint8_t
{
    Spray,
    ExhaustSmoke,
    DirtLight,  // loose ground of class 1
    DirtDark,   // loose ground of the other classes
    TyreSmoke,
    DustCloud,
};

class RaceServices
{
public:
    virtual ~RaceServices() = default;

    // Ghost bike and lap recording.
    virtual void PlayGhost(BikeRecord& /*ghost*/) {}
    virtual void AppendLapSample(const BikeRecord& /*player*/) {}

    // Computer riders: before the start the grid routine, from the start on the race.
    virtual void UpdateStartGrid(bool /*startLightsBegun*/) {}
    virtual void UpdateRiders() {}

    // Rider animation.
    virtual void AnimateRider(uint32_t /*rider*/, float /*dt*/) {}

    // Standings.
    virtual void RetireRider(uint32_t /*rider*/, bool /*showSmoke*/) {}
    virtual void SetFinalStatus(uint32_t /*rider*/, int32_t /*status*/) {}

    // Network state check, host side.
    virtual void AddStateCheckRider(uint32_t /*step*/, uint32_t /*rider*/, uint32_t /*n*/) {}
    virtual void SendStateCheck() {}

    // The frame's effects, after the steps: particles (the particle table drops what does not
    // fit) and the wheel texture frames of a rider (first frame for both wheels, second slot).
    virtual void EmitParticle(RaceParticle /*kind*/, uint32_t /*rider*/, float /*x*/, float /*y*/,
                              float /*z*/, float /*size*/)
    {
    }
    virtual void ShowWheelFrames(uint32_t /*rider*/, uint32_t /*frame*/, uint32_t /*secondFrame*/)
    {
    }

    // The state beside the bike records that a rollback must restore with them (standings,
    // computer riders): kept per snapshot slot.
    virtual void SaveRollbackState(size_t /*slot*/) {}
    virtual void RestoreRollbackState(size_t /*slot*/) {}
};
