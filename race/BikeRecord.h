#pragma once

// The state of one rider and machine during a race: 3576 bytes (894 words) in a fixed layout,
// because the network state check, the snapshots and the resynchronisation address it by
// offset. The set-up block comes first; the dynamic part follows. Every field is 32 bits wide
// unless its type says otherwise; angles in radians, distances in metres, speeds in m/s,
// masses in kg, forces in N, times in s. There are no pointers: the links to the rider's nodes
// are offsets into the 3D region, ground triangles are byte offsets into the triangle list.
//
// From the checksum word on the record is the rider's network state: the checksum word and the
// 92 words behind it form the state block that is checksummed and sent, the 389 words from the
// checksum word on the snapshot that a resynchronisation restores.
//
// Main thread only: the race tick works on the records, and the timer thread's input step sees
// the player's bike only through the snapshot the tick publishes (PlayerInputState).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "core/world/RegionRef.h"
#include "race/BikeSetup.h"

struct CurrentRace;
struct WorldObject;

// The rider's nodes in the object world, set by the race content loader. Index 0 of a pair is
// the left side.
struct RiderObjectLinks
{
    using Link = RegionRef<WorldObject>;

    Link bikeRoot;
    Link bikePart;
    Link bikeBody;
    Link bike;
    Link hip;   // root of the rider's body
    Link seat;  // the hip's parent while riding
    std::array<Link, 3> furtherBikeNodes;
    Link frontDust;  // the three effect meshes, always hidden on the ghost bike
    Link rearDust;
    Link rearSpray;
    Link torso;
    Link helmet;
    std::array<Link, 2> upperArms;
    std::array<Link, 2> lowerArms;
    std::array<Link, 2> hands;
    std::array<Link, 2> thighs;
    std::array<Link, 2> lowerLegs;
};
static_assert(sizeof(RiderObjectLinks) == 96);

// The ground under one wheel, taken by its surface class.
struct WheelSurface
{
    int32_t surfaceClass;  // -1: no ground
    float rollingFactor;
    float grip;
    float wearRate;
};

// One of the twelve points the bike's hull leaves on the ground, kept between steps.
struct GroundTrailPoint
{
    uint32_t state;
    uint32_t triangle;
    float x;
    float z;
};

struct LiftState
{
    float height;
    float speed;
    float force;
};

namespace bike_flags
{
inline constexpr uint32_t kDown = 0x1;
inline constexpr uint32_t kFalling = 0x2;
inline constexpr uint32_t kFootDown = 0x4;
inline constexpr uint32_t kInactive = 0x80000000;  // skipped by every per-rider pass
}  // namespace bike_flags

struct BikeRecord
{
    static constexpr size_t kSize = 3576;
    static constexpr size_t kGears = BikeSetup::kGears;
    static constexpr uint32_t kNoNode = 0xFFFF;
    static constexpr uint16_t kNoPitSlot = 10;
    static constexpr float kStraight = 10000.0f;  // turn radius of no turn
    static constexpr float kNoSpeedCap = 111.111f;
    static constexpr int32_t kNoCrash = -1;

    // The network state: the checksum word, the 92 words it sums, and the snapshot.
    static constexpr size_t kChecksumOffset = 2016;
    static constexpr size_t kChecksummedWords = 92;
    static constexpr size_t kStateBlockBytes = 4 + 4 * kChecksummedWords;  // 372
    static constexpr size_t kSnapshotWords = 389;
    static constexpr size_t kSnapshotBytes = 4 * kSnapshotWords;  // 1556

    BikeSetup setup;

    std::array<float, BikeSetup::kEngineCurvePoints> engineCurve;  // effective, 100 rpm apart
    // Over-revving reserve of gears 1..6 in seconds, set from the race distance; negative =
    // damaged.
    std::array<float, kGears> gearWear;
    RiderObjectLinks links;
    int32_t soundSlot;  // engine voice, -1 = none

