// The physics set-up of a bike record before a race: the reset of its dynamic state, the
// derived constants, the engine curve, and the moves of the rider's body between the bike and
// the shared figure.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/CurrentRace.h"
#include "race/SimMath.h"

namespace
{
constexpr float kGravity = 9.81f;
constexpr float kStartTemperature = 60.0f;
constexpr float kStandstillSpeed = 0.01f;
constexpr float kWobbleReferenceSpeed = 30.0f;
constexpr int32_t kPoseFadeStart = 128;
constexpr float kFigureGroupRadius = 2.0f;
constexpr float kSeatHipHeight = 0.7f;
constexpr uint32_t kAutomaticCarburationStatus = 2;  // statuses above it are computer riders

// The negative tail behind the curve's end: each 100 rpm brakes the engine by this much more.
float TailStep(BikeClass bikeClass)
{
    return bikeClass == BikeClass::Class125 ? -8500.0f : -5000.0f;
}

void CopyBytes(BikeRecord& to, const BikeRecord& from, size_t first, size_t end)
{
    std::memcpy(reinterpret_cast<std::byte*>(&to) + first,
                reinterpret_cast<const std::byte*>(&from) + first, end - first);
}

// Zeroes the dynamic part but for what is set before the physics: the engine voice, the gear
// reserves, the computer rider's block and status from the session start and the placement,
// the position and course, the tyre preparation, the performance factor, the ride aids and the
// network choices.
void ClearDynamicState(BikeRecord& record)
{
    const BikeRecord kept = record;
    auto* bytes = reinterpret_cast<std::byte*>(&record);
    std::fill(bytes + sizeof(BikeSetup), bytes + BikeRecord::kSize, std::byte{0});

    record.soundSlot = kept.soundSlot;
    record.gearWear = kept.gearWear;
    CopyBytes(record, kept, offsetof(BikeRecord, aiTargetNode), offsetof(BikeRecord, flags));
    record.positionX = kept.positionX;
    record.positionZ = kept.positionZ;
    record.course = kept.course;
    record.frontWearRate = kept.frontWearRate;
    record.rearWearRate = kept.rearWearRate;
    CopyBytes(record, kept, offsetof(BikeRecord, frontTyreHeatBase),
              offsetof(BikeRecord, edgePassX));
    record.enginePowerFactor = kept.enginePowerFactor;
    CopyBytes(record, kept, offsetof(BikeRecord, autoGearbox), offsetof(BikeRecord, liftButton));
    record.keyboardFlag = kept.keyboardFlag;
    record.lobbyChoices = kept.lobbyChoices;
    record.wheelFrameBase = kept.wheelFrameBase;
}

void DeriveConstants(BikeRecord& record)
{
    const BikeSetup& setup = record.setup;
    record.inverseMass = 1.0f / setup.mass;
    record.weight = setup.mass * kGravity;
    const float loadArms = setup.frontLoadArm + setup.rearLoadArm;
    record.frontStaticLoad = setup.rearLoadArm * record.weight / loadArms;
    record.rearStaticLoad = setup.frontLoadArm * record.weight / loadArms;
    record.inverseRpmScale = 1.0f / setup.rpmScale;
    record.dragFactor = setup.frontalArea * setup.dragCoefficient * 0.625f;
    record.coolingRate = 2e-5f + setup.coolingOpening * setup.coolingCoefficient * 0.8f;
    record.frontContactOffset = setup.frontWheelBase + setup.referenceOffset;
    record.rearContactOffset = setup.rearWheelBase + setup.referenceOffset;
    record.referenceFraction =
        record.frontContactOffset / (record.frontContactOffset - record.rearContactOffset);
}

// The suspension at rest under the static load: compressed up to its travel, the wheel and the
// lift taking the rest.
void SettleSuspension(float staticLoad, float springRate, float travel, float& compression,
                      float& wheelExtension, float& liftHeight)
{
    compression = std::min(staticLoad / springRate, travel);
    wheelExtension = travel - compression;
    liftHeight = travel - compression;
}

void SetStartingState(BikeRecord& record, uint16_t riderIndex)
{
    const BikeSetup& setup = record.setup;
    record.gear = 1;
    record.crashRequest = BikeRecord::kNoCrash;
    record.engineSpeedSq = setup.idleFloor;
    record.engineRpm = setup.idleRpm;
    record.soundRpm = setup.idleRpm;
    record.engineTemperature = kStartTemperature;
    record.speed = kStandstillSpeed;
    record.frontTyreHeat = setup.frontBaseTyreHeat;
    record.rearTyreHeat = setup.rearBaseTyreHeat;
    record.frontGripWear = 1.0f;
    record.rearGripWear = 1.0f;
    for (WheelSurface* surface : {&record.frontSurface, &record.rearSurface})
    {
        *surface = {.surfaceClass = 0, .rollingFactor = 1.0f, .grip = 1.0f, .wearRate = 0.0f};
    }
    record.surfaceGripFactor = 1.0f;
    record.frontLoad = record.frontStaticLoad;
    record.rearLoad = record.rearStaticLoad;
    record.frontVerticalForce = record.frontStaticLoad;
    record.rearVerticalForce = record.rearStaticLoad;
    record.frontRollingRadius = setup.frontTyreRadius;
    record.rearRollingRadius = setup.rearTyreRadius;
    SettleSuspension(record.frontStaticLoad, setup.frontSpringRate, setup.frontTravel,
                     record.frontCompression, record.frontWheelExtension,
                     record.frontLiftState.height);
    SettleSuspension(record.rearStaticLoad, setup.rearSpringRate, setup.rearTravel,
                     record.rearCompression, record.rearWheelExtension,
                     record.rearLiftState.height);
    record.heading = record.course;
    record.bumpLength = 1.0f;
    record.bumpGap = 1.0f;
    record.skidMarkClass = -1;
    record.aiSteerRadius = BikeRecord::kStraight;
    record.wobbleReferenceSpeed = kWobbleReferenceSpeed;
    record.roadFlag = 1;
    record.slipstreamFactor = 1.0f;
    record.slipstreamRider = riderIndex;
    record.poseFadeCopy = kPoseFadeStart;
}

// The pressure of the air's water vapour (mmHg) from the wet-bulb temperature; k is the
// density of dry air at 20 deg C and 760 mmHg over that of the race's air.
float AirDensityRatio(const RaceConditions& air)
{
    const float w = air.wetBulbTemperature;
    const float saturation =
        4.6033f + w * (0.31766f + w * (0.01286f + w * (8.6772e-5f + w * 4.6478e-6f)));
    const float vapour = saturation - 0.00066225167f * air.pressureMmHg * (air.airTemperature - w);
    return sim::Sqrt((air.airTemperature + 273.0f) / 293.0f) * 749.0f / (air.pressureMmHg - vapour);
}

struct CurveFill
{
    float stretch = 1.0f;  // base point trunc(i / stretch) feeds point i
    float scale = 1.0f;
};

CurveFill AirCorrectedFill(BikeRecord& record, const RaceConditions& air)
{
    float& c1 = record.setup.ignitionC;
    float& c2 = record.setup.ignitionB;
    float& c3 = record.setup.ignitionA;
    const float k = AirDensityRatio(air);
    if (record.raceStatus > kAutomaticCarburationStatus)
    {
        c2 = std::clamp(2.0f - k, 0.95f, 1.05f);
        c1 = 2.0f - c2;
        c3 = c1;
    }
    float g = 1.0f / (std::fabs(k + c2 - 2.0f) + std::fabs(k - c3) + 1.0f);
    const float spread = std::fabs(c1 - c3);
    if (spread > 0.05f)
    {
        g *= 1.0f - (spread - 0.05f);
    }
    const float m = c1 - c3 + 1.0f;
    if (m <= 1.0f)
    {
        return {.stretch = m, .scale = g * sim::Sqrt(1.0f / (1.0f + 0.5f * (1.0f - m)))};
    }
    return {.stretch = m > 1.05f ? 2.1f - m : m, .scale = g / m};
}

// Fills the curve from the base curve until a negative point has been written or the base
// curve is left behind; the index of the first point not filled from it (200 for none).
size_t FillCurve(BikeRecord& record, const CurveFill& fill)
{
    for (size_t i = 0; i < record.engineCurve.size(); ++i)
    {
        const float source = static_cast<float>(i) / fill.stretch;
        if (!(source >= 0.0f && source < static_cast<float>(record.engineCurve.size())))
        {
            return i;
        }
        const float value = record.setup.baseEngineCurve[static_cast<size_t>(source)] * fill.scale;
        record.engineCurve[i] = value;
        if (value < 0.0f)
        {
            return i;
        }
    }
    return record.engineCurve.size();
}
}  // namespace

