#pragma once

// Ground meshes for the race tests: a rectangular grid of square cells, two triangles each,
// with every neighbour link set, turned into the list the race binds exactly as the object
// world loads a ".4co" file.

#include <cstdint>
#include <optional>
#include <vector>

#include "app/world/ObjectFileImage.h"
#include "kit/world/TrackCollisionWriter.h"
#include "race/ground/GroundMesh.h"

struct GridSpec
{
    uint32_t columns = 4;  // cells along x
    uint32_t rows = 4;     // cells along z
    float cellSize = 1.0f;
    float originX = 0.0f;
    float originZ = 0.0f;
    uint32_t surface = 4;
    float slope = 0.0f;  // height rises by slope per metre of z
};

// Cell (i, j) holds triangles 2 (j columns + i) and 2 (j columns + i) + 1.
std::vector<kit::TrackTriangle> GridTriangles(const GridSpec& spec);

// A file image relocated into the list form and bound; the image must outlive the mesh.
class BoundGround
{
public:
    explicit BoundGround(const std::vector<kit::TrackTriangle>& triangles);
    explicit BoundGround(const GridSpec& spec) : BoundGround(GridTriangles(spec)) {}

    const GroundMesh& Mesh() const { return *mesh_; }
    bool Bound() const { return mesh_.has_value(); }
    std::vector<uint8_t>& Image() { return image_; }

private:
    std::vector<uint8_t> image_;
    std::optional<GroundMesh> mesh_;
};
