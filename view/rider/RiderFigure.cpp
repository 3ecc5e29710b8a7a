// The rider's body leaving his bike at a fall and coming back to it: where it hangs in the
// object world, what is shown, and what a fall's end sets right.

#include "app/world/ObjectWorld.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/ground/GroundMesh.h"
#include "view/rider/RiderAnimation.h"
#include "view/rider/RiderNodes.h"

namespace
{
constexpr float kFigureRadius = 2.0f;
constexpr Vector3 kSeatedHip = {0.0f, 0.7f, 0.0f};
constexpr Vector3 kLowSeatedHip = {0.0f, 0.083f, -0.062f};
constexpr float kOutOfTheWay = 10000.0f;

// Node flags of the right lower leg while the body is off the seat or low on it, and of the
// seat node itself: rotation order 4, drawn at once, and the low seat hidden.
constexpr uint16_t kLegFlags = 0x8004;
constexpr uint16_t kSeatFlags = 0x0004;
constexpr uint16_t kLowSeatFlags = 0x8014;
constexpr uint16_t kHiddenPart = object_flags::kNoOwnPolygons;

// The right lower leg's link to its rider's seat: the rider's index under this tag, in a word
// the object world and the engine leave alone.
constexpr uint32_t kSeatLinkTag = 0x5EA70000;

// The bike's part nodes a fall's end brings back to rest: the part node at this height.
constexpr float kRestingPartHeight = 0.013f;

void SetHidden(WorldObject* node, bool hidden)
{
    if (node != nullptr)
    {
        node->flags = hidden ? node->flags | kHiddenPart : node->flags & ~kHiddenPart;
    }
}
}  // namespace

void RiderAnimation::DetachFallenRider(uint32_t rider)
{
    if (rider >= bikes_.size())
    {
        return;
    }
    BikeRecord& bike = bikes_[rider];
    WorldObject* hip = bike.links.hip.get();
    if (hip == nullptr)
    {
        return;
    }
    world_.RecalcMatrix(hip);
    bike.fallX = hip->viewTranslation.x;
    bike.fallY = hip->viewTranslation.y;
    bike.fallZ = hip->viewTranslation.z;
    bike.fallPitch = hip->angles[0];

    // From the bike's place to the body's; a body beside the ground falls where the bike is.
    bike.fallTriangle = bike.referenceTriangle;
    if (ground_.triangleList != nullptr)
    {
        ground_.cachedTriangle = bike.referenceTriangle;
        ground_.x1 = bike.positionX;
        ground_.z1 = bike.positionZ;
        ground_.x2 = bike.fallX;
        ground_.z2 = bike.fallZ;
        GroundWalk(ground_);
        if (ground_.surface != GroundQuery::kNoGround)
        {
            bike.fallTriangle = ground_.cachedTriangle;
        }
        else
        {
            bike.fallX = bike.positionX;
            bike.fallZ = bike.positionZ;
        }
    }

    WorldObject* seat = bike.links.seat.get();
    if (sharedFigure_ == nullptr || !world_.DetachObject(hip, seat, kAttachChild))
    {
        return;
    }
    hip->placement = {};
    hip->pivot = {};
    world_.AttachObject(hip, sharedFigure_, 0.0f, 0.0f, 0.0f, kAttachSubObject, kFigureRadius);
    if (WorldObject* leg = bike.links.lowerLegs[1].get())
    {
        leg->flags = kLegFlags;
        leg->unused1[0] = 0;
    }
    seat->flags = kSeatFlags;
}

