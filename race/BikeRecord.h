#pragma once

// The state of one rider and machine during a race, 3576 bytes in a fixed layout: the
// network exchange, the state checksum and the snapshots address it by offset. Only the
// fields in use so far are named; the bytes between them keep the offsets of the rest.
//
// The input step on the timer thread reads the player's steering rate and speed and writes
// the wheelie button while the race tick works on the main thread: those three fields are
// reached through the accessors below, which both threads use.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// The tunable head of the record, carried whole by the class set-up files and the network
// exchange; the player's set-up files carry a part of it (the set-up stream). Only the fields
// in use so far are named; the bytes between them belong to the race physics.
struct BikeSetup
{
    static constexpr size_t kSize = 1092;
    static constexpr size_t kEngineCurvePoints = 200;
    static constexpr size_t kGears = 6;

    float steeringLock;  // radians
    float steeringRate;  // base steering speed
    float mass;          // bike and rider, kg
    float frontWheelMass, rearWheelMass;
    float dragCoefficient, frontalArea;
    float cogHeight;
    float referenceOffset, frontWheelBase, frontLoadArm, rearWheelBase, rearLoadArm;
    // Engine power over engine speed in 100 rpm steps, from 0 rpm.
    std::array<float, kEngineCurvePoints> baseEngineCurve;
    float idleRpm, rpmScale, coolingCoefficient;
    float ignitionC;  // the three ignition factors, 0.95..1.05
    float idleFloor, freeRevRate, engineFriction;
    float ignitionB;
    float ignitionA;
    std::array<std::byte, 4> reserved4;
    float coolingOpening;                    // radiator opening 0.0..1.0 in steps of 0.1
    float heatCoefficient;                   // in the slot of gear 0
    std::array<float, kGears> overallRatio;  // primary x secondary x gear, gears 1..6
    float frontTyreRadius, frontRadiusGrowth, frontBaseHeat, frontRollingCoefficient;
    float rearTyreRadius, rearRadiusGrowth, rearBaseHeat;
    float maxEngineSpeed;  // rpm
    float rearRollingCoefficient;
    std::array<std::byte, 20> reserved7;
    // The fork and then the rear damper: damping in whole clicks 1..19; the oil factor is
    // -0.5 x the oil value.
    float frontSpringRate;
    float frontTravel;
    float frontOilFactor;
    float frontCompression;
    float frontOilValue;
    float frontRebound;
    float rearSpringRate;
    float rearTravel;
    float rearOilFactor;
    float rearCompression;
    float rearOilValue;
    float rearRebound;
    float frontBrake1, frontBrake2, frontBrakeDrag, rearBrake1, rearBrake2, rearBrakeDrag;
    float tuningValue1;  // the race physics' own
    float tuningValue2;
    float tuningValue3;
    float brakeValueA;                      // brake start force, 0.01..1.0
    float brakeValueB;                      // brake travel to full force, 0.01..2.0
    std::array<int8_t, kGears> gearChoice;  // per gear, a pair of the class's gearbox table
    int8_t rearSprocket;                    // teeth
    int8_t frontSprocket;
    std::array<std::byte, 2> reserved11;
    // Tyres: slick compounds 0..4 as 0..4, intermediate 1..3 as 5..7, rain 1..3 as 8..10;
    // 100 leaves the choice to the tyre preparation.
    uint8_t frontTyre;
    uint8_t rearTyre;
    uint8_t brakeCharacteristic;  // 0 dynamic, 1 normal, 2 sluggish
    uint8_t frontLevelA;          // the four suspension levels, 0..4
    uint8_t frontLevelB;
    uint8_t rearLevelA;
    uint8_t rearLevelB;
    std::array<std::byte, 3> reserved12;
};
static_assert(sizeof(BikeSetup) == BikeSetup::kSize);
static_assert(offsetof(BikeSetup, steeringRate) == 4);
static_assert(offsetof(BikeSetup, baseEngineCurve) == 52);
static_assert(offsetof(BikeSetup, ignitionC) == 864);
static_assert(offsetof(BikeSetup, ignitionB) == 880);
static_assert(offsetof(BikeSetup, ignitionA) == 884);
static_assert(offsetof(BikeSetup, coolingOpening) == 892);
static_assert(offsetof(BikeSetup, overallRatio) == 900);
static_assert(offsetof(BikeSetup, maxEngineSpeed) == 952);
static_assert(offsetof(BikeSetup, frontSpringRate) == 980);
static_assert(offsetof(BikeSetup, frontOilFactor) == 988);
static_assert(offsetof(BikeSetup, frontCompression) == 992);
static_assert(offsetof(BikeSetup, frontOilValue) == 996);
static_assert(offsetof(BikeSetup, frontRebound) == 1000);
static_assert(offsetof(BikeSetup, rearSpringRate) == 1004);
static_assert(offsetof(BikeSetup, rearOilFactor) == 1012);
static_assert(offsetof(BikeSetup, rearCompression) == 1016);
static_assert(offsetof(BikeSetup, rearOilValue) == 1020);
static_assert(offsetof(BikeSetup, rearRebound) == 1024);
static_assert(offsetof(BikeSetup, tuningValue1) == 1052);
static_assert(offsetof(BikeSetup, tuningValue2) == 1056);
static_assert(offsetof(BikeSetup, tuningValue3) == 1060);
static_assert(offsetof(BikeSetup, brakeValueA) == 1064);
static_assert(offsetof(BikeSetup, brakeValueB) == 1068);
static_assert(offsetof(BikeSetup, gearChoice) == 1072);
static_assert(offsetof(BikeSetup, rearSprocket) == 1078);
static_assert(offsetof(BikeSetup, frontSprocket) == 1079);
static_assert(offsetof(BikeSetup, frontTyre) == 1082);
static_assert(offsetof(BikeSetup, rearTyre) == 1083);
static_assert(offsetof(BikeSetup, brakeCharacteristic) == 1084);
static_assert(offsetof(BikeSetup, frontLevelA) == 1085);
static_assert(offsetof(BikeSetup, frontLevelB) == 1086);
static_assert(offsetof(BikeSetup, rearLevelA) == 1087);
static_assert(offsetof(BikeSetup, rearLevelB) == 1088);

