#pragma once

// The rider's body nodes by body part, in the order of the motion clips' tracks: hip, torso,
// thighs, lower legs, upper arms, lower arms, hands (left before right), helmet.

#include <cstdint>

#include "race/BikeRecord.h"

struct WorldObject;

inline RiderObjectLinks::Link& BodyPartLink(RiderObjectLinks& links, int32_t part)
{
    switch (part)
    {
        case 0:
            return links.hip;
        case 1:
            return links.torso;
        case 2:
        case 3:
            return links.thighs[static_cast<size_t>(part - 2)];
        case 4:
        case 5:
            return links.lowerLegs[static_cast<size_t>(part - 4)];
        case 6:
        case 7:
            return links.upperArms[static_cast<size_t>(part - 6)];
        case 8:
        case 9:
            return links.lowerArms[static_cast<size_t>(part - 8)];
        case 10:
        case 11:
            return links.hands[static_cast<size_t>(part - 10)];
        default:
            return links.helmet;
    }
}

inline WorldObject* BodyPartNode(RiderObjectLinks& links, int32_t part)
{
    return BodyPartLink(links, part).get();
}
