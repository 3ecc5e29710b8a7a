#pragma once

// The flat track object of the telemetry's 3D view: a generated circuit's ground laid flat
// (y = 0), asphalt where the ground is track and run-off beside it, facing up; and the
// pictures it is drawn with, as a texture container.

#include <cstdint>
#include <vector>

#include "kit/race/CircuitGenerator.h"
#include "kit/world/ObjectFileWriter.h"

namespace kit
{
// Their own numbers, so that loading them never replaces a race picture.
inline constexpr uint32_t kFlatAsphaltTexture = 2100;
inline constexpr uint32_t kFlatRunOffTexture = 2101;

Mesh FlatTrackMesh(const std::vector<TrackTriangle>& ground);
std::vector<uint8_t> FlatTrackPictures();
}  // namespace kit
