// Crashed bikes: they slide over the ground losing energy to its friction, tumble and settle
// on their side, bounce off the ground and the edges of the mesh, and once they have lain
// still for their crash time they are taken off the circuit.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/RaceEvents.h"
#include "race/SimMath.h"
#include "race/collision/CollisionManager.h"
#include "race/collision/CrossedEdge.h"

namespace
{
constexpr float kGravity = 9.81f;
constexpr float kSettleSpeed = 30.0f;  // below it the tumble settles
constexpr float kSettleRate = 4.0f;    // rad/s^2 towards a resting angle
constexpr float kStandstill = 0.01f;
constexpr float kSlideTurn = 0.1f;  // towards the slide direction, per m/s
constexpr float kYawPerSpin = 3.0f;
constexpr uint32_t kMoveRetries = 5;
constexpr float kHardTouchdown = 1.0f;  // m/s downwards
constexpr float kSoundPerSpeed = 0.125f;
constexpr size_t kSlideSoundLevel = 4;  // the effect level the collisions set
constexpr float kEdgeBounce = 0.4f;
constexpr float kEdgeMargin = 1.1f;
constexpr float kStuckEnergy = 0.1f;
constexpr float kPi = sim::kPi;
constexpr float kHalfPi = 0.5f * sim::kPi;

// Gravel and sand: a bike digs in and settles whatever its speed.
bool DigsIn(int32_t surface)
{
    return surface == 1 || surface == 2;
}

// The angle modulo pi, in 0..pi.
float ModuloPi(float angle)
{
    return angle - std::floor(angle / kPi) * kPi;
}

// Turns the rate towards the resting angle nearest the angle (resting angles lie pi apart,
// the first at offset); an angle that swung through it is damped or held.
void Settle(float& angle, float& rate, float before, float offset, float damping, float loss,
            float dt)
{
    const float m = ModuloPi(angle - offset);
    const float rest = m < kHalfPi ? angle - m : angle - m + kPi;
    rate += (m < kHalfPi ? -kSettleRate : kSettleRate) * dt;
    const bool swungThrough = (before - rest) * (angle - rest) <= 0.0f && before != angle;
    if (!swungThrough)
    {
        return;
    }
    if (loss >= 0.01f)
    {
        rate *= damping;
    }
    else
    {
        angle = rest;
        rate = 0.0f;
    }
}

// The velocity turned towards the direction by at most the angle, its length kept.
void TurnTowards(std::array<float, 3>& v, const std::array<float, 2>& direction, float angle)
{
    const float current = sim::Atan2(v[0], v[2]);
    const float wanted = sim::Atan2(direction[0], direction[1]);
    const float difference = sim::WrapSigned(wanted - current);
    const float turned = current + std::clamp(difference, -angle, angle);
    const float speed = SqrtFloat(v[0] * v[0] + v[2] * v[2]);
    v[0] = sim::Sin(turned) * speed;
    v[2] = sim::Cos(turned) * speed;
}
}  // namespace

void CollisionManager::SimulateFallenRiders(uint32_t riderCount, float dt)
{
    const uint32_t count = std::min<uint32_t>(riderCount, static_cast<uint32_t>(bikes_.size()));
    for (uint32_t rider = 0; rider < count; ++rider)
    {
        const BikeRecord& bike = bikes_[rider];
        // A bike whose crash time has run out has been taken off already.
        if (bike.IsDown() && !bike.IsInactive() && bike.crashTimer >= 0.0f)
        {
            SimulateFallenRider(rider, dt);
        }
    }
}

