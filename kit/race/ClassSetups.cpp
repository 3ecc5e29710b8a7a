#include "kit/race/ClassSetups.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kit
{
namespace
{
constexpr double kRpmToWheelSpeed = 0.10471976;  // 2 pi / 60

// Per class: the machine's own figures.
struct ClassMachine
{
    float mass;  // with its rider
    float frontWheelMass, rearWheelMass;
    float dragCoefficient, frontalArea, centreOfGravityHeight;
    float wheelBase;       // each wheel from the reference point
    float peakPowerWatts;  // at peakRpm
    float peakRpm;
    float cutRpm;  // the curve turns negative here
    float tyreRadius, baseGrip;
    float frontSpringRate, rearSpringRate;
    float frontBrakeFactor2, rearBrakeFactor2, brakeDrag;
    // Gearing: the gear pairs chosen from the class's gearbox table, their ratios, and the
    // secondary and primary reductions.
    std::array<int8_t, 6> gearChoice;
    std::array<float, 6> gearRatio;
    int8_t frontSprocket, rearSprocket;
    float primaryReduction;
    float displacementCcm;
};

// clang-format off
constexpr std::array<ClassMachine, kBikeClassCount> kMachines = {{
    {.mass = 150.0f, .frontWheelMass = 8.0f, .rearWheelMass = 10.0f,
     .dragCoefficient = 0.6f, .frontalArea = 0.45f, .centreOfGravityHeight = 0.55f,
     .wheelBase = 0.65f, .peakPowerWatts = 33000.0f, .peakRpm = 12500.0f, .cutRpm = 14000.0f,
     .tyreRadius = 0.3f, .baseGrip = 1.34f, .frontSpringRate = 18000.0f, .rearSpringRate = 22000.0f,
     .frontBrakeFactor2 = 1300.0f, .rearBrakeFactor2 = 1300.0f, .brakeDrag = 139.0f,
     .gearChoice = {2, 8, 13, 17, 22, 26},
     .gearRatio = {30.0f / 15, 27.0f / 17, 26.0f / 19, 25.0f / 20, 26.0f / 23, 26.0f / 24},
     .frontSprocket = 17, .rearSprocket = 38, .primaryReduction = 60.0f / 21,
     .displacementCcm = 125.0f},
    {.mass = 175.0f, .frontWheelMass = 10.0f, .rearWheelMass = 12.0f,
     .dragCoefficient = 0.6f, .frontalArea = 0.5f, .centreOfGravityHeight = 0.58f,
     .wheelBase = 0.68f, .peakPowerWatts = 60000.0f, .peakRpm = 12000.0f, .cutRpm = 13500.0f,
     .tyreRadius = 0.311f, .baseGrip = 1.4f, .frontSpringRate = 20000.0f, .rearSpringRate = 25000.0f,
     .frontBrakeFactor2 = 1800.0f, .rearBrakeFactor2 = 1800.0f, .brakeDrag = 169.0f,
     .gearChoice = {2, 8, 13, 18, 25, 31},
     .gearRatio = {31.0f / 14, 28.0f / 16, 26.0f / 18, 31.0f / 24, 27.0f / 23, 29.0f / 26},
     .frontSprocket = 17, .rearSprocket = 36, .primaryReduction = 57.0f / 23,
     .displacementCcm = 250.0f},
    {.mass = 215.0f, .frontWheelMass = 12.0f, .rearWheelMass = 15.0f,
     .dragCoefficient = 0.62f, .frontalArea = 0.55f, .centreOfGravityHeight = 0.62f,
     .wheelBase = 0.72f, .peakPowerWatts = 125000.0f, .peakRpm = 11500.0f, .cutRpm = 13000.0f,
     .tyreRadius = 0.32f, .baseGrip = 1.42f, .frontSpringRate = 24000.0f, .rearSpringRate = 30000.0f,
     .frontBrakeFactor2 = 2800.0f, .rearBrakeFactor2 = 2800.0f, .brakeDrag = 195.0f,
     .gearChoice = {2, 8, 13, 17, 22, 28},
     .gearRatio = {30.0f / 15, 27.0f / 17, 26.0f / 19, 25.0f / 20, 26.0f / 23, 20.0f / 19},
     .frontSprocket = 18, .rearSprocket = 36, .primaryReduction = 42.0f / 19,
     .displacementCcm = 500.0f},
}};
// clang-format on

// Power rises towards the peak, falls off after it and turns negative at the cut.
float PowerAt(const ClassMachine& machine, float rpm)
{
    if (rpm >= machine.cutRpm)
    {
        return -1000.0f;
    }
    if (rpm <= machine.peakRpm)
    {
        return machine.peakPowerWatts * std::pow(rpm / machine.peakRpm, 1.5f);
    }
    const float past = (rpm - machine.peakRpm) / (machine.cutRpm - machine.peakRpm);
    return machine.peakPowerWatts * (1.0f - 0.4f * past * past);
}
}  // namespace

BikeSetup ClassStandardSetup(BikeClass bikeClass)
{
    const ClassMachine& m = kMachines[std::min<size_t>(ToIndex(bikeClass), kBikeClassCount - 1)];
    BikeSetup setup{};
    setup.steeringLock = 1.2f;
    setup.steeringRate = 3.0f;
    setup.mass = m.mass;
    setup.frontWheelMass = m.frontWheelMass;
    setup.rearWheelMass = m.rearWheelMass;
    setup.dragCoefficient = m.dragCoefficient;
    setup.frontalArea = m.frontalArea;
    setup.centreOfGravityHeight = m.centreOfGravityHeight;
    setup.referenceOffset = 0.0f;
    setup.frontWheelBase = m.wheelBase;
    setup.frontLoadArm = m.wheelBase;
    setup.rearWheelBase = -m.wheelBase;
    setup.rearLoadArm = m.wheelBase;
    for (size_t i = 0; i < setup.baseEngineCurve.size(); ++i)
    {
        setup.baseEngineCurve[i] = PowerAt(m, 100.0f * static_cast<float>(i));
    }
    setup.idleRpm = 2500.0f;
    setup.rpmScale = m.peakRpm;
    setup.idleFloor = (2500.0f / m.peakRpm) * (2500.0f / m.peakRpm);
    // Heat and cooling balance near 60 deg C at the half-open radiator for a field riding in
    // 10 to 37 deg C of air; a closed radiator on a hot day or an open one on a cold day takes
    // the engine towards its limits.
    setup.coolingCoefficient = 0.00004f;
    setup.ignitionA = setup.ignitionB = setup.ignitionC = 1.0f;
    setup.freeRevvingRate = 8.0f;
    setup.engineFriction = 1.5f;
    setup.displacementCcm = m.displacementCcm;
    setup.coolingOpening = 0.5f;
    setup.heatCoefficient = 0.06f;
    const float drive = static_cast<float>(m.rearSprocket) / m.frontSprocket * m.primaryReduction;
    for (size_t gear = 0; gear < setup.overallRatio.size(); ++gear)
    {
        setup.overallRatio[gear] = m.gearRatio[gear] * drive;
    }
    setup.maxEngineSpeed = m.peakRpm;
    for (float* radius : {&setup.frontTyreRadius, &setup.rearTyreRadius})
    {
        *radius = m.tyreRadius;
    }
    setup.frontRadiusGrowth = setup.rearRadiusGrowth = 0.01f;
    setup.frontBaseTyreHeat = setup.rearBaseTyreHeat = m.baseGrip;
    setup.frontWetTyreHeat = setup.rearWetTyreHeat = 1.0f;
    setup.frontRollingCoefficient = setup.rearRollingCoefficient = 0.015f;
    setup.frontSpringRate = m.frontSpringRate;
    setup.rearSpringRate = m.rearSpringRate;
    setup.frontTravel = 0.12f;
    setup.rearTravel = 0.13f;
    for (float* oil : {&setup.frontOilValue, &setup.rearOilValue})
    {
        *oil = 5.0f;
    }
    setup.frontOilFactor = setup.rearOilFactor = -2.5f;
    setup.frontCompression = setup.frontRebound = 10.0f;
    setup.rearCompression = setup.rearRebound = 10.0f;
    setup.frontBrakeFactor1 = 1.0f;
    setup.frontBrakeFactor2 = m.frontBrakeFactor2;
    setup.frontBrakeDrag = m.brakeDrag;
    setup.rearBrakeFactor1 = 0.4f;
    setup.rearBrakeFactor2 = m.rearBrakeFactor2;
    setup.rearBrakeDrag = m.brakeDrag;
    setup.tuningValue1 = 0.2f;  // first brake threshold
    setup.tuningValue2 = 0.4f;  // first ramp time
    setup.tuningValue3 = 0.2f;  // wet loss
    setup.brakeValueA = 0.5f;
    setup.brakeValueB = 1.0f;
    setup.gearChoice = m.gearChoice;
    setup.frontSprocket = m.frontSprocket;
    setup.rearSprocket = m.rearSprocket;
    setup.frontTyre = setup.rearTyre = 100;
    setup.brakeCharacteristic = 1;
    setup.frontLevelA = setup.frontLevelB = setup.rearLevelA = setup.rearLevelB = 2;
    return setup;
}

double DragLimitedTopSpeed(const BikeSetup& setup)
{
    const float peak =
        *std::max_element(setup.baseEngineCurve.begin(), setup.baseEngineCurve.end());
    const double drag = 0.625 * setup.dragCoefficient * setup.frontalArea;
    return std::cbrt(peak / drag);
}

double SixthGearSpeedAtPeak(const BikeSetup& setup)
{
    const auto peak = std::max_element(setup.baseEngineCurve.begin(), setup.baseEngineCurve.end());
    const double rpm = 100.0 * static_cast<double>(peak - setup.baseEngineCurve.begin());
    return rpm * setup.rearTyreRadius * kRpmToWheelSpeed / setup.overallRatio[5];
}
}  // namespace kit