int BikeRecord::InitPhysics(uint16_t riderIndex, const CurrentRace& race)
{
    ClearDynamicState(*this);
    ComputeTorqueCurve(race);
    DeriveConstants(*this);
    SetStartingState(*this, riderIndex);
    return 0;
}

void BikeRecord::ComputeTorqueCurve(const CurrentRace& race)
{
    heatFactor = setup.heatCoefficient * (2.0f - setup.ignitionA) * (2.0f - setup.ignitionC) *
                 (2.0f - setup.ignitionB);
    const CurveFill fill =
        race.engineConditions == 1 ? AirCorrectedFill(*this, race.conditions) : CurveFill{};
    const size_t end = FillCurve(*this, fill);
    // The first point of a plateau counts.
    const auto peak = std::max_element(engineCurve.begin(), engineCurve.begin() + end);
    peakTorqueRpm = static_cast<float>(peak - engineCurve.begin()) * 100.0f;
    const float step = TailStep(race.bikeClass);
    for (size_t i = end; i < engineCurve.size(); ++i)
    {
        engineCurve[i] = step * static_cast<float>(i - end + 1);
    }
}

void BikeRecord::AttachSharedFigure(WorldObject& sharedFigure, float x, float y, float z)
{
    WorldObject* hipNode = links.hip.get();
    WorldObject* seatNode = links.seat.get();
    if (figureSwapFlag != 0 || hipNode == nullptr || seatNode == nullptr ||
        !DetachFromList(*hipNode, *seatNode, kAttachChild))
    {
        return;
    }
    AttachToList(*hipNode, sharedFigure, x, y, z, kAttachSubObject, kFigureGroupRadius);
    figureSwapFlag = 1;
}

void BikeRecord::AttachOwnFigure(WorldObject& sharedFigure)
{
    WorldObject* hipNode = links.hip.get();
    WorldObject* seatNode = links.seat.get();
    if (figureSwapFlag == 0 || hipNode == nullptr || seatNode == nullptr ||
        !DetachFromList(*hipNode, sharedFigure, kAttachSubObject))
    {
        return;
    }
    AttachToList(*hipNode, *seatNode, 0.0f, kSeatHipHeight, 0.0f, kAttachChild, kFigureGroupRadius);
    figureSwapFlag = 0;
}