    uint32_t checksum;        // wrapping sum of the 92 words behind it
    float engineSpeedSq;      // (rpm / rpm scale)^2, at most 1.8
    float wheelEngineSpeed;   // rpm the rear wheel imposes in the current gear
    float engineTemperature;  // deg C, 50..75
    float kineticEnergy;      // J
    float shiftTimer;         // since the last gear change
    float speed;              // never below 0.01
    float course;             // direction of travel, 0..2 pi
    std::array<float, 3> velocity;
    float acceleration;   // speed change per step x 25, at most 24
    float frontTyreHeat;  // grip factor of the tyre's temperature
    float frontGripWear;  // grip factor of the surface wear, 0.8..1.0
    float rearTyreHeat;
    float rearGripWear;
    WheelSurface frontSurface;
    WheelSurface rearSurface;
    float frontLoad;  // normalised vertical wheel loads
    float rearLoad;
    float frontCompression;
    float frontCompressionSpeed;
    float rearCompression;
    float rearCompressionSpeed;
    float frontWheelExtension;
    float frontWheelExtensionSpeed;
    float rearWheelExtension;
    float rearWheelExtensionSpeed;
    float frontWheelMomentum;
    float rearWheelMomentum;
    float frontBottomMargin;  // negative while the suspension is bottomed
    float rearBottomMargin;
    float heading;    // 0..2 pi; forward is (sin heading, cos heading) in x/z
    float positionX;  // of the reference point
    float positionZ;
    float frontContactX;
    float frontContactZ;
    float rearContactX;
    float rearContactZ;
    float pitch;      // positive = front up
    float frontLift;  // wheelie angle, -0.6..0
    float rearLift;   // stoppie angle, -0.2..0
    float frontBumpState;
    float rearBumpState;
    float brakeRampTimer;
    float frontTyreWear;
    float rearTyreWear;
    float frontWearRate;
    float rearWearRate;
    float throttle;  // 0..1
    float brake;     // 0..1
    float steer;     // -1..1, also the rider's lean
    float clutch;    // engagement 0..1
    int32_t gear;    // 1..6
    int32_t shiftLatch;
    int32_t throttleCut;     // throttle 0, the brake may only rise
    uint32_t frontTriangle;  // last ground triangle found under each wheel
    uint32_t rearTriangle;

    // The computer rider's block; the player's aids use it too.
    uint32_t aiTargetNode;  // racing-line node steered for
    uint32_t aiSection;
    uint32_t aiAltSection;
    uint32_t aiLineNode;  // main-line node of the position: progress along the lap
    uint32_t aiFlags;     // the rider's bits (ai_flags) and the timing-line sides
    int32_t aiLapStartMs;
    int32_t aiRunStartMs;
    float aiTimeStamp;      // race time of the last gear change or of the stop in the pit box
    float aiSteerRadius;    // signed; kStraight = straight on
    float rearGripReserve;  // available grip / demanded force
    float frontGripReserve;
    float aiPerformanceRoot;  // speed factor of the rider's machine and the conditions
    float aiSpeedFactor;      // of the racing line where the rider is
    float aiLineSpeed;        // speed the line asks of this rider
    float aiSpeedCap;         // kNoSpeedCap = none
    float aiFollowSpeed;
    float aiLineChangeTime;  // left before the next line change
    float aiLineChangeGain;
    uint16_t aiNextNode;      // kNoNode = none
    uint16_t aiPitSlot;       // 0..9, kNoPitSlot = none
    uint16_t referencePlace;  // place on entering a hazard zone
    uint16_t lapsStarted;     // the lap shown for the rider, 1 on the grid
    uint16_t timedLap;        // 0 before the first start-line crossing
    uint16_t penaltyCount;
    uint32_t raceStatus;  // 0..16: 0 and 1 take their inputs from the input ring
    uint32_t flags;       // bike_flags

    // The crash state of the collision code, cleared per race; its first six words are part
    // of the checksummed state.
    float crashSpinRate;
    float crashRollRate;
    float crashSecondRate;
    float crashEnergy;
    std::array<float, 2> crashTumbleAngles;
    float crashSurfaceCoefficient;
    std::array<float, 2> slideDirection;
    float crashTimer;  // 10.0 at a crash
    uint32_t crashTriangle;
    int32_t crashSurface;
    uint32_t crashAnimation;
    uint32_t fallType;
    float fallTimer;
    float crashSecondTimer;
    float contactTimer;           // s the contact mark of a touch with another rider stays
    uint32_t crashGroundContact;  // the fallen bike touches the ground
    uint32_t crashImpactPlayed;   // its first hard touchdown was heard
    std::array<uint32_t, 44> crashReserved;

