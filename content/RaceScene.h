#pragma once

// What a race load leaves behind for the race: the scene nodes other parts reach (sky,
// scenery, track, sun, effects and the group nodes, start lights, ideal line, marks, smoke
// clouds, cones), the three fog tables, the class's bike templates, the collision bodies, the
// circuit's ground with the racing line's surface per node, the simulation's parameters for
// the circuit and weather, and the handles of the pictures the race view draws from.
//
// Every node lives in the object world's arena and every picture in the render library: the
// scene only points at them, and is cleared whole when the content is unloaded. Main thread.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "content/CircuitTable.h"
#include "content/EffectTables.h"
#include "content/FieldTables.h"
#include "race/RaceParameters.h"
#include "race/ground/GroundMesh.h"
#include "view/pit/PitCrewScene.h"

struct CollisionBody;
struct Texture;
struct TrackCollisionModel;
struct WorldObject;

// A make slot's machine: four node trees with their levels of detail, and its collision body.
struct BikeTemplate
{
    WorldObject* rearWheel = nullptr;
    WorldObject* frontWheel = nullptr;
    WorldObject* body = nullptr;
    WorldObject* cockpit = nullptr;
    CollisionBody* collisionBody = nullptr;
};

struct RaceScene
{
    static constexpr uint8_t kNoSurface = 0xFF;  // a racing-line node off the ground
    // Cleared with the other picture handles, though only the first 43 are loaded.
    static constexpr size_t kCockpitPictureSlots = 45;

    WorldObject* root = nullptr;
    WorldObject* sky = nullptr;
    WorldObject* scenery = nullptr;
    WorldObject* track = nullptr;
    WorldObject* sun = nullptr;  // null in dull weather and rain: no lens flare
    WorldObject* effects = nullptr;
    WorldObject* trackAlpha = nullptr;
    WorldObject* movingGroup = nullptr;
    WorldObject* sceneGroup = nullptr;
    std::array<WorldObject*, content::kStartLights> startLights{};
    // Sky, scenery, track.
    std::array<uint8_t*, content::kFogLayers> fogTables{};

    std::array<BikeTemplate, content::kMakeSlots> templates{};
    WorldObject* trackMarks = nullptr;
    WorldObject* idealLine = nullptr;  // hidden until the player shows it
    std::array<WorldObject*, content::kSmokeClouds> smokeClouds{};
    std::vector<WorldObject*> cones;
    CollisionBody* testBody = nullptr;   // for the simulation tick
    CollisionBody* testBody2 = nullptr;  // for the collision manager

    TrackCollisionModel* trackCollision = nullptr;
    std::optional<GroundMesh> ground;
    // The ground's surface code under every racing-line node, kNoSurface where there is none.
    std::vector<uint8_t> surfaceByNode;
    RaceParameters parameters;
    // What the crash figures' marshals play on.
    PitCrewStage crewStage;

    std::array<Texture*, kCockpitPictureSlots> cockpitPictures{};
    // The textures of content::kCockpitTextureNumbers, and the marshal flag's picture.
    std::array<Texture*, content::kCockpitTextureNumbers.size()> cockpitTextures{};
    Texture* marshalFlagPicture = nullptr;
};
