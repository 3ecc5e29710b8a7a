// The end of a rider's step: angles wrapped, the steer history, the visible channels of the
// bike's nodes, the lap sample and the skid marks; and the entry points of the step.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "core/world/WorldObject.h"
#include "race/ChannelList.h"
#include "race/SimMath.h"
#include "race/SkidMarks.h"
#include "race/dynamics/BikeDynamics.h"
#include "race/laps/LapRecord.h"

namespace dynamics
{
namespace
{
using Link = RiderObjectLinks::Link RiderObjectLinks::*;

WorldObject* Node(const BikeRecord& bike, Link link)
{
    return (bike.links.*link).get();
}

WorldObject* FurtherNode(const BikeRecord& bike, size_t index)
{
    return bike.links.furtherBikeNodes[index].get();
}

constexpr Link kRootNode = &RiderObjectLinks::bikeRoot;
constexpr Link kPartNode = &RiderObjectLinks::bikePart;
constexpr Link kBodyNode = &RiderObjectLinks::bikeBody;
constexpr Link kBikeNode = &RiderObjectLinks::bike;
constexpr Link kSeatNode = &RiderObjectLinks::seat;

enum class Field
{
    Pitch,
    Heading,
    Lean,
    X,
    Height,
    LengthOffset,
    PivotHeight,
    PivotLength,
};

void SetNode(ChannelList& channels, WorldObject* node, Field field, float value)
{
    if (node == nullptr)
    {
        return;
    }
    switch (field)
    {
        case Field::Pitch:
            channels.Set(ChannelKind::Angle, &node->angles[0], value);
            break;
        case Field::Heading:
            channels.Set(ChannelKind::Angle, &node->angles[1], value);
            break;
        case Field::Lean:
            channels.Set(ChannelKind::Angle, &node->angles[2], value);
            break;
        case Field::X:
            channels.Set(ChannelKind::Value, &node->placement.x, value);
            break;
        case Field::Height:
            channels.Set(ChannelKind::Value, &node->placement.y, value);
            break;
        case Field::LengthOffset:
            channels.Set(ChannelKind::Value, &node->placement.z, value);
            break;
        case Field::PivotHeight:
            channels.Set(ChannelKind::Value, &node->pivot.y, value);
            break;
        case Field::PivotLength:
            channels.Set(ChannelKind::Value, &node->pivot.z, value);
            break;
    }
}

float MeanSteer(const BikeRecord& bike)
{
    float sum = 0.0f;
    for (const float steer : bike.steerHistory)
    {
        sum += steer;
    }
    return sum * 0.125f;
}

void WriteChannels(DynamicsContext& context, uint32_t rider, BikeRecord& bike)
{
    ChannelList& channels = context.channels;
    const BikeSetup& setup = bike.setup;
    const float pitch = bike.pitch;
    const float frontReach = setup.referenceOffset + setup.frontWheelBase;
    SetNode(channels, Node(bike, kRootNode), Field::Pitch,
            sim::Atan((bike.groundHeight - bike.frontGroundHeight) / frontReach * 0.99999f));
    SetNode(channels, Node(bike, kPartNode), Field::Pitch,
            pitch <= 0.0f ? -pitch * (1.0f - std::fabs(bike.steer)) : -pitch);
    // The machine pitches about the axle of the wheel that stays down: the front one in a
    // stoppie, the rear one in a wheelie. Where it stands is its shadow's place.
    SetNode(channels, Node(bike, kPartNode), Field::PivotHeight,
            pitch <= 0.0f ? setup.frontTyreRadius : setup.rearTyreRadius);
    SetNode(channels, Node(bike, kPartNode), Field::PivotLength,
            pitch <= 0.0f ? bike.frontContactOffset : bike.rearContactOffset);
    channels.Add(ChannelKind::Value, &bike.steer, bike.steer, bike.steer);
    const float seatHeight = bike.rearLift * -0.5f + 0.05f;
    SetNode(channels, Node(bike, kSeatNode), Field::Height, seatHeight);
    SetNode(channels, FurtherNode(bike, 0), Field::Height, seatHeight);
    const float seatPitch = -(bike.rearLift - bike.frontLift) * 0.8f;
    SetNode(channels, Node(bike, kSeatNode), Field::Pitch, seatPitch);
    SetNode(channels, FurtherNode(bike, 0), Field::Pitch, seatPitch);
    const float fork = bike.frontCompression - bike.frontLift;
    SetNode(channels, FurtherNode(bike, 1), Field::Height, fork * 0.3f);
    SetNode(channels, FurtherNode(bike, 1), Field::LengthOffset, fork * -0.225f);
    SetNode(channels, Node(bike, kBikeNode), Field::Pitch,
            (bike.rearCompression - bike.rearLift) * 0.4f);
    // The swing arm turns about its pivot at axle height.
    if (WorldObject* bikeNode = Node(bike, kBikeNode))
    {
        bikeNode->pivot.y = 0.3f;
    }
    SetNode(channels, Node(bike, kRootNode), Field::Heading, bike.heading);
    const bool smoothed = bike.raceStatus != 0 || bike.steeringAidMode >= 1;
    float lean = -0.9587f * (1.0f - pitch * 1.273398f) * (smoothed ? MeanSteer(bike) : bike.steer);
    if (bike.speed < 10.0f)
    {
        lean *= 0.2f + 0.08f * bike.speed;
    }
    SetNode(channels, Node(bike, kBodyNode), Field::Lean, lean);
    SetNode(channels, Node(bike, kRootNode), Field::X, bike.positionX);
    SetNode(channels, Node(bike, kRootNode), Field::Height, bike.groundHeight);
    SetNode(channels, Node(bike, kRootNode), Field::LengthOffset, bike.positionZ);

    if (WorldObject* part = Node(bike, kPartNode))
    {
        const float wobble = sim::Sin(bike.wobblePhase);
        const bool onBoard = rider == context.playerRider && context.cameraMode == 1;
        float roll = pitch <= 0.0f ? wobble * pitch * (onBoard ? 0.12f : 0.05f) : 0.0f;
        if (bike.speed - bike.wobbleReferenceSpeed > 6.0f && bike.throttle > 0.8f)
        {
            roll =
                std::min(0.015f, (bike.speed - bike.wobbleReferenceSpeed - 6.0f) * 0.01f) * wobble;
        }
        part->angles[2] = roll;
    }
}

SkidMarkKind RubberKind(float intensityPerMetre)
{
    if (intensityPerMetre < 8000.0f)
    {
        return SkidMarkKind::Rubber0;
    }
    if (intensityPerMetre < 10000.0f)
    {
        return SkidMarkKind::Rubber1;
    }
    return intensityPerMetre < 12000.0f ? SkidMarkKind::Rubber2 : SkidMarkKind::Rubber3;
}

void LaySkidMarks(DynamicsContext& context, BikeRecord& bike, float ds)
{
    const int32_t surface = bike.rearSurface.surfaceClass;
    const float dx = bike.rearContactX - bike.skidMarkX;
    const float dz = bike.rearContactZ - bike.skidMarkZ;
    const float movedSquared = dx * dx + dz * dz;
    const bool loose = surface >= 0 && surface < 3;
    bool lay = false;
    float halfWidth = 0.0f;
    float above = 0.0f;
    SkidMarkKind kind = SkidMarkKind::Loose;
    if (loose)
    {
        lay = bike.skidMarkClass >= 0 && bike.skidMarkClass < 3 && movedSquared > 0.16f;
        halfWidth = 0.3f;
        above = 0.1f;
    }
    else if (surface >= 4 && context.params.weather == Weather::Fine &&
             bike.driveIntensity > 6000.0f && bike.rearGripUse < 0.6f)
    {
        bike.skidIntensity += bike.driveIntensity * ds;
        lay = bike.skidMarkClass >= 4 && movedSquared > 0.16f;
        halfWidth = 0.07f + 0.04f * static_cast<float>(context.bikeClass);
        above = 0.05f;
        kind = RubberKind(bike.skidIntensity / SqrtFloat(movedSquared));
    }
    const float y = bike.rearGroundHeight + above;
    if (lay)
    {
        context.skidMarks.Add(kind, bike.skidMarkX, bike.skidMarkY, bike.skidMarkZ,
                              bike.rearContactX, y, bike.rearContactZ, halfWidth);
        bike.skidIntensity = 0.0f;
    }
    // The mark point follows the wheel whenever it lays a mark or starts a new trail.
    if (lay || bike.skidMarkClass != surface || (!loose && bike.rearGripUse >= 0.6f))
    {
        bike.skidMarkX = bike.rearContactX;
        bike.skidMarkY = y;
        bike.skidMarkZ = bike.rearContactZ;
        bike.skidMarkHeading = bike.heading;
        bike.skidMarkTime = context.raceTime;
    }
    bike.skidMarkClass = surface;
}
}  // namespace

void FinishStep(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step)
{
    bike.heading = WrapPositive(bike.heading);
    bike.course = WrapPositive(bike.course);
    bike.steerHistoryIndex = (bike.steerHistoryIndex + 1) & 7;
    bike.steerHistory[static_cast<size_t>(bike.steerHistoryIndex)] = bike.steer;
    bike.wobblePhase += 1.6f;
    if (bike.wobblePhase >= kTwoPi)
    {
        bike.wobblePhase -= kTwoPi;
    }
    WriteChannels(context, rider, bike);
    if (rider == context.playerRider)
    {
        if (context.lapRecording != nullptr)
        {
            context.lapRecording->AppendSample(bike, context.raceTime);
        }
    }
    LaySkidMarks(context, bike, step.ds);
}
}  // namespace dynamics

void StepBike(DynamicsContext& context, uint32_t rider)
{
    using namespace dynamics;
    BikeRecord& bike = context.records[rider];
    StepScratch step;
    ReadControls(context, rider, bike, step);
    Prepare(context, bike, step);
    SteerAndGrip(context, bike, step);
    RunEngine(context, rider, bike, step);
    ApplyFrictionCircle(context, bike, step);
    Slipstream(context, rider, bike, step);
    MoveAlongCourse(context, bike, step);
    RunChassis(context, rider, bike, step);
    TouchGround(context, rider, bike, step);
    FinishStep(context, rider, bike, step);
}

void IdleBike(BikeRecord& bike)
{
    bike.engineRpm = std::max(bike.engineRpm - 60.0f, 0.0f);
    bike.throttle = 0.0f;
}
