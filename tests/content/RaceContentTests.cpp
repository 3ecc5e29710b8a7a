// Whole race loads of the demo circuit: the scene tree of every class, weather and model
// detail against its frozen dump, the world's parts as the race reads them, the field on the
// ground, the unload, and a frame of the loaded world.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "content/CircuitTable.h"
#include "content/EffectTables.h"
#include "content/FieldTables.h"
#include "content/GroundPass.h"
#include "core/world/MeshRecords.h"
#include "core/world/WorldObject.h"
#include "kit/content/DemoContent.h"
#include "tests/content/ContentFixture.h"
#include "tests/support/CaseNames.h"
#include "view/pit/PitCrewScene.h"

namespace
{
struct LoadCase
{
    BikeClass bikeClass;
    Weather weather;
    uint32_t detail;
    uint64_t dumpHash;
};

std::string CaseName(const LoadCase& c)
{
    static constexpr const char* kClasses[] = {"Class125", "Class250", "Class500"};
    static constexpr const char* kWeathers[] = {"Fine", "Dull", "Rain"};
    return std::string(kClasses[static_cast<size_t>(c.bikeClass)]) +
           kWeathers[static_cast<size_t>(c.weather)] + "Detail" + std::to_string(c.detail);
}

std::vector<uint32_t> TextureList(const WorldObject* node)
{
    std::vector<uint32_t> list;
    for (const uint32_t* entry = node->textureList.get(); *entry != kTextureListEnd; ++entry)
    {
        list.push_back(*entry);
    }
    return list;
}

uint32_t CountSubObjects(const WorldObject* parent)
{
    uint32_t count = 0;
    for (const WorldObject* sub = parent->firstSubObject.get(); sub != nullptr;
         sub = sub->nextSibling.get())
    {
        ++count;
    }
    return count;
}

class SceneDumpTest : public ContentTest, public testing::WithParamInterface<LoadCase>
{
};

// Node ids, flags, placements and texture lists of the whole tree, the riders' ground
// placement and the racing line's ground values, for each case as frozen. A mismatch writes the
// dump into golden-failures/ (recording writes every case's) for a diff.
TEST_P(SceneDumpTest, MatchesTheFrozenTable)
{
    const LoadCase& c = GetParam();
    Mount();
    PrepareRace(c.bikeClass, c.weather, RidersOfClass(c.bikeClass));
    ASSERT_TRUE(Load(c.detail));
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    const std::string dump = DumpScene(*content_, *race_);
    const uint64_t hash = HashText(dump);
    const bool recording = std::getenv("ZARVO_RECORD_GOLDEN") != nullptr;
    if (recording || hash != c.dumpHash)
    {
        const std::filesystem::path folder = GoldenFailureFolder();
        std::filesystem::create_directories(folder);
        std::ofstream(folder / ("scene-" + CaseName(c) + ".txt")) << dump;
    }
    if (recording)
    {
        std::printf("%s 0x%016llX\n", CaseName(c).c_str(), static_cast<unsigned long long>(hash));
        return;
    }
    EXPECT_EQ(hash, c.dumpHash) << "the dump is in " << GoldenFailureFolder().string();
}

INSTANTIATE_TEST_SUITE_P(
    DemoCircuit, SceneDumpTest,
    testing::Values(LoadCase{BikeClass::Class125, Weather::Fine, 0, 0xE5D34516C0675EBA},
                    LoadCase{BikeClass::Class125, Weather::Fine, 1, 0x7AE1D886592695C4},
                    LoadCase{BikeClass::Class125, Weather::Fine, 2, 0x0E3F4E94F0324DAC},
                    LoadCase{BikeClass::Class125, Weather::Dull, 0, 0xC96F193BF86DBBA7},
                    LoadCase{BikeClass::Class125, Weather::Dull, 1, 0xF725AD33E72907E1},
                    LoadCase{BikeClass::Class125, Weather::Dull, 2, 0x0E68EB1476704A71},
                    LoadCase{BikeClass::Class125, Weather::Rain, 0, 0x7C963E966397A709},
                    LoadCase{BikeClass::Class125, Weather::Rain, 1, 0xB23F59A543E01283},
                    LoadCase{BikeClass::Class125, Weather::Rain, 2, 0x33AB47715DECF153},
                    LoadCase{BikeClass::Class250, Weather::Fine, 0, 0xE90C4C0B984BE7C6},
                    LoadCase{BikeClass::Class250, Weather::Fine, 1, 0xF4AF4E08C68B74A4},
                    LoadCase{BikeClass::Class250, Weather::Fine, 2, 0x4C4EAE397C0D463C},
                    LoadCase{BikeClass::Class250, Weather::Dull, 0, 0x200967AFE1B3F41F},
                    LoadCase{BikeClass::Class250, Weather::Dull, 1, 0xDA38FDD22648033D},
                    LoadCase{BikeClass::Class250, Weather::Dull, 2, 0x8B91644C79F49CB5},
                    LoadCase{BikeClass::Class250, Weather::Rain, 0, 0x3E87815E1C76D3FB},
                    LoadCase{BikeClass::Class250, Weather::Rain, 1, 0x4688658B74FBBB01},
                    LoadCase{BikeClass::Class250, Weather::Rain, 2, 0x2E2FF705C1C94C59},
                    LoadCase{BikeClass::Class500, Weather::Fine, 0, 0xB7C5D4DD6B82C303},
                    LoadCase{BikeClass::Class500, Weather::Fine, 1, 0xE31BD583E0889A85},
                    LoadCase{BikeClass::Class500, Weather::Fine, 2, 0x1AF30913C5D78109},
                    LoadCase{BikeClass::Class500, Weather::Dull, 0, 0x6134A90B44C50242},
                    LoadCase{BikeClass::Class500, Weather::Dull, 1, 0x816AD2A60F95B384},
                    LoadCase{BikeClass::Class500, Weather::Dull, 2, 0x7B97C17597857B80},
                    LoadCase{BikeClass::Class500, Weather::Rain, 0, 0xC0E055DC50D50092},
                    LoadCase{BikeClass::Class500, Weather::Rain, 1, 0x448DE645BF36986C},
                    LoadCase{BikeClass::Class500, Weather::Rain, 2, 0x01ADB166A938F658}),
    [](const testing::TestParamInfo<LoadCase>& info) { return CaseName(info.param); });

class LoadedRaceTest : public ContentTest
{
protected:
    void LoadDemo(BikeClass bikeClass = BikeClass::Class125, Weather weather = Weather::Fine,
                  uint32_t riders = 25)
    {
        Mount();
        PrepareRace(bikeClass, weather, riders);
        ASSERT_TRUE(Load());
    }

