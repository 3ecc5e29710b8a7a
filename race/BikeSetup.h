#pragma once

// The tunable head of every bike record: 1092 bytes (273 words) in a fixed layout, carried whole
// by the class set-up files and the network exchange; the player's set-up files carry a part of
// it (the set-up stream). Little-endian f32 and bytes, no padding, no pointers. Lengths in
// metres, masses in kilograms, engine speeds in rpm.

#include <array>
#include <cstddef>
#include <cstdint>

struct BikeSetup
{
    static constexpr size_t kSize = 1092;
    static constexpr size_t kEngineCurvePoints = 200;  // 100 rpm apart, from 0 rpm
    static constexpr size_t kGears = 6;

    float steeringLock;  // rad: the lateral tyre force follows sin(steer x lock)
    float steeringRate;  // base steering speed
    float mass;          // bike and rider
    float frontWheelMass;
    float rearWheelMass;
    float dragCoefficient;
    float frontalArea;
    float centreOfGravityHeight;
    // The contact points lie (referenceOffset + wheel base) ahead of the bike's reference point
    // along its heading; the rear wheel base is negative. The load arms split the static load.
    float referenceOffset;
    float frontWheelBase;
    float frontLoadArm;
    float rearWheelBase;
    float rearLoadArm;
    // Engine power over engine speed before the air and carburation corrections; a negative
    // point ends the curve.
    std::array<float, kEngineCurvePoints> baseEngineCurve;
    float idleRpm;
    float rpmScale;  // the engine speed of a normalised engine speed of 1.0
    float coolingCoefficient;
    // The three ignition factors (carburation), 0.95..1.05, nominal 1.0: C is the first in the
    // engine's order, B the second, A the third.
    float ignitionC;
    float idleFloor;  // lowest normalised engine speed squared
    float freeRevvingRate;
    float engineFriction;
    float ignitionB;
    float ignitionA;
    // Tells the class a set-up was made for: up to 150 for 125 ccm, 200..300 for 250 ccm, 350
    // and more for 500 ccm.
    float displacementCcm;
    float coolingOpening;  // radiator opening 0.0..1.0 in steps of 0.1
    float heatCoefficient;
    std::array<float, kGears> overallRatio;  // primary x secondary x gear, gears 1..6
    // Rolling radius = radius + growth x |steer| + (speed - 70) x 0.0002. The base tyre heat is
    // the grip factor of a tyre at working temperature, dry and on a fully wet track.
    float frontTyreRadius;
    float frontRadiusGrowth;
    float frontBaseTyreHeat;
    float frontWetTyreHeat;
    float frontRollingCoefficient;
    float rearTyreRadius;
    float rearRadiusGrowth;
    float maxEngineSpeed;  // for the reachable top speed and the gear curves
    std::array<std::byte, 4> reserved0;
    float rearBaseTyreHeat;
    float rearWetTyreHeat;
    float rearRollingCoefficient;
    std::array<std::byte, 8> reserved1;
    // The fork and then the rear damper: the spring, its travel and two damping pairs, one for
    // each direction of motion (oil factor x compression, oil value x rebound). Damping in
    // whole clicks 1..19; the oil factor is -0.5 x the oil value.
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
    float frontBrakeFactor1;
    float frontBrakeFactor2;
    float frontBrakeDrag;
    float rearBrakeFactor1;
    float rearBrakeFactor2;
    float rearBrakeDrag;
    // The progressive brake: above the smaller threshold the brake builds up over the longer
    // ramp time. tuningValue1 is the first brake threshold, tuningValue2 the first ramp time
    // (s), tuningValue3 the brake's loss on a wet track; brakeValueA and brakeValueB are the
    // second threshold and ramp time, which the player sets.
    float tuningValue1;
    float tuningValue2;
    float tuningValue3;
    float brakeValueA;                      // 0.01..1.0
    float brakeValueB;                      // 0.01..2.0
    std::array<int8_t, kGears> gearChoice;  // per gear, a pair of the class's gearbox table
    int8_t rearSprocket;                    // teeth
    int8_t frontSprocket;
    std::array<std::byte, 2> reserved2;
    // Tyres: slick compounds 0..4 as 0..4, intermediate 1..3 as 5..7, rain 1..3 as 8..10;
    // 100 leaves the choice to the tyre preparation.
    uint8_t frontTyre;
    uint8_t rearTyre;
    // 0 dynamic, 1 normal, 2 sluggish; for a computer rider also its skill, which selects its
    // brake parameters.
    uint8_t brakeCharacteristic;
    uint8_t frontLevelA;  // the four suspension levels, 0..4
    uint8_t frontLevelB;
    uint8_t rearLevelA;
    uint8_t rearLevelB;
    std::array<std::byte, 3> reserved3;
};
static_assert(sizeof(BikeSetup) == BikeSetup::kSize);
static_assert(offsetof(BikeSetup, steeringLock) == 0);
static_assert(offsetof(BikeSetup, steeringRate) == 4);
static_assert(offsetof(BikeSetup, mass) == 8);
static_assert(offsetof(BikeSetup, frontWheelMass) == 12);
static_assert(offsetof(BikeSetup, rearWheelMass) == 16);
static_assert(offsetof(BikeSetup, dragCoefficient) == 20);
static_assert(offsetof(BikeSetup, frontalArea) == 24);
static_assert(offsetof(BikeSetup, centreOfGravityHeight) == 28);
static_assert(offsetof(BikeSetup, referenceOffset) == 32);
static_assert(offsetof(BikeSetup, frontWheelBase) == 36);
static_assert(offsetof(BikeSetup, frontLoadArm) == 40);
static_assert(offsetof(BikeSetup, rearWheelBase) == 44);
static_assert(offsetof(BikeSetup, rearLoadArm) == 48);
static_assert(offsetof(BikeSetup, baseEngineCurve) == 52);
static_assert(offsetof(BikeSetup, idleRpm) == 852);
static_assert(offsetof(BikeSetup, rpmScale) == 856);
static_assert(offsetof(BikeSetup, coolingCoefficient) == 860);
static_assert(offsetof(BikeSetup, ignitionC) == 864);
static_assert(offsetof(BikeSetup, idleFloor) == 868);
static_assert(offsetof(BikeSetup, freeRevvingRate) == 872);
static_assert(offsetof(BikeSetup, engineFriction) == 876);
static_assert(offsetof(BikeSetup, ignitionB) == 880);
static_assert(offsetof(BikeSetup, ignitionA) == 884);
static_assert(offsetof(BikeSetup, displacementCcm) == 888);
static_assert(offsetof(BikeSetup, coolingOpening) == 892);
static_assert(offsetof(BikeSetup, heatCoefficient) == 896);
static_assert(offsetof(BikeSetup, overallRatio) == 900);
static_assert(offsetof(BikeSetup, frontTyreRadius) == 924);
static_assert(offsetof(BikeSetup, frontRadiusGrowth) == 928);
static_assert(offsetof(BikeSetup, frontBaseTyreHeat) == 932);
static_assert(offsetof(BikeSetup, frontWetTyreHeat) == 936);
static_assert(offsetof(BikeSetup, frontRollingCoefficient) == 940);
static_assert(offsetof(BikeSetup, rearTyreRadius) == 944);
static_assert(offsetof(BikeSetup, rearRadiusGrowth) == 948);
static_assert(offsetof(BikeSetup, maxEngineSpeed) == 952);
static_assert(offsetof(BikeSetup, rearBaseTyreHeat) == 960);
static_assert(offsetof(BikeSetup, rearWetTyreHeat) == 964);
static_assert(offsetof(BikeSetup, rearRollingCoefficient) == 968);
static_assert(offsetof(BikeSetup, frontSpringRate) == 980);
static_assert(offsetof(BikeSetup, frontTravel) == 984);
static_assert(offsetof(BikeSetup, frontOilFactor) == 988);
static_assert(offsetof(BikeSetup, frontCompression) == 992);
static_assert(offsetof(BikeSetup, frontOilValue) == 996);
static_assert(offsetof(BikeSetup, frontRebound) == 1000);
static_assert(offsetof(BikeSetup, rearSpringRate) == 1004);
static_assert(offsetof(BikeSetup, rearTravel) == 1008);
static_assert(offsetof(BikeSetup, rearOilFactor) == 1012);
static_assert(offsetof(BikeSetup, rearCompression) == 1016);
static_assert(offsetof(BikeSetup, rearOilValue) == 1020);
static_assert(offsetof(BikeSetup, rearRebound) == 1024);
static_assert(offsetof(BikeSetup, frontBrakeFactor1) == 1028);
static_assert(offsetof(BikeSetup, frontBrakeFactor2) == 1032);
static_assert(offsetof(BikeSetup, frontBrakeDrag) == 1036);
static_assert(offsetof(BikeSetup, rearBrakeFactor1) == 1040);
static_assert(offsetof(BikeSetup, rearBrakeFactor2) == 1044);
static_assert(offsetof(BikeSetup, rearBrakeDrag) == 1048);
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
