// The fall players: the body slides or tumbles over the ground by the clip's root motion,
// turned into the world by the fall's heading, and holds still at the clip's end until its
// hold time runs out. Their results go into the motion channels.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/util/MathUtils.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/SimMath.h"
#include "race/ground/GroundMesh.h"
#include "view/rider/RiderAnimation.h"
#include "view/rider/RiderNodes.h"

namespace
{
constexpr float kMinimumClipSpeed = 0.01f;
constexpr float kBounceSpeedKept = 0.2f;
constexpr float kBounceMoveKept = 0.4f;
constexpr float kBackwardFadePerFrame = 0.04f;
constexpr float kOverBarFadePerFrame = 0.05f;
constexpr float kOverBarPush = 1.2f;
constexpr float kAcosGuard = 0.99999f;

// Where the clip's fading push begins.
constexpr float kPushFromFrame = 1.0f;
}  // namespace

SlideBounce BounceSlideOffEdge(float dx, float dz, float x0, float z0, float x1, float z1)
{
    const float edgeX = x1 - x0;
    const float edgeZ = z1 - z0;
    const float edgeLength = SqrtFloat(edgeX * edgeX + edgeZ * edgeZ);
    float unitX = edgeX;
    float unitZ = edgeZ;
    if (edgeLength > 0.001f)
    {
        unitX /= edgeLength;
        unitZ /= edgeLength;
    }
    const float moveLength = SqrtFloat(dx * dx + dz * dz);
    float angle = std::numbers::pi_v<float> / 2.0f;
    if (moveLength > 0.001f)
    {
        angle = sim::Acos((dx * unitX + dz * unitZ) / moveLength * kAcosGuard);
    }
    if (-(dx * edgeX + dz * edgeZ) > 0.0f)
    {
        angle = -angle;
    }
    const float sine = sim::Sin(2.0f * angle);
    const float cosine = sim::Cos(2.0f * angle);
    return {2.0f * angle, (-dx * cosine - dz * sine) * kBounceMoveKept,
            (dx * sine - dz * cosine) * kBounceMoveKept};
}

// The root's move this step in clip space, with the frame before and after it. At the clip's
// end the hold time runs down; when it runs out the fall ends and nothing more is played.
bool RiderAnimation::MoveRoot(uint32_t rider, MotionFile& clip, float step, RootMove& move)
{
    BikeRecord& bike = bikes_[rider];
    const uint32_t mirror = bike.animFlags & anim_flags::kMirrored;
    float oldX = 0.0f;
    float oldY = 0.0f;
    float oldZ = 0.0f;
    clip.EvaluateRoot(bike.clipFrame, 0.0f, oldX, oldY, oldZ, mirror);
    float y = 0.0f;
    move.newFrame = clip.EvaluateRoot(bike.clipFrame, step, move.dx, y, move.dz, mirror);
    if (!(move.newFrame > bike.clipFrame))
    {
        bike.holdTime -= step;
        if (bike.holdTime < 0.0f)
        {
            EndRiderFall(rider);
            return false;
        }
    }
    bike.clipFrame = move.newFrame;
    move.dx -= oldX;
    move.dz -= oldZ;
    move.rootY = y;
    return true;
}

RiderAnimation::BodyWalk RiderAnimation::WalkBody(BikeRecord& bike, float dx, float dz)
{
    const float heading = bike.fallHeading;
    const float cosine = sim::Cos(heading);
    const float sine = sim::Sin(heading);
    const float worldX = cosine * dx + sine * dz;
    const float worldZ = cosine * dz - sine * dx;
    if (ground_.triangleList == nullptr)
    {
        return {false, worldX, worldZ};
    }
    ground_.cachedTriangle = bike.fallTriangle;
    ground_.x1 = bike.fallX;
    ground_.z1 = bike.fallZ;
    ground_.x2 = bike.fallX + worldX;
    ground_.z2 = bike.fallZ + worldZ;
    ground_.exitEdge = -1;
    GroundWalk(ground_);
    if (ground_.surface == GroundQuery::kNoGround)
    {
        return {false, worldX, worldZ};
    }
    bike.fallX = ground_.x2;
    bike.fallZ = ground_.z2;
    bike.fallTriangle = ground_.cachedTriangle;
    return {true, worldX, worldZ};
}

float RiderAnimation::GroundHeightUnderBody(BikeRecord& bike)
{
    const GroundMesh* mesh = ground_.triangleList;
    if (mesh == nullptr)
    {
        return 0.0f;
    }
    if (!mesh->IsTriangle(bike.fallTriangle))
    {
        ground_.x1 = bike.fallX;
        ground_.z1 = bike.fallZ;
        GroundLookup(ground_);
        if (ground_.surface == GroundQuery::kNoGround)
        {
            return 0.0f;
        }
        bike.fallTriangle = ground_.cachedTriangle;
    }
    return mesh->Triangle(bike.fallTriangle).HeightAt(bike.fallX, bike.fallZ);
}

