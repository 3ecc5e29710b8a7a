#include "render/vector/VectorEngine.h"

#include <cmath>

#include "core/world/Region.h"
#include "glide/UntilUnload.h"
#include "render/RenderLibrary.h"
#include "render/vector/NodeTransform.h"
#include "render/vector/SortTree.h"

namespace render::vector
{
namespace
{
constexpr float kLowestFarDistance = 0.1f;
// The near test and q = 1 / z need a positive near distance.
constexpr float kLowestNearDistance = 0.001f;
constexpr uint32_t kStaleStamp = 0x80000000u;
constexpr uint32_t kLastStamp = 0x7FFFFFFFu;
// No scene tree is this deep; a longer parent chain is a loop.
constexpr size_t kMaxChainLength = 4096;

// A plane through the eye, scaled so that n . p is the distance from it.
Plane SidePlane(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f)
    {
        return {};
    }
    return {{x / length, y / length, z / length}, 0.0f};
}

// The screen the projection is made for: the library's mode, else the viewport.
void ScreenSize(const VectorVars& vars, float& width, float& height)
{
    const Screen& screen = TheLibrary().screen;
    int32_t w = screen.Width();
    int32_t h = screen.Height();
    if (w <= 0 || h <= 0)
    {
        w = vars.viewportWidth;
        h = vars.viewportHeight;
    }
    if (w <= 0 || h <= 0)
    {
        w = 640;
        h = 480;
    }
    width = static_cast<float>(w);
    height = static_cast<float>(h);
}
}  // namespace

VectorEngine& TheEngine()
{
    return glide::UntilUnload<VectorEngine>();
}

void VectorEngine::SetVectorVars(VectorVars* vars)
{
    if (vars == nullptr || !region::AdoptContaining(vars))
    {
        return;
    }
    if (vars->farDistance < kLowestFarDistance)
    {
        vars->farDistance = kLowestFarDistance;
    }
    float screenWidth = 0.0f;
    float screenHeight = 0.0f;
    ScreenSize(*vars, screenWidth, screenHeight);
    const float factor = vars->fieldOfViewFactor;
    view_.scaleY = screenWidth * factor;
    view_.scaleX = screenWidth * screenWidth * factor / screenHeight * 0.75f;
    const float correction = view_.scaleX <= 1.0f ? 1.0f : 1.0f / (factor * 640.0f);
    view_.correctionSquared = correction * correction;

    view_.farDistance = vars->farDistance;
    view_.inverseFar = 1.0f / view_.farDistance;
    view_.nearDistance =
        vars->nearDistance >= kLowestNearDistance ? vars->nearDistance : kLowestNearDistance;
    view_.inverseNear = 1.0f / view_.nearDistance;
    view_.world = vars->world.get();

    VertexCacheEntry* vertexCache = vars->vertexCache.get();
    NormalCacheEntry* normalCache = vars->normalCache.get();
    const uint32_t vertexCapacity = vars->recordCapacities[0];
    const uint32_t normalCapacity =
        vars->recordCapacities[1] * kCacheRecordBytes / sizeof(NormalCacheEntry);
    if (vertexCache != view_.vertexCache || normalCache != view_.normalCache ||
        vertexCapacity != view_.vertexCapacity || normalCapacity != view_.normalCapacity)
    {
        view_.vertexCache = vertexCache;
        view_.normalCache = normalCache;
        view_.vertexCapacity = vertexCache != nullptr ? vertexCapacity : 0;
        view_.normalCapacity = normalCache != nullptr ? normalCapacity : 0;
        MarkCachesStale();
    }

    view_.width = vars->viewportWidth;
    view_.height = vars->viewportHeight;
    view_.centreX = static_cast<float>(vars->centreX);
    view_.centreY = static_cast<float>(vars->centreY);
    const float w = static_cast<float>(view_.width);
    const float h = static_cast<float>(view_.height);
    view_.clipPlanes = {
        Plane{{0.0f, 0.0f, 1.0f}, -view_.nearDistance},
        Plane{{0.0f, 0.0f, -1.0f}, view_.farDistance},
        SidePlane(view_.scaleX, 0.0f, view_.centreX),
        SidePlane(-view_.scaleX, 0.0f, w - view_.centreX),
        SidePlane(0.0f, -view_.scaleY, view_.centreY),
        SidePlane(0.0f, view_.scaleY, h - view_.centreY),
    };
}

void VectorEngine::MarkCachesStale()
{
    for (uint32_t i = 0; i < view_.vertexCapacity; ++i)
    {
        view_.vertexCache[i].stamp = kStaleStamp;
    }
    for (uint32_t i = 0; i < view_.normalCapacity; ++i)
    {
        view_.normalCache[i].stamp = kStaleStamp;
    }
}

uint32_t VectorEngine::RaiseStamp()
{
    if (stamp_ == kLastStamp)
    {
        MarkCachesStale();
        stamp_ = 0;
    }
    else
    {
        ++stamp_;
    }
    return stamp_;
}

void VectorEngine::DrawFrame()
{
    ResetPrimitiveState();
    if (view_.world == nullptr || PrimitiveTable().beginFrame(view_.scaleX) == 0)
    {
        return;
    }
    SortTree frameTree;
    frameTree_ = &frameTree;
    WorldObject& camera = *view_.world;
    cameraHeading_ = camera.angles[1];
    TransformCamera(camera);
    SortTree walkTree;
    WalkForDraw(camera.firstChild.get(), camera, walkTree, 0);
    if (!frameTree.Empty())
    {
        DrawSorted(frameTree);
    }
    frameTree_ = nullptr;
}

void VectorEngine::CollRotateAll()
{
    if (view_.world == nullptr)
    {
        return;
    }
    WorldObject& camera = *view_.world;
    ResetCamera(camera);
    CollisionWalk(camera.firstChild.get(), camera);
}

void VectorEngine::CollisionWalk(WorldObject* first, const WorldObject& parent)
{
    for (WorldObject* node = first; node != nullptr; node = node->nextSibling.get())
    {
        if ((node->flags & object_flags::kCollision) == 0)
        {
            continue;
        }
        TransformNode(*node, parent, cameraHeading_);
        CollisionWalk(node->firstChild.get(), *node);
        CollisionWalk(node->firstSubObject.get(), *node);
        CollisionWalk(node->firstBspObject.get(), *node);
    }
}

void VectorEngine::RecalcMatrix(WorldObject* node)
{
    if (node == nullptr || view_.world == nullptr)
    {
        return;
    }
    chain_.clear();
    for (WorldObject* link = node; link != nullptr; link = link->parent.get())
    {
        if (chain_.size() == kMaxChainLength)
        {
            return;
        }
        chain_.push_back(link);
    }
    // Only a node hanging below the camera has a place in the view.
    if (chain_.back() != view_.world)
    {
        return;
    }
    ResetCamera(*view_.world);
    for (size_t i = chain_.size() - 1; i-- > 0;)
    {
        TransformNode(*chain_[i], *chain_[i + 1], cameraHeading_);
    }
}
}  // namespace render::vector