void CollisionManager::SimulateFallenRider(uint32_t rider, float dt)
{
    BikeRecord& bike = Bike(rider);
    const float mass = bike.setup.mass > 0.0f ? bike.setup.mass : 1.0f;
    auto& angles = bike.crashTumbleAngles;
    angles = {sim::WrapSigned(angles[0]), sim::WrapSigned(angles[1])};
    const float coefficient = bike.crashSurfaceCoefficient;
    bike.crashSecondRate -= bike.crashSecondRate / (35.0f - coefficient);

    const float loss = mass * coefficient * bike.speed * dt;
    if (bike.crashSpinRate > 0.01f)
    {
        bike.crashSpinRate -= 0.0002f * loss;
    }
    float before[2] = {angles[0], angles[1]};
    angles[0] += bike.crashSpinRate * dt;
    angles[1] += bike.crashRollRate * dt;
    if (DigsIn(bike.crashSurface) || bike.speed < kSettleSpeed)
    {
        SettleTumble(bike, before, loss, dt);
    }

    bike.crashEnergy = std::max(bike.crashEnergy - loss, 0.0f);
    bike.speed = SqrtFloat(2.0f * bike.crashEnergy / mass);
    if (bike.speed <= kStandstill)
    {
        bike.crashEnergy = 0.0f;
        bike.speed = 0.0f;
        bike.velocity[0] = 0.0f;
        bike.velocity[2] = 0.0f;
        bike.crashTimer -= dt;
    }
    else
    {
        const float horizontal =
            SqrtFloat(bike.velocity[0] * bike.velocity[0] + bike.velocity[2] * bike.velocity[2]);
        if (horizontal > 0.0f)
        {
            bike.velocity[0] *= bike.speed / horizontal;
            bike.velocity[2] *= bike.speed / horizontal;
        }
        if (bike.crashSurface > 3)
        {
            TurnTowards(bike.velocity, bike.slideDirection, kSlideTurn * bike.speed * dt);
        }
    }
    bike.heading = sim::WrapAngle(bike.heading + kYawPerSpin * bike.crashSpinRate * dt);

    const float oldX = bike.positionX;
    const float oldZ = bike.positionZ;
    SlideOverGround(bike, dt);
    ComputeBodyPoints(rider);
    TouchGroundWithBody(rider, oldX, oldZ);
    PlaceFallenBike(bike);
    if (bike.crashTimer < 0.0f)
    {
        HideRiderParts(rider);
    }
}

void CollisionManager::SettleTumble(BikeRecord& bike, float before[2], float loss, float dt)
{
    // End over end it rests upright or upside down; about its length, on either side.
    Settle(bike.crashTumbleAngles[0], bike.crashSpinRate, before[0], 0.0f, 0.4f, loss, dt);
    Settle(bike.crashTumbleAngles[1], bike.crashRollRate, before[1], kHalfPi, 0.5f, loss, dt);
}

// The move of the step, shortened until it ends on the ground.
void CollisionManager::SlideOverGround(BikeRecord& bike, float dt)
{
    const float dx = bike.velocity[0] * dt;
    const float dz = bike.velocity[2] * dt;
    bike.groundHeight += bike.velocity[1] * dt;
    bike.velocity[1] -= kGravity * dt;
    if (ground_.triangleList == nullptr)
    {
        bike.positionX += dx;
        bike.positionZ += dz;
        return;
    }
    for (uint32_t attempt = 0; attempt <= kMoveRetries; ++attempt)
    {
        const float share = 1.0f - 0.2f * static_cast<float>(attempt);
        ground_.cachedTriangle = bike.crashTriangle;
        ground_.x1 = bike.positionX;
        ground_.z1 = bike.positionZ;
        ground_.x2 = bike.positionX + dx * share;
        ground_.z2 = bike.positionZ + dz * share;
        GroundWalk(ground_);
        if (ground_.surface == GroundQuery::kNoGround)
        {
            continue;
        }
        bike.positionX = ground_.x2;
        bike.positionZ = ground_.z2;
        bike.crashTriangle = ground_.cachedTriangle;
        const float coefficient = SurfaceCoefficient(ground_.surface);
        if (coefficient != bike.crashSurfaceCoefficient)
        {
            bike.crashRollRate = -bike.crashRollRate;
        }
        bike.crashSurface = ground_.surface;
        bike.crashSurfaceCoefficient = coefficient;
        return;
    }
}

