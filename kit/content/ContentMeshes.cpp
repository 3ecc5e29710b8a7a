#include "kit/content/ContentMeshes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace kit
{
namespace
{
constexpr MeshPoint kLight = {0.267261f, 0.801784f, -0.534522f};

uint32_t Shade(const PlaneWords& plane)
{
    const float light =
        std::max(0.0f, plane[0] * kLight.x + plane[1] * kLight.y + plane[2] * kLight.z);
    const auto level = static_cast<uint32_t>(110.0f + 145.0f * light);
    return level << 16 | level << 8 | level;
}

MeshPoint Centre(const MeshPoint& low, const MeshPoint& high)
{
    return {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
}
}  // namespace

ShapeBuilder::ShapeBuilder(std::vector<uint32_t> textureNumbers)
{
    mesh_.textureNumbers = std::move(textureNumbers);
}

void ShapeBuilder::AddPolygon(std::vector<uint32_t> corners, std::vector<TexturedCornerData> uv,
                              uint32_t slot, const MeshPoint& inside, bool shaded)
{
    MeshPolygon polygon;
    polygon.corners = std::move(corners);
    polygon.plane = PlaneFacingAway(mesh_, polygon.corners, inside);
    polygon.textureSlot = mesh_.textureNumbers.empty()
                              ? 0
                              : slot % static_cast<uint32_t>(mesh_.textureNumbers.size());
    const uint32_t colour = shaded ? Shade(polygon.plane) : 0xFFFFFF;
    for (TexturedCornerData& corner : uv)
    {
        corner.colour = colour;
    }
    polygon.textured = std::move(uv);
    mesh_.polygons.push_back(std::move(polygon));
}

void ShapeBuilder::Box(const MeshPoint& low, const MeshPoint& high,
                       const std::vector<uint32_t>& faceSlots, float tiles)
{
    const MeshPoint c = Centre(low, high);
    const float x[2] = {low.x, high.x};
    const float y[2] = {low.y, high.y};
    const float z[2] = {low.z, high.z};
    // Corner (i, j, k) at x[i], y[j], z[k].
    const auto first = static_cast<uint32_t>(mesh_.vertices.size());
    for (int i = 0; i < 2; ++i)
    {
        for (int j = 0; j < 2; ++j)
        {
            for (int k = 0; k < 2; ++k)
            {
                mesh_.vertices.push_back({x[i], y[j], z[k]});
            }
        }
    }
    const auto v = [first](int i, int j, int k) { return first + 4 * i + 2 * j + k; };
    const std::vector<uint32_t> faces[6] = {
        {v(0, 1, 0), v(1, 1, 0), v(1, 0, 0), v(0, 0, 0)},  // -z
        {v(1, 1, 1), v(0, 1, 1), v(0, 0, 1), v(1, 0, 1)},  // +z
        {v(0, 1, 1), v(0, 1, 0), v(0, 0, 0), v(0, 0, 1)},  // -x
        {v(1, 1, 0), v(1, 1, 1), v(1, 0, 1), v(1, 0, 0)},  // +x
        {v(0, 1, 1), v(1, 1, 1), v(1, 1, 0), v(0, 1, 0)},  // +y
        {v(0, 0, 0), v(1, 0, 0), v(1, 0, 1), v(0, 0, 1)},  // -y
    };
    for (size_t face = 0; face < 6; ++face)
    {
        const uint32_t slot = faceSlots.empty() ? 0 : faceSlots[face % faceSlots.size()];
        AddPolygon(faces[face], {{0, tiles}, {tiles, tiles}, {tiles, 0}, {0, 0}}, slot, c, true);
    }
}

void ShapeBuilder::Wheel(const MeshPoint& centre, float radius, float width, int sides,
                         const std::vector<uint32_t>& treadSlots,
                         const std::vector<uint32_t>& sideSlots)
{
    const auto first = static_cast<uint32_t>(mesh_.vertices.size());
    for (int side = 0; side < 2; ++side)
    {
        const float x = centre.x + (side == 0 ? -width / 2 : width / 2);
        for (int i = 0; i < sides; ++i)
        {
            const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) /
                                static_cast<float>(sides);
            mesh_.vertices.push_back(
                {x, centre.y + radius * std::cos(angle), centre.z + radius * std::sin(angle)});
        }
    }
    const auto n = static_cast<uint32_t>(sides);
    for (uint32_t i = 0; i < n; ++i)
    {
        const uint32_t next = (i + 1) % n;
        AddPolygon({first + i, first + next, first + n + next, first + n + i},
                   {{0, 1}, {1, 1}, {1, 0}, {0, 0}}, treadSlots[i % treadSlots.size()], centre,
                   true);
    }
    for (uint32_t side = 0; side < 2; ++side)
    {
        std::vector<uint32_t> corners;
        std::vector<TexturedCornerData> uv;
        for (uint32_t i = 0; i < n; ++i)
        {
            const uint32_t index = side == 0 ? i : n - 1 - i;
            corners.push_back(first + side * n + index);
            const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(index) /
                                static_cast<float>(sides);
            uv.push_back({0.5f + 0.5f * std::sin(angle), 0.5f + 0.5f * std::cos(angle)});
        }
        AddPolygon(std::move(corners), std::move(uv), sideSlots[side % sideSlots.size()], centre,
                   true);
    }
}

void ShapeBuilder::Quad(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c,
                        const MeshPoint& d, const MeshPoint& seenFrom, uint32_t slot, float uRepeat,
                        float vRepeat, bool shaded)
{
    const auto first = static_cast<uint32_t>(mesh_.vertices.size());
    mesh_.vertices.insert(mesh_.vertices.end(), {a, b, c, d});
    const MeshPoint behind = {2 * a.x - seenFrom.x, 2 * a.y - seenFrom.y, 2 * a.z - seenFrom.z};
    AddPolygon({first, first + 1, first + 2, first + 3},
               {{0, vRepeat}, {uRepeat, vRepeat}, {uRepeat, 0}, {0, 0}}, slot, behind, shaded);
}

void ShapeBuilder::QuadOnVertices(std::span<const MeshPoint> vertices,
                                  const std::array<uint32_t, 4>& corners, const MeshPoint& seenFrom,
                                  uint32_t slot)
{
    const auto first = static_cast<uint32_t>(mesh_.vertices.size());
    mesh_.vertices.insert(mesh_.vertices.end(), vertices.begin(), vertices.end());
    const MeshPoint& a = vertices[corners[0]];
    const MeshPoint behind = {2 * a.x - seenFrom.x, 2 * a.y - seenFrom.y, 2 * a.z - seenFrom.z};
    AddPolygon({first + corners[0], first + corners[1], first + corners[2], first + corners[3]},
               {{0, 1.0f}, {1.0f, 1.0f}, {1.0f, 0}, {0, 0}}, slot, behind, false);
}

void ShapeBuilder::GroundTriangle(const MeshPoint (&corners)[3], const float (&uv)[6],
                                  uint32_t slot)
{
    std::vector<uint32_t> indices;
    for (const MeshPoint& corner : corners)
    {
        const auto [at, added] = groundVertices_.try_emplace(
            {corner.x, corner.y, corner.z}, static_cast<uint32_t>(mesh_.vertices.size()));
        if (added)
        {
            mesh_.vertices.push_back(corner);
        }
        indices.push_back(at->second);
    }
    const MeshPoint below = {corners[0].x, corners[0].y - 1.0f, corners[0].z};
    AddPolygon(std::move(indices), {{uv[0], uv[1]}, {uv[2], uv[3]}, {uv[4], uv[5]}}, slot, below,
               false);
}

Mesh ShapeBuilder::Finish()
{
    ChainConvexNodes(mesh_);
    return std::move(mesh_);
}

Mesh PaintedBox(const MeshPoint& low, const MeshPoint& high, uint32_t slotCount)
{
    ShapeBuilder shape(std::vector<uint32_t>(slotCount, 0));
    std::vector<uint32_t> slots;
    for (uint32_t slot = 0; slot < 6; ++slot)
    {
        slots.push_back(slot % slotCount);
    }
    shape.Box(low, high, slots);
    return shape.Finish();
}
}  // namespace kit
