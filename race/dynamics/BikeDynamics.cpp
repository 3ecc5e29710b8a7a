// Control inputs, engine and gearbox, tyre forces and the friction circle, slipstream,
// kinetic energy, heading and velocity: the first half of a rider's step.

#include "race/dynamics/BikeDynamics.h"

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/InputRing.h"
#include "race/RacingLine.h"
#include "race/SimMath.h"
#include "race/standings/RaceStandings.h"

namespace dynamics
{
namespace
{
constexpr float kInput = 1.0f / 127.0f;
constexpr float kShiftTime = 0.12f;
constexpr uint32_t kMaxGear = 6;
constexpr float kRpmPerCurvePoint = 100.0f;
constexpr int32_t kStatusPlayer = 0;
constexpr uint32_t kFirstAutomaticStatus = 7;

bool StartReleased(const DynamicsContext& context)
{
    return context.step >= context.raceStartTick;
}

void Shift(BikeRecord& bike, uint8_t buttons)
{
    const bool up = (buttons & InputFrame::kShiftUp) != 0;
    const bool down = (buttons & InputFrame::kShiftDown) != 0;
    if (!up && !down)
    {
        bike.shiftLatch = 0;
        return;
    }
    if (bike.shiftTimer <= kShiftTime || bike.shiftLatch != 0)
    {
        return;
    }
    bike.shiftLatch = 1;
    const int32_t gear = std::clamp(bike.gear + (up ? 1 : -1), 1, static_cast<int32_t>(kMaxGear));
    if (bike.autoGearbox == 0 && gear != bike.gear)
    {
        bike.gear = gear;
        bike.shiftTimer = 0.0f;
    }
}

// The line node the rider's target maps to on the main line: branch nodes follow their
// links down to it; a link that leads nowhere falls back to the node beside.
uint32_t MainLineNodeOf(const RacingLine& line, uint32_t target)
{
    const uint32_t mainCount = line.pitLaneFirstNode;
    uint32_t node = target;
    if (node >= line.nodeCount || mainCount == 0)
    {
        return 0;
    }
    if (node < mainCount)
    {
        return node;
    }
    const RacingLineNode& first = line.nodes[node];
    const bool viaSide0 = first.sideLink0 < first.sideLink1;
    for (uint32_t hops = 0; node >= mainCount && hops < line.nodeCount; ++hops)
    {
        const uint32_t link = viaSide0 ? line.nodes[node].sideLink0 : line.nodes[node].sideLink1;
        if (link >= line.linkLimit || link >= line.nodeCount)
        {
            break;
        }
        node = link;
    }
    if (node >= mainCount)
    {
        node = line.CanonicalNode(static_cast<uint16_t>(node));
    }
    return node < mainCount ? node : 0;
}

// Metres of steering-aid zone "on the line" ahead of the node, at most 40.
float AidZoneAhead(const RacingLine& line, uint32_t node)
{
    float length = 0.0f;
    for (uint32_t hops = 0; hops < line.pitLaneFirstNode && length < 40.0f; ++hops)
    {
        if (node >= line.aidZoneByNode.size() || (line.aidZoneByNode[node] & 0x30) != 0x10)
        {
            break;
        }
        length += 1.0f + static_cast<float>(line.nodes[node].stepLength);
        node = line.nodes[node].next;
    }
    return std::min(length, 40.0f);
}

float AutomaticSteer(const BikeRecord& bike)
{
    const float v = bike.speed;
    float divisor = (bike.frontGrip + bike.rearGrip) * bike.aiSteerRadius;
    if (std::fabs(divisor) < 1e-7f)
    {
        divisor = divisor < 0.0f ? -1e-7f : 1e-7f;
    }
    const float q = std::clamp(bike.setup.mass * v * v / divisor, -1.0f, 1.0f);
    return sim::Asin(q * 0.99999f) / bike.setup.steeringLock;
}

float CombineWithInput(const DynamicsContext& context, const BikeRecord& bike, float steer,
                       float input, uint32_t mainNode)
{
    if (bike.steeringAid == 0 || bike.steeringAidMode == 0)
    {
        return input;
    }
    switch (bike.steeringAidMode)
    {
        case 3:
            if (steer > 0.0f)
            {
                return std::min(steer, input);
            }
            return input >= 0.0f ? 0.0f : input;
        case 2:
            if (steer > 0.0f)
            {
                return input > 0.0f ? input : 0.0f;
            }
            return std::max(steer, input);
        default:
        {
            const float zone = AidZoneAhead(context.line, mainNode);
            return (input * zone + (40.0f - zone) * steer) * 0.025f;
        }
    }
}
}  // namespace

float WrapSigned(float angle)
{
    while (angle > kPi)
    {
        angle -= kTwoPi;
    }
    while (angle < -kPi)
    {
        angle += kTwoPi;
    }
    return angle;
}

float WrapPositive(float angle)
{
    while (angle >= kTwoPi)
    {
        angle -= kTwoPi;
    }
    while (angle < 0.0f)
    {
        angle += kTwoPi;
    }
    return angle;
}

void ReadControls(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step)
{
    step.steerInput = bike.steer;
    const InputRing* ring = context.inputRings[rider];
    if (bike.raceStatus > 1 || ring == nullptr)
    {
        return;
    }
    const std::optional<InputFrame> frame = ring->Read(context.step);
    if (!frame)
    {
        return;
    }
    const int32_t throttleBrake = frame->throttleBrake;
    if (bike.throttleCut == 0)
    {
        bike.throttle = throttleBrake >= 1 ? static_cast<float>(throttleBrake) * kInput : 0.0f;
        bike.brake = throttleBrake >= 1 ? 0.0f : static_cast<float>(-throttleBrake) * kInput;
    }
    else
    {
        bike.throttle = 0.0f;
        bike.brake = std::max(bike.brake, static_cast<float>(-throttleBrake) * kInput);
    }
    if (!StartReleased(context))
    {
        step.steerInput = 0.0f;
        bike.clutch = 0.0f;
        return;
    }
    step.steerInput = static_cast<float>(frame->steer) * kInput;
    if (bike.autoClutch == 0)
    {
        bike.clutch = static_cast<float>(frame->clutch) * kInput;
    }
    Shift(bike, frame->buttons);
    // Both button states follow the wheelie control: the look-back control is the camera's.
    const int32_t wheelie = (frame->buttons & InputFrame::kWheelie) != 0 ? 1 : 0;
    bike.liftButton = wheelie;
    bike.wheelieButton = wheelie;
}

void Prepare(DynamicsContext& context, BikeRecord& bike, StepScratch& step)
{
    bike.effectLevels.fill(0.0f);
    step.mainNode = MainLineNodeOf(context.line, bike.aiTargetNode);
    const RacingLineNode& node = context.line.nodes[step.mainNode];
    const float distance =
        std::fabs(node.edgeA * bike.positionX + node.edgeB * bike.positionZ + node.edgeC);
    bike.lineDistance = distance;
    const float loss = context.params.surfaces.weatherFactor;
    if (distance < 0.5f)
    {
        bike.surfaceGripFactor = 1.0f;
    }
    else if (distance <= 2.0f)
    {
        bike.surfaceGripFactor = 1.0f - (distance - 0.5f) * 0.666666f * loss;
    }
    else
    {
        bike.surfaceGripFactor = 1.0f - loss;
    }

    if (bike.speed < 0.01f)
    {
        bike.speed = 0.01f;
    }
    step.previousSpeed = bike.speed;
    step.ds = bike.speed * kDt;
    step.stepsPerMetre = kStepsPerSecond / bike.speed;
    if (!(step.ds > 0.0f))
    {
        step.ds = 0.0004f;
        step.stepsPerMetre = 2500.0f;
    }
    const bool standing = bike.speed <= 0.1f && bike.brake >= 0.8f && StartReleased(context) &&
                          bike.raceStatus == kStatusPlayer;
    bike.standstillBrakeTimer = standing ? bike.standstillBrakeTimer + kDt : 0.0f;

    bike.frontGrip = bike.frontSurface.grip * bike.frontGripWear * bike.frontTyreHeat *
                     bike.frontLoad * bike.surfaceGripFactor;
    bike.rearGrip = bike.rearSurface.grip * bike.rearGripWear * bike.rearTyreHeat * bike.rearLoad *
                    bike.surfaceGripFactor;

    // The brake bites progressively once held beyond its threshold.
    const BikeSetup& setup = bike.setup;
    const float threshold = std::min(setup.tuningValue1, setup.brakeValueA);
    const float rampTime = std::max(setup.tuningValue2, setup.brakeValueB);
    if (bike.brake >= threshold)
    {
        bike.brakeRampTimer = std::min(bike.brakeRampTimer + kDt, rampTime);
        const float ramp = rampTime > 0.0f ? bike.brakeRampTimer / rampTime : 1.0f;
        step.effectiveBrake = (bike.brake - threshold) * (ramp * ramp) + threshold;
    }
    else
    {
        bike.brakeRampTimer = std::max(bike.brakeRampTimer - kDt, 0.0f);
        step.effectiveBrake = bike.brake;
    }
    step.frontBrake = setup.frontBrakeFactor1 * setup.frontBrakeFactor2 * step.effectiveBrake;
    step.rearBrake = setup.rearBrakeFactor1 * setup.rearBrakeFactor2 * step.effectiveBrake;
}

void SteerAndGrip(DynamicsContext& context, BikeRecord& bike, StepScratch& step)
{
    const BikeSetup& setup = bike.setup;
    // A rate used up by speed holds the steering where it is.
    const float rate = std::max((setup.steeringRate - 0.015f * bike.speed) * kDt, 0.0f);
    float low = bike.steer <= 0.0f ? bike.steer - rate : bike.steer - 1.3f * rate;
    float high = bike.steer <= 0.0f ? bike.steer + 1.3f * rate : bike.steer + rate;
    low = std::clamp(low, -1.0f, 1.0f);
    high = std::clamp(high, -1.0f, 1.0f);

    float steer = bike.steer;
    if (bike.raceStatus >= kFirstAutomaticStatus || bike.steeringAid != 0)
    {
        steer = AutomaticSteer(bike);
    }
    if (bike.raceStatus < kFirstAutomaticStatus)
    {
        steer = CombineWithInput(context, bike, steer, step.steerInput, step.mainNode);
    }
    bike.steer = std::clamp(steer, low, high);

    const float side = sim::Sin(bike.steer * setup.steeringLock);
    step.frontLateral = bike.frontGrip * side;
    step.rearLateral = bike.rearGrip * side;
    const float v = bike.speed;
    if (v > 0.2f)
    {
        // The velocity can be longer than the speed once energy was lost off the ground.
        const float cosine = std::clamp(bike.velocity[2] / v, -1.0f, 1.0f);
        const float course = sim::Acos(cosine);
        bike.course = bike.velocity[0] < 0.0f ? kTwoPi - course : course;
        const float slip = sim::Sin(bike.heading - bike.course);
        step.frontSlip = bike.frontGrip * slip;
        step.rearSlip = bike.rearGrip * slip;
    }
    else
    {
        bike.course = bike.heading;
        step.frontSlip = 0.0f;
        step.rearSlip = 0.0f;
    }
    if (std::fabs(WrapSigned(bike.heading - bike.course)) > 1.35f)
    {
        bike.kineticEnergy = 0.0f;
    }
    step.frontLateralBefore = step.frontLateral;
    step.rearLateralBefore = step.rearLateral;
}

void RunEngine(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step)
{
    const BikeSetup& setup = bike.setup;
    const RaceParameters& params = context.params;
    const float scale = setup.rpmScale;
    const float c = bike.clutch;
    const float wheel = bike.wheelEngineSpeed * bike.inverseRpmScale;
    const float w = wheel * wheel;
    float e = bike.engineSpeedSq;

    e += (1.0f - c) * setup.freeRevvingRate * bike.throttle * kDt;
    float n = SqrtFloat(e) * scale;
    const float relative = n * bike.inverseRpmScale;
    e -= (1.0f - c) * setup.engineFriction * relative * relative * kDt;
    e = std::max(e, setup.idleFloor);
    e -= (e - w) * c * kDt;
    e = std::min(e, 1.8f);
    n = SqrtFloat(std::max(e, 0.0f)) * scale;

    float torque = 0.0f;
    if (bike.shiftTimer <= kShiftTime)
    {
        bike.shiftTimer += kDt;
        e -= (e - w) * c;
    }
    else
    {
        const auto point = std::clamp(static_cast<int32_t>(n / kRpmPerCurvePoint), 0, 199);
        torque = bike.engineCurve[static_cast<size_t>(point)] * c;
        if (torque > 0.0f)
        {
            torque *= bike.throttle;
        }
    }
    bike.engineSpeedSq = e;
    bike.engineRpm = n;

    const size_t gearIndex = static_cast<size_t>(std::clamp(bike.gear, 1, 6) - 1);
    if (params.engineDamage && bike.raceStatus == kStatusPlayer &&
        n > bike.peakTorqueRpm + 500.0f && c > 0.9f)
    {
        bike.gearWear[gearIndex] -= n > 15000.0f ? 0.32f : 0.04f;
    }

    // The engine heats at the speed the clutch leaves it, not at the free-revving peak.
    const float turning = n * bike.inverseRpmScale;
    float t = bike.engineTemperature;
    t += bike.heatFactor * turning * turning * kDt;
    t -= (t - params.airTemperature) * bike.coolingRate * bike.speed * kDt;
    t -= (t - 60.0f) * 0.00012f;
    const bool clamped = t <= 50.0f || t >= 75.0f;
    t = std::clamp(t, 50.0f, 75.0f);
    bike.engineTemperature = t;
    // Once: a rider already out or home keeps its place however hot its engine stays.
    RaceStandings* standings = context.standings;
    if (clamped && params.engineDamage && standings != nullptr &&
        standings->sessionRanks[rider] == session_rank::kRacing)
    {
        standings->RetireRider(rider, true);
    }
    const float deviation = t <= 60.0f ? (60.0f - t) * 0.1f : (t - 60.0f) * 0.08f;

    if (torque > 0.0f)
    {
        torque *= bike.enginePowerFactor;
    }
    float drive = bike.speed <= 0.01f ? torque * 100.0f : torque * (1.0f / bike.speed);
    if (params.engineConditions)
    {
        drive *= 1.0f - deviation * deviation * 0.07f;
    }
    if (params.engineDamage && bike.gearWear[gearIndex] < 0.0f)
    {
        drive *= 0.01f;
    }
    step.drive = drive;
    bike.driveIntensity = drive * step.stepsPerMetre;

    if (bike.standstillBrakeTimer > 2.0f)
    {
        step.frontLateral = -step.frontLateral;
        step.rearLateral = -step.rearLateral;
        step.frontLateralBefore = step.frontLateral;
        step.rearLateralBefore = step.rearLateral;
        step.frontBrake = 0.0f;
        step.rearBrake = 0.0f;
    }
}

void ApplyFrictionCircle(DynamicsContext& context, BikeRecord& bike, StepScratch& step)
{
    const float frontDemand =
        SqrtFloat(step.frontSlip * step.frontSlip + step.frontLateral * step.frontLateral +
                  step.frontBrake * step.frontBrake);
    bike.frontForceDemand = frontDemand;
    bike.frontGripUse = 1.0f;
    if (bike.frontGrip <= 0.0f)
    {
        bike.frontGripReserve = 1.0f;
        step.frontSlip = step.frontLateral = step.frontBrake = 0.0f;
    }
    else
    {
        bike.frontGripReserve = frontDemand > 0.0f ? bike.frontGrip / frontDemand : 1e6f;
        if (frontDemand > bike.frontGrip)
        {
            const float cut = bike.frontGrip / frontDemand;
            step.frontSlip *= cut;
            step.frontLateral *= cut;
            step.frontBrake *= cut;
            bike.frontGripUse = cut;
        }
    }

    const float rearDemand =
        SqrtFloat(step.drive * step.drive + step.rearSlip * step.rearSlip +
                  step.rearLateral * step.rearLateral + step.rearBrake * step.rearBrake);
    bike.rearForceDemand = rearDemand;
    bike.rearGripUse = 1.0f;
    if (bike.rearGrip <= 0.0f)
    {
        bike.rearGripReserve = 0.0f;
        step.drive = step.rearSlip = step.rearLateral = step.rearBrake = 0.0f;
    }
    else
    {
        bike.rearGripReserve = rearDemand > 0.0f ? bike.rearGrip / rearDemand : 100000.0f;
        if (rearDemand > bike.rearGrip)
        {
            const float cut = bike.rearGrip / rearDemand;
            step.drive *= cut;
            step.rearSlip *= cut;
            step.rearLateral *= cut;
            step.rearBrake *= cut;
            bike.rearGripUse = cut;
        }
    }
    step.lateralSum = step.rearLateralBefore + step.frontLateral;
    bike.frontLateralForce = step.frontLateral;
    bike.rearLateralForce = step.rearLateral;
    bike.frontBrakeForce = step.frontBrake;
    bike.rearBrakeForce = step.rearBrake;
    bike.driveForce = step.drive;

    // Hard braking or accelerating in a deep lean slides a wheel away.
    const bool leaning = std::fabs(bike.steer) > 0.7f && bike.speed > 10.0f;
    const bool mayFall = context.params.slideFallsEnabled && bike.raceStatus == kStatusPlayer;
    const bool frontSliding = leaning && bike.frontGripUse < context.classFactor &&
                              bike.brake > 0.9f && bike.frontLoad > bike.frontStaticLoad;
    bike.frontSlideCounter = frontSliding ? bike.frontSlideCounter + 1 : 0;
    if (mayFall && bike.frontSlideCounter > 3)
    {
        bike.crashRequest = 4;
    }
    const bool rearSliding = leaning && bike.rearGripUse < context.classFactor &&
                             bike.throttle > 0.9f && bike.rearLoad > bike.rearStaticLoad;
    bike.rearSlideCounter = rearSliding ? bike.rearSlideCounter + 1 : 0;
    if (mayFall && bike.rearSlideCounter > 3)
    {
        bike.crashRequest = 3;
    }
}

void Slipstream(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step)
{
    float best = 1.0f;
    int32_t leader = static_cast<int32_t>(rider);
    bool found = false;
    for (uint32_t j = 0; j < context.records.size(); ++j)
    {
        const BikeRecord& other = context.records[j];
        const float reach = 0.25f * other.speed;
        const float distanceSquared = context.pairDistances[rider][j];
        if (j == rider || !(distanceSquared < reach * reach))
        {
            continue;
        }
        // A wedge behind the other rider, spanned by two arms either side of its tail.
        const float ux = reach * sim::Sin(other.course + 2.3f);
        const float uz = reach * sim::Cos(other.course + 2.3f);
        const float wx = reach * sim::Sin(other.course - 2.3f);
        const float wz = reach * sim::Cos(other.course - 2.3f);
        const float px = bike.positionX - other.positionX;
        const float pz = bike.positionZ - other.positionZ;
        const float determinant = ux * wz - uz * wx;
        if (determinant == 0.0f)
        {
            continue;
        }
        const float alpha = (px * wz - pz * wx) / determinant;
        const float beta = (ux * pz - uz * px) / determinant;
        if (!(alpha > 0.0f && alpha < 1.0f && beta > 0.0f && beta < 1.0f))
        {
            continue;
        }
        const float k = SqrtFloat(SqrtFloat(distanceSquared / (reach * reach)));
        if (!found || k < best)
        {
            best = k;
            leader = static_cast<int32_t>(j);
            found = true;
        }
    }
    step.dragMultiplier = found ? best : 1.0f;
    bike.slipstreamFactor = found ? 1.0f - best : 1.0f;
    bike.slipstreamRider = leader;
}

void MoveAlongCourse(DynamicsContext& context, BikeRecord& bike, StepScratch& step)
{
    const BikeSetup& setup = bike.setup;
    const float steerSize = std::fabs(bike.steer);
    bike.frontRollingRadius = setup.frontTyreRadius + setup.frontRadiusGrowth * steerSize +
                              (bike.speed - 70.0f) * 0.0002f;
    bike.rearRollingRadius =
        setup.rearTyreRadius + setup.rearRadiusGrowth * steerSize + (bike.speed - 70.0f) * 0.0002f;

    const float v = bike.speed;
    const RacingLineNode& node = context.line.nodes[step.mainNode];
    const float rolling =
        setup.rearRollingCoefficient * bike.rearSurface.rollingFactor * bike.rearLoad +
        setup.frontRollingCoefficient * bike.frontSurface.rollingFactor * bike.frontLoad;
    const float climb = node.slope * sim::Cos(bike.course - node.heading) * bike.weight;
    const float brakeDrag = (setup.frontBrakeDrag + setup.rearBrakeDrag) *
                            (1.0f - setup.tuningValue3 * context.params.trackWetness) *
                            step.effectiveBrake;
    const float force = step.drive - bike.dragFactor * v * v * step.dragMultiplier - rolling -
                        climb - step.frontBrake - step.rearBrake - brakeDrag -
                        std::fabs(step.frontSlip) - std::fabs(step.rearSlip);
    bike.kineticEnergy = std::max(bike.kineticEnergy + step.ds * force, 0.0f);
    bike.speed = SqrtFloat(2.0f * bike.kineticEnergy * bike.inverseMass);
    if (bike.standstillBrakeTimer > 2.0f)
    {
        bike.speed = 1.0f;
    }

    // Turning: a full circle of the curve's radius takes a = 2 pi r / v seconds.
    const float speed = bike.speed;
    const float massSpeed = setup.mass * speed * speed;
    float radius = 10000.0f;
    const float lateralAfter = step.frontLateral + step.rearLateral;
    if (speed > 0.1f && std::fabs(lateralAfter) > 0.001f)
    {
        radius = massSpeed / (step.frontLateralBefore + step.rearLateralBefore);
        if (std::fabs(radius) < 2.5f)
        {
            const bool positive = radius > 0.0f;
            radius = positive ? 2.5f : -2.5f;
            step.lateralSum = positive ? -0.4f * massSpeed : 0.4f * massSpeed;
        }
        const float period = radius * (1.0f / speed) * kTwoPi;
        if (std::fabs(period) > 0.1f)
        {
            bike.heading += (kDt / period) * kTwoPi;
        }
    }
    bike.turnRadius = radius;
    bike.lateralForce = step.lateralSum;

    float diff = WrapSigned(bike.heading - bike.course);
    if (bike.raceStatus == kStatusPlayer)
    {
        diff = std::clamp(diff, -1.0f, 1.0f);
        bike.heading -= (1.0f - std::fabs(diff)) * diff * 0.08f;
    }
    else
    {
        bike.heading -= diff * 0.08f;
    }

    const float sinH = sim::Sin(bike.heading);
    const float cosH = sim::Cos(bike.heading);
    if (bike.standstillBrakeTimer <= 2.0f)
    {
        const float along = step.drive - step.frontBrake - step.rearBrake;
        const float across = step.lateralSum + step.frontSlip + step.rearSlip;
        bike.velocity[0] += (across * cosH + along * sinH) * bike.inverseMass * kDt;
        bike.velocity[2] += (along * cosH - across * sinH) * bike.inverseMass * kDt;
        const float length =
            SqrtFloat(bike.velocity[0] * bike.velocity[0] + bike.velocity[2] * bike.velocity[2]);
        if (length > 0.011f)
        {
            bike.velocity[0] *= speed / length;
            bike.velocity[2] *= speed / length;
        }
        const size_t gearIndex = static_cast<size_t>(std::clamp(bike.gear, 1, 6) - 1);
        bike.wheelEngineSpeed =
            setup.overallRatio[gearIndex] * speed / (bike.rearRollingRadius * 0.10471976f);
    }
    else
    {
        bike.velocity[0] = -sinH;
        bike.velocity[2] = -cosH;
        bike.speed = 0.01f;
    }
}
}  // namespace dynamics
