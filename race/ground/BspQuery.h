#pragma once

// The inside test of a point against an object's collision solid, a binary space partition
// whose node planes split space into a front (distance above zero) and a back. Single
// precision throughout. The object loader has checked the tree (every node reached once), so
// the walk ends. Main thread.

#include <cstdint>

struct WorldObject;

struct BspQuery
{
    float x = 0.0f;  // the point, in the object's frame
    float y = 0.0f;
    float z = 0.0f;
    const WorldObject* object = nullptr;
    uint32_t depth = 0;  // result: 0 outside, else the nodes visited on the way in
    float lastDistance = 0.0f;
};

// From the root: a distance above zero (not +0.0) goes to the front child, anything else to
// the back child. Falling off the front gives depth 0; falling off the back gives the number
// of nodes visited. An object without a collision solid is never entered.
void BspPointInside(BspQuery& query);