    // The fall clip of the rider animation.
    uint32_t clipId;
    float clipFrame;
    float fallHeading;
    float fallX;
    float fallY;
    float fallZ;
    float slideSpeed;
    float fallPitch;
    float fallBank;
    float fallLean;
    float holdTime;  // 10.0 at a fall's start
    uint32_t fallTriangle;
    uint32_t animFlags;  // bit 0 mirrored clip, bit 31 not animated

    // Rider animation state, and the hull points' places on the ground between steps.
    uint32_t animStateFlags;
    std::array<GroundTrailPoint, 12> groundTrail;
    std::array<uint32_t, 47> animReserved;

    float engineRpm;
    float frontGrip;  // available tyre force
    float rearGrip;
    float frontVerticalForce;
    float rearVerticalForce;
    float lateralForce;
    float turnRadius;  // kStraight when straight
    float frontRollingRadius;
    float rearRollingRadius;
    float frontSpringForce;
    float rearSpringForce;
    float frontWheelForce;
    float rearWheelForce;
    float groundHeight;  // of the reference point
    float frontGroundHeight;
    float rearGroundHeight;
    float frontBumpForce;
    float rearBumpForce;
    float driveIntensity;  // drive force per metre
    float frontForceDemand;
    float rearForceDemand;
    float frontGripUse;  // the factor (<= 1) the demand was cut to
    float rearGripUse;
    float frontLateralForce;
    float rearLateralForce;
    float frontBrakeForce;
    float rearBrakeForce;
    float driveForce;
    // Tyre heat = base + heating factor x y x (2 - y); set per race by the tyre preparation.
    float frontTyreHeatBase;
    float rearTyreHeatBase;
    float frontHeatingFactor;
    float rearHeatingFactor;
    float edgePassX;  // position before the track-edge pass
    float edgePassZ;
    float skidMarkX;
    float skidMarkY;
    float skidMarkZ;
    float skidMarkHeading;
    int32_t skidMarkClass;  // -1 none
    float skidMarkTime;
    float standstillBrakeTimer;
    int32_t crashRequest;     // kNoCrash, or the fall the dynamics ask for (1..5)
    float enginePowerFactor;  // the machine's performance factor, set at the race start
    // Derived from the set-up before each race.
    float inverseMass;
    float weight;
    float frontStaticLoad;
    float rearStaticLoad;
    float inverseRpmScale;
    float dragFactor;
    float coolingRate;
    float heatFactor;
    float frontContactOffset;
    float rearContactOffset;
    float referenceFraction;  // where the reference point lies between the contact points
    float lineDistance;       // from the racing line's edge equation
    float surfaceGripFactor;  // 1.0 on the line, less off it
    LiftState frontLiftState;
    LiftState rearLiftState;
    float bumpLength;
    float bumpAmplitude;
    float bumpGap;
    float bumpRemaining;
    float bumpHeight;
    float bumpHeightChange;
    int32_t poseFadeCopy;
    float poseFade;  // 0..255
    float soundRpm;  // as last handed to the engine sound
    std::array<float, 6> effectLevels;
    int32_t retirementFlag;
    int32_t wheelFrameBase;  // the livery's wheel set
    int32_t wheelFrameCounter;
    int32_t steerHistoryIndex;
    std::array<float, 8> steerHistory;
    float poseTwist;
    uint32_t referenceTriangle;  // ground triangle of the reference point
    int32_t keyboardFlag;        // the player rides with the keyboard
    int32_t pitRequest;          // the player asked for the pit lane
    int32_t wrongWayDistance;    // line units ridden the wrong way
    float lineAidTimer;
    float aiClosestApproachSq;            // to the pit box
    float aiAidBrake;                     // the braking aid's last demand
    std::array<uint8_t, 4> lobbyChoices;  // livery and machine choices of a network race
    float penaltyStopTimer;               // s stood at the penalty stop
    std::array<uint32_t, 5> freeWords;
    float soundAttenuation;  // results of the engine-voice step
    float soundPan;
    float soundPitchOffset;
    int32_t autoGearbox;  // the ride aids
    int32_t furtherAid;
    int32_t steeringAid;
    int32_t autoClutch;
    int32_t steeringAidMode;  // 0..3
    int32_t liftButton;       // 1 held: lifts the front wheel; from the input ring
    int32_t wheelieButton;    // 1 held: the wheelie control, from the input ring
    float wobblePhase;
    float wobbleReferenceSpeed;
    float wheelieTimer;  // at full wheelie
    float skidIntensity;
    int32_t roadFlag;        // 0 once a wheel is on surface class 3 or below
    int32_t pitLaneFlag;     // a wheel is on surface class 5
    float slipstreamFactor;  // 1.0 = no rider ahead
    int32_t slipstreamRider;
    int32_t leanOverloadCounter;
    int32_t frontSlideCounter;
    int32_t rearSlideCounter;
    float peakTorqueRpm;
    float hazardZoneTime;  // race time of entering a hazard zone
    uint32_t lastLapFlag;
    std::array<uint32_t, 2> contactWords;
    int32_t figureSwapFlag;  // the hip hangs on the shared figure

