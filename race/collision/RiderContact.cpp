// Two riders that touch: rider b's hull against rider a's solid, the crashes and falls the
// touch causes when the attrition lets it take a rider out, and the push the two give each
// other.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/BikeRecord.h"
#include "race/RaceEvents.h"
#include "race/SimMath.h"
#include "race/collision/CollisionManager.h"

namespace
{
constexpr float kThrowOffSpeed = 20.0f;
constexpr float kLaunchSpeed = 33.0f;  // above it a rider thrown off flies
constexpr float kStandstill = 0.01f;
constexpr float kOwnShare = 0.3f;  // of the velocity after the touch
constexpr float kYawWeight = 8.0f;
constexpr float kSideImpulse = 0.09f;
constexpr float kContactTime = 0.5f;
constexpr float kDt = 0.04f;
constexpr uint32_t kPushBackSteps = 5;

// Race statuses whose riders nobody hits from behind: resting in the pit box, waiting for a
// practice run.
bool Untouchable(uint32_t status)
{
    return status == 3 || status == 6;
}

// A crashed bike whose crash time ran out has left the circuit; all such wait in one place.
bool TakenOff(const BikeRecord& bike)
{
    return bike.IsDown() && bike.crashTimer < 0.0f;
}

float HorizontalSpeed(const std::array<float, 3>& v)
{
    return SqrtFloat(v[0] * v[0] + v[2] * v[2]);
}

// The direction of a horizontal velocity and its climb.
float Yaw(const std::array<float, 3>& v)
{
    return sim::Atan2(v[0], v[2]);
}
float Climb(const std::array<float, 3>& v)
{
    return sim::Atan2(v[1], HorizontalSpeed(v));
}
}  // namespace

uint32_t CollisionManager::CollideRiders(uint32_t a, uint32_t b)
{
    BikeRecord& bikeA = Bike(a);
    BikeRecord& bikeB = Bike(b);
    if (bikeA.IsInactive() || bikeB.IsInactive() || Untouchable(bikeB.raceStatus) ||
        TakenOff(bikeA) || TakenOff(bikeB))
    {
        return 1;
    }
    ModelPoint contact{};
    if (!FindContact(a, b, contact))
    {
        return 0;
    }
    const float speedA = HorizontalSpeed(bikeA.velocity);
    const float speedB = HorizontalSpeed(bikeB.velocity);
    float cosine = 0.0f;
    if (speedA > kStandstill && speedB > kStandstill)
    {
        cosine = (bikeA.velocity[0] * bikeB.velocity[0] + bikeA.velocity[2] * bikeB.velocity[2]) /
                 (speedA * speedB);
    }
    const bool thrownA = ThrowOffCrashed(a, b, speedA);
    const bool thrownB = ThrowOffCrashed(b, a, speedB);
    FallFromContact(a, b, speedA, speedB, cosine);
    FallFromContact(b, a, speedB, speedA, cosine);
    RespondToContact(a, b, contact, {thrownA, thrownB});
    return 1;
}

