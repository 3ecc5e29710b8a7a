// Polygon set-up: corners transformed and projected once per object through the vertex cache,
// the polygon clipped against the near plane (and the far plane for clip-tested objects) in
// view space and against the viewport in screen space, then handed to the back end as board
// vertices with their perspective value q, texture coordinates and colours.

#include <algorithm>
#include <bit>
#include <cmath>

#include "render/vector/NodeTransform.h"
#include "render/vector/PrimitiveBackEnd.h"
#include "render/vector/ScreenClip.h"
#include "render/vector/VectorEngine.h"

namespace render::vector
{
namespace
{
constexpr float kScreenLimit = 1073741824.0f;  // 2^30: projected values stay far from overflow
constexpr float kEnvironmentDistance = 2.2f;
constexpr uint32_t kNoTexture = 0xFFFFFFFF;

int32_t ToScreen(float value)
{
    if (!(value > -kScreenLimit))
    {
        return value != value ? 0 : -(1 << 30);
    }
    if (value >= kScreenLimit)
    {
        return 1 << 30;
    }
    return static_cast<int32_t>(value);
}

// Positive distances compare as the integers of their bit patterns; a negative z is before
// any near plane.
bool Before(float z, float limit)
{
    return std::bit_cast<int32_t>(z) < std::bit_cast<int32_t>(limit);
}

// The texture number of the slot; none when the slot lies past the list's end.
uint32_t TextureNumber(const WorldObject& object, uint32_t slot)
{
    const uint32_t* list = object.textureList.get();
    if (list == nullptr)
    {
        return kNoTexture;
    }
    for (uint32_t i = 0; i < slot; ++i)
    {
        if (list[i] == kTextureListEnd)
        {
            return kNoTexture;
        }
    }
    return list[slot];
}

void SetColour(ClipVertex& vertex, uint32_t colour)
{
    vertex.colour[0] = static_cast<int32_t>((colour >> 16) & 0xFF);
    vertex.colour[1] = static_cast<int32_t>((colour >> 8) & 0xFF);
    vertex.colour[2] = static_cast<int32_t>(colour & 0xFF);
}

float Lerp(float from, float to, float t)
{
    return from + t * (to - from);
}

// The cut of an edge with the plane z = depth, interpolated linearly in view space and
// projected at that depth.
ClipVertex CutAtDepth(const ClipVertex& start, const ClipVertex& end, float depth,
                      float inverseDepth, const ViewSetup& view)
{
    const float t = (depth - start.view.z) / (end.view.z - start.view.z);
    ClipVertex cut;
    cut.view = {Lerp(start.view.x, end.view.x, t), Lerp(start.view.y, end.view.y, t), depth};
    cut.q = inverseDepth;
    cut.screenX = ToScreen(view.centreX + cut.view.x * view.scaleX * inverseDepth);
    cut.screenY = ToScreen(view.centreY - cut.view.y * view.scaleY * inverseDepth);
    cut.u = Lerp(start.u, end.u, t);
    cut.v = Lerp(start.v, end.v, t);
    for (int channel = 0; channel < 3; ++channel)
    {
        cut.colour[channel] = static_cast<int32_t>(Lerp(
            static_cast<float>(start.colour[channel]), static_cast<float>(end.colour[channel]), t));
    }
    return cut;
}
}  // namespace

const VertexCacheEntry& VectorEngine::TransformVertex(const ObjectContext& context, uint32_t offset)
{
    const uint32_t index = offset / sizeof(MeshVertex);
    VertexCacheEntry& entry = view_.vertexCache[index];
    if (entry.stamp == context.stamp)
    {
        return entry;
    }
    const WorldObject& object = *context.object;
    const Vector3 rotated = Apply(object.matrix, context.vertices[index].position);
    entry.stamp = context.stamp;
    entry.viewX = rotated.x + object.viewTranslation.x;
    entry.viewY = rotated.y + object.viewTranslation.y;
    entry.viewZ = rotated.z + object.viewTranslation.z;
    if (Before(entry.viewZ, view_.nearDistance))
    {
        entry.q = entry.viewZ;
        return entry;
    }
    entry.q = 1.0f / entry.viewZ;
    entry.screenX = ToScreen(view_.centreX + entry.viewX * view_.scaleX * entry.q);
    entry.screenY = ToScreen(view_.centreY - entry.viewY * view_.scaleY * entry.q);
    return entry;
}

const NormalCacheEntry& VectorEngine::MapNormal(const ObjectContext& context, uint32_t offset)
{
    const uint32_t index = offset / sizeof(NormalCacheEntry);
    NormalCacheEntry& entry = view_.normalCache[index];
    if (entry.stamp == context.stamp)
    {
        return entry;
    }
    const Vector3 rotated =
        Apply(context.object->matrix, context.normals[offset / sizeof(MeshVertex)].position);
    const float k = 1.0f / (rotated.z + kEnvironmentDistance);
    entry.stamp = context.stamp;
    entry.u = rotated.x * k + 0.5f;
    entry.v = -(rotated.y * k + 0.5f);
    return entry;
}

bool VectorEngine::GatherCorners(const ObjectContext& context, const PolygonRecord& polygon)
{
    polygon_.Clear();
    if (context.vertices == nullptr || !polygon.cornerBlock ||
        polygon.cornerCount > kMaxClipCorners)
    {
        return false;
    }
    const uint32_t* corners = polygon.Corners();
    for (uint32_t k = 0; k < polygon.cornerCount; ++k)
    {
        // A mesh larger than the cache is not drawn.
        if (corners[k] / sizeof(MeshVertex) >= view_.vertexCapacity)
        {
            return false;
        }
        const VertexCacheEntry& entry = TransformVertex(context, corners[k]);
        // Coordinates a file made infinite or not a number leave nothing to draw.
        if (!std::isfinite(entry.viewX + entry.viewY + entry.viewZ))
        {
            return false;
        }
        ClipVertex vertex;
        vertex.view = {entry.viewX, entry.viewY, entry.viewZ};
        vertex.q = entry.q;
        vertex.screenX = entry.screenX;
        vertex.screenY = entry.screenY;
        polygon_.Add(vertex);
    }
    return true;
}

void VectorEngine::DrawTexturedPolygon(ObjectContext& context, const PolygonRecord& polygon)
{
    if (!GatherCorners(context, polygon))
    {
        return;
    }
    const uint32_t* block = polygon.cornerBlock.get();
    const auto* corners = reinterpret_cast<const TexturedCorner*>(block + 1);
    for (size_t k = 0; k < polygon_.size(); ++k)
    {
        polygon_[k].u = corners[k].u;
        polygon_[k].v = corners[k].v;
        SetColour(polygon_[k], corners[k].colour);
    }
    SetCurrentTexture(TextureNumber(*context.object, block[0]));
    ClipAndSubmit(context);
}

void VectorEngine::DrawEnvironmentPolygon(ObjectContext& context, const PolygonRecord& polygon)
{
    if (context.normals == nullptr || !GatherCorners(context, polygon))
    {
        return;
    }
    const uint32_t* block = polygon.cornerBlock.get();
    const uint32_t* normalOffsets = block + 1;
    for (size_t k = 0; k < polygon_.size(); ++k)
    {
        if (normalOffsets[k] / sizeof(NormalCacheEntry) >= view_.normalCapacity)
        {
            return;
        }
        const NormalCacheEntry& mapped = MapNormal(context, normalOffsets[k]);
        polygon_[k].u = mapped.u;
        polygon_[k].v = mapped.v;
        SetColour(polygon_[k], 0xFFFFFF);
    }
    SetCurrentTexture(TextureNumber(*context.object, block[0]));
    ClipAndSubmit(context);
}

void VectorEngine::ClipToNear()
{
    const float nearDistance = view_.nearDistance;
    ClipAgainst(
        polygon_, clipped_,
        [nearDistance](const ClipVertex& vertex) { return !Before(vertex.view.z, nearDistance); },
        [this](const ClipVertex& start, const ClipVertex& end)
        { return CutAtDepth(start, end, view_.nearDistance, view_.inverseNear, view_); });
}

void VectorEngine::ClipToFar(const ObjectContext& context)
{
    const float farDistance = context.farDistance;
    ClipAgainst(
        polygon_, clipped_,
        [farDistance](const ClipVertex& vertex) { return !Before(farDistance, vertex.view.z); },
        [&](const ClipVertex& start, const ClipVertex& end)
        { return CutAtDepth(start, end, farDistance, context.inverseFar, view_); });
}

void VectorEngine::ClipAndSubmit(const ObjectContext& context)
{
    ClipToNear();
    if ((context.flags & object_flags::kClipTested) != 0)
    {
        ClipToFar(context);
    }
    ClipToScreen(polygon_, clipped_, view_.width, view_.height);
    if (polygon_.empty())
    {
        return;
    }
    const int count = static_cast<int>(std::min<size_t>(polygon_.size(), kMaxCountedVertices));
    for (int i = 0; i < count; ++i)
    {
        const ClipVertex& corner = polygon_[static_cast<size_t>(i)];
        GrVertex& vertex = glideVertices_[static_cast<size_t>(i)];
        vertex = {};
        vertex.x = static_cast<float>(corner.screenX);
        vertex.y = static_cast<float>(corner.screenY);
        vertex.r = static_cast<float>(corner.colour[0]);
        vertex.g = static_cast<float>(corner.colour[1]);
        vertex.b = static_cast<float>(corner.colour[2]);
        vertex.a = 255.0f;
        vertex.oow = corner.q;
        vertex.tmuvtx[0].sow = corner.u;
        vertex.tmuvtx[0].tow = corner.v;
    }
    PrimitiveTable().selectTexture(count, glideVertices_.data());
}
}  // namespace render::vector
