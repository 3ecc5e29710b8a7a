#include "content/RaceContent.h"

#include <algorithm>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/settings/MenuState.h"
#include "content/LoadSession.h"
#include "content/RaceContentHooks.h"
#include "core/archive/DAFile.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"
#include "sound/SoundManager.h"
#include "view/pit/PitCrewScene.h"
#include "view/pit/PitStopSequence.h"
#include "view/rider/RiderMotionSet.h"

RaceContent g_raceContent(g_renderDevice, g_raceContext);

namespace
{
constexpr uint32_t kMinViewDistance = 200;
constexpr uint32_t kMaxViewDistance = 1200;
constexpr float kNearDistance = 0.11f;

void LoadRaceSounds()
{
    if (g_soundEnabled.load(std::memory_order_relaxed))
    {
        g_soundManager.ReleaseMenuSounds();
        g_soundManager.LoadRaceSounds();
    }
}

// A fresh world with the race's view.
WorldObject* CreateRaceWorld(RenderDevice& device, uint32_t viewDistance)
{
    device.SetFieldOfView(600.0f, 1.0f);
    WorldObject* root = device.CreateWorld(RaceContent::kArenaBytes);
    if (root == nullptr)
    {
        return nullptr;
    }
    root->flags |= 0x2;
    device.Vars().nearDistance = kNearDistance;
    const uint32_t farDistance = std::clamp(viewDistance, kMinViewDistance, kMaxViewDistance);
    device.SetViewport(0, 0, 640, 480, kNearDistance, static_cast<float>(farDistance));
    device.CameraBlockValues() = {0.1f, 300000.0f};
    return root;
}

// The common part: the field, the effects and the ground pass, in their order.
bool BuildCommonPart(content::LoadSession& session)
{
    using namespace content;
    session.hooks.PrepareComputerRiders();
    // The tyres' preparation has set the circuit's abrasion and grip floor: without them every
    // tyre would have no grip.
    session.scene.parameters.trackAbrasion = session.race.race.trackAbrasion;
    session.scene.parameters.minimumTyreGrip = session.race.race.minimumTyreGrip;
    BuildTrackMarks(session);
    if (!LoadClassTemplates(session))
    {
        return false;
    }
    LoadClassLiveries(session);
    if (!LoadIdealLine(session))
    {
        return false;
    }
    session.device.LoadRotatingObjects(session.scene.movingGroup, 400.0f, session.circuit.key,
                                       static_cast<int32_t>(session.weather));
    // The textures archive stays current from here on.
    LoadSharedTextures(session);
    if (!LoadSmokeClouds(session))
    {
        return false;
    }
    RunGroundPass(session);
    PlaceCrashFigures(session);
    if (!LoadTestBodies(session) || !BuildMarshals(session) || !BuildRiders(session))
    {
        return false;
    }
    return true;
}
}  // namespace

RaceContentOptions RaceContentOptions::FromSettings(const MenuState& settings)
{
    RaceContentOptions options;
    options.modelDetail = settings.U8At(MenuState::kModelDetailOffset);
    options.viewDistance = settings.U32At(MenuState::kViewDistanceOffset);
    return options;
}

RaceContent::RaceContent(RenderDevice& device, RaceContext& race) : device_(device), race_(race) {}

RaceContent::~RaceContent() = default;

bool RaceContent::Load(const RaceContentOptions& options, RaceContentHooks& hooks)
{
    if (loaded_)
    {
        Unload();
    }
    hooks.CloseMenus();
    BeginLoading();
    scene_.cockpitPictures.fill(nullptr);
    hooks.ExchangeBikeSetups();
    hooks.ResetRaceState();
    device_.SetArchive(g_archiveMenu);
    BuildPitStopSequences();
    hooks.LoadHudTextures();
    LoadRiderMotions(g_riderMotionSet);
    hooks.ArmStartSequence();
    LoadRaceSounds();
    if (!riderPoses_.Load())
    {
        return false;
    }
    loaded_ = BuildWorld(options, hooks);
    if (!loaded_)
    {
        Unload();
        return false;
    }
    const uint32_t viewed = race_.current.viewedRider;
    hooks.SetCameraDefaults(viewed < kRiderCount ? race_.bikes[viewed].heading : 0.0f);
    hooks.ResetStateCheck();
    hooks.BuildSweepLists();
    hooks.LoadMarshalFlags();
    SetLoadingHint(0);
    return true;
}

bool RaceContent::BuildWorld(const RaceContentOptions& options, RaceContentHooks& hooks)
{
    // A rider left out of the race keeps no link into the previous race's arena.
    for (BikeRecord& bike : race_.bikes)
    {
        bike.links = {};
    }
    const content::CircuitRow* circuit = content::FindCircuit(race_.current.circuitName);
    scene_.root = CreateRaceWorld(device_, options.viewDistance);
    hooks.ResetCollisions();
    if (circuit == nullptr || scene_.root == nullptr)
    {
        return false;
    }
    content::LoadSession session(device_, race_, options, hooks, scene_, *circuit);
    return content::BuildCircuitScenery(session) && BuildCommonPart(session);
}

void RaceContent::Unload()
{
    for (Texture*& picture : scene_.cockpitPictures)
    {
        if (picture != nullptr)
        {
            device_.FreeMemoryTexture(&picture);
        }
    }
    for (PitCrewScene& crew : g_pitCrewScenes)
    {
        crew.Reset();
        crew.SetStage(nullptr);
    }
    if (scene_.root != nullptr)
    {
        for (BikeRecord& bike : race_.bikes)
        {
            bike.links = {};
        }
    }
    FreePitStopSequences();
    device_.CleanUp();
    // The race's pictures are gone: texture memory fills from its start again.
    device_.Reset();
    scene_ = RaceScene{};
    loaded_ = false;
}