// The first of b's hull points inside a's solid, pushed back along b's travel to where it
// entered. Points of a standing b, and contacts too close to either centre to give a direction,
// are passed over.
bool CollisionManager::FindContact(uint32_t a, uint32_t b, ModelPoint& contact)
{
    RefreshHull(b);
    RefreshBodyPoints(b);
    const BikeRecord& bikeA = Bike(a);
    const BikeRecord& bikeB = Bike(b);
    const HullFrame frameA = FrameOf(bikeA);
    const std::array<float, 3>& v = bikeB.velocity;
    const float speed = SqrtFloat(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    bool heard = false;
    for (const ModelPoint& point : hulls_[b])
    {
        if (!model_->Contains(IntoFrame(frameA, point.x, point.y, point.z)))
        {
            continue;
        }
        if (!heard && bikeA.flags == 0)
        {
            raceEvents_->AddSound(RaceSound::Collision, a, step_);
        }
        heard = true;
        if (speed < 0.001f)
        {
            continue;
        }
        ModelPoint p = point;
        float scale = 1.0f / (50.0f * speed);
        for (uint32_t i = 0; i < kPushBackSteps; ++i)
        {
            if (!model_->Contains(IntoFrame(frameA, p.x, p.y, p.z)))
            {
                break;
            }
            p = {p.x - v[0] * scale, p.y - v[1] * scale, p.z - v[2] * scale};
            scale *= 2.0f;
        }
        const float ax = p.x - bikeA.positionX;
        const float az = p.z - bikeA.positionZ;
        const float bx = p.x - bikeB.positionX;
        const float bz = p.z - bikeB.positionZ;
        if (SqrtFloat(ax * ax + az * az) * SqrtFloat(bx * bx + bz * bz) < 0.001f)
        {
            continue;
        }
        contact = p;
        return true;
    }
    return false;
}

// A rider who runs into a crashed one at speed goes over the bars.
bool CollisionManager::ThrowOffCrashed(uint32_t rider, uint32_t other, float speed)
{
    BikeRecord& bike = Bike(rider);
    if (speed <= kThrowOffSpeed || bike.IsDown() || !Bike(other).IsDown() ||
        CheckCrashOutFor(rider, other) == 0)
    {
        return false;
    }
    SetCrashState(rider, crash_animation::kOverTheBars);
    KeepCrashEnergy(bike);
    bike.crashSpinRate = bike.crashEnergy * 0.0002f;
    bike.crashRollRate = 0.5f;
    if (bike.speed > kLaunchSpeed)
    {
        bike.velocity[1] = bike.speed / 7.0f;
    }
    return true;
}

// A touch at an angle at speed, from a much faster rider, or while leaning hard brings the
// rider down.
void CollisionManager::FallFromContact(uint32_t rider, uint32_t other, float speed,
                                       float otherSpeed, float cosine)
{
    BikeRecord& bike = Bike(rider);
    if (bike.IsDown())
    {
        return;
    }
    bool falls = false;
    if (speed >= kStandstill)
    {
        const float ratio = otherSpeed / speed;
        falls = (std::fabs(cosine) < 0.9f && speed > kThrowOffSpeed) || ratio > 2.0f ||
                std::fabs(bike.steer) * ratio > 0.8f;
    }
    else
    {
        falls = otherSpeed > kThrowOffSpeed;
    }
    if (falls && CheckCrashOutFor(rider, other) != 0)
    {
        ChooseCrash(rider, 1);
    }
}

void CollisionManager::RespondToContact(uint32_t a, uint32_t b, const ModelPoint& contact,
                                        std::array<bool, 2> thrownOff)
{
    BikeRecord& bikeA = Bike(a);
    BikeRecord& bikeB = Bike(b);
    const std::array<float, 3> oldA = bikeA.velocity;
    const std::array<float, 3> oldB = bikeB.velocity;
    std::array<float, 3> blendedA{};
    std::array<float, 3> blendedB{};
    for (size_t k = 0; k < 3; ++k)
    {
        blendedA[k] = kOwnShare * oldA[k] + (1.0f - kOwnShare) * oldB[k];
        blendedB[k] = kOwnShare * oldB[k] + (1.0f - kOwnShare) * oldA[k];
    }
    // The touch turns a rider as far as it changes his direction: about the vertical by the
    // change of heading, about his length by the change of climb.
    const auto spinOf = [](const std::array<float, 3>& before, const std::array<float, 3>& after)
    { return sim::WrapSigned(Yaw(after) - Yaw(before)) * kYawWeight; };
    const auto rollOf = [](const std::array<float, 3>& before, const std::array<float, 3>& after)
    { return Climb(after) - Climb(before); };

    // Where along a's length the touch was: ahead of the middle, a keeps less of its energy.
    const float along = (contact.x - bikeA.positionX) * sim::Sin(bikeA.heading) +
                        (contact.z - bikeA.positionZ) * sim::Cos(bikeA.heading);

    // The faster one is pushed off the contact point.
    BikeRecord& faster = HorizontalSpeed(oldA) > HorizontalSpeed(oldB) ? bikeA : bikeB;
    faster.positionX += 0.1f * (faster.positionX - contact.x);
    faster.positionZ += 0.1f * (faster.positionZ - contact.z);
    bikeA.positionX += kDt * oldB[0];
    bikeA.positionZ += kDt * oldB[2];
    bikeB.positionX += kDt * oldA[0];
    bikeB.positionZ += kDt * oldA[2];

    const struct
    {
        BikeRecord& bike;
        const BikeRecord& other;
        const std::array<float, 3>& before;
        const std::array<float, 3>& blended;
        float energyScale;
        bool thrownOff;
    } sides[] = {{bikeA, bikeB, oldA, blendedA, 0.8f - 0.4f * along, thrownOff[0]},
                 {bikeB, bikeA, oldB, blendedB, 0.8f + 0.4f * along, thrownOff[1]}};
    for (const auto& side : sides)
    {
        BikeRecord& bike = side.bike;
        const float inverseMass = bike.inverseMass > 0.0f ? bike.inverseMass : 0.0f;
        if (bike.IsDown())
        {
            // Already down (and not just thrown off): carried along.
            if (side.thrownOff)
            {
                continue;
            }
            bike.velocity = side.blended;
            bike.crashSpinRate = spinOf(side.before, side.blended);
            bike.crashRollRate = rollOf(side.before, side.blended);
            bike.speed = SqrtFloat(bike.velocity[0] * bike.velocity[0] +
                                   bike.velocity[1] * bike.velocity[1] +
                                   bike.velocity[2] * bike.velocity[2]);
            bike.crashEnergy = 0.5f * bike.setup.mass * bike.speed * bike.speed;
            continue;
        }
        // Pushed sideways, away from the other rider.
        const float sinH = sim::Sin(bike.heading);
        const float cosH = sim::Cos(bike.heading);
        const float lateral = (side.other.positionX - bike.positionX) * cosH -
                              (side.other.positionZ - bike.positionZ) * sinH;
        const float away = lateral > 0.0f ? -1.0f : 1.0f;
        const std::array<float, 3>& pusher = side.other.velocity;
        const float impulseX = kSideImpulse * away * pusher[2];
        const float impulseZ = -kSideImpulse * away * pusher[0];
        bike.crashSpinRate = spinOf(side.before, side.blended);
        bike.crashRollRate = rollOf(side.before, side.blended);
        bike.kineticEnergy = std::max(bike.kineticEnergy * side.energyScale, 0.0f);
        bike.speed = SqrtFloat(2.0f * bike.kineticEnergy * inverseMass);
        const float dx = side.blended[0] + impulseX;
        const float dz = side.blended[2] + impulseZ;
        const float length = SqrtFloat(dx * dx + dz * dz);
        if (length > 0.0f)
        {
            bike.velocity[0] = dx / length * bike.speed;
            bike.velocity[2] = dz / length * bike.speed;
        }
        bike.flags |= kContactFlag;
        bike.contactTimer = kContactTime;
    }
    if (bikeA.IsDown() || bikeB.IsDown())
    {
        return;
    }
    // One of the two shows the other what he thinks of it; never the player.
    uint32_t faller = b;
    if (b == playerRider_)
    {
        faller = a;
    }
    else if (a != playerRider_ && (a & 1) != 0)
    {
        faller = a;
    }
    const uint32_t type =
        (RandomWord() & 0x80) == 0 ? fall_type::kThreat : fall_type::kAngryGesture;
    if (StartFall(faller, type))
    {
        Mirror(Bike(faller), Bike(faller).steer > 0.0f);
    }
}
