#include "kit/race/GroundMesh.h"

#include <array>
#include <unordered_map>

namespace kit
{
namespace
{
constexpr size_t kColumns = 6;

// Lateral offsets of the cross-section's vertices: the run-off edges, the track edges, and two
// columns on the track that no lane lies on.
std::array<double, kColumns> Columns(const CircuitShape& shape)
{
    const double edge = shape.trackHalfWidthMetres;
    const double lane = shape.laneOffsetMetres;
    return {-(edge + shape.runOffMetres), -edge, -0.5 * lane, 1.5 * lane, edge,
            edge + shape.runOffMetres};
}

struct Vertex
{
    float x;
    float z;
};

uint64_t EdgeKey(uint32_t from, uint32_t to)
{
    return uint64_t{from} << 32 | to;
}

TrackTriangle FlatTriangle(uint32_t surface, const std::array<Vertex, 3>& corners)
{
    TrackTriangle triangle;
    triangle.surface = surface;
    triangle.plane = {0.0f, 1.0f, 0.0f, 0.0f};
    for (size_t i = 0; i < 3; ++i)
    {
        triangle.corners[2 * i] = corners[i].x;
        triangle.corners[2 * i + 1] = corners[i].z;
    }
    return triangle;
}
}  // namespace

double SignedArea(const TrackTriangle& triangle)
{
    double area = 0.0;
    for (size_t i = 0; i < 3; ++i)
    {
        const size_t j = (i + 1) % 3;
        area += static_cast<double>(triangle.corners[2 * i]) * triangle.corners[2 * j + 1] -
                static_cast<double>(triangle.corners[2 * j]) * triangle.corners[2 * i + 1];
    }
    return area;
}

std::vector<TrackTriangle> BuildGroundMesh(const CentreLine& centre, double start, double spacing,
                                           uint16_t nodes, const CircuitShape& shape)
{
    const std::array<double, kColumns> columns = Columns(shape);
    std::vector<Vertex> vertices;
    for (uint16_t row = 0; row < nodes; ++row)
    {
        const CentrePose pose = centre.At(start + (row + 0.5) * spacing);
        for (const double lateral : columns)
        {
            vertices.push_back({static_cast<float>(pose.LateralX(lateral)),
                                static_cast<float>(pose.LateralZ(lateral))});
        }
    }
    const auto id = [&](uint32_t row, size_t column)
    { return static_cast<uint32_t>((row % nodes) * kColumns + column); };

    std::vector<TrackTriangle> triangles;
    std::vector<std::array<uint32_t, 3>> corners;
    for (uint32_t row = 0; row < nodes; ++row)
    {
        // The quads between the cross-sections before and after node row.
        const uint32_t before = row + nodes - 1;
        for (size_t column = 0; column + 1 < kColumns; ++column)
        {
            const bool onTrack = column >= 1 && column + 1 < kColumns - 1;
            const uint32_t a = id(before, column), b = id(before, column + 1);
            const uint32_t c = id(row, column + 1), d = id(row, column);
            for (std::array<uint32_t, 3> triangle : {std::array{a, b, c}, std::array{a, c, d}})
            {
                TrackTriangle made = FlatTriangle(
                    onTrack ? kTrackSurface : kGrassSurface,
                    {vertices[triangle[0]], vertices[triangle[1]], vertices[triangle[2]]});
                if (SignedArea(made) > 0.0)
                {
                    std::swap(triangle[1], triangle[2]);
                    made = FlatTriangle(made.surface, {vertices[triangle[0]], vertices[triangle[1]],
                                                       vertices[triangle[2]]});
                }
                triangles.push_back(made);
                corners.push_back(triangle);
            }
        }
    }

    // Each edge's neighbour is the triangle that has it the other way round.
    std::unordered_map<uint64_t, int32_t> owners;
    for (size_t t = 0; t < corners.size(); ++t)
    {
        for (size_t edge = 0; edge < 3; ++edge)
        {
            owners[EdgeKey(corners[t][edge], corners[t][(edge + 1) % 3])] = static_cast<int32_t>(t);
        }
    }
    for (size_t t = 0; t < corners.size(); ++t)
    {
        for (size_t edge = 0; edge < 3; ++edge)
        {
            const auto found = owners.find(EdgeKey(corners[t][(edge + 1) % 3], corners[t][edge]));
            triangles[t].neighbours[edge] = found == owners.end() ? -1 : found->second;
        }
    }
    return triangles;
}
}  // namespace kit