    // Takes over the whole set-up block of another record.
    void CopySetup(const BikeRecord& source) { setup = source.setup; }

    // Resets the dynamic state for a race and derives the physics constants from the set-up.
    // What the session start, the placement and the machine preparation set before it, and the
    // engine voice, are kept; every other word of the dynamic part starts from zero. Returns 0.
    int InitPhysics(uint16_t riderIndex, const CurrentRace& race);
    // The effective engine curve from the set-up's base curve, the carburation and, when the
    // race's engine-conditions switch is 1, the air; a computer rider's carburation is set to
    // suit the air. Also the heat factor and the peak-torque rpm.
    void ComputeTorqueCurve(const CurrentRace& race);
    // Hangs the rider's hip on the shared figure at (x, y, z), or back on the bike's seat; each
    // does nothing unless the hip hangs where it expects.
    void AttachSharedFigure(WorldObject& sharedFigure, float x, float y, float z);
    void AttachOwnFigure(WorldObject& sharedFigure);

    // The wrapping sum of the 92 words behind the checksum word.
    uint32_t StateChecksum() const;
    std::span<const std::byte, kStateBlockBytes> StateBlock() const;
    std::span<const std::byte, kSnapshotBytes> SnapshotBlock() const;
    std::span<std::byte, kSnapshotBytes> SnapshotBlock();

    bool IsInactive() const { return (flags & bike_flags::kInactive) != 0; }
    bool IsDown() const { return (flags & bike_flags::kDown) != 0; }
};

// The bits of aiFlags.
namespace ai_flags
{
inline constexpr uint32_t kLastShiftUp = 0x1;
inline constexpr uint32_t kLineChangeReason0 = 0x2;
inline constexpr uint32_t kLineChangeReason1 = 0x4;
inline constexpr uint32_t kLineChangeReason2 = 0x8;
inline constexpr uint32_t kOvertakingCharge = 0x10;
inline constexpr uint32_t kBlockedSide0 = 0x20;
inline constexpr uint32_t kBlockedSide1 = 0x40;
inline constexpr uint32_t kChangingToSide1 = 0x80;
inline constexpr uint32_t kChangingToSide0 = 0x100;
inline constexpr uint32_t kTargetToChainEnd = 0x200;
inline constexpr uint32_t kSlowedByRiderAhead = 0x400;
inline constexpr uint32_t kSwerving = 0x800;
inline constexpr uint32_t kSwerveAllowed = 0x1000;
inline constexpr uint32_t kPitCrewClaimed = 0x2000;
inline constexpr uint32_t kLineAid = 0x4000;
inline constexpr uint32_t kPenaltyPending = 0x8000;  // also: the course was cut
inline constexpr uint32_t kInHazardZone = 0x10000;
inline constexpr uint32_t kWasInHazardZone = 0x20000;
inline constexpr uint32_t kBehindHazardRider = 0x40000;
inline constexpr uint32_t kLappingRiderBehind = 0x80000;
inline constexpr uint32_t kInFinishZone = 0x100000;
inline constexpr uint32_t kDisqualified = 0x200000;
inline constexpr uint32_t kChangeForPitLane = 0x400000;
inline constexpr uint32_t kChangeForAvoidance = 0x800000;
// Bits 15..21 double as the marshal flags the display shows.
inline constexpr uint32_t kMarshalFlagsMask = 0x3F8000;
// The side of timing line k the bike was on, bit kTimingSide0 << k.
inline constexpr uint32_t kTimingSide0 = 0x1000000;
}  // namespace ai_flags

