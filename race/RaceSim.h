#pragma once

// The fixed-step race simulation. Tick is called once per drawn frame with the race time the
// frame sampled and runs as many 40 ms steps as that time demands; each step advances every
// bike, settles contacts with the track edges, drives the race's computer riders, standings,
// lap recording and ghost, and keeps the lock-step state check of a network race. After the
// steps it runs the frame's effects.
//
// Deterministic: a step reads only the records, the race's parameters and ground, the input
// rings, the host's states and the random table (by step number), never a clock, the camera or
// the frame time, so two machines that start from the same state and inputs compute the same
// steps. What the view and the sound need they read after Tick: the records, the channel list,
// the skid marks and the event list.
//
// Main thread only. The object is made once and reused from race to race (ResetForRace); a
// test can make as many as it likes.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/RaceEvents.h"
#include "race/RaceParameters.h"
#include "race/RaceServices.h"
#include "race/SkidMarks.h"
#include "race/collision/CollisionManager.h"
#include "race/dynamics/DynamicsContext.h"
#include "race/ground/GroundQuery.h"

struct LockstepState;
class PlayerInputState;
class RaceContext;
class RaceRollback;

// The race-clock words the tick reads and, on the first call of a race, moves on. The race
// loop copies them from the timer's clocks before the call and back after it.
struct RaceClockWords
{
    uint32_t frameClockMs = 0;  // race time sampled for this frame
    uint32_t raceClockMs = 0;
    uint32_t inputTick = 0;
    uint32_t raceStartTick = 0;     // the step at which the start lights release the field
    bool startLightsBegun = false;  // the start-light sequence has begun
};

class RaceSim
{
public:
    static constexpr uint32_t kNoRider = 0xFFFFFFFF;
    static constexpr uint32_t kRandomTableWords = 260;

    RaceSim();
    virtual ~RaceSim();
    RaceSim(const RaceSim&) = delete;
    RaceSim& operator=(const RaceSim&) = delete;

    // Per race, before the first Tick: clears the step count, the channels, the skid marks,
    // the events and the pair distances.
    void ResetForRace();
    void SetParameters(const RaceParameters& parameters) { params_ = parameters; }
    const RaceParameters& Parameters() const { return params_; }
    void SetGround(const GroundMesh* ground);
    void SetRacingLine(const RacingLine* line);
    // 256 words from the runtime generator and a copy of the first four.
    void SetRandomTable(std::span<const uint32_t, kRandomTableWords> table);
    // The race whose own systems the steps drive: its computer riders, standings, lap
    // recording and ghost, and the attrition that decides whether a collision takes a rider
    // out. Tick must then be given the race's bikes. Null: the bikes alone.
    void SetRace(RaceContext* race);
    // The parts above the simulation; null for none.
    void SetServices(RaceServices* services);
    RaceServices& Services() { return *services_; }
    // The network race's shared state check; null offline (no checksums, no snapshots).
    void SetLockstep(LockstepState* lockstep) { lockstep_ = lockstep; }
    // Where the riders at the controls (race status 0 and 1) find their inputs.
    void SetInputRing(uint32_t rider, const InputRing* ring) { inputRings_[rider] = ring; }
    // The player's speed and steering rate for the input step, published after each step.
    void SetPlayerInputState(PlayerInputState* state) { playerState_ = state; }
    void SetPlayerRider(uint32_t rider);
    void SetGhostRider(uint32_t rider) { ghostRider_ = rider; }
    uint32_t GhostRider() const { return ghostRider_; }
    void SetViewedRider(uint32_t rider) { viewedRider_ = rider; }
    void SetCameraMode(uint32_t mode) { cameraMode_ = mode; }

    void DebugHook(uint32_t /*riderCount*/) {}

    // Runs the steps due by clock.frameClockMs. difficulty: 0..2 (low 16 bits used).
    void Tick(std::span<BikeRecord> records, uint32_t riderCount, uint32_t difficulty,
              uint32_t bikeClass, RaceClockWords& clock);

    // Every fourth step of a network race: checksums, the client's snapshots, the host's send
    // and the comparison with the host's states.
    void SnapshotState(std::span<BikeRecord> records, uint32_t riderCount);
    // The squared ground distance of every pair of upright, active riders.
    void ComputePairDistances(std::span<BikeRecord> records, uint32_t riderCount);

    // Riders were placed anew: the channels snap twice more after the next steps.
    void RequestChannelSnap() { snapCountdown_ = 2; }

    uint32_t TicksDone() const { return ticksDone_; }
    float RaceTime() const { return raceTime_; }
    const ChannelList& Channels() const { return channels_; }
    ChannelList& Channels() { return channels_; }
    const SkidMarkRing& SkidMarks() const { return skidMarks_; }
    RaceEvents& Events() { return events_; }
    const PairDistances& PairDistanceMatrix() const { return pairDistances_; }
    uint32_t GroundFallbacks() const { return groundQuery_.fallbackCount; }
    // Contacts, crashes and falls. Per race the loader resets it, registers the trackside
    // objects and builds its sweep lists; the computer riders call its crash entry points.
    CollisionManager& Collisions() { return collisions_; }
    // Rollbacks dropped because the snapshot of their step was already overwritten.
    uint32_t SkippedRollbacks() const { return skippedRollbacks_; }

private:
    void RunStep(std::span<BikeRecord> records, uint32_t riderCount, uint32_t difficulty,
                 uint32_t bikeClass, const RaceClockWords& clock);
    // Restores the host's state of the divergence step; the steps undone are returned.
    uint32_t Resynchronise(std::span<BikeRecord> records, uint32_t riderCount, uint32_t step);
    void StepRiders(DynamicsContext& context, uint32_t riderCount);
    void PlayGhost(BikeRecord& ghost);
    void DispatchFalls(std::span<BikeRecord> records, uint32_t riderCount);
    void ComputeForceFeedback(const BikeRecord& player);
    void RunFrameEffects(std::span<BikeRecord> records, uint32_t riderCount);
    uint32_t RandomWord(uint32_t step, uint32_t offset) const;

    RaceParameters params_;
    const RacingLine* line_ = nullptr;
    RaceContext* race_ = nullptr;
    std::unique_ptr<RaceRollback> rollback_;
    std::span<const uint32_t, kRandomTableWords> randomTable_;
    RaceServices* services_;
    LockstepState* lockstep_ = nullptr;
    PlayerInputState* playerState_ = nullptr;
    std::array<const InputRing*, kRiderCount> inputRings_{};
    uint32_t playerRider_ = 0;
    uint32_t ghostRider_ = kNoRider;
    uint32_t viewedRider_ = 0;
    uint32_t cameraMode_ = 0;

    uint32_t ticksDone_ = 0;
    float raceTime_ = 0.0f;
    uint32_t snapCountdown_ = 0;
    uint32_t skippedRollbacks_ = 0;
    PairDistances pairDistances_{};
    GroundQuery groundQuery_;
    ChannelList channels_;
    SkidMarkRing skidMarks_;
    RaceEvents events_;
    CollisionManager collisions_;
};
