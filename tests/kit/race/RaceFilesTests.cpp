// The demo installation's race files through the game's own readers: every file read as the
// game reads it and written back by the game's layouts gives the kit's bytes again.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/world/ObjectFileImage.h"
#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "core/world/MeshRecords.h"
#include "kit/race/CircuitGenerator.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoRace.h"
#include "kit/race/DemoRiders.h"
#include "race/BikeSetupImage.h"
#include "race/RaceContext.h"
#include "race/RacingLineFile.h"
#include "race/RiderProfileFile.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr BikeClass kClasses[] = {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500};

class DemoRaceFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(CopyDemoInstallation(directory_.path(), error)) << error;
        ASSERT_TRUE(data_.Open("archives/data.cpr", false));
        ASSERT_TRUE(objects_.Open("archives/objects.cpr", false));
        ASSERT_TRUE(menu_.Open("archives/english/menu.cpr", false));
        context_->current.circuitName = kit::kDemoRaceCircuitName;
    }

    static std::vector<uint8_t> Member(CprArchive& archive, const std::string& name)
    {
        return ReadWholeIfPresent(&archive, name).value_or(std::vector<uint8_t>());
    }

    TestDirectory directory_;
    CprArchive data_;
    CprArchive objects_;
    CprArchive menu_;
    std::unique_ptr<RaceContext> context_ = std::make_unique<RaceContext>("tempdaten/system.cpr");
};

TEST_F(DemoRaceFilesTest, EveryClassAndLevelLoadsItsLineByteForByte)
{
    for (const BikeClass bikeClass : kClasses)
    {
        for (const uint32_t difficulty : {0u, 2u})
        {
            context_->current.bikeClass = bikeClass;
            context_->current.difficulty = difficulty;
            ASSERT_TRUE(context_->LoadRacingLine(&data_));
            const std::string name =
                "Streckendaten/ShahAlam" +
                std::to_string(ToIndex(bikeClass) + (difficulty == 2 ? 3 : 0)) + ".wgf";
            EXPECT_TRUE(EncodeRacingLineFile(context_->race, context_->standings.head) ==
                        Member(data_, name))
                << name;
        }
    }
    EXPECT_GT(context_->race.nodeCount, 0);
}

TEST_F(DemoRaceFilesTest, RiderDataLoadsByteForByte)
{
    for (const BikeClass bikeClass : kClasses)
    {
        context_->current.bikeClass = bikeClass;
        ASSERT_TRUE(context_->LoadRiderProfiles());
        EXPECT_EQ(context_->race.riderCount, 26);
        const std::optional<std::vector<uint8_t>> file =
            files::ReadAll("Bikedaten/Fahrerdaten" + std::to_string(ToIndex(bikeClass)) + ".tst");
        ASSERT_TRUE(file.has_value());
        EXPECT_TRUE(EncodeRiderProfiles(context_->riderProfiles) == *file);
    }
}

TEST_F(DemoRaceFilesTest, ClassSetupsLoadByteForByte)
{
    const char* texts[] = {"125", "250", "500"};
    for (const BikeClass bikeClass : kClasses)
    {
        ASSERT_TRUE(context_->LoadClassBikeSetups(&menu_, bikeClass));
        const std::vector<uint8_t> file =
            Member(menu_, std::string("Raddaten/") + texts[ToIndex(bikeClass)] + "Std.rdf");
        const BikeSetupImage loaded = EncodeBikeSetup(context_->bikes[25].setup);
        EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), file.begin(), file.end()));
    }
}

TEST_F(DemoRaceFilesTest, TheRecordTableReadsAndWritesBackUnchanged)
{
    const std::string before = directory_.ReadFile("tempdaten/system.cpr");
    ASSERT_EQ(before.size(), CircuitRecords::kFileSize);
    EXPECT_TRUE(context_->race.SaveRecords());
    EXPECT_EQ(directory_.ReadFile("tempdaten/system.cpr"), before);
}