static_assert(sizeof(BikeRecord) == BikeRecord::kSize);
static_assert(std::is_standard_layout_v<BikeRecord>);
static_assert(std::is_trivially_copyable_v<BikeRecord>);
static_assert(offsetof(BikeRecord, setup) == 0);
static_assert(offsetof(BikeRecord, engineCurve) == 1092);
static_assert(offsetof(BikeRecord, gearWear) == 1892);
static_assert(offsetof(BikeRecord, links) == 1916);
static_assert(offsetof(BikeRecord, soundSlot) == 2012);
static_assert(offsetof(BikeRecord, checksum) == BikeRecord::kChecksumOffset);
static_assert(offsetof(BikeRecord, engineSpeedSq) == 2020);
static_assert(offsetof(BikeRecord, wheelEngineSpeed) == 2024);
static_assert(offsetof(BikeRecord, engineTemperature) == 2028);
static_assert(offsetof(BikeRecord, kineticEnergy) == 2032);
static_assert(offsetof(BikeRecord, shiftTimer) == 2036);
static_assert(offsetof(BikeRecord, speed) == 2040);
static_assert(offsetof(BikeRecord, course) == 2044);
static_assert(offsetof(BikeRecord, velocity) == 2048);
static_assert(offsetof(BikeRecord, acceleration) == 2060);
static_assert(offsetof(BikeRecord, frontTyreHeat) == 2064);
static_assert(offsetof(BikeRecord, rearGripWear) == 2076);
static_assert(offsetof(BikeRecord, frontSurface) == 2080);
static_assert(offsetof(BikeRecord, rearSurface) == 2096);
static_assert(offsetof(BikeRecord, frontLoad) == 2112);
static_assert(offsetof(BikeRecord, frontCompression) == 2120);
static_assert(offsetof(BikeRecord, frontWheelExtension) == 2136);
static_assert(offsetof(BikeRecord, frontWheelMomentum) == 2152);
static_assert(offsetof(BikeRecord, frontBottomMargin) == 2160);
static_assert(offsetof(BikeRecord, heading) == 2168);
static_assert(offsetof(BikeRecord, positionX) == 2172);
static_assert(offsetof(BikeRecord, positionZ) == 2176);
static_assert(offsetof(BikeRecord, frontContactX) == 2180);
static_assert(offsetof(BikeRecord, rearContactZ) == 2192);
static_assert(offsetof(BikeRecord, pitch) == 2196);
static_assert(offsetof(BikeRecord, frontLift) == 2200);
static_assert(offsetof(BikeRecord, frontBumpState) == 2208);
static_assert(offsetof(BikeRecord, brakeRampTimer) == 2216);
static_assert(offsetof(BikeRecord, frontTyreWear) == 2220);
static_assert(offsetof(BikeRecord, throttle) == 2236);
static_assert(offsetof(BikeRecord, clutch) == 2248);
static_assert(offsetof(BikeRecord, gear) == 2252);
static_assert(offsetof(BikeRecord, throttleCut) == 2260);
static_assert(offsetof(BikeRecord, frontTriangle) == 2264);
static_assert(offsetof(BikeRecord, rearTriangle) == 2268);
static_assert(offsetof(BikeRecord, aiTargetNode) == 2272);
static_assert(offsetof(BikeRecord, aiLineNode) == 2284);
static_assert(offsetof(BikeRecord, aiFlags) == 2288);
static_assert(offsetof(BikeRecord, aiLapStartMs) == 2292);
static_assert(offsetof(BikeRecord, aiTimeStamp) == 2300);
static_assert(offsetof(BikeRecord, aiSteerRadius) == 2304);
static_assert(offsetof(BikeRecord, rearGripReserve) == 2308);
static_assert(offsetof(BikeRecord, aiSpeedCap) == 2328);
static_assert(offsetof(BikeRecord, aiLineChangeGain) == 2340);
static_assert(offsetof(BikeRecord, aiNextNode) == 2344);
static_assert(offsetof(BikeRecord, lapsStarted) == 2350);
static_assert(offsetof(BikeRecord, penaltyCount) == 2354);
static_assert(offsetof(BikeRecord, raceStatus) == 2356);
static_assert(offsetof(BikeRecord, flags) == 2360);
static_assert(offsetof(BikeRecord, crashSpinRate) == 2364);
static_assert(offsetof(BikeRecord, crashTumbleAngles) == 2380);
// The checksummed words end with the crash tumble.
static_assert(offsetof(BikeRecord, crashSurfaceCoefficient) ==
              BikeRecord::kChecksumOffset + BikeRecord::kStateBlockBytes);
