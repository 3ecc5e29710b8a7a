#pragma once

// A motion clip designed as keys, from which the kit writes both its scene text and its cache.
// Every object (the 13 body parts in track order, then the bike) starts with a key at frame 0,
// and between two keys each value moves by a whole number of steps per frame: the game's
// step-by-step filling of the frames between keys then gives the plain straight line, and the
// cache written here is what the game makes of the scene text.

#include <array>
#include <cstdint>
#include <vector>

#include "kit/motion/MotionCacheWriter.h"
#include "kit/motion/SceneWriter.h"

namespace kit
{
struct Vec3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

class ClipDesign
{
public:
    static constexpr int32_t kBikeObject = kMotionPartCount;

    explicit ClipDesign(int32_t frameCount);

    // Keys of one object come in rising frames below the frame count. Positions are in
    // units, angles in degrees as (pitch, heading, bank); the hip carries the body's root.
    ClipDesign& Hip(int32_t frame, Vec3 position, Vec3 angles);
    ClipDesign& Part(int32_t part, int32_t frame, Vec3 angles);
    ClipDesign& Bike(int32_t frame, Vec3 position, Vec3 angles);

    int32_t FrameCount() const { return frameCount_; }
    // The 13 body parts and the bike, each with its keys.
    std::vector<SceneObject> SceneObjects() const;
    ClipSlots Slots(float rate) const;

private:
    void AddKey(int32_t object, int32_t frame, Vec3 position, Vec3 angles);
    std::vector<MotionTriple> Expand(int32_t object, bool positions) const;

    int32_t frameCount_;
    std::array<std::vector<SceneObjectKey>, kMotionPartCount + 1> objects_;
};
}  // namespace kit
