#pragma once

// The vector engine: draws the game's WorldObject tree from the view block the game hands it.
// Each frame it gives every node its matrix and view translation relative to the camera,
// culls nodes by their bounding spheres, orders them back to front and draws each object's BSP
// tree through the polygon set-up and the primitive back end. It also computes world matrices
// for the collision code without drawing. All memory it follows is the game's, in the 3D
// region. Main thread only; not re-entrant.

#include <array>
#include <cstdint>
#include <vector>

#include "core/world/MeshRecords.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "glide/Glide.h"
#include "render/vector/PrimitiveBackEnd.h"
#include "render/vector/ScreenClip.h"

namespace render::vector
{
class SortTree;

// What the engine derives from the view block.
struct ViewSetup
{
    float farDistance = 0.0f;
    float inverseFar = 0.0f;
    float nearDistance = 0.0f;
    float inverseNear = 0.0f;
    WorldObject* world = nullptr;
    VertexCacheEntry* vertexCache = nullptr;
    uint32_t vertexCapacity = 0;  // entries
    NormalCacheEntry* normalCache = nullptr;
    uint32_t normalCapacity = 0;  // entries
    int32_t width = 0;            // of the viewport, pixels
    int32_t height = 0;
    float centreX = 0.0f;
    float centreY = 0.0f;
    float scaleY = 0.0f;
    float scaleX = 0.0f;
    float correctionSquared = 0.0f;
    std::array<Plane, 6> clipPlanes{};  // near, far, left, right, top, bottom; inside >= 0
};

// One object as it is being drawn. Nested objects get a context of their own, so that the
// owner's survives them.
struct ObjectContext
{
    WorldObject* object = nullptr;
    uint16_t flags = 0;  // the current render flags
    uint32_t stamp = 0;  // of the vertex and normal caches
    Vector3 eye{};       // in object space
    std::array<Plane, 6> objectPlanes{};
    const MeshVertex* vertices = nullptr;
    const MeshVertex* normals = nullptr;
    float farDistance = 0.0f;
    float inverseFar = 0.0f;
};

class VectorEngine
{
public:
    // Takes the game's view block (and the game's region from it); far is raised to 0.1 in
    // the block itself.
    void SetVectorVars(VectorVars* vars);
    void DrawFrame();
    void CollRotateAll();
    void RecalcMatrix(WorldObject* node);

private:
    // Frame walk.
    void WalkForDraw(WorldObject* first, const WorldObject& parent, SortTree& tree, int depth);
    void DrawSorted(const SortTree& tree);
    void CollisionWalk(WorldObject* first, const WorldObject& parent);
    // Culls by the node's spheres and sets its clip code; true when its own sphere is inside.
    bool TestSpheres(WorldObject& node) const;
    float DistanceKey(const WorldObject& node) const;

    // Object drawing.
    void DrawObject(WorldObject& object);
    void DrawOne(WorldObject& object);
    const LevelOfDetail* ChooseLevel(const WorldObject& object) const;
    void PlaceBspObjects(WorldObject* first, const WorldObject& parent, const LevelOfDetail& level);
    void DrawBsp(ObjectContext& context, const BspNode* root);
    void DrawPolygonList(ObjectContext& context, PolygonListEntry* entry);
    void DrawNested(ObjectContext& context, WorldObject& nested);
    uint32_t RaiseStamp();

    // Polygon set-up.
    void DrawTexturedPolygon(ObjectContext& context, const PolygonRecord& polygon);
    void DrawEnvironmentPolygon(ObjectContext& context, const PolygonRecord& polygon);
    bool GatherCorners(const ObjectContext& context, const PolygonRecord& polygon);
    const VertexCacheEntry& TransformVertex(const ObjectContext& context, uint32_t offset);
    const NormalCacheEntry& MapNormal(const ObjectContext& context, uint32_t offset);
    void ClipAndSubmit(const ObjectContext& context);
    void ClipToNear();
    void ClipToFar(const ObjectContext& context);
    void MarkCachesStale();

    ViewSetup view_;
    uint32_t stamp_ = 0;
    float cameraHeading_ = 0.0f;
    SortTree* frameTree_ = nullptr;  // during a frame

    // Scratch, kept between frames so that drawing does not allocate.
    std::vector<WorldObject*> sortStack_;
    std::vector<WorldObject*> chain_;
    struct BspTask
    {
        const BspNode* node;     // a node to walk, or null
        PolygonListEntry* list;  // else: a list to draw
    };
    std::vector<BspTask> bspStack_;
    ClipCorners polygon_;
    ClipCorners clipped_;
    std::array<GrVertex, kGlideVertexBufferSize> glideVertices_{};
};

VectorEngine& TheEngine();
}  // namespace render::vector
