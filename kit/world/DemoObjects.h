#pragma once

// The demo installation's objects: a textured box, a sphere-ish mesh with two coarser levels of
// detail, a ground plane and a billboard list, generated bit for bit the same on every machine.
// They draw with texture numbers the installation's textures are expected under.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kit/CprWriter.h"
#include "kit/world/BillboardListWriter.h"
#include "kit/world/ObjectFileWriter.h"

namespace kit
{
inline constexpr std::string_view kDemoCircuitName = "demo";
inline constexpr std::string_view kDemoBoxObject = "objekte/demo/box.4do";
inline constexpr std::string_view kDemoSphereObject = "objekte/demo/sphere.4do";
inline constexpr std::string_view kDemoSphereLevels[2] = {"objekte/demo/sphere_lod1.4do",
                                                          "objekte/demo/sphere_lod2.4do"};
inline constexpr std::string_view kDemoGroundObject = "objekte/demo/ground.4do";

inline constexpr uint32_t kDemoBoxTexture = 100;
inline constexpr uint32_t kDemoSphereTexture = 101;  // a plain white picture: flat polygons
inline constexpr uint32_t kDemoGroundTexture = 102;
inline constexpr uint32_t kDemoBillboardTexture = 103;

// A cube of edge 2 x halfSize around the origin, each face the whole picture, upright as seen
// from outside, shaded by a light from above and in front.
Mesh TexturedBox(float halfSize, uint32_t textureNumber);
// A sphere of rings x segments flat-shaded polygons (triangles at the poles), each one colour
// over a plain picture.
Mesh SphereMesh(float radius, int rings, int segments, uint32_t textureNumber);
// A square at y = 0 facing up, tiles x tiles polygons, the picture once per tile.
Mesh GroundPlane(float halfSize, int tiles, uint32_t textureNumber);
// Trees in a ring around the origin.
std::vector<Billboard> DemoBillboards(uint32_t textureNumber);

// Adds the objects to the objects archive.
bool AddDemoObjects(CprWriter& objectsArchive, std::string& error);
}  // namespace kit
