#pragma once

// The names of the other players of a network race, each over his bike where the camera sees
// it in front, near enough to read. Main thread only.

#include <cstdint>
#include <span>
#include <string_view>

#include "app/world/ObjectWorld.h"
#include "core/world/MeshRecords.h"
#include "view/hud/HudCanvas.h"

struct HudFrame;

inline constexpr uint32_t kNetNameColour = 0x64FF64;

// The part of a name after its first space, or the whole name when it has none (or nothing
// follows the space).
std::string_view SplitFirstWord(std::string_view name);

// bikeViews: per rider the view-space position of his bike's node, as the engine left it this
// frame. Riders of netRiders (bit r for rider r) other than the player get their name when
// neither down nor out and between 1.0 and 200.0 in front of the camera.
void DrawNetPlayerNames(const HudFrame& frame, uint32_t netRiders,
                        std::span<const Vector3> bikeViews, const ProjectionValues& projection,
                        HudCanvas& canvas);
