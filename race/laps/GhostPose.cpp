#include "race/laps/GhostPose.h"

#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"

WorldObject* BikeNode(const BikeRecord& bike, size_t slot)
{
    return reinterpret_cast<WorldObject*>(region::Address(bike.objectLinks[slot]));
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
            break;
    }
    return node.placement.z;
}
