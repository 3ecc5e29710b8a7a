#pragma once

// Contacts between riders and between riders and the movable trackside objects (cones, straw
// bales), the crashes and falls they and the bike dynamics cause, and the bikes and objects
// that slide and tumble over the ground until they come to rest.
//
// Once per 40 ms step the race tick calls, in its order: SimulateFallenRiders, the fall
// reaction for each crash request the dynamics raised (ReactToCrashRequest), SweepAndPrune
// (with the pair distances), AdvanceStep and UpdateTrackObjects. The computer riders call the
// crash and fall entry points. A crash or fall is written into the rider's BikeRecord only: the
// crashed and falling flags, the crash tumble, and the clip block from which the rider
// animation of the view plays the fall (it takes the body off the bike on the clip's first
// step). Sounds go into the race's event list.
//
// Deterministic: chance comes from the race's random table by step number only. What a
// rollback must take back with the records (the sweep lists, the trackside objects, the
// counters) is saved and restored per snapshot slot.
//
// Units: metres, seconds, m/s, radians, kg, J. Main thread only, inside the step. The manager
// does not own what it is given: the records, ground, line, table, lists and nodes outlive it.

#include <array>
#include <cstdint>
#include <span>

#include "core/world/MeshRecords.h"
#include "core/world/RegionRef.h"
#include "race/collision/CollisionModel.h"
#include "race/collision/SweepAndPrune.h"
#include "race/ground/GroundQuery.h"

struct BikeRecord;
class ChannelList;
class RaceEvents;
class RacingLine;
struct WorldObject;

// Whether a collision takes a rider out of the race: the attrition schedule decides, and when
// it agrees it has already given the rider its final status.
class CrashOutCheck
{
public:
    virtual ~CrashOutCheck() = default;
    virtual bool CheckCrashOut(uint32_t rider, uint32_t other) = 0;
};

// The crash animations (and the clips the view plays for them).
namespace crash_animation
{
inline constexpr uint32_t kSlowSlide = 0;  // 0, 1: below 20 m/s, by the steering
inline constexpr uint32_t kSlowSlideTurned = 1;
inline constexpr uint32_t kFastSlide = 2;  // 2, 3: above it
inline constexpr uint32_t kFastSlideTurned = 3;
inline constexpr uint32_t kBackward = 30;  // off the back of the bike
inline constexpr uint32_t kOverTheBars = 31;
}  // namespace crash_animation

// The falls: clips the rider plays, on the bike or off it.
namespace fall_type
{
inline constexpr uint32_t kSwerve = 4;         // the bike twitches, the rider stays on
inline constexpr uint32_t kFirstGesture = 5;   // FallOfType(n) plays 5 + n
inline constexpr uint32_t kOffTrack = 13;      // gets off beside the track
inline constexpr uint32_t kAngryGesture = 14;  // after a touch with another rider
inline constexpr uint32_t kThreat = 15;
}  // namespace fall_type

class CollisionManager
{
public:
    static constexpr uint32_t kMaxTrackObjects = 32;
    static constexpr uint32_t kSurfaceIds = 32;
    static constexpr uint32_t kEventCapacity = 500;
    static constexpr uint32_t kRollbackSlots = 16;
    static constexpr uint32_t kContactFlag = 0x4000;  // on a bike's flags after a touch
    static constexpr float kOutOfTheWay = 10000.0f;

    struct Event
    {
        std::array<uint32_t, 4> words;
    };

    // One registered trackside object.
    struct TrackObject
    {
        RegionRef<WorldObject> object;
        int32_t nextMoving;  // the moving list, -1 = end
        int32_t previousMoving;
        int32_t surface;
        uint32_t triangle;
        std::array<float, 3> velocity;
        float turnWeight;  // sin of the angle between the rider's travel and the object
        float pushWeight;  // 1 - turnWeight
        bool knocked;      // takes no hits until it rests
    };

    CollisionManager();
    CollisionManager(const CollisionManager&) = delete;
    CollisionManager& operator=(const CollisionManager&) = delete;

