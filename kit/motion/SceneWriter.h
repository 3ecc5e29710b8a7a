#pragma once

// Motion scene texts (".lws") in the part of the scene format the game reads: the preview
// frame range, and per object a "LoadObject" line, three lines the readers pass over, the key
// count and two lines per key, closed by "EndBehavior". Lines end in CR LF.
//
// Keys are given in the steps the game stores (positions in 1/64 unit, angles in 8192 per
// turn) and written as units and degrees that convert back to exactly those steps.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "view/motion/MotionTracks.h"

namespace kit
{
struct SceneObjectKey
{
    int32_t frame = 0;
    MotionTriple position{};  // x, y, z
    MotionTriple angles{};    // pitch, heading, bank
};

struct SceneObject
{
    std::string fileName;  // the object's file, Windows-1252: the readers find it by name
    std::vector<SceneObjectKey> keys;
};

std::vector<uint8_t> WriteMotionScene(int32_t firstFrame, int32_t lastFrame,
                                      std::span<const SceneObject> objects);
}  // namespace kit
