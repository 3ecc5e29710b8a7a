#pragma once

// The shapes the collisions test with: a bike's hull (117 points on its surface, in the bike's
// own frame), the 12 points of a fallen bike and its rider that meet the ground, and the bike's
// solid, which another bike's hull points are tested against. The race loader hands in the
// model of the class's bike; a race without one (a headless race, a test) uses the standard
// model, whose solid is the box round its hull.
//
// Frames: x to the right, y up, z forward, metres from the bike's reference point on the
// ground. Read-only while a race runs; main thread.

#include <array>
#include <cstddef>

struct WorldObject;

struct ModelPoint
{
    float x;
    float y;
    float z;
};

struct BikeCollisionModel
{
    static constexpr size_t kHullPoints = 117;
    static constexpr size_t kBodyPoints = 12;

    std::array<ModelPoint, kHullPoints> hull;
    std::array<ModelPoint, kBodyPoints> body;
    // The bike's collision solid (a node with a collision body); null: the box below.
    const WorldObject* solid = nullptr;
    ModelPoint boxMin;
    ModelPoint boxMax;

    // Whether a point of the bike's frame lies inside the solid (on its surface counts).
    bool Contains(const ModelPoint& point) const;
};

// A machine 0.7 m wide, 2 m long and 1.2 m high: the hull a grid of 3 across, 3 high and 13
// along; the ground points the corners and middles of the box.
BikeCollisionModel StandardBikeModel();