TEST_F(DemoRaceFilesTest, TheGroundModelLoadsWithTheGeneratedTriangles)
{
    std::vector<uint8_t> image = Member(objects_, "objekte/kolision/ShahAlam_Collision.4co");
    ASSERT_FALSE(image.empty());
    const TrackCollisionModel* model =
        RelocateTrackCollisionImage(image.data(), static_cast<uint32_t>(image.size()));
    ASSERT_NE(model, nullptr);

    std::string error;
    const auto circuit = kit::GenerateCircuit(kit::DemoCircuitShape(), BikeClass::Class125, error);
    ASSERT_TRUE(circuit.has_value()) << error;
    ASSERT_EQ(model->recordCount, circuit->ground.size());
    const uint8_t* records = image.data() + 4;
    for (size_t t = 0; t < circuit->ground.size(); ++t)
    {
        const kit::TrackTriangle& triangle = circuit->ground[t];
        const uint8_t* record = records + 56 * t;
        ASSERT_EQ(LoadLe32(record), triangle.surface);
        for (size_t edge = 0; edge < 3; ++edge)
        {
            const int32_t neighbour = triangle.neighbours[edge];
            ASSERT_EQ(LoadLe32(record + 20 + 4 * edge),
                      neighbour < 0 ? 0u : 4 + 56 * static_cast<uint32_t>(neighbour));
        }
        ASSERT_EQ(std::memcmp(record + 32, triangle.corners.data(), 24), 0);
    }
}

// The class set-ups give believable machines.
TEST(ClassSetupTest, EachClassReachesABelievableTopSpeed)
{
    const struct
    {
        BikeClass bikeClass;
        double lowest, highest;  // km/h
    } cases[] = {{BikeClass::Class125, 195, 225},
                 {BikeClass::Class250, 230, 265},
                 {BikeClass::Class500, 285, 320}};
    for (const auto& c : cases)
    {
        const BikeSetup setup = kit::ClassStandardSetup(c.bikeClass);
        EXPECT_TRUE(IsRideableSetup(setup));
        const double top = kit::DragLimitedTopSpeed(setup) * 3.6;
        EXPECT_GE(top, c.lowest);
        EXPECT_LE(top, c.highest);
        // Sixth gear reaches that speed close to the power peak, neither far short nor far over.
        EXPECT_NEAR(kit::SixthGearSpeedAtPeak(setup) * 3.6, top, 0.05 * top);

        auto bike = std::make_unique<BikeRecord>();
        bike->setup = setup;
        CurrentRace race;
        race.bikeClass = c.bikeClass;
        bike->InitPhysics(0, race);
        EXPECT_EQ(bike->peakTorqueRpm, setup.rpmScale);
        EXPECT_LT(bike->engineCurve.back(), 0.0f) << "the curve turns negative";
        EXPECT_LT(std::sqrt(1.8f) * setup.rpmScale, 19900.0f) << "within the curve";
    }
}

TEST(DemoRiderTest, EveryClassHasTwentySixDistinctRidersWithinTheRanges)
{
    for (const BikeClass bikeClass : kClasses)
    {
        const std::vector<RiderProfile> riders = kit::DemoRiderProfiles(bikeClass);
        ASSERT_EQ(riders.size(), kRiderCount);
        std::vector<std::string> names;
        std::vector<uint8_t> numbers;
        for (const RiderProfile& rider : riders)
        {
            RiderProfile loaded;
            std::array<uint8_t, RiderProfile::kStoredSize> stored{};
            rider.Store(stored);
            loaded.Load(stored);
            EXPECT_EQ(loaded.paceBase, rider.paceBase) << "within the range, kept";
            EXPECT_EQ(loaded.performance, rider.performance);
            EXPECT_EQ(loaded.launchFactor, rider.launchFactor);
            EXPECT_EQ(loaded.rangeBase, rider.rangeBase);
            loaded.TakeStoredForClass(bikeClass);
            names.push_back(loaded.ShownName());
            numbers.push_back(rider.racingNumber);
        }
        std::sort(names.begin(), names.end());
        std::sort(numbers.begin(), numbers.end());
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
        EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end());
    }
}
}  // namespace