    const RaceScene& Scene() const { return content_->Scene(); }
};

// The demo installation carries every circuit the menus and the calendar name: each loads with
// its own line, ground, scenery and, where the circuit has them, cones.
TEST_F(LoadedRaceTest, EveryCircuitOfTheCalendarLoads)
{
    Mount();
    for (const content::CircuitRow& circuit : content::Circuits())
    {
        PrepareRace(BikeClass::Class250, Weather::Rain, 4, circuit.key);
        EXPECT_TRUE(Load(0)) << circuit.key;
        EXPECT_EQ(Scene().cones.size(), circuit.cones.size()) << circuit.key;
        content_->Unload();
        content_.reset();
    }
}

TEST_F(LoadedRaceTest, CallsTheOtherPartsInLoadOrder)
{
    LoadDemo();
    const std::vector<std::string> expected = {
        "CloseMenus",       "ExchangeBikeSetups", "ResetRaceState",        "LoadHudTextures",
        "ArmStartSequence", "ResetCollisions",    "PrepareComputerRiders", "SetCameraDefaults",
        "ResetStateCheck",  "BuildSweepLists",    "LoadMarshalFlags"};
    EXPECT_EQ(hooks_.calls, expected);
    EXPECT_FLOAT_EQ(hooks_.cameraHeading, race_->bikes[0].heading);
}

TEST_F(LoadedRaceTest, SimulationGetsTheGripFloorAndAbrasionOfTheTyrePreparation)
{
    Mount();
    PrepareRace(BikeClass::Class125, Weather::Fine, 25);
    // What the computer riders' preparation leaves: without it no tyre would grip.
    race_->race.trackAbrasion = 0.25f;
    race_->race.minimumTyreGrip = 1.2f;
    ASSERT_TRUE(Load());
    EXPECT_EQ(Scene().parameters.trackAbrasion, 0.25f);
    EXPECT_EQ(Scene().parameters.minimumTyreGrip, 1.2f);
}

TEST_F(LoadedRaceTest, SceneNodesHangWhereTheRaceLooksForThem)
{
    LoadDemo();
    const RaceScene& scene = Scene();
    ASSERT_NE(scene.root, nullptr);
    EXPECT_EQ(scene.root->firstChild.get(), scene.sky);
    const struct
    {
        const WorldObject* node;
        const WorldObject* parent;
        uint32_t objectNumber;
        uint16_t flags;
    } kNodes[] = {
        {scene.sky, scene.root, 1, 0x4124},
        {scene.scenery, scene.sky, 2, 0x4124},
        {scene.track, scene.scenery, 3, 0x0164},
        {scene.sun, scene.track, 9, 0x8004},
        {scene.effects, scene.track, 1000, 0x8004},
        {scene.trackAlpha, scene.track, 4, 0x8044},
        {scene.movingGroup, scene.track, 5, 0x8024},
        {scene.sceneGroup, scene.track, 6, 0x8004},
        {scene.trackMarks, scene.sceneGroup, 7, 0x802c},
        {scene.idealLine, scene.trackMarks, 8, 0xec},
    };
    for (const auto& expected : kNodes)
    {
        ASSERT_NE(expected.node, nullptr) << expected.objectNumber;
        EXPECT_EQ(expected.node->parent.get(), expected.parent) << expected.objectNumber;
        EXPECT_EQ(expected.node->userValue, expected.objectNumber);
        EXPECT_EQ(expected.node->flags, expected.flags) << expected.objectNumber;
    }
    EXPECT_EQ(scene.sun->placement.y, 18274.0f);
    EXPECT_EQ(scene.sun->ownRadius, 100000.0f);
    // Each layer draws with its own fog.
    EXPECT_EQ(scene.sky->fogTable.get(), scene.fogTables[0]);
    EXPECT_EQ(scene.scenery->fogTable.get(), scene.fogTables[1]);
    EXPECT_EQ(scene.track->fogTable.get(), scene.fogTables[2]);
    EXPECT_EQ(scene.track->fogColour, 0xC09040u);
    for (size_t light = 0; light < content::kStartLights; ++light)
    {
        EXPECT_EQ(scene.startLights[light]->parent.get(), scene.trackAlpha);
        EXPECT_EQ(scene.startLights[light]->angles[1], 4.0f);
        EXPECT_EQ(scene.startLights[light]->placement.x, content::StartLights()[light].offset.x);
    }
    EXPECT_EQ(CountSubObjects(scene.effects), content::kSmokeClouds);
    EXPECT_EQ(scene.smokeClouds[199]->userValue, 1200u);
    EXPECT_EQ(scene.smokeClouds[0]->flags, 0x1a0c);
    EXPECT_NE(scene.testBody, nullptr);
    EXPECT_NE(scene.testBody2, nullptr);
}

TEST_F(LoadedRaceTest, DullAndRainHaveNoSun)
{
    for (const Weather weather : {Weather::Dull, Weather::Rain})
    {
        LoadDemo(BikeClass::Class250, weather, 3);
        EXPECT_EQ(Scene().sun, nullptr);
        EXPECT_EQ(race_->current.trackWetness, weather == Weather::Dull ? 0.65f : 1.0f);
        EXPECT_EQ(Scene().parameters.surfaces.weatherFactor,
                  weather == Weather::Dull ? 0.1f : 0.2f);
        content_->Unload();
    }
}

// The mark object: 200 triangles in one chain over 100 quads waiting below the ground.
TEST_F(LoadedRaceTest, MarksWaitBelowTheGround)
{
    LoadDemo();
    const WorldObject& marks = *Scene().trackMarks;
    EXPECT_EQ(TextureList(&marks), (std::vector<uint32_t>{1201, 1206, 1025, 1026, 1027, 1028}));
    const MeshVertex* vertices = marks.firstLevel.vertices.get();
    EXPECT_EQ(vertices[399].position.y, -100.0f);
    EXPECT_EQ(vertices[6].position.x, 0.1f);
    uint32_t triangles = 0;
    for (const PolygonListEntry* entry = &marks.firstLevel.bspRoot->firstPolygon->entry;
         entry != nullptr; entry = entry->next.get())
    {
        const auto* polygon = reinterpret_cast<const PolygonRecord*>(entry);
        ASSERT_EQ(polygon->cornerCount, 3u);
        const uint32_t q = 64 * (triangles / 2);
        EXPECT_EQ(polygon->Corners()[0], triangles % 2 == 0 ? q : q + 48);
        EXPECT_EQ(polygon->Corners()[3], polygon->Corners()[0]);
        ++triangles;
    }
    EXPECT_EQ(triangles, 200u);
}

// Every rider gets the templates' clones painted with its livery, the figure of the first
// rider's files, and stands on the ground of its start slot.
TEST_F(LoadedRaceTest, FieldIsPaintedAndOnTheGround)
{
    LoadDemo(BikeClass::Class125, Weather::Rain, 25);
    const RiderLivery& livery = g_riderLiveries[0][7];
    const BikeRecord& bike = race_->bikes[7];
    const uint32_t s = 240 + 15 * livery.paintDesign;
    const uint32_t b = 680 + 5 * livery.paintDesign;
    const uint32_t w = 630 + 6 * livery.wheelDesign;
    EXPECT_EQ(TextureList(bike.links.helmet.get()), (std::vector<uint32_t>{207, 609, 230}));
    EXPECT_EQ(TextureList(bike.links.thighs[1].get()),
              (std::vector<uint32_t>{s + 7, s + 3, s + 2}));
    EXPECT_EQ(TextureList(bike.links.bike.get()),
              (std::vector<uint32_t>{607, w + 1, w, 606, 602, 604, 610}));
    const std::vector<uint32_t> body = TextureList(bike.links.seat.get());
    ASSERT_EQ(body.size(), 13u);
    EXPECT_EQ(body[1], 555u);  // the start number's second picture
    EXPECT_EQ(body[5], b);
    const std::vector<uint32_t> cockpit = TextureList(bike.links.furtherBikeNodes[0].get());
    ASSERT_EQ(cockpit.size(), 19u);
    EXPECT_EQ(cockpit[18], 1182u);

    // The figure source loaded the parts; the others are clones with the same ids.
    EXPECT_EQ(race_->bikes[0].links.helmet->userValue, 256u + content::kHelmet);
    EXPECT_EQ(bike.links.helmet->userValue, 256u + content::kHelmet);
    EXPECT_EQ(bike.links.hip->flags, 0x8024);
    EXPECT_EQ(race_->bikes[0].links.hip->flags, 0x8004);
    EXPECT_EQ(bike.links.bike->userValue, 5007u);
    EXPECT_EQ(bike.links.bikeRoot->userValue, 135u);
    EXPECT_EQ(bike.links.hip->parent.get(), bike.links.seat.get());
    EXPECT_EQ(bike.links.lowerLegs[1]->followOn.get(), bike.links.seat.get());
    EXPECT_EQ(bike.links.rearSpray->followOn.get(), nullptr);
    EXPECT_EQ(bike.links.furtherBikeNodes[2]->placement.y,
              content::CockpitOf(BikeClass::Class125, livery.bikeModel).needle.y);

    // On the flat demo ground, in the rain.
    EXPECT_EQ(bike.soundSlot, -1);
    EXPECT_EQ(bike.wheelFrameBase, static_cast<int32_t>(livery.wheelDesign));
    EXPECT_EQ(bike.groundHeight, 0.0f);
    EXPECT_EQ(bike.links.bikeRoot->placement.x, bike.positionX);
    EXPECT_EQ(bike.links.bikeRoot->angles[1], bike.heading);
    EXPECT_NE(bike.frontTriangle, content::kGroundSeries);
    EXPECT_EQ(bike.groundTrail[11].state, 7u);
    EXPECT_EQ(bike.frontTyreHeat, bike.setup.frontWetTyreHeat);
}

// The dust and spray meshes are drawn through the rider's chain, where only their own flag can
// keep them off the screen: every rider starts with them hidden, whatever the weather.
TEST_F(LoadedRaceTest, EffectMeshesStartHidden)
{
    for (const Weather weather : {Weather::Fine, Weather::Rain})
    {
        LoadDemo(BikeClass::Class250, weather, 25);
        for (uint32_t rider = 0; rider < 25; ++rider)
        {
            const BikeRecord& bike = race_->bikes[rider];
            for (const RiderObjectLinks::Link& mesh :
                 {bike.links.frontDust, bike.links.rearDust, bike.links.rearSpray})
            {
                ASSERT_TRUE(mesh);
                EXPECT_EQ(mesh->flags, 0x809c) << mesh->userValue;
            }
        }
    }
}

// The race widens the shadow under a leaning rider by moving vertices 0 and 2 to its left edge
// and 4 and 5 to its right: the demo's shadow must hold those corners there, or the quad folds
// into a long triangle (and the step writes past a four-vertex mesh).
TEST_F(LoadedRaceTest, TheShadowKeepsTheCornersTheLeanMoves)
{
    LoadDemo(BikeClass::Class125, Weather::Fine, 1);
    const WorldObject* shadow = race_->bikes[0].links.bikeRoot.get();
    ASSERT_NE(shadow, nullptr);
    const MeshVertex* vertices = shadow->firstLevel.vertices.get();
    ASSERT_NE(vertices, nullptr);
    ASSERT_LT(vertices[2].position.x, 0.0f) << "vertex 2 lies on the right edge";
    for (const auto& [left, right] : {std::pair{0, 4}, std::pair{2, 5}})
    {
        EXPECT_LT(vertices[left].position.x, 0.0f) << left;
        EXPECT_GT(vertices[right].position.x, 0.0f) << right;
        EXPECT_EQ(vertices[left].position.z, vertices[right].position.z) << left << " " << right;
    }
    EXPECT_NE(vertices[0].position.z, vertices[2].position.z) << "front and rear edge";
}

// A rider down or out keeps no link into the arena (not even one of an earlier race), the
// ghost rider always gets its machine, painted with the ghost's livery.
TEST_F(LoadedRaceTest, RidersOutOfTheRaceGetNothingButTheGhost)
{
    LoadDemo(BikeClass::Class125, Weather::Fine, 4);
    ASSERT_TRUE(race_->bikes[2].links.hip);
    race_->bikes[1].flags = bike_flags::kDown;
    race_->bikes[2].flags = bike_flags::kInactive;
    race_->bikes[3].flags = bike_flags::kInactive;
    options_.ghostRider = 3;
    options_.ghostLivery = 12;
    ASSERT_TRUE(Load());
    EXPECT_FALSE(race_->bikes[1].links.bikeRoot);
    EXPECT_FALSE(race_->bikes[2].links.hip);
    EXPECT_EQ(race_->bikes[2].soundSlot, -1);
    ASSERT_TRUE(race_->bikes[3].links.helmet);
    EXPECT_EQ(TextureList(race_->bikes[3].links.helmet.get())[0], 212u);
}

// The racing line gets the ground's heights and surfaces, and the crash figures stand on the
// practice slots with their marshals.
TEST_F(LoadedRaceTest, RacingLineAndCrashFiguresFromTheGround)
{
    LoadDemo();
    const RacingLine& line = race_->race;
    ASSERT_EQ(Scene().surfaceByNode.size(), line.nodeCount);
    EXPECT_EQ(Scene().surfaceByNode[0], 4);  // the track
    const RacingLineNode& node = line.nodes[10];
    const RacingLineNode& next = line.nodes[node.next];
    // The edge equation measures the signed distance from the line.
    EXPECT_NEAR(node.edgeA * next.x + node.edgeB * next.z + node.edgeC, 0.0f, 1e-3f);
    EXPECT_NEAR(node.edgeA * node.edgeA + node.edgeB * node.edgeB, 1.0f, 1e-5f);
    for (uint32_t figure = 0; figure < content::kCrashFigures; ++figure)
    {
        const PitCrewScene& crew = g_pitCrewScenes[figure];
        ASSERT_NE(crew.mechanicA[PitCrewScene::kHelmet], nullptr);
        EXPECT_EQ(TextureList(crew.mechanicA[PitCrewScene::kHelmet]), std::vector<uint32_t>{800});
        EXPECT_EQ(TextureList(crew.mechanicB[PitCrewScene::kHelmet]), std::vector<uint32_t>{801});
        EXPECT_EQ(crew.mechanicB[PitCrewScene::kTorso]->userValue, 4096u + content::kTorso);
        EXPECT_EQ(crew.mechanicA[PitCrewScene::kHip]->parent.get(), nullptr);
        EXPECT_EQ(crew.mechanicA[PitCrewScene::kLowerLegRight]->parent.get(),
                  crew.mechanicA[PitCrewScene::kThighRight]);
    }
}

// Every picture the load asks for is in the demo installation.
TEST_F(LoadedRaceTest, EveryPictureIsThere)
{
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        LoadDemo(bikeClass, Weather::Fine, 2);
        std::vector<content::NumberedPicture> pictures = content::ClassLiveryPictures(bikeClass);
        const std::vector<content::NumberedPicture> shared = content::SharedRacePictures();
        pictures.insert(pictures.end(), shared.begin(), shared.end());
        for (int32_t slot = 1200; slot < 1210; ++slot)
        {
            pictures.push_back({slot, "dust"});
        }
        pictures.push_back({static_cast<int32_t>(kit::kAsphaltTexture), "track set"});
        for (const content::NumberedPicture& picture : pictures)
        {
            EXPECT_NE(g_renderDevice.GetTexture(picture.number), nullptr) << picture.name;
        }
        for (size_t picture = 0; picture < content::kCockpitPictureCount; ++picture)
        {
            EXPECT_NE(Scene().cockpitPictures[picture], nullptr)
                << content::CockpitPictureNames()[picture];
        }
        EXPECT_NE(Scene().marshalFlagPicture, nullptr);
        content_->Unload();
    }
}

