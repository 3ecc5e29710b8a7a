#pragma once

// Small meshes for the object world's tests, made with the kit's writer.

#include <cstdint>

#include "kit/world/ObjectFileWriter.h"

// A square around (0, 0, z) in the plane z = z, seen from the -z side, the whole picture of
// the texture slot on it (upright), tinted with the colour.
kit::Mesh FacingSquare(float halfSize, float z, uint32_t slot = 0, uint32_t colour = 0xFFFFFF);

// Two squares seen from -z: a small one at z = -1 (slot 0) and a large one at z = 1
// (slot 1). The small one splits the root; the large one lies on its negative side.
kit::Mesh TwoWalls();

// A square of a textured and an environment-mapped triangle with normals, in two nodes.
kit::Mesh MixedMesh();

// A regular polygon of the given number of corners around (0, 0, z), seen from -z.
kit::Mesh RegularPolygon(int corners, float radius, float z);