struct BikeRecord
{
    static constexpr size_t kSize = 3576;
    static constexpr size_t kSpeedOffset = 2040;
    // The ride-aid words and the two button states lie 68 bytes before the record's end.
    static constexpr size_t kWheelieButtonOffset = 3500;
    static constexpr size_t kObjectLinks = 24;

    // Flag bits.
    static constexpr uint32_t kDown = 1u << 0;
    static constexpr uint32_t kFalling = 1u << 1;
    static constexpr uint32_t kFootDown = 1u << 2;
    static constexpr uint32_t kInactive = 1u << 31;

    BikeSetup setup;
    std::array<float, 200> engineCurve;
    std::array<float, 6> gearWear;
    std::array<uint32_t, kObjectLinks> objectLinks;  // region offsets of the rider's nodes
    uint32_t soundSlot;
    uint32_t stateChecksum;
    float engineSpeedSquared;
    float wheelEngineSpeed;  // rpm
    float engineTemperature;
    float kineticEnergy;
    float shiftTimer;
    float speed;  // m/s
    float course;
    std::array<float, 3> velocity;
    float acceleration;
    float frontTyreHeat, frontGripWear, rearTyreHeat, rearGripWear;
    int32_t frontSurfaceClass;
    float frontSurfaceRolling, frontSurfaceGrip, frontSurfaceWear;
    int32_t rearSurfaceClass;
    float rearSurfaceRolling, rearSurfaceGrip, rearSurfaceWear;
    float frontLoad, rearLoad;
    float frontCompression, frontCompressionSpeed, rearCompression, rearCompressionSpeed;
    float frontWheelExtension, frontWheelExtensionSpeed, rearWheelExtension,
        rearWheelExtensionSpeed;
    float frontWheelMomentum, rearWheelMomentum;
    float frontWheelMargin, rearWheelMargin;
    float heading;
    float positionX, positionZ;
    float frontContactX, frontContactZ, rearContactX, rearContactZ;
    float pitch;
    float frontLift, rearLift;
    float frontBumpState, rearBumpState;
    float brakeRampTimer;
    float frontTyreWear, rearTyreWear, frontWearRate, rearWearRate;
    float throttle, brake, steer, clutch;
    int32_t gear;
    int32_t shiftLatch;
    int32_t throttleCut;
    uint32_t frontTriangle, rearTriangle;
    int32_t aiTargetNode;
    uint32_t section, previousSection, mainLineNode;
    uint32_t aiFlags;
    int32_t lapStartMs, lastCrossingMs;
    float pitTimer;
    float aiSteerRadius;
    std::array<float, 2> gripReserves;  // rear, front
    std::array<uint32_t, 24> aiValues;
    std::array<uint16_t, 6> aiCounters;
    uint32_t raceStatus;
    uint32_t flags;
    std::array<std::byte, 252> stateBlock;
    std::array<std::byte, 52> crashBlock;
    std::array<std::byte, 384> animationScratch;
    float engineRpm;
    float frontGrip, rearGrip;
    float frontVerticalForce, rearVerticalForce;
    float lateralForce, turnRadius;
    float frontRollingRadius, rearRollingRadius;
    float frontSpringForce, rearSpringForce;
    float frontWheelForce, rearWheelForce;
    float groundHeight, frontGroundHeight, rearGroundHeight;
    float frontBumpForce, rearBumpForce;
    float driveIntensity;
    float frontForceDemand, rearForceDemand, frontGripUse, rearGripUse;
    std::array<float, 5> forceComponents;
    float frontHeatBase, rearHeatBase, frontHeatingFactor, rearHeatingFactor;
    float edgePassX, edgePassZ;
    float skidX, skidHeight, skidZ, skidHeading;
    int32_t skidClass;
    float skidTime;
    float standstillTimer;
    int32_t crashRequest;
    float enginePowerFactor;
    float inverseMass, weight, frontStaticLoad, rearStaticLoad, inverseRpmScale, dragFactor,
        coolingRate, heatFactor, frontContactOffset, rearContactOffset;
    float referenceFraction;
    float lineDistance, surfaceGripFactor;
    float frontLiftHeight, frontLiftSpeed, rearLiftHeight, rearLiftSpeed;
    std::array<float, 2> liftSpare;
    float bumpLength, bumpAmplitude, bumpGap, bumpRemaining, bumpHeight, bumpHeightChange;
    int32_t poseFadeLevel;
    float poseFade;
    float soundRpm;
    std::array<float, 6> effectLevels;
    int32_t retirementFlag;
    int32_t wheelFrameBase, wheelFrameCounter;
    int32_t steerHistoryIndex;
    std::array<float, 8> steerHistory;
    float poseTwist;
    int32_t autoGearbox, furtherAid, steeringAid, autoClutch, steeringAidMode;
    int32_t wheelieButton;  // 1 held, 0 not: lifts the front wheel
    int32_t secondButton;
    float wobblePhase;
    float wobbleReferenceSpeed;
    float wheelieTimer;
    float skidIntensity;
    int32_t roadFlag, pitLaneFlag;
    float slipstreamFactor;
    int32_t slipstreamRider;
    int32_t leanCounter, frontSlideCounter, rearSlideCounter;
    float peakTorqueRpm;
    float hazardZoneTime;
    uint32_t lastLapFlag;
    std::array<uint32_t, 2> contactWords;
    int32_t figureSwapFlag;

    // Takes over the whole set-up block of another record.
    void CopySetup(const BikeRecord& source) { setup = source.setup; }
};
static_assert(sizeof(BikeRecord) == BikeRecord::kSize);
static_assert(offsetof(BikeRecord, setup) == 0);
static_assert(offsetof(BikeRecord, objectLinks) == 1916);
static_assert(offsetof(BikeRecord, stateChecksum) == 2016);
static_assert(offsetof(BikeRecord, speed) == BikeRecord::kSpeedOffset);
static_assert(offsetof(BikeRecord, raceStatus) == 2424);
static_assert(offsetof(BikeRecord, flags) == 2428);
static_assert(offsetof(BikeRecord, engineRpm) == 3120);
static_assert(offsetof(BikeRecord, wheelieButton) == BikeRecord::kWheelieButtonOffset);

inline constexpr size_t kRiderCount = 26;

extern std::array<BikeRecord, kRiderCount> g_bikes;
// The local player's rider; it indexes g_bikes and g_netPeers.
extern std::atomic<uint32_t> g_playerRider;
