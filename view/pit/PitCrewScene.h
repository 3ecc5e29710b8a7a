#pragma once

// A pit-stop scene: two mechanics, each a whole 13-part figure, run a scripted pit stop round
// a rider's stopped bike, and for the middle of it the rider's own body plays with them. The
// computer riders' pit-stop code starts a scene, lets it go on phase by phase and stops it;
// the race frame advances every scene by the frame's time; the race loader gives each scene
// its nodes and its place at the pits.
//
// The mechanics hang under the shared figure in world coordinates and walk the ground from the
// place the scene started at, turned by the pit's heading. Main thread only.

#include <array>
#include <cstdint>
#include <span>

#include "race/ground/GroundQuery.h"
#include "view/pit/PitStopSequence.h"
#include "view/rider/RiderMotionSet.h"

class GroundMesh;
class ObjectWorld;
struct BikeRecord;
struct WorldObject;

// What the scenes play on: the object world, the clips, the riders, the shared figure, the
// ground and the sequences. Set when a race loads; it outlives the scenes' use of it.
struct PitCrewStage
{
    ObjectWorld* world = nullptr;
    RiderMotionSet* clips = nullptr;
    std::span<BikeRecord> bikes;
    WorldObject* sharedFigure = nullptr;
    const GroundMesh* ground = nullptr;
    const PitStopSequenceTable* sequences = nullptr;
};

class PitCrewScene
{
public:
    static constexpr size_t kFigureNodes = 13;
    static constexpr size_t kFigures = 3;  // mechanic A, mechanic B, the rider
    // A mechanic's nodes, in the order the loader gives them.
    enum MechanicNode : size_t
    {
        kHip,
        kTorso,
        kHelmet,
        kUpperArmLeft,
        kUpperArmRight,
        kLowerArmLeft,
        kLowerArmRight,
        kHandLeft,
        kHandRight,
        kThighLeft,
        kThighRight,
        kLowerLegLeft,
        kLowerLegRight,
    };

    PitCrewScene() { Reset(); }
    virtual ~PitCrewScene();
    PitCrewScene(const PitCrewScene&) = delete;
    PitCrewScene& operator=(const PitCrewScene&) = delete;

    void SetStage(const PitCrewStage* stage) { stage_ = stage; }
    // Idle, without nodes; the loader then gives the mechanics' nodes.
    void Reset();
    // The pit position on the ground, and the heading the scene is turned by.
    void SetPosition(float x, float z, float heading);
    // Starts the scene for the rider from (x, z), stopping one that runs; randomWord (the
    // step's word of the shared random table) picks one of the four sequences.
    void Start(uint32_t rider, float x, float z, uint32_t randomWord);
    // Lets the scene go on to the end of phase 0 (the work, repeated) or phase 1 (the end);
    // false for a phase the sequence has no segment for.
    bool JumpToPhase(uint32_t phase);
    void Stop();
    void ShowParts(bool show);
    // Once per frame with the frame's time; 0 only poses.
    void Update(float dt);

    std::array<WorldObject*, kFigureNodes> mechanicA{};
    std::array<WorldObject*, kFigureNodes> mechanicB{};

    bool Active() const { return active_; }
    bool Done() const { return done_; }
    bool Visible() const { return visible_; }
    bool RiderInScene() const { return riderInScene_; }
    float Frame() const { return frame_; }
    int32_t Segment() const { return segment_; }
    int32_t HoldSegment() const { return holdSegment_; }
    int32_t Sequence() const { return sequence_; }
    uint32_t Rider() const { return rider_; }
    float BaseY() const { return baseY_; }

private:
    struct Figure
    {
        float x;
        float y;
        float z;
        uint32_t triangle;
    };

    const PitStopSequence* CurrentSequence() const;
    float AdvanceFrame(const PitStopSequence& sequence, float dt);
    void PoseMechanic(std::array<WorldObject*, kFigureNodes>& nodes, Figure& figure,
                      MotionFile& clip, float frame);
    void PoseRider(MotionFile& clip, float frame);
    void WalkFigure(Figure& figure, float rootX, float rootY, float rootZ);
    void GiveRiderHisFigure();

    const PitCrewStage* stage_ = nullptr;
    bool visible_ = false;
    int32_t segment_ = 0;
    int32_t holdSegment_ = 0;
    int32_t sequence_ = 0;
    bool done_ = false;
    uint32_t baseTriangle_ = 0;
    bool active_ = false;
    std::array<Figure, kFigures> figures_{};
    float startX_ = 0.0f;
    float startZ_ = 0.0f;
    float baseX_ = 0.0f;
    float baseY_ = 0.0f;
    float baseZ_ = 0.0f;
    float frame_ = 0.0f;
    float cosHeading_ = 1.0f;
    float sinHeading_ = 0.0f;
    float heading_ = 0.0f;
    uint32_t rider_ = 0;
    bool riderInScene_ = false;
    GroundQuery ground_;
};

inline constexpr size_t kPitCrewScenes = 10;
extern std::array<PitCrewScene, kPitCrewScenes> g_pitCrewScenes;
