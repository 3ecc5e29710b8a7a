#include "tests/race/ground/GridGround.h"

#include <span>

#include "core/world/MeshRecords.h"

std::vector<kit::TrackTriangle> GridTriangles(const GridSpec& spec)
{
    const auto index = [&](uint32_t i, uint32_t j) { return 2 * (j * spec.columns + i); };
    std::vector<kit::TrackTriangle> triangles;
    for (uint32_t j = 0; j < spec.rows; ++j)
    {
        for (uint32_t i = 0; i < spec.columns; ++i)
        {
            const float x0 = spec.originX + static_cast<float>(i) * spec.cellSize;
            const float z0 = spec.originZ + static_cast<float>(j) * spec.cellSize;
            const float x1 = x0 + spec.cellSize;
            const float z1 = z0 + spec.cellSize;
            // y = slope z: 0 x + 1 y - slope z + 0 = 0.
            const std::array<float, 4> plane = {0.0f, 1.0f, -spec.slope, 0.0f};
            const int32_t self = static_cast<int32_t>(index(i, j));
            kit::TrackTriangle lower{
                spec.surface, plane, {-1, self + 1, -1}, {x0, z0, x0, z1, x1, z0}};
            kit::TrackTriangle upper{spec.surface, plane, {-1, self, -1}, {x1, z1, x1, z0, x0, z1}};
            if (i > 0)
            {
                lower.neighbours[0] = static_cast<int32_t>(index(i - 1, j) + 1);
            }
            if (j > 0)
            {
                lower.neighbours[2] = static_cast<int32_t>(index(i, j - 1) + 1);
            }
            if (i + 1 < spec.columns)
            {
                upper.neighbours[0] = static_cast<int32_t>(index(i + 1, j));
            }
            if (j + 1 < spec.rows)
            {
                upper.neighbours[2] = static_cast<int32_t>(index(i, j + 1));
            }
            triangles.push_back(lower);
            triangles.push_back(upper);
        }
    }
    return triangles;
}

BoundGround::BoundGround(const std::vector<kit::TrackTriangle>& triangles)
    : image_(kit::WriteTrackCollisionFile(triangles))
{
    const TrackCollisionModel* model =
        RelocateTrackCollisionImage(image_.data(), static_cast<uint32_t>(image_.size()));
    if (model != nullptr)
    {
        mesh_ = GroundMesh::Bind(*model);
    }
}
