// A load that cannot be finished: each model the race needs, missing or damaged, stops the
// load with its name in the object world's message and leaves no world, no race textures and
// no links behind; a pose table that is not whole stops it before any world exists.

#include <gtest/gtest.h>

#include <string>

#include "app/device/RenderDevice.h"
#include "content/CircuitTable.h"
#include "content/EffectTables.h"
#include "content/FieldTables.h"
#include "tests/content/ContentFixture.h"
#include "view/pit/PitCrewScene.h"

namespace
{
struct MissingCase
{
    const char* caseName;
    std::string member;
};

std::vector<MissingCase> MissingCases()
{
    const content::CircuitRow& circuit = *content::FindCircuit("ShahAlam");
    const Weather fine = Weather::Fine;
    const BikeClass c125 = BikeClass::Class125;
    return {
        {"Sky", content::SkyModelName(circuit, fine)},
        {"Scenery", content::SceneryModelName(circuit, fine)},
        {"Track", content::TrackModelName(circuit, fine)},
        {"TransparentParts", content::TrackAlphaModelName(circuit, fine)},
        {"CollisionModel", content::CollisionModelName(circuit)},
        {"StartLight", std::string(content::StartLights()[6].model)},
        {"IdealLine", content::IdealLineModelName(circuit, c125)},
        {"RearWheel", content::RearWheelLevels(c125, 2, 2)[0].name},
        {"Body", content::BodyLevels(c125, 0, 2)[0].name},
        {"Cockpit", content::CockpitModel(c125, 4).name},
        {"BikeCollisionBody", std::string(content::kBikeCollisionBody)},
        {"FigurePart", content::FigureFirstLevel(content::kLeftHand, 2).name},
        {"Shadow", std::string(content::kShadowModel)},
        {"Needle", std::string(content::kNeedleModel)},
        {"Spray", std::string(content::kSecondRearSprayModel)},
        {"SmokeCloud", std::string(content::kSmokeCloudModel)},
        {"TestBody", std::string(content::kTestBody)},
        {"MarshalPart", content::MarshalPartName(content::MarshalParts()[8])},
    };
}

class LoadFailureTest : public ContentTest, public testing::WithParamInterface<bool>
{
protected:
    void ExpectNothingLeft() const
    {
        EXPECT_FALSE(content_->Loaded());
        EXPECT_EQ(g_renderDevice.Root(), nullptr);
        EXPECT_EQ(content_->Scene().root, nullptr);
        EXPECT_EQ(g_renderDevice.GetTexture(1002), nullptr);
        EXPECT_EQ(g_renderDevice.GetTexture(200), nullptr);
        for (const BikeRecord& bike : race_->bikes)
        {
            EXPECT_FALSE(bike.links.bikeRoot);
            EXPECT_FALSE(bike.links.hip);
        }
        EXPECT_EQ(g_pitCrewScenes[0].mechanicA[0], nullptr);
    }
};

// Missing (false) or damaged (true): both named, both leave nothing.
TEST_P(LoadFailureTest, EveryNeededModelIsNamed)
{
    const bool damaged = GetParam();
    for (const MissingCase& missing : MissingCases())
    {
        SCOPED_TRACE(missing.caseName);
        archives_.clear();
        const size_t shown = platform_.MessageBoxes().size();
        MemberChange change{ContentArchive::Objects, missing.member, std::nullopt};
        if (damaged)
        {
            change.bytes = std::vector<uint8_t>{'_', '4', 'D', 'O', 1, 0, 0, 0, 9};
        }
        Mount(change);
        PrepareRace(BikeClass::Class125, Weather::Fine, 3);
        EXPECT_FALSE(Load());
        // The archive may first say it has no such member; the last word names the model.
        const std::vector<std::string>& messages = platform_.MessageBoxes();
        ASSERT_GT(messages.size(), shown);
        EXPECT_EQ(messages.back(), missing.member + " kann nicht geladen werden");
        for (size_t message = shown; message < messages.size(); ++message)
        {
            EXPECT_NE(messages[message].find(missing.member), std::string::npos);
        }
        ExpectNothingLeft();
        content_.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(DemoCircuit, LoadFailureTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info)
                         { return info.param ? "Damaged" : "Missing"; });

// A pose table one byte short or long: no world is made, nothing after the pose table runs.
TEST_F(LoadFailureTest, PoseTableOfTheWrongSizeStopsBeforeTheWorld)
{
    for (const size_t size : {size_t{1799}, size_t{1801}})
    {
        archives_.clear();
        hooks_.calls.clear();
        Mount(MemberChange{ContentArchive::Menu, "Motions/Motions.MDF",
                           std::vector<uint8_t>(size, 0)});
        PrepareRace(BikeClass::Class125, Weather::Fine, 3);
        EXPECT_FALSE(Load());
        EXPECT_EQ(g_renderDevice.Root(), nullptr);
        EXPECT_EQ(hooks_.calls.back(), "ArmStartSequence");
        content_.reset();
    }
}

TEST_F(LoadFailureTest, UnknownCircuitStops)
{
    Mount();
    PrepareRace(BikeClass::Class125, Weather::Fine, 3);
    race_->current.circuitName = "shahalam";
    EXPECT_FALSE(Load());
    ExpectNothingLeft();
}
}  // namespace