    // What the manager works on, bound once by the race simulation.
    void Attach(std::span<BikeRecord> bikes, ChannelList& channels, RaceEvents& events);
    void SetGround(const GroundMesh* ground) { ground_.triangleList = ground; }
    void SetRacingLine(const RacingLine* line) { line_ = line; }
    void SetRandomTable(std::span<const uint32_t> table) { randomTable_ = table; }
    // The bike model of the race's class; null for the standard model.
    void SetBikeModel(const BikeCollisionModel* model);
    // Null: no collision takes anyone out of the race.
    void SetCrashOutCheck(CrashOutCheck* check) { crashOut_ = check; }
    void SetPlayerRider(uint32_t rider) { playerRider_ = rider; }
    void SetReplay(bool replay) { replay_ = replay; }
    // The step being computed: the random table's index.
    void SetStep(uint32_t step) { step_ = step; }

    // Before the trackside objects are registered: no objects, no entities, the counters and
    // events cleared. riderCount: the riders of the race.
    void ResetForRace(uint32_t riderCount);
    // One trackside object of the race loader, set onto the ground. False, with nothing kept,
    // once kMaxTrackObjects are registered.
    bool AddTrackObject(WorldObject& object);
    // The sweep entities of the active riders and the objects, sorted from scratch.
    void BuildSweepLists();

    // The broad phase and the pair tests of a step.
    void SweepAndPrune();
    // Narrow phase of rider b's hull against rider a's solid: 1 when handled (contact, or
    // skipped), 0 for no contact.
    uint32_t CollideRiders(uint32_t a, uint32_t b);
    // Rider against one object: 1 when the object was knocked.
    uint32_t CollideObject(uint32_t rider, uint32_t object);
    void UpdateTrackObjects(float dt);
    void SimulateFallenRiders(uint32_t riderCount, float dt);
    // The manager's step: counts down the contact marks.
    void AdvanceStep(float dt);

    // The fall reaction of the tick for crash request 1..5 of the dynamics.
    void ReactToCrashRequest(uint32_t rider, int32_t request);

    // The crash and fall entry points.
    void CrashPlain(uint32_t rider);
    void CrashForward(uint32_t rider);
    void CrashSideways(uint32_t rider);
    void CrashThrown(uint32_t rider);
    void CrashLowside(uint32_t rider);
    void FallFromBike(uint32_t rider);
    void FallByChance(uint32_t rider);
    void FallOfType(uint32_t rider, uint32_t n);
    uint32_t CrashIfUpright(uint32_t rider);
    void FallOffTrack(uint32_t rider, bool mirrored);
    uint32_t CheckCrashOutFor(uint32_t rider, uint32_t other);

