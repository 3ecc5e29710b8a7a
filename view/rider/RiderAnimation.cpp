#include "view/rider/RiderAnimation.h"

#include "app/world/ObjectWorld.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"
#include "view/rider/RiderNodes.h"

namespace
{
constexpr float kFootDownSpeed = 5.0f;  // m/s; below it a foot goes down
constexpr float kBrakingForFootDown = 0.3f;
constexpr float kFootDownFramesPerSpeed = 0.2f;
constexpr float kStartStopStep = 0.001f;
constexpr float kBikeDriftPerBank = 0.04f;
constexpr uint32_t kClipRunning = bike_flags::kDown | bike_flags::kFalling;
}  // namespace

RiderAnimation::RiderAnimation(ObjectWorld& world, RiderMotionSet& clips,
                               std::span<BikeRecord> bikes)
    : world_(world), clips_(clips), bikes_(bikes)
{
}

void RiderAnimation::SetServices(RiderFallServices* services)
{
    services_ = services != nullptr ? services : &defaultServices_;
}

MotionFile* RiderAnimation::ClipOf(const BikeRecord& bike) const
{
    if (bike.clipId >= clips_.size() || !clips_[bike.clipId].IsLoaded())
    {
        return nullptr;
    }
    return &clips_[bike.clipId];
}

void RiderAnimation::AnimateRider(uint32_t rider, float step)
{
    if (rider >= bikes_.size())
    {
        return;
    }
    BikeRecord& bike = bikes_[rider];
    if ((bike.animFlags & anim_flags::kNotAnimated) != 0)
    {
        return;
    }
    if ((bike.flags & kClipRunning) == 0)
    {
        if (bike.speed < kFootDownSpeed)
        {
            PoseStartStop(bike);
        }
        else
        {
            bike.flags = 0;
        }
        return;
    }
    MotionFile* clip = ClipOf(bike);
    if (clip == nullptr)
    {
        return;
    }
    // The crash code of the simulation starts a fall by the record alone; the body leaves
    // the bike with the fall's first step.
    const WorldObject* hip = bike.links.hip.get();
    if ((clip->Flags() & kClipFall) != 0 && bike.clipFrame == 0.0f && hip != nullptr &&
        hip->parent == bike.links.seat)
    {
        DetachFallenRider(rider);
    }
    if (bike.clipId == rider_clip::kBackwardFall)
    {
        PlayBackwardFall(rider, *clip, step);
    }
    else if (bike.clipId == rider_clip::kOverBarFall)
    {
        PlayOverBarFall(rider, *clip, step);
    }
    else if ((clip->Flags() & kClipDrivesBike) != 0)
    {
        PlayClipWithBike(bike, *clip, step);
    }
    else if ((clip->Flags() & kClipFall) == 0)
    {
        PlayClip(bike, *clip, step);
    }
    else if ((clip->Flags() & kClipRootScaledByRate) != 0)
    {
        PlaySlideClip(rider, *clip, step);
    }
    else if ((clip->Flags() & kClipFallPlayer) != 0)
    {
        PlayFallClip(rider, *clip, step, 0.0f, 0.0f);
    }
}

// The foot comes up as the bike gathers speed (clip 10 from its first frame) and goes down as
// it brakes to a stop (clip 12 towards its last frame).
void RiderAnimation::PoseStartStop(BikeRecord& bike)
{
    const bool braking = bike.brake > kBrakingForFootDown;
    const uint32_t id = braking ? rider_clip::kStopFootDown : rider_clip::kStartFootUp;
    MotionFile& clip = clips_[id];
    if (!clip.IsLoaded())
    {
        return;
    }
    const float into = braking ? kFootDownSpeed - bike.speed : bike.speed;
    bike.clipId = id;
    bike.clipFrame = static_cast<float>(clip.FrameCount() - 1) * into * kFootDownFramesPerSpeed;
    PlayClip(bike, clip, kStartStopStep);
    bike.flags |= bike_flags::kFootDown;
}

void RiderAnimation::PlayClip(BikeRecord& bike, MotionFile& clip, float step)
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    const float frame =
        clip.EvaluateRoot(bike.clipFrame, step, x, y, z, bike.animFlags & anim_flags::kMirrored);
    if (!(frame > bike.clipFrame))
    {
        bike.flags = 0;
        return;
    }
    bike.clipFrame = frame;
    PoseBodyDirectly(bike, clip, x, y, z);
}

// Mirrored by the side the bike leans to when the clip began.
void RiderAnimation::PlayClipWithBike(BikeRecord& bike, MotionFile& clip, float step)
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    const float frame = clip.EvaluateRoot(bike.clipFrame, step, x, y, z, bike.fallBank > 0.0f);
    if (!(frame > bike.clipFrame))
    {
        bike.flags &= ~bike_flags::kFalling;
        return;
    }
    bike.clipFrame = frame;
    PoseBodyDirectly(bike, clip, x, y, z);
    bike.fallY = y;

    float pitch = 0.0f;
    float heading = 0.0f;
    float bank = 0.0f;
    clip.EvaluateBikeAngles(pitch, heading, bank);
    bike.steer = bike.fallLean;
    if (WorldObject* body = bike.links.bikeBody.get())
    {
        body->angles[2] = bank + bike.fallBank;
    }
    if (WorldObject* root = bike.links.bikeRoot.get())
    {
        root->angles[1] = heading + bike.fallHeading;
        // The bike drifts sideways as far as the clip banks it.
        const float drift = bike.speed * bank * kBikeDriftPerBank;
        root->placement.x += sim::Cos(bike.fallHeading) * drift;
        root->placement.z -= sim::Sin(bike.fallHeading) * drift;
    }
}

void RiderAnimation::PoseBodyDirectly(BikeRecord& bike, MotionFile& clip, float x, float y, float z)
{
    if (WorldObject* hip = bike.links.hip.get())
    {
        hip->placement = {x, y, z};
    }
    for (int32_t part = 0; part < kMotionPartCount; ++part)
    {
        if (WorldObject* node = BodyPartNode(bike.links, part))
        {
            clip.EvaluatePart(part, node->angles[0], node->angles[1], node->angles[2]);
        }
    }
}

bool RiderAnimation::StartRiderClip(uint32_t rider, uint32_t clipId, float fallHeading,
                                    float slideSpeed, float fallBank, float fallLean)
{
    if (rider >= bikes_.size() || clipId >= clips_.size())
    {
        return false;
    }
    BikeRecord& bike = bikes_[rider];
    if ((bike.flags & bike_flags::kFalling) != 0)
    {
        return false;
    }
    constexpr float kHoldTime = 10.0f;
    bike.flags |= bike_flags::kFalling;
    bike.clipId = clipId;
    bike.clipFrame = 0.0f;
    bike.fallHeading = fallHeading;
    bike.slideSpeed = slideSpeed;
    bike.fallBank = fallBank;
    bike.fallLean = fallLean;
    bike.holdTime = kHoldTime;
    bike.animFlags = 0;
    if ((clips_[clipId].Flags() & kClipFall) != 0)
    {
        DetachFallenRider(rider);
    }
    return true;
}

void RiderAnimation::SetRiderClipMirror(uint32_t rider, bool on)
{
    if (rider >= bikes_.size())
    {
        return;
    }
    uint32_t& flags = bikes_[rider].animFlags;
    flags = on ? flags | anim_flags::kMirrored : flags & ~anim_flags::kMirrored;
}
