// Road bumps, load transfer, the suspension and the wheel springs below it, wheelies and
// stoppies: the middle of a rider's step.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/SimMath.h"
#include "race/dynamics/BikeDynamics.h"
#include "race/standings/RaceStandings.h"

namespace dynamics
{
namespace
{
constexpr float kRandomScale = 1.0f / 32768.0f;
constexpr float kWheelieLimit = -0.6f;
constexpr float kStoppieLimit = -0.2f;
constexpr int16_t kWheelieStallStatus = -6;  // the final status of a rider down from a wheelie

// One end of the bike: the fork or the rear damper with its wheel spring.
struct Wheel
{
    float springRate, travel, wheelMass;
    float firstDamping, secondDamping;  // magnitudes of the two damping products
    float staticLoad, rollingRadius, wheelBase;
    float& verticalForce;
    float& compression;
    float& compressionSpeed;
    float& extension;
    float& extensionSpeed;
    float& momentum;
    float& wheelForce;
    float& margin;
    float& springForce;
    float& bumpForce;
    float& load;
    float& liftHeight;
    float& liftSpeed;
    int32_t surfaceClass;
};

Wheel FrontWheel(BikeRecord& bike)
{
    const BikeSetup& s = bike.setup;
    return {s.frontSpringRate,
            s.frontTravel,
            s.frontWheelMass,
            std::fabs(s.frontOilFactor * s.frontCompression),
            std::fabs(s.frontOilValue * s.frontRebound),
            bike.frontStaticLoad,
            bike.frontRollingRadius,
            s.frontWheelBase,
            bike.frontVerticalForce,
            bike.frontCompression,
            bike.frontCompressionSpeed,
            bike.frontWheelExtension,
            bike.frontWheelExtensionSpeed,
            bike.frontWheelMomentum,
            bike.frontWheelForce,
            bike.frontBottomMargin,
            bike.frontSpringForce,
            bike.frontBumpForce,
            bike.frontLoad,
            bike.frontLiftState.height,
            bike.frontLiftState.speed,
            bike.frontSurface.surfaceClass};
}

Wheel RearWheel(BikeRecord& bike)
{
    const BikeSetup& s = bike.setup;
    return {s.rearSpringRate,
            s.rearTravel,
            s.rearWheelMass,
            std::fabs(s.rearOilFactor * s.rearCompression),
            std::fabs(s.rearOilValue * s.rearRebound),
            bike.rearStaticLoad,
            bike.rearRollingRadius,
            s.rearWheelBase,
            bike.rearVerticalForce,
            bike.rearCompression,
            bike.rearCompressionSpeed,
            bike.rearWheelExtension,
            bike.rearWheelExtensionSpeed,
            bike.rearWheelMomentum,
            bike.rearWheelForce,
            bike.rearBottomMargin,
            bike.rearSpringForce,
            bike.rearBumpForce,
            bike.rearLoad,
            bike.rearLiftState.height,
            bike.rearLiftState.speed,
            bike.rearSurface.surfaceClass};
}

// The bump generator runs on the surface under the front wheel: gaps and bumps of a length
// and height the step's random words choose.
void RunBumps(const DynamicsContext& context, BikeRecord& bike, float ds)
{
    const float previous = bike.bumpHeight;
    const int32_t surface = bike.frontSurface.surfaceClass;
    if (surface < 0 || static_cast<size_t>(surface) >= context.params.bumps.size())
    {
        bike.bumpHeight = 0.0f;
        if (!(bike.bumpGap > 0.0f))
        {
            bike.bumpGap = 1.0f;
        }
        bike.bumpHeightChange = previous;
        return;
    }
    const BumpRow& row = context.params.bumps[static_cast<size_t>(surface)];
    const float r1 = static_cast<float>(context.random1) * kRandomScale;
    const float r2 = static_cast<float>(context.random2) * kRandomScale;
    if (bike.bumpGap > 0.0f)
    {
        bike.bumpGap -= ds;
        bike.bumpHeight = 0.0f;
        if (bike.bumpGap < 0.0f)
        {
            bike.bumpGap = 0.0f;
            bike.bumpLength = row.lengthBase + r1 * row.lengthSpread;
            bike.bumpAmplitude = row.amplitudeBase + r2 * row.amplitudeSpread;
            bike.bumpRemaining = bike.bumpLength;
        }
    }
    else
    {
        const float before = bike.bumpRemaining;
        bike.bumpRemaining -= ds;
        if (bike.bumpRemaining < 0.0f)
        {
            bike.bumpHeight = 0.0f;
            bike.bumpGap = std::max(row.gapBase + r1 * row.gapSpread, 1e-3f);
        }
        else if (before > 0.5f * bike.bumpLength && bike.bumpRemaining <= 0.5f * bike.bumpLength)
        {
            bike.bumpHeight = 2.0f * bike.bumpAmplitude;
        }
        else
        {
            const float phase = kTwoPi * bike.bumpRemaining / bike.bumpLength;
            bike.bumpHeight = bike.bumpAmplitude * (1.0f - sim::Cos(phase));
        }
    }
    bike.bumpHeightChange = previous - bike.bumpHeight;
}

// The share of the braking or accelerating force that the wheel's geometry moves onto it.
float TransferShare(const BikeRecord& bike, const Wheel& wheel)
{
    const float lever = bike.setup.centreOfGravityHeight - wheel.rollingRadius;
    const float cosP = sim::Cos(bike.pitch);
    const float sinP = sim::Sin(bike.pitch);
    const float a = lever * cosP + wheel.wheelBase * sinP + wheel.rollingRadius;
    const float b = wheel.wheelBase * cosP - lever * sinP;
    const float sum = a * a + b * b;
    return sum > 0.0f ? a * a / sum : 0.0f;
}

float TowardsZero(float speed, float by)
{
    if (speed > 0.0f)
    {
        return std::max(speed - by, 0.0f);
    }
    return std::min(speed + by, 0.0f);
}

void RunSuspension(const BikeRecord& bike, Wheel& wheel, float bumpSpeed, float bumpHeight)
{
    const float inverseMass = bike.inverseMass;
    const float oldExtension = wheel.extension;
    wheel.extensionSpeed +=
        (wheel.springRate * wheel.compression - wheel.verticalForce) * inverseMass * 0.08f;
    wheel.extensionSpeed = std::min(wheel.extensionSpeed, 2.0f);
    wheel.extension = std::min(wheel.extension + wheel.extensionSpeed * kDt, 0.35f);
    const float momentum = (wheel.extension - oldExtension) * kStepsPerSecond *
                           (0.5f * bike.setup.mass - wheel.wheelMass);
    wheel.wheelForce = (momentum - wheel.momentum) * kStepsPerSecond;
    wheel.momentum = momentum;

    const float springBack = -wheel.springRate * wheel.compression;
    const float pushing = wheel.margin > 0.0f || bike.pitch < 0.0f
                              ? springBack
                              : wheel.bumpForce + wheel.verticalForce + springBack;
    wheel.compressionSpeed += (pushing - wheel.wheelForce) * inverseMass * 0.08f;
    const float damping = wheel.compressionSpeed > 0.0f ? wheel.firstDamping : wheel.secondDamping;
    wheel.compressionSpeed =
        TowardsZero(wheel.compressionSpeed, SqrtFloat(10.0f * std::fabs(wheel.compressionSpeed)) *
                                                damping * 0.1f * inverseMass * 0.08f);

    wheel.compression += wheel.compressionSpeed * kDt;
    wheel.springForce = wheel.compression * wheel.springRate;
    if (wheel.compression > wheel.travel)
    {
        wheel.compression = wheel.travel;
        wheel.springForce = 0.0f;
        wheel.compressionSpeed = 0.0f;
        wheel.extensionSpeed = std::max(wheel.extensionSpeed, 0.5f * bumpSpeed);
    }
    else if (wheel.compression < 0.0f)
    {
        wheel.compression = 0.0f;
        wheel.springForce = 0.0f;
        wheel.compressionSpeed = 0.0f;
    }

    wheel.margin = wheel.extension + wheel.compression - wheel.travel - bumpHeight;
    if (wheel.margin >= 0.0f)
    {
        wheel.springForce = 0.0f;
    }
    else
    {
        wheel.extension = wheel.travel - wheel.compression + bumpHeight;
        wheel.margin = 0.0f;
        wheel.compressionSpeed = bumpSpeed > 0.0f ? bumpSpeed : 0.0f;
    }
}

void RunLift(const BikeRecord& bike, Wheel& wheel, bool unloaded, float stiffness)
{
    const float force = unloaded
                            ? -wheel.liftHeight * stiffness
                            : wheel.verticalForce - wheel.liftHeight * stiffness - wheel.bumpForce;
    wheel.liftSpeed += force * bike.inverseMass * kDt;
    const float size = SqrtFloat(0.6f * std::fabs(wheel.liftSpeed));
    const float rate = wheel.liftSpeed < 0.0f ? 140.0f : 70.0f;
    wheel.liftSpeed = TowardsZero(wheel.liftSpeed, size * rate * 0.4f * bike.inverseMass);
    wheel.liftHeight += wheel.liftSpeed * kDt;
    if (wheel.liftHeight > wheel.travel)
    {
        wheel.liftHeight = wheel.travel;
        wheel.liftSpeed = 0.0f;
    }
    else if (wheel.liftHeight < -0.05f)
    {
        wheel.liftHeight = -0.05f;
        wheel.liftSpeed = 0.0f;
    }
}

void RunLiftAngles(DynamicsContext& context, uint32_t rider, BikeRecord& bike)
{
    float front = bike.frontLift;
    if (bike.liftButton != 0)
    {
        front -= 0.04f;
    }
    const float frontForce = bike.frontVerticalForce * bike.inverseMass;
    const float k = frontForce > 0.0f ? 0.008f : (bike.raceStatus == 0 ? 0.0144f : 0.0072f);
    front = std::min(front + frontForce * k, 0.0f);
    if (front < kWheelieLimit)
    {
        front = kWheelieLimit;
        bike.wheelieTimer += kDt;
        if (bike.wheelieTimer > 2.5f && context.params.fallsEnabled)
        {
            bike.crashRequest = 5;
            if (context.standings != nullptr)
            {
                context.standings->SetFinalStatus(rider, kWheelieStallStatus);
            }
        }
    }
    else
    {
        bike.wheelieTimer = 0.0f;
    }
    bike.frontLift = front;

    const float rearForce = bike.rearVerticalForce * bike.inverseMass;
    bike.rearLift = std::clamp(bike.rearLift + rearForce * (rearForce > 0.0f ? 0.008f : 0.0008f),
                               kStoppieLimit, 0.0f);
    bike.pitch = bike.rearLift < 0.0f ? bike.rearLift : (front < 0.0f ? -front : 0.0f);
}
}  // namespace

void RunChassis(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step)
{
    RunBumps(context, bike, step.ds);
    bike.acceleration = std::min((bike.speed - step.previousSpeed) * kStepsPerSecond, 24.0f);

    const float t = sim::Tan(bike.steer);
    const float q = SqrtFloat(0.49f * t * t + 1.0f);
    step.steerLoadFactor = q;
    Wheel front = FrontWheel(bike);
    Wheel rear = RearWheel(bike);
    const float massAcceleration = bike.setup.mass * bike.acceleration;
    bike.frontVerticalForce =
        (bike.frontStaticLoad - TransferShare(bike, front) * massAcceleration) * q;
    bike.rearVerticalForce =
        (TransferShare(bike, rear) * massAcceleration + bike.rearStaticLoad) * q;

    const float bumpSpeed = bike.bumpHeightChange * -kStepsPerSecond;
    const float previousBumpSpeed = bike.frontBumpState;
    bike.frontBumpForce = std::max(
        (front.wheelMass * bumpSpeed - front.wheelMass * previousBumpSpeed) * kStepsPerSecond,
        0.0f);
    bike.rearBumpForce = std::max(
        (rear.wheelMass * bumpSpeed - rear.wheelMass * previousBumpSpeed) * kStepsPerSecond, 0.0f);
    bike.frontBumpState = bumpSpeed;
    bike.rearBumpState = bumpSpeed;

    RunSuspension(bike, front, bumpSpeed, bike.bumpHeight);
    RunSuspension(bike, rear, bumpSpeed, bike.bumpHeight);

    const float df = context.difficultyFactor;
    for (Wheel* wheel : {&front, &rear})
    {
        const float load = wheel->surfaceClass < 4 ? wheel->verticalForce / q
                                                   : (1.0f - df) * wheel->springForce / q +
                                                         df * wheel->verticalForce / q;
        wheel->load = std::max(load, 0.0f);
    }

    RunLift(bike, front, bike.pitch > 0.0f && bike.frontVerticalForce > 0.0f, 14000.0f);
    RunLift(bike, rear, bike.pitch < 0.0f && bike.rearVerticalForce > 0.0f, 20000.0f);
    RunLiftAngles(context, rider, bike);
}
}  // namespace dynamics
