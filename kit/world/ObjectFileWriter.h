#pragma once

// ".4do" object files as the game reads them: meshes (one file per level of detail) and
// collision bodies. The tag "_4DO", then the chunks 1 vertices, 2 polygon records, 3 BSP nodes,
// 4 mesh information, 5 texture numbers and, when the mesh has any, 8 normals.
//
// A mesh is described by indices; the writer turns them into the file's byte offsets, chains
// each BSP node's polygons in the order given, and computes the bounding spheres: each node's
// over the vertices of its subtree, the mesh's own radius around the origin.

#include <array>
#include <cstdint>
#include <vector>

namespace kit
{
struct MeshPoint
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

enum class MeshPolygonKind : uint32_t
{
    Textured = 4,           // u, v and a colour per corner
    EnvironmentMapped = 8,  // a normal per corner
};

struct TexturedCornerData
{
    float u = 0.0f;
    float v = 0.0f;              // 1 is the picture's top row
    uint32_t colour = 0xFFFFFF;  // 0x00RRGGBB, multiplies the texel
};

// {nx, ny, nz, d}: the polygon is seen from where nx x + ny y + nz z + d >= 0.
using PlaneWords = std::array<float, 4>;

struct MeshPolygon
{
    MeshPolygonKind kind = MeshPolygonKind::Textured;
    PlaneWords plane{};
    std::vector<uint32_t> corners;             // vertex indices, the first not repeated
    uint32_t textureSlot = 0;                  // index into the mesh's texture numbers
    std::vector<TexturedCornerData> textured;  // Textured: one per corner
    std::vector<uint32_t> normals;             // EnvironmentMapped: normal index per corner
};

struct MeshNode
{
    int32_t negativeChild = -1;  // node index, -1 = none
    int32_t positiveChild = -1;
    // Polygon indices; the first one's plane splits the node. Each polygon belongs to one node.
    std::vector<uint32_t> polygons;
};

struct Mesh
{
    std::vector<MeshPoint> vertices;
    std::vector<MeshPoint> normals;
    std::vector<MeshPolygon> polygons;
    std::vector<MeshNode> nodes;  // node 0 is the root
    std::vector<uint32_t> textureNumbers;
};

std::vector<uint8_t> WriteObjectFile(const Mesh& mesh);

// The plane through the polygon's first three corners, facing away from the point.
PlaneWords PlaneFacingAway(const Mesh& mesh, const std::vector<uint32_t>& corners,
                           const MeshPoint& inside);

// BSP nodes for a convex mesh: one node per polygon, each behind the one before.
void ChainConvexNodes(Mesh& mesh);
}  // namespace kit