void RiderAnimation::SetFallChannels(BikeRecord& bike, MotionFile& clip, float height,
                                     const float* hipPitch)
{
    if (WorldObject* hip = bike.links.hip.get())
    {
        SetChannel(ChannelKind::Value, hip->placement.x, bike.fallX);
        SetChannel(ChannelKind::Value, hip->placement.y, height);
        SetChannel(ChannelKind::Value, hip->placement.z, bike.fallZ);
    }
    for (int32_t part = 0; part < kMotionPartCount; ++part)
    {
        WorldObject* node = BodyPartNode(bike.links, part);
        if (node == nullptr)
        {
            continue;
        }
        float angles[3];
        clip.EvaluatePart(part, angles[0], angles[1], angles[2]);
        if (part == 0)
        {
            angles[1] += bike.fallHeading;
            if (hipPitch != nullptr)
            {
                angles[0] = *hipPitch;
            }
        }
        for (size_t k = 0; k < 3; ++k)
        {
            SetChannel(ChannelKind::Angle, node->angles[k], angles[k]);
        }
    }
}

// The slides move the body as fast as the rider went when he fell, and bounce off the edge
// of the ground: a turn by the reflection and a fifth of the speed.
void RiderAnimation::PlaySlideClip(uint32_t rider, MotionFile& clip, float step)
{
    BikeRecord& bike = bikes_[rider];
    RootMove move;
    if (!MoveRoot(rider, clip, step, move))
    {
        return;
    }
    if (clip.Speed() > kMinimumClipSpeed)
    {
        const float scale = bike.slideSpeed / clip.Speed() * step;
        move.dx *= scale;
        move.dz *= scale;
    }
    const BodyWalk walk = WalkBody(bike, move.dx, move.dz);
    if (!walk.onGround)
    {
        const GroundMesh* mesh = ground_.triangleList;
        if (mesh != nullptr && ground_.exitEdge >= 0 && mesh->IsTriangle(ground_.cachedTriangle))
        {
            const GroundTriangle triangle = mesh->Triangle(ground_.cachedTriangle);
            const auto from = static_cast<size_t>(ground_.exitEdge / 4);
            const size_t to = (from + 1) % 3;
            const SlideBounce bounce =
                BounceSlideOffEdge(walk.worldX, walk.worldZ, triangle.x[from], triangle.z[from],
                                   triangle.x[to], triangle.z[to]);
            bike.fallHeading -= bounce.turn;
        }
        bike.slideSpeed *= kBounceSpeedKept;
    }
    bike.fallY = GroundHeightUnderBody(bike) + move.rootY;
    SetFallChannels(bike, clip, bike.fallY, nullptr);
}

void RiderAnimation::PlayFallClip(uint32_t rider, MotionFile& clip, float step, float extraX,
                                  float extraZ)
{
    BikeRecord& bike = bikes_[rider];
    RootMove move;
    if (!MoveRoot(rider, clip, step, move))
    {
        return;
    }
    WalkBody(bike, move.dx + extraX * step, move.dz + extraZ * step);
    bike.fallY = GroundHeightUnderBody(bike) + move.rootY;
    SetFallChannels(bike, clip, bike.fallY, nullptr);
}

// Falling off backwards: the body keeps some of the bike's speed for the first frames and
// sinks from where it sat to the clip's height over the ground.
void RiderAnimation::PlayBackwardFall(uint32_t rider, MotionFile& clip, float step)
{
    PlayFadingFall(rider, clip, step, {kBackwardFadePerFrame, 1.0f, true});
}

// Thrown over the handlebar: pushed on a little further than the bike went.
void RiderAnimation::PlayOverBarFall(uint32_t rider, MotionFile& clip, float step)
{
    PlayFadingFall(rider, clip, step, {kOverBarFadePerFrame, kOverBarPush, false});
}

// The falls that begin with the rider's own motion: his speed pushes the body on and his hip's
// pitch blends into the clip's over the first frames.
void RiderAnimation::PlayFadingFall(uint32_t rider, MotionFile& clip, float step,
                                    const FadingFall& fall)
{
    BikeRecord& bike = bikes_[rider];
    RootMove move;
    if (!MoveRoot(rider, clip, step, move))
    {
        return;
    }
    const float weight = std::max(0.0f, 1.0f - bike.clipFrame * fall.fadePerFrame);
    if (bike.clipFrame >= kPushFromFrame)
    {
        move.dz += bike.slideSpeed * weight * fall.push * step;
    }
    WalkBody(bike, move.dx, move.dz);
    const float onGround = GroundHeightUnderBody(bike) + move.rootY;
    float height = onGround;
    if (fall.sinksFromSeat)
    {
        height = bike.fallY * weight + onGround * (1.0f - weight);
    }
    else
    {
        bike.fallY = onGround;
    }
    const float hipPitch = BlendedHipPitch(bike, clip, weight);
    SetFallChannels(bike, clip, height, &hipPitch);
}

// The hip's pitch when the fall began, blended out into the clip's.
float RiderAnimation::BlendedHipPitch(const BikeRecord& bike, MotionFile& clip, float weight) const
{
    float pitch = 0.0f;
    float heading = 0.0f;
    float bank = 0.0f;
    clip.EvaluatePart(0, pitch, heading, bank);
    return bike.fallPitch * weight + pitch * (1.0f - weight);
}

void RiderAnimation::SetChannel(ChannelKind kind, float& target, float value)
{
    if (channels_ != nullptr)
    {
        channels_->Set(kind, &target, value);
    }
    else
    {
        target = value;
    }
}
