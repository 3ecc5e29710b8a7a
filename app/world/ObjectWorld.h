#pragma once

// The game's 3D scene: a tree of WorldObject nodes in the VectorMem arena, the meshes and
// collision data loaded into it, and the view block the vector engine draws from. It also
// keeps the projection values the game's own 2D overlays use. Main thread only.

#include <array>
#include <cstdint>
#include <list>
#include <string_view>

#include "app/world/VectorEngineEntries.h"
#include "core/world/SceneLinks.h"

class CprArchive;
struct CollisionBody;
struct LevelOfDetail;
struct TrackCollisionModel;
struct VectorVars;
struct WorldObject;

// What the last camera update published for overlays that project points themselves: a
// view-space point (x, y, z) appears at (centreX + x scaleX / z, centreY - y scaleY / z).
struct ProjectionValues
{
    int32_t viewportWidth = 0;
    int32_t viewportHeight = 0;
    float centreX = 0.0f;
    float centreY = 0.0f;
    float scaleY = 0.0f;
    float scaleX = 0.0f;
    float nearDistance = 0.1f;
};

class ObjectWorld
{
public:
    ObjectWorld();
    virtual ~ObjectWorld();
    ObjectWorld(const ObjectWorld&) = delete;
    ObjectWorld& operator=(const ObjectWorld&) = delete;

    // The engine's entry points, once the render library is bound; all null to unbind.
    void BindEngine(const VectorEngineEntries& entries) { engine_ = entries; }
    // The screen's size in pixels, remembered when the screen opens or changes mode.
    void SetScreenSize(int32_t width, int32_t height);

    // Starts a world in a new arena of that many bytes; the root node, or null.
    WorldObject* CreateWorld(uint32_t arenaBytes);
    void FreeWorld();

    WorldObject* AttachNewObject(WorldObject* parent, float x, float y, float z, int32_t mode,
                                 float groupRadius);
    WorldObject* AttachObject(WorldObject* node, WorldObject* parent, float x, float y, float z,
                              int32_t mode, float groupRadius);
    int32_t DetachObject(WorldObject* node, WorldObject* parent, int32_t mode);
    LevelOfDetail* InsertSorted(LevelOfDetail* level, WorldObject* owner);
    WorldObject* CloneObject(const WorldObject* source);

    WorldObject* LoadObject(std::string_view name, uint32_t userValue, double range);
    WorldObject* LoadObjectFrom(std::string_view name, uint32_t userValue, double range,
                                CprArchive* archive);
    LevelOfDetail* LoadZObject(std::string_view name, uint32_t userValue, double range);
    CollisionBody* LoadCollisionObject(std::string_view name);
    TrackCollisionModel* LoadTrackCollision(std::string_view name);
    // The billboards of the circuit for the weather (0, 1, 2), attached to the parent.
    void LoadRotatingObjects(WorldObject* parent, float range, std::string_view circuitName,
                             int32_t weather);
    int32_t SetCollisionObject(WorldObject* node, CollisionBody* body);
    void* AllocRaw(uint32_t bytes);

    int32_t SetFieldOfView(float fieldOfView, float second);
    int32_t SetViewport(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float nearDistance,
                        float farDistance);
    int32_t SetViewSize(uint32_t unused, int32_t width, int32_t height);
    int32_t SetAspect(uint32_t aspectBits);
    void SetScales(uint32_t first, uint32_t second);
    int32_t UpdateCamera();
    int32_t DrawWorld(uint32_t parameter);

    void SaveState(uint32_t out[24], bool reset);
    int32_t RestoreState(const uint32_t in[24]);

    void CollRotateAll();
    void RecalcMatrix(WorldObject* node);

    WorldObject* Root() const { return root_; }
    WorldObject* World() const;
    VectorVars& Vars() { return *vars_; }
    const ProjectionValues& Projection() const { return projection_; }
    ProjectionValues& Projection() { return projection_; }
    // Two values of the camera block that the race content loader sets; the engine does not
    // read them.
    std::array<float, 2>& CameraBlockValues() { return cameraBlockValues_; }

private:
    WorldObject* LoadMesh(std::string_view name, uint32_t userValue, double range,
                          CprArchive* archive);

    // Two pointer lists the world is built and destroyed with; nothing else uses them.
    std::list<void*> firstPointerList_;
    std::list<void*> secondPointerList_;
    VectorVars* vars_ = nullptr;  // in the 3D region, so that the engine finds the region
    WorldObject* root_ = nullptr;
    int32_t screenWidth_ = 640;
    int32_t screenHeight_ = 480;
    int32_t drawBlock_[3] = {};
    uint32_t drawParameter_ = 0;
    ProjectionValues projection_;
    std::array<float, 2> cameraBlockValues_ = {100.0f, 100.0f};
    bool reportedEmptyWorld_ = false;
    VectorEngineEntries engine_;
};
