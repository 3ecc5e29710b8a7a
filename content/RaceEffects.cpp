// The common part of a race load besides the field: the ideal line, the shared textures and
// cockpit pictures, the smoke clouds, the ground pass over the racing line, the crash figures
// with their marshals and the test collision bodies.

#include "app/device/RenderDevice.h"
#include "content/Figures.h"
#include "content/GroundPass.h"
#include "content/LoadSession.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"
#include "view/pit/PitCrewScene.h"
#include "view/pit/PitStopSequence.h"
#include "view/rider/RiderMotionSet.h"

namespace content
{
namespace
{
constexpr float kWideRadius = 10000.0f;
constexpr float kSmokeRadius = 20.0f;
constexpr double kSmokeRange = 200.0;

void StoreHandles(LoadSession& session)
{
    RaceScene& scene = session.scene;
    for (size_t index = 0; index < kCockpitTextureNumbers.size(); ++index)
    {
        scene.cockpitTextures[index] = session.device.GetTexture(kCockpitTextureNumbers[index]);
    }
    scene.marshalFlagPicture = session.device.GetTexture(kMarshalFlagTexture);
}

// The marshal bodies' parts in the order of the crash figures' bodies.
std::array<WorldObject*, PitCrewScene::kFigureNodes> SceneOrder(const FigureNodes& parts)
{
    return {parts[kHip],           parts[kTorso],       parts[kHelmet],       parts[kLeftUpperArm],
            parts[kRightUpperArm], parts[kLeftForearm], parts[kRightForearm], parts[kLeftHand],
            parts[kRightHand],     parts[kLeftThigh],   parts[kRightThigh],   parts[kLeftShin],
            parts[kRightShin]};
}

bool LoadMarshalBody(LoadSession& session, FigureNodes& parts)
{
    for (const MarshalPart& part : MarshalParts())
    {
        parts[part.part] =
            session.LoadModel(MarshalPartName(part), kMarshalObjectBase + part.part, kMarshalRange);
        if (parts[part.part] == nullptr)
        {
            return false;
        }
    }
    return true;
}

void FinishMarshalBody(LoadSession& session, FigureNodes& parts, uint32_t body)
{
    AttachFigure(session, parts, nullptr);
    for (uint32_t part = 0; part < kFigureParts; ++part)
    {
        parts[part]->flags = 0x4;
        LoadSession::Paint(*parts[part], MarshalTextureList(static_cast<FigurePart>(part), body));
    }
}
}  // namespace

bool LoadIdealLine(LoadSession& session)
{
    RaceScene& scene = session.scene;
    session.UseObjectsArchive();
    WorldObject* line =
        session.LoadModel(IdealLineModelName(session.circuit, session.bikeClass), 8, 6000.0);
    if (line == nullptr || scene.trackMarks == nullptr)
    {
        return false;
    }
    scene.idealLine = session.device.AttachObject(line, scene.trackMarks, 0.0f, 0.0f, 0.0f,
                                                  kAttachSubObject, kWideRadius);
    line->flags |= 0x6c;
    line->flags |= 0x80;
    line->ownRadius = kWideRadius;
    scene.trackAlpha->ownRadius = kWideRadius;
    return true;
}

void LoadSharedTextures(LoadSession& session)
{
    session.UseTexturesArchive();
    session.LoadPictures(SharedRacePictures());
    StoreHandles(session);
    const std::array<std::string, kCockpitPictureCount>& names = CockpitPictureNames();
    for (size_t index = 0; index < kCockpitPictureCount; ++index)
    {
        session.device.LoadMemoryTexture(names[index].c_str(),
                                         &session.scene.cockpitPictures[index]);
    }
}

bool LoadSmokeClouds(LoadSession& session)
{
    RaceScene& scene = session.scene;
    for (uint32_t cloud = 0; cloud < kSmokeClouds; ++cloud)
    {
        WorldObject* node = session.LoadModel(kSmokeCloudModel, 1001 + cloud, kSmokeRange);
        if (node == nullptr)
        {
            return false;
        }
        scene.smokeClouds[cloud] = session.device.AttachObject(
            node, scene.effects, 0.0f, 0.0f, 0.0f, kAttachSubObject, kSmokeRadius);
        node->flags |= 0x1a04;
        node->flags |= 0x8;
    }
    return true;
}

void RunGroundPass(LoadSession& session)
{
    RunRacingLineGroundPass(session.race.race, *session.scene.ground, session.scene.surfaceByNode);
}

void PlaceCrashFigures(LoadSession& session)
{
    RaceScene& scene = session.scene;
    scene.crewStage = {&session.device,    &g_riderMotionSet,
                       session.race.bikes, scene.movingGroup,
                       &*scene.ground,     g_pitStopSequences ? &*g_pitStopSequences : nullptr};
    for (uint32_t figure = 0; figure < kCrashFigures; ++figure)
    {
        PitCrewScene& crew = g_pitCrewScenes[figure];
        crew.SetStage(&scene.crewStage);
        crew.Reset();
        if (const std::optional<CrashFigurePlace> place =
                CrashFigurePlaceOf(session.race.race, figure))
        {
            crew.SetPosition(place->x, place->z, place->heading);
        }
    }
}

bool LoadTestBodies(LoadSession& session)
{
    session.scene.testBody2 = session.LoadCollisionBody(kTestBody2);
    session.scene.testBody = session.LoadCollisionBody(kTestBody);
    return session.scene.testBody != nullptr && session.scene.testBody2 != nullptr;
}

bool BuildMarshals(LoadSession& session)
{
    FigureNodes firstA{};
    FigureNodes firstB{};
    for (uint32_t figure = 0; figure < kCrashFigures; ++figure)
    {
        FigureNodes bodyA{};
        FigureNodes bodyB{};
        const bool made =
            figure == 0
                ? LoadMarshalBody(session, bodyA) && CloneFigure(session, bodyA, bodyB)
                : CloneFigure(session, firstA, bodyA) && CloneFigure(session, firstB, bodyB);
        if (!made)
        {
            return false;
        }
        FinishMarshalBody(session, bodyA, 0);
        FinishMarshalBody(session, bodyB, 1);
        if (figure == 0)
        {
            firstA = bodyA;
            firstB = bodyB;
        }
        g_pitCrewScenes[figure].mechanicA = SceneOrder(bodyA);
        g_pitCrewScenes[figure].mechanicB = SceneOrder(bodyB);
    }
    return true;
}
}  // namespace content