void RiderAnimation::EndRiderFall(uint32_t rider)
{
    if (rider >= bikes_.size())
    {
        return;
    }
    BikeRecord& bike = bikes_[rider];
    if (rider == playerRider_ && services_->IsPlayerRacing())
    {
        bike.flags &= ~(bike_flags::kDown | bike_flags::kFalling | bike_flags::kInactive);
        WorldObject* hip = bike.links.hip.get();
        if (sharedFigure_ != nullptr && world_.DetachObject(hip, sharedFigure_, kAttachSubObject))
        {
            world_.AttachObject(hip, bike.links.seat.get(), kSeatedHip.x, kSeatedHip.y,
                                kSeatedHip.z, kAttachChild, kFigureRadius);
        }
        AddRestChannels(bike);
        services_->PutRiderBackOnLine(rider);
        ShowBodyNodes(bike, true);
        ShowBikeNodes(bike, true);
        // After the nodes are shown: the on-board view hides its rider and his bike's outside.
        services_->ReturnCameraToRider();
        return;
    }
    ShowBodyNodes(bike, false);
    bike.animFlags |= anim_flags::kNotAnimated;
    if (bike.clipId == rider_clip::kDismount)
    {
        // The rider who got off leaves with his bike.
        ShowBikeNodes(bike, false);
        if (WorldObject* root = bike.links.bikeRoot.get())
        {
            root->placement.x = kOutOfTheWay;
            root->placement.z = kOutOfTheWay;
        }
        bike.positionX = kOutOfTheWay;
        bike.positionZ = kOutOfTheWay;
        bike.flags |= bike_flags::kInactive;
    }
}

// The bike's part and body nodes come back from the crash's tumble.
void RiderAnimation::AddRestChannels(BikeRecord& bike)
{
    if (WorldObject* part = bike.links.bikePart.get())
    {
        SetChannel(ChannelKind::Value, part->placement.y, kRestingPartHeight);
        for (float& angle : part->angles)
        {
            SetChannel(ChannelKind::Angle, angle, 0.0f);
        }
    }
    if (WorldObject* body = bike.links.bikeBody.get())
    {
        SetChannel(ChannelKind::Value, body->placement.y, 0.0f);
        SetChannel(ChannelKind::Value, body->pivot.x, 0.0f);
        SetChannel(ChannelKind::Value, body->pivot.y, 0.0f);
        SetChannel(ChannelKind::Value, body->pivot.z, 0.0f);
        for (float& angle : body->angles)
        {
            SetChannel(ChannelKind::Angle, angle, 0.0f);
        }
    }
}

WorldObject* RiderAnimation::SeatRiderLow(uint32_t rider)
{
    if (rider >= bikes_.size())
    {
        return nullptr;
    }
    BikeRecord& bike = bikes_[rider];
    WorldObject* hip = bike.links.hip.get();
    WorldObject* seat = bike.links.seat.get();
    if (sharedFigure_ != nullptr && seat != nullptr &&
        world_.DetachObject(hip, sharedFigure_, kAttachSubObject))
    {
        world_.AttachObject(hip, seat, kLowSeatedHip.x, kLowSeatedHip.y, kLowSeatedHip.z,
                            kAttachChild, kFigureRadius);
    }
    if (WorldObject* leg = bike.links.lowerLegs[1].get())
    {
        leg->flags = kLegFlags;
        leg->unused1[0] = kSeatLinkTag | rider;
    }
    if (seat != nullptr)
    {
        seat->flags = kLowSeatFlags;
    }
    return hip;
}

void RiderAnimation::ShowBodyNodes(BikeRecord& bike, bool show)
{
    for (int32_t part = 0; part < kMotionPartCount; ++part)
    {
        SetHidden(BodyPartNode(bike.links, part), !show);
    }
}

void RiderAnimation::ShowBikeNodes(BikeRecord& bike, bool show)
{
    RiderObjectLinks& links = bike.links;
    for (RiderObjectLinks::Link* link :
         {&links.bikeRoot, &links.bikePart, &links.bikeBody, &links.bike,
          &links.furtherBikeNodes[0], &links.furtherBikeNodes[1], &links.furtherBikeNodes[2]})
    {
        SetHidden(link->get(), !show);
    }
}