TEST_F(LoadedRaceTest, UnloadLeavesNothingBehind)
{
    LoadDemo();
    content_->Unload();
    EXPECT_EQ(g_renderDevice.Root(), nullptr);
    EXPECT_EQ(g_renderDevice.GetTexture(1002), nullptr);
    EXPECT_EQ(Scene().root, nullptr);
    EXPECT_FALSE(race_->bikes[0].links.bikeRoot);
    EXPECT_EQ(g_pitCrewScenes[0].mechanicA[0], nullptr);
    // A new race loads into the same table again.
    hooks_.calls.clear();
    ASSERT_TRUE(Load());
    EXPECT_NE(g_renderDevice.GetTexture(1002), nullptr);
}

// The field on the grid, seen from behind the last row.
TEST_F(LoadedRaceTest, GridFrame)
{
    LoadDemo();
    const BikeRecord& last = race_->bikes[24];
    const BikeRecord& front = race_->bikes[4];
    const float sine = std::sin(last.heading);
    const float cosine = std::cos(last.heading);
    AimCamera({last.positionX - 14.0f * sine, 4.5f, last.positionZ - 14.0f * cosine},
              {front.positionX, 0.5f, front.positionZ});
    const FrameView565 frame = DrawFrame();
    EXPECT_TRUE(MatchesGolden("content-grid", frame, 0xFF9E9217EB911135,
                              std::string(ZARVO_GOLDEN_DIR) + "/grid.bmp"));
}
}  // namespace