static_assert(offsetof(BikeRecord, clipId) == 2616);
static_assert(offsetof(BikeRecord, animFlags) == 2664);
static_assert(offsetof(BikeRecord, animStateFlags) == 2668);
static_assert(offsetof(BikeRecord, engineRpm) == 3052);
static_assert(offsetof(BikeRecord, frontGrip) == 3056);
static_assert(offsetof(BikeRecord, groundHeight) == 3104);
static_assert(offsetof(BikeRecord, driveIntensity) == 3124);
static_assert(offsetof(BikeRecord, frontForceDemand) == 3128);
static_assert(offsetof(BikeRecord, frontLateralForce) == 3144);
static_assert(offsetof(BikeRecord, frontTyreHeatBase) == 3164);
static_assert(offsetof(BikeRecord, edgePassX) == 3180);
static_assert(offsetof(BikeRecord, skidMarkX) == 3188);
static_assert(offsetof(BikeRecord, standstillBrakeTimer) == 3212);
static_assert(offsetof(BikeRecord, crashRequest) == 3216);
static_assert(offsetof(BikeRecord, enginePowerFactor) == 3220);
static_assert(offsetof(BikeRecord, inverseMass) == 3224);
static_assert(offsetof(BikeRecord, rearContactOffset) == 3260);
static_assert(offsetof(BikeRecord, referenceFraction) == 3264);
static_assert(offsetof(BikeRecord, lineDistance) == 3268);
static_assert(offsetof(BikeRecord, frontLiftState) == 3276);
static_assert(offsetof(BikeRecord, bumpLength) == 3300);
static_assert(offsetof(BikeRecord, poseFadeCopy) == 3324);
static_assert(offsetof(BikeRecord, soundRpm) == 3332);
static_assert(offsetof(BikeRecord, effectLevels) == 3336);
static_assert(offsetof(BikeRecord, retirementFlag) == 3360);
static_assert(offsetof(BikeRecord, wheelFrameBase) == 3364);
static_assert(offsetof(BikeRecord, steerHistoryIndex) == 3372);
static_assert(offsetof(BikeRecord, poseTwist) == 3408);
static_assert(offsetof(BikeRecord, autoGearbox) == 3480);
static_assert(offsetof(BikeRecord, steeringAidMode) == 3496);
static_assert(offsetof(BikeRecord, liftButton) == 3500);
static_assert(offsetof(BikeRecord, wheelieButton) == 3504);
static_assert(offsetof(BikeRecord, wobblePhase) == 3508);
static_assert(offsetof(BikeRecord, roadFlag) == 3524);
static_assert(offsetof(BikeRecord, slipstreamFactor) == 3532);
static_assert(offsetof(BikeRecord, leanOverloadCounter) == 3540);
static_assert(offsetof(BikeRecord, peakTorqueRpm) == 3552);
static_assert(offsetof(BikeRecord, hazardZoneTime) == 3556);
static_assert(offsetof(BikeRecord, lastLapFlag) == 3560);
static_assert(offsetof(BikeRecord, contactWords) == 3564);
static_assert(offsetof(BikeRecord, figureSwapFlag) == 3572);
// The snapshot reaches up to the figure-swap flag.
static_assert(BikeRecord::kChecksumOffset + BikeRecord::kSnapshotBytes ==
              offsetof(BikeRecord, figureSwapFlag));

// Riders of a race at most; every per-rider table has this many entries.
inline constexpr size_t kRiderCount = 26;