    // Enters the crash state with the crash animation (nothing when already crashed).
    void SetCrashState(uint32_t rider, uint32_t animation);
    // Starts a fall clip of the type (the fall timer restarts even when one runs); false when
    // a clip was running already.
    bool StartFall(uint32_t rider, uint32_t type);
    // kind 1 (by speed and steering), 2 (backward) or 3 (over the bars): the crash entered,
    // or -1 for another kind.
    int32_t ChooseCrash(uint32_t rider, uint32_t kind);
    // The bike and rider leave the scene.
    void HideRiderParts(uint32_t rider);
    void AddEvent(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

    // Per snapshot slot of the lock-step check.
    void SaveRollbackState(size_t slot);
    void RestoreRollbackState(size_t slot);

    uint32_t StepCounter() const { return stepCounter_; }
    uint32_t CrashedCount() const { return crashedCount_; }
    float ReplayCrashTimer() const { return replayCrashTimer_; }
    uint32_t TrackObjectCount() const { return objectCount_; }
    const TrackObject& TrackObjectAt(uint32_t index) const { return objects_[index]; }
    uint32_t MovingObjectCount() const { return movingCount_; }
    uint32_t EventCount() const { return eventCount_; }
    const Event& EventAt(uint32_t index) const { return events_[index]; }
    const ::SweepAndPrune& Sweep() const { return sweep_; }
    float SurfaceCoefficient(int32_t surface) const;
    float SurfaceBounce(int32_t surface) const;
    uint32_t GroundFallbacks() const { return ground_.fallbackCount; }

private:
    struct HullFrame
    {
        float x, y, z;     // the reference point
        float sinH, cosH;  // of the heading
    };
    using HullPoints = std::array<ModelPoint, BikeCollisionModel::kHullPoints>;
    using BodyPoints = std::array<ModelPoint, BikeCollisionModel::kBodyPoints>;

    // What a rollback restores.
    struct RollbackState
    {
        uint32_t stepCounter;
        uint32_t crashedCount;
        float replayCrashTimer;
        uint32_t eventCount;
        int32_t movingHead;
        uint32_t movingCount;
        std::array<TrackObject, kMaxTrackObjects> objects;
        std::array<Vector3, kMaxTrackObjects> placements;
        std::array<std::array<float, 3>, kMaxTrackObjects> angles;
        ::SweepAndPrune sweep;
    };

    BikeRecord& Bike(uint32_t rider);
    uint32_t RandomWord() const;
    void EntityPosition(uint32_t value, float& x, float& z) const;
    static HullFrame FrameOf(const BikeRecord& bike);
    // At most once a step, unless the body moved since (ComputeBodyPoints).
    void RefreshHull(uint32_t rider);
    void RefreshBodyPoints(uint32_t rider);
    void ComputeBodyPoints(uint32_t rider);
    // The world point in the bike's frame.
    static ModelPoint IntoFrame(const HullFrame& frame, float x, float y, float z);

    // Contact between two riders, in RiderContact.cpp.
    bool FindContact(uint32_t a, uint32_t b, ModelPoint& contact);
    bool ThrowOffCrashed(uint32_t rider, uint32_t other, float speed);
    void FallFromContact(uint32_t rider, uint32_t other, float speed, float otherSpeed,
                         float cosine);
    void RespondToContact(uint32_t a, uint32_t b, const ModelPoint& contact,
                          std::array<bool, 2> thrownOff);

    // Falls and crashes, in CrashEntries.cpp.
    void KeepCrashEnergy(BikeRecord& bike);
    // SetCrashState with the energy kept; false when the rider was down already.
    bool EnterCrash(uint32_t rider, uint32_t animation);
    void StartClip(BikeRecord& bike, uint32_t clip);
    void LookUpGround(BikeRecord& bike);
    void SetSlideDirection(BikeRecord& bike);
    void Mirror(BikeRecord& bike, bool on);

    // Fallen bikes, in FallenRiders.cpp.
    void SimulateFallenRider(uint32_t rider, float dt);
    void SettleTumble(BikeRecord& bike, float before[2], float loss, float dt);
    void SlideOverGround(BikeRecord& bike, float dt);
    void TouchGroundWithBody(uint32_t rider, float oldX, float oldZ);
    void PlaceFallenBike(BikeRecord& bike);

    // Trackside objects, in TrackObjects.cpp.
    void MoveObject(TrackObject& record, float dt);
    void Unlink(uint32_t index);

    std::span<BikeRecord> bikes_;
    ChannelList* channels_ = nullptr;
    RaceEvents* raceEvents_ = nullptr;
    const RacingLine* line_ = nullptr;
    std::span<const uint32_t> randomTable_;
    BikeCollisionModel standardModel_;
    const BikeCollisionModel* model_;
    CrashOutCheck* crashOut_ = nullptr;
    uint32_t playerRider_ = 0;
    bool replay_ = false;
    uint32_t step_ = 0;
    uint32_t riderCount_ = 0;
    GroundQuery ground_;

    std::array<float, kSurfaceIds> surfaceCoefficients_{};
    std::array<float, kSurfaceIds> surfaceBounce_{};

    uint32_t stepCounter_ = 0;
    uint32_t crashedCount_ = 0;
    float replayCrashTimer_ = -1.0f;
    std::array<HullPoints, 26> hulls_{};
    std::array<BodyPoints, 26> bodies_{};
    std::array<uint32_t, 32> hullStamps_{};
    std::array<uint32_t, 32> bodyStamps_{};

    std::array<TrackObject, kMaxTrackObjects> objects_{};
    uint32_t objectCount_ = 0;
    int32_t movingHead_ = -1;
    uint32_t movingCount_ = 0;

    ::SweepAndPrune sweep_;
    std::array<Event, kEventCapacity> events_{};
    uint32_t eventCount_ = 0;

    std::array<RollbackState, kRollbackSlots> rollback_{};
};