void CollisionManager::TouchGroundWithBody(uint32_t rider, float oldX, float oldZ)
{
    BikeRecord& bike = Bike(rider);
    if (ground_.triangleList == nullptr)
    {
        return;
    }
    uint32_t touching = 0;
    float deepest = 0.0f;
    bool bounced = false;
    for (const ModelPoint& point : bodies_[rider])
    {
        ground_.cachedTriangle = bike.crashTriangle;
        ground_.x1 = bike.positionX;
        ground_.z1 = bike.positionZ;
        ground_.x2 = point.x;
        ground_.z2 = point.z;
        ground_.exitEdge = -1;
        GroundWalk(ground_);
        if (ground_.surface != GroundQuery::kNoGround)
        {
            const float depth = ground_.height - point.y;
            if (depth >= 0.0f)
            {
                ++touching;
                deepest = std::max(deepest, depth);
            }
            continue;
        }
        if (bounced)
        {
            continue;
        }
        bounced = true;
        CrossedEdge edge{};
        if (!CrossedEdge::Of(ground_, edge))
        {
            // Lost without an edge to bounce off: back to where the step began.
            bike.velocity = {bike.velocity[0] * -0.1f, bike.velocity[1], bike.velocity[2] * -0.1f};
            bike.positionX = oldX;
            bike.positionZ = oldZ;
            bike.crashEnergy = std::min(bike.crashEnergy, kStuckEnergy);
            continue;
        }
        // Off the edge of the ground: reflected, slowed, and moved back inside.
        edge.Reflect(bike.velocity[0], bike.velocity[2], kEdgeBounce);
        bike.crashEnergy *= kEdgeBounce;
        bike.speed =
            SqrtFloat(bike.velocity[0] * bike.velocity[0] + bike.velocity[2] * bike.velocity[2]);
        float penetration = 0.0f;
        for (const ModelPoint& other : bodies_[rider])
        {
            penetration = std::max(penetration, edge.Outside(other.x, other.z));
        }
        bike.positionX += edge.uz * penetration * kEdgeMargin;
        bike.positionZ -= edge.ux * penetration * kEdgeMargin;
    }
    if (touching == 0)
    {
        bike.crashGroundContact = 0;
        return;
    }
    const float downwards = -bike.velocity[1];
    if (downwards > kHardTouchdown)
    {
        bike.crashSpinRate *= 0.3f;
        bike.crashRollRate *= 0.3f;
        if (bike.crashImpactPlayed == 0)
        {
            bike.crashImpactPlayed = 1;
            raceEvents_->AddSound(RaceSound::Impact, rider, step_);
        }
    }
    if (bike.velocity[1] < 0.0f)
    {
        bike.velocity[1] = downwards / std::max(bike.crashSurfaceCoefficient, 1.0f);
    }
    bike.effectLevels[kSlideSoundLevel] = std::min(bike.speed * kSoundPerSpeed, 1.0f);
    bike.crashGroundContact = 1;
    bike.groundHeight += deepest;
}

// The bike's nodes follow: the turn, the tumble and the height through the channels, the
// place at once.
void CollisionManager::PlaceFallenBike(BikeRecord& bike)
{
    WorldObject* root = bike.links.bikeRoot.get();
    if (root != nullptr)
    {
        root->placement.x = bike.positionX;
        root->placement.z = bike.positionZ;
        channels_->Set(ChannelKind::Angle, &root->angles[1], bike.heading);
        channels_->Set(ChannelKind::Value, &root->placement.y, bike.groundHeight);
    }
    if (WorldObject* body = bike.links.bikeBody.get())
    {
        channels_->Set(ChannelKind::Angle, &body->angles[0], bike.crashTumbleAngles[0]);
        channels_->Set(ChannelKind::Angle, &body->angles[2], bike.crashTumbleAngles[1]);
    }
}
