#include "race/laps/GhostPose.h"

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"

RiderObjectLinks::Link& BikeLink(RiderObjectLinks& links, size_t slot)
{
    switch (slot)
    {
        case 0:
            return links.bikeRoot;
        case 1:
            return links.bikePart;
        case 2:
            return links.bikeBody;
        case 3:
            return links.bike;
        case 4:
            return links.hip;
        case 5:
            return links.seat;
        case 6:
        case 7:
        case 8:
            return links.furtherBikeNodes[slot - 6];
        case 9:
            return links.frontDust;
        case 10:
            return links.rearDust;
        case 11:
            return links.rearSpray;
        case 12:
            return links.torso;
        case 13:
            return links.helmet;
        case 14:
        case 15:
            return links.upperArms[slot - 14];
        case 16:
        case 17:
            return links.lowerArms[slot - 16];
        case 18:
        case 19:
            return links.hands[slot - 18];
        case 20:
        case 21:
            return links.thighs[slot - 20];
        default:
            break;
    }
    return links.lowerLegs[slot - 22];
}

WorldObject* BikeNode(const BikeRecord& bike, size_t slot)
{
    return BikeLink(const_cast<RiderObjectLinks&>(bike.links), slot).get();
}

float& PoseValue(WorldObject& node, PoseField field)
{
    switch (field)
    {
        case PoseField::AngleA:
            return node.angles[0];
        case PoseField::AngleB:
            return node.angles[1];
        case PoseField::AngleC:
            return node.angles[2];
        case PoseField::PlacementX:
            return node.placement.x;
        case PoseField::PlacementY:
            return node.placement.y;
        case PoseField::PlacementZ:
            return node.placement.z;
        case PoseField::PivotX:
            return node.pivot.x;
        case PoseField::PivotY:
            return node.pivot.y;
        case PoseField::PivotZ:
            break;
    }
    return node.pivot.z;
}
