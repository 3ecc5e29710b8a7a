#pragma once

// One race load in progress: what the loader's steps share. Models are required (a missing or
// damaged one ends the load, named in the object world's message); pictures are not. Main
// thread only; lives for one call of RaceContent::Load.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "content/CircuitTable.h"
#include "content/FieldTables.h"
#include "content/RaceContent.h"
#include "content/RaceScene.h"

class RaceContentHooks;
class RaceContext;
class RenderDevice;
struct CollisionBody;
struct LevelOfDetail;
struct WorldObject;

namespace content
{
struct LoadSession
{
    LoadSession(RenderDevice& device, RaceContext& race, const RaceContentOptions& options,
                RaceContentHooks& hooks, RaceScene& scene, const CircuitRow& circuit);

    // A model the race cannot do without: null, after its message, when it cannot be read.
    WorldObject* LoadModel(std::string_view name, uint32_t objectNumber, double range);
    // A model with further levels of detail, added in order.
    WorldObject* LoadModelLevels(std::span<const ModelLevel> levels, uint32_t objectNumber);
    // A further level is not needed to race: a missing one is left out.
    void AddLevel(WorldObject& node, const ModelLevel& level);
    CollisionBody* LoadCollisionBody(std::string_view name);
    WorldObject* Clone(const WorldObject& source);

    // Pictures into texture numbers, from the textures archive.
    void LoadPictures(std::span<const NumberedPicture> pictures);
    void UseTexturesArchive();
    void UseObjectsArchive();

    // Writes numbers into the leading entries of the node's texture list; a list too short
    // for them keeps what fits.
    static void Paint(WorldObject& node, std::span<const uint32_t> numbers);

    // The object world is silent about a file that is there but damaged: says so.
    void ReportDamaged(std::string_view name) const;

    RenderDevice& device;
    RaceContext& race;
    const RaceContentOptions& options;
    RaceContentHooks& hooks;
    RaceScene& scene;
    const CircuitRow& circuit;
    BikeClass bikeClass;
    Weather weather;
    uint32_t detail;
};

// The steps of a load, in their order.
bool BuildCircuitScenery(LoadSession& session);
void BuildTrackMarks(LoadSession& session);
bool LoadClassTemplates(LoadSession& session);
void LoadClassLiveries(LoadSession& session);
bool LoadIdealLine(LoadSession& session);
void LoadSharedTextures(LoadSession& session);
bool LoadSmokeClouds(LoadSession& session);
void RunGroundPass(LoadSession& session);
void PlaceCrashFigures(LoadSession& session);
bool LoadTestBodies(LoadSession& session);
bool BuildMarshals(LoadSession& session);
bool BuildRiders(LoadSession& session);
}  // namespace content
