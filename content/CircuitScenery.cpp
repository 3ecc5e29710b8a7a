// The circuit block of a race load: sky, scenery and track with their fog, the sun and the
// group nodes below the track, the track's pictures and dust sets, the surface values for the
// weather, the ground, the start lights and the circuit's cones.

#include <string>

#include "app/device/RenderDevice.h"
#include "content/LoadSession.h"
#include "content/RaceContentHooks.h"
#include "core/util/Message.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"

namespace content
{
namespace
{
constexpr float kSceneRadius = 10000.0f;
constexpr float kSunRadius = 100000.0f;
constexpr float kStartLightRadius = 2.0f;

// A loaded model below the parent, with the fog of its layer.
WorldObject* AttachLayer(LoadSession& session, WorldObject* node, WorldObject& parent, int32_t list,
                         size_t layer, const std::array<uint32_t, 3>& colours)
{
    if (node == nullptr)
    {
        return nullptr;
    }
    session.device.AttachObject(node, &parent, 0.0f, 0.0f, 0.0f, list, kSceneRadius);
    node->fogTable.set(session.scene.fogTables[layer]);
    node->fogColour = colours[layer];
    return node;
}

// An empty node below the track.
WorldObject* AddGroupNode(LoadSession& session, float x, float y, float z, float radius,
                          uint16_t flags, uint32_t objectNumber)
{
    WorldObject* node =
        session.device.AttachNewObject(session.scene.track, x, y, z, kAttachSubObject, radius);
    if (node != nullptr)
    {
        node->flags |= flags;
        node->userValue = objectNumber;
        node->ownRadius = radius;
    }
    return node;
}

bool BuildLayers(LoadSession& session)
{
    RaceScene& scene = session.scene;
    const WeatherRow& weather = WeatherOf(session.weather);
    const std::array<FogRange, kFogLayers> fog = FogOf(session.circuit, session.weather);
    for (size_t layer = 0; layer < kFogLayers; ++layer)
    {
        scene.fogTables[layer] =
            session.device.FogGenerateLinear(fog[layer].nearDistance, fog[layer].farDistance);
    }
    const CircuitRow& circuit = session.circuit;
    scene.sky =
        AttachLayer(session, session.LoadModel(SkyModelName(circuit, session.weather), 1, 10000.0),
                    *scene.root, kAttachChild, 0, weather.fogColour);
    if (scene.sky == nullptr)
    {
        return false;
    }
    scene.sky->flags |= 0x124;
    scene.sky->flags |= 0x4000;
    scene.scenery = AttachLayer(
        session, session.LoadModel(SceneryModelName(circuit, session.weather), 2, 6000.0),
        *scene.sky, kAttachSubObject, 1, weather.fogColour);
    if (scene.scenery == nullptr)
    {
        return false;
    }
    scene.scenery->flags |= 0x124;
    scene.scenery->flags |= 0x4000;
    scene.track =
        AttachLayer(session, session.LoadModel(TrackModelName(circuit, session.weather), 3, 6000.0),
                    *scene.scenery, kAttachSubObject, 2, weather.fogColour);
    if (scene.track == nullptr)
    {
        return false;
    }
    scene.track->flags |= 0x164;
    return true;
}

bool BuildGroupNodes(LoadSession& session)
{
    RaceScene& scene = session.scene;
    if (const std::optional<Vector3> sun =
            SunOffsetOf(session.circuit, session.weather, session.options.observationMode))
    {
        scene.sun = AddGroupNode(session, sun->x, sun->y, sun->z, kSunRadius, 0x8004, 9);
    }
    scene.effects = AddGroupNode(session, 0.0f, 0.0f, 0.0f, kSceneRadius, 0x8004, 1000);
    WorldObject* alpha =
        session.LoadModel(TrackAlphaModelName(session.circuit, session.weather), 4, 6000.0);
    if (alpha == nullptr)
    {
        return false;
    }
    scene.trackAlpha = session.device.AttachObject(alpha, scene.track, 0.0f, 0.0f, 0.0f,
                                                   kAttachSubObject, kSceneRadius);
    scene.trackAlpha->flags |= 0x8044;
    scene.movingGroup = AddGroupNode(session, 0.0f, 0.0f, 0.0f, kSceneRadius, 0x8024, 5);
    scene.sceneGroup = AddGroupNode(session, 0.0f, 0.0f, 0.0f, kSceneRadius, 0x8004, 6);
    return scene.effects != nullptr && scene.movingGroup != nullptr && scene.sceneGroup != nullptr;
}

void LoadTrackPictures(LoadSession& session)
{
    session.UseTexturesArchive();
    session.device.LoadTextureImage(TrackTextureSetName(session.circuit, session.weather).c_str());
    const std::array<std::string, 5> setA = DustTextureNames(session.circuit.dustSetA);
    const std::array<std::string, 5> setB = DustTextureNames(session.circuit.dustSetB);
    for (int32_t slot = 0; slot < 5; ++slot)
    {
        session.device.LoadTexture(setA[slot].c_str(), kDustSlotsA + slot, 0, 0);
    }
    for (int32_t slot = 0; slot < 5; ++slot)
    {
        session.device.LoadTexture(setB[slot].c_str(), kDustSlotsB + slot, 0, 0);
    }
    session.UseObjectsArchive();
}

bool LoadGround(LoadSession& session)
{
    RaceScene& scene = session.scene;
    const std::string name = CollisionModelName(session.circuit);
    scene.trackCollision = session.device.LoadTrackCollision(name);
    if (scene.trackCollision == nullptr)
    {
        session.ReportDamaged(name);
        return false;
    }
    scene.ground = GroundMesh::Bind(*scene.trackCollision);
    if (!scene.ground)
    {
        // A model the ground queries cannot follow is as good as none.
        ShowMessage(name + " kann nicht geladen werden");
        return false;
    }
    return true;
}

bool PlaceStartLights(LoadSession& session)
{
    RaceScene& scene = session.scene;
    for (size_t index = 0; index < kStartLights; ++index)
    {
        const StartLight& light = StartLights()[index];
        WorldObject* node = session.LoadModel(light.model, light.objectNumber, light.range);
        if (node == nullptr)
        {
            return false;
        }
        scene.startLights[index] = session.device.AttachObject(
            node, scene.trackAlpha, 0.0f, 0.0f, 0.0f, kAttachSubObject, kStartLightRadius);
        node->flags |= 0x284;
    }
    for (size_t index = 0; index < kStartLights; ++index)
    {
        scene.startLights[index]->placement = StartLights()[index].offset;
        scene.startLights[index]->angles[1] = kStartLightHeading;
    }
    return true;
}

bool PlaceCones(LoadSession& session)
{
    const std::span<const ConePlace> cones = session.circuit.cones;
    if (cones.empty())
    {
        return true;
    }
    RaceScene& scene = session.scene;
    CollisionBody* body = session.LoadCollisionBody(kConeCollisionBody);
    WorldObject* first =
        session.LoadModel(ConeModelName(session.circuit), kConeObjectNumber, kConeRange);
    if (body == nullptr || first == nullptr)
    {
        return false;
    }
    session.device.SetCollisionObject(first, body);
    for (const ConePlace& place : cones)
    {
        WorldObject* cone = scene.cones.empty() ? first : session.Clone(*first);
        if (cone == nullptr)
        {
            return false;
        }
        session.device.AttachObject(cone, scene.movingGroup, place.x, 0.0f, place.z, kAttachChild,
                                    kSceneRadius);
        cone->flags = 0x24;
        scene.cones.push_back(cone);
        session.hooks.AddTrackObject(*cone);
    }
    return true;
}
}  // namespace

bool BuildCircuitScenery(LoadSession& session)
{
    const WeatherRow& weather = WeatherOf(session.weather);
    RaceParameters& parameters = session.scene.parameters;
    session.race.current.trackWetness = weather.trackWetness;
    parameters.trackWetness = weather.trackWetness;
    parameters.weather = session.weather;
    if (!BuildLayers(session) || !BuildGroupNodes(session))
    {
        return false;
    }
    LoadTrackPictures(session);
    parameters.surfaces =
        MakeSurfaceTuning(session.circuit, session.weather, session.race.race.gripOffset);
    if (!LoadGround(session))
    {
        return false;
    }
    parameters.bumps = ResponseTable();
    return PlaceStartLights(session) && PlaceCones(session);
}
}  // namespace content
