#pragma once

// Simple shapes for the demo installation's race content, built up from boxes, prisms and
// quads: each polygon names one of the mesh's texture slots and is shaded by a light from
// above, so that machines, riders and marshals read as solid figures. Metres, y up, z forward.

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "kit/world/ObjectFileWriter.h"

namespace kit
{
// A mesh under construction: polygons are added piece by piece, then finished into one chain
// of BSP nodes (the engine's depth buffer sorts them out).
class ShapeBuilder
{
public:
    // A mesh whose texture list holds these numbers (the loader may overwrite them).
    explicit ShapeBuilder(std::vector<uint32_t> textureNumbers);

    // An axis-aligned box from low to high; face slots in the order -z, +z, -x, +x, +y, -y,
    // each taken modulo the texture count. tiles: texture repeats across each face.
    void Box(const MeshPoint& low, const MeshPoint& high, const std::vector<uint32_t>& faceSlots,
             float tiles = 1.0f);
    // A wheel: an n-sided prism about the x axis, centre and radius, width along x; the tread
    // faces cycle through treadSlots, the two sides take sideSlots.
    void Wheel(const MeshPoint& centre, float radius, float width, int sides,
               const std::vector<uint32_t>& treadSlots, const std::vector<uint32_t>& sideSlots);
    // A quad of four corners in order (a at the picture's top left, b top right), seen from
    // the side of seenFrom, with the picture uRepeat x vRepeat times across it.
    void Quad(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c, const MeshPoint& d,
              const MeshPoint& seenFrom, uint32_t slot, float uRepeat = 1.0f, float vRepeat = 1.0f,
              bool shaded = true);
    // A quad on vertices added in the given order, its corners taken from them in the order
    // of corners (the first at the picture's top left): for meshes whose vertex order the game
    // relies on.
    void QuadOnVertices(std::span<const MeshPoint> vertices, const std::array<uint32_t, 4>& corners,
                        const MeshPoint& seenFrom, uint32_t slot);
    // A triangle with its corners' texture coordinates, facing up; corners at the same place
    // as an earlier ground triangle's share its vertex.
    void GroundTriangle(const MeshPoint (&corners)[3], const float (&uv)[6], uint32_t slot);

    Mesh Finish();

private:
    void AddPolygon(std::vector<uint32_t> corners, std::vector<TexturedCornerData> uv,
                    uint32_t slot, const MeshPoint& inside, bool shaded);

    Mesh mesh_;
    std::map<std::array<float, 3>, uint32_t> groundVertices_;
};

// A box-shaped mesh of one slot per face, for bodies the loader paints.
Mesh PaintedBox(const MeshPoint& low, const MeshPoint& high, uint32_t slotCount);
}  // namespace kit
