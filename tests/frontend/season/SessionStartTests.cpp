#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/CprArchive.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/SessionField.h"
#include "frontend/season/SessionStart.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/season/WeekendStart.h"
#include "kit/CprWriter.h"
#include "kit/race/CircuitGenerator.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoRace.h"
#include "race/BikeSetupImage.h"
#include "race/RacingLineFile.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr uint32_t kPlayer = 20;

class SessionStartTest : public testing::Test
{
protected:
    SessionStartTest()
    {
        race->playerRider = kPlayer;
        settings.SetU32At(MenuState::kBikeClassOffset, 1);
        settings.SetU32At(MenuState::kPlayerRiderOffset, kPlayer);
        settings.SetU32At(MenuState::kCircuitOffset, 11);
        settings.SetU8At(MenuState::kLevelOffset, 1);
        settings.SetU8At(MenuState::kSessionWeatherOffset + 2, 2);
    }

    void SetMode(GameMode mode) { settings.SetU32At(MenuState::kGameModeOffset, ToIndex(mode)); }

    TestDirectory directory;
    std::unique_ptr<RaceContext> race = std::make_unique<RaceContext>("system.cpr");
    MenuState settings;
};

TEST_F(SessionStartTest, SingleRaceSetsTheCurrentRaceAndTrimsTheField)
{
    SetMode(GameMode::Race);
    settings.SetU32At(MenuState::kOpponentsOffset, 4);
    settings.SetU32At(MenuState::kGridPositionOffset, 10);
    const SessionStart start = StartSession(*race, settings, 1000, nullptr, nullptr);

    EXPECT_TRUE(start.isRace);
    EXPECT_EQ(start.fieldSize, 10u);
    EXPECT_EQ(race->current.bikeClass, BikeClass::Class250);
    EXPECT_EQ(race->current.circuitName, "Bruenn");
    EXPECT_EQ(race->current.difficulty, 1u);
    EXPECT_EQ(race->race.totalLaps, 5);
    EXPECT_EQ(race->bikes[kPlayer].raceStatus, 0u);
    EXPECT_EQ(race->standings.gridOrder[kPlayer], 10);
    uint32_t riding = 0;
    uint32_t last = 0;
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        const bool rides = race->standings.gridOrder[rider] <= 10;
        EXPECT_EQ(race->bikes[rider].raceStatus, rides ? (rider == kPlayer ? 0u : 9u) : 5u);
        EXPECT_EQ(race->standings.sessionRanks[rider], rides ? -1 : -8);
        if (!rides)
        {
            EXPECT_EQ(race->bikes[rider].flags, kLeftOutFlags);
        }
        riding += rides;
        last = rides ? rider : last;
    }
    EXPECT_EQ(riding, 10u);
    EXPECT_EQ(race->current.riderCount, last + 1);
}

TEST_F(SessionStartTest, ASingleRaceAfterATestRideRidesTheFullField)
{
    SetMode(GameMode::TestRide);
    StartSession(*race, settings, 1000, nullptr, nullptr);
    SetMode(GameMode::Race);
    settings.SetU32At(MenuState::kOpponentsOffset, 25);
    const SessionStart start = StartSession(*race, settings, 2000, nullptr, nullptr);

    EXPECT_EQ(start.fieldSize, 26u);
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        EXPECT_EQ(race->bikes[rider].flags, 0u) << "rider " << rider;
    }
}

TEST_F(SessionStartTest, EverySessionTakesTheSettingsOptions)
{
    settings.SetU8At(MenuState::kAccidentsInactiveOffset, 1);
    settings.SetU8At(MenuState::kEngineTuningOffset, 1);
    settings.SetU8At(MenuState::kOpponentBehaviourOffset, 0);
    for (const GameMode mode : {GameMode::TestRide, GameMode::Race, GameMode::GrandPrix,
                                GameMode::Championship, GameMode::NetworkRace, GameMode::GhostRace})
    {
        SCOPED_TRACE(ToIndex(mode));
        SetMode(mode);
        race->race.cautionDistanceSq = 0.0f;
        const SessionOptions options =
            StartSession(*race, settings, 1000, nullptr, nullptr).options;
        EXPECT_TRUE(options.race.fallsEnabled);
        EXPECT_FALSE(options.race.engineConditions);
        EXPECT_EQ(race->race.cautionDistanceSq, 81.0f) << "aggressive opponents come close";
    }
}

TEST_F(SessionStartTest, CautiousOpponentsKeepFurtherClearThanNormalOnes)
{
    SetMode(GameMode::Race);
    for (const auto& [behaviour, distanceSq] :
         {std::pair<uint8_t, float>{1, 225.0f}, {2, 400.0f}, {7, 400.0f}})
    {
        settings.SetU8At(MenuState::kOpponentBehaviourOffset, behaviour);
        StartSession(*race, settings, 1000, nullptr, nullptr);
        EXPECT_EQ(race->race.cautionDistanceSq, distanceSq);
    }
}

TEST_F(SessionStartTest, TestRideThePlayerAlone)
{
    SetMode(GameMode::TestRide);
    const SessionStart start = StartSession(*race, settings, 1000, nullptr, nullptr);
    EXPECT_FALSE(start.isRace);
    EXPECT_EQ(start.fieldSize, 1u);
    EXPECT_EQ(race->bikes[kPlayer].raceStatus, 1u);
    EXPECT_EQ(race->bikes[3].raceStatus, kStatusNotTakingPart);
    EXPECT_EQ(race->current.riderCount, kPlayer + 1);
}

TEST_F(SessionStartTest, AGhostRaceRidesWithItsGhostOnlyOnceOneIsLoaded)
{
    SetMode(GameMode::GhostRace);
    const SessionStart alone = StartSession(*race, settings, 1000, nullptr, nullptr);
    EXPECT_FALSE(alone.withGhost);
    EXPECT_EQ(alone.fieldSize, 1u);

    LapRecord lap;
    race->race.ghostRecord = &lap;
    race->race.ghostTag = 3;
    const SessionStart ghost = StartSession(*race, settings, 1000, nullptr, nullptr);
    EXPECT_TRUE(ghost.withGhost);
    EXPECT_FALSE(ghost.isRace);
    EXPECT_EQ(ghost.fieldSize, 2u);
    // The ghost takes the first slot after the player's: rider 0 beside player 20.
    EXPECT_EQ(race->standings.gridOrder[kPlayer], 1);
    EXPECT_EQ(race->standings.gridOrder[0], 2);
    EXPECT_NE(race->bikes[0].raceStatus, kStatusNotTakingPart);

    SetMode(GameMode::TestRide);
    EXPECT_FALSE(StartSession(*race, settings, 1000, nullptr, nullptr).withGhost);
    EXPECT_EQ(race->race.ghostTag, RaceAi::kNoGhost) << "outside a ghost race the ghost is off";
    race->race.ghostRecord = nullptr;
}

TEST_F(SessionStartTest, TimedSessionsRideHalfAnHourOrTwelveLapsFromBehindTheLineOrFromThePitLane)
{
    SetMode(GameMode::GrandPrix);
    settings.SetU32At(MenuState::kOpponentsOffset, 6);
    SessionStart start = StartSession(*race, settings, 1000, nullptr, nullptr);
    EXPECT_FALSE(start.isRace);
    EXPECT_EQ(start.sessionSeconds, 1800.0f);
    EXPECT_EQ(start.laps, 33);
    EXPECT_TRUE(start.flyingStart) << "the start point \"Versetzt\" by default";
    settings.SetU32At(MenuState::kTrainingLengthOffset, 1);
    settings.SetU8At(MenuState::kStartPointOffset, 0);
    start = StartSession(*race, settings, 1000, nullptr, nullptr);
    EXPECT_EQ(start.sessionSeconds, 3600.0f);
    EXPECT_EQ(start.laps, 12);
    EXPECT_EQ(race->race.totalLaps, 12);
    EXPECT_FALSE(start.flyingStart);
    // Without a data archive no racing line was read: the session must not be ridden.
    EXPECT_FALSE(start.lineRead);
}

TEST_F(SessionStartTest, ACircuitWhoseLineCannotBeReadIsNotToBeRidden)
{
    // A data archive with the first circuit's line for the class (both levels) and no other.
    std::string error;
    auto circuit = kit::GenerateCircuit(kit::DemoCircuitShape(), BikeClass::Class250, error);
    ASSERT_TRUE(circuit) << error;
    const std::vector<uint8_t> line = EncodeRacingLineFile(*circuit->line, circuit->head);
    kit::CprWriter writer;
    for (const char* name : {"Streckendaten/ShahAlam1.wgf", "Streckendaten/ShahAlam4.wgf"})
    {
        ASSERT_TRUE(writer.Add(name, line, kit::MemberStorage::Stored, error)) << error;
    }
    const std::vector<uint8_t> bytes = writer.Build();
    directory.WriteFile("data.cpr", std::string(bytes.begin(), bytes.end()));
    CprArchive archive;
    ASSERT_TRUE(archive.Open("data.cpr", false));

    SetMode(GameMode::Race);
    settings.SetU32At(MenuState::kCircuitOffset, 0);
    EXPECT_TRUE(StartSession(*race, settings, 1000, &archive, nullptr).lineRead);
    const uint16_t nodes = race->race.nodeCount;
    EXPECT_EQ(nodes, circuit->line->nodeCount);
    settings.SetU32At(MenuState::kCircuitOffset, 11);
    EXPECT_FALSE(StartSession(*race, settings, 1000, &archive, nullptr).lineRead);
    EXPECT_EQ(race->race.nodeCount, nodes) << "the race object still holds the last line";
}

TEST_F(SessionStartTest, ChampionshipRaceRidesTheFieldInTheRacesWeather)
{
    SetMode(GameMode::Championship);
    settings.SetU32At(MenuState::kOpponentsOffset, 9);
    settings.SetU32At(MenuState::kCircuitOffset, 0);
    StartSession(*race, settings, 5000, nullptr,
                 nullptr);  // the first round's first session: the field
    const uint32_t field = settings.U32At(MenuState::kFieldMaskOffset);
    settings.SetU32At(MenuState::kSessionOffset, kRaceSession);
    const SessionStart start = StartSession(*race, settings, 6000, nullptr, nullptr);

    EXPECT_TRUE(start.isRace);
    EXPECT_EQ(start.session, kRaceSession);
    EXPECT_EQ(start.fieldSize, 10u);
    EXPECT_EQ(settings.U32At(MenuState::kFieldMaskOffset), field) << "the field stays";
    EXPECT_EQ(race->current.weather, Weather::Rain) << "the race rides the third slot";
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        const bool inField = (field >> rider) & 1;
        EXPECT_EQ(race->bikes[rider].raceStatus, inField ? (rider == kPlayer ? 0u : 9u) : 5u);
    }
}

TEST_F(SessionStartTest, OneTimeOfDayOneField)
{
    SetMode(GameMode::GrandPrix);
    settings.SetU32At(MenuState::kOpponentsOffset, 6);
    MenuState again = settings;
    StartSession(*race, settings, 777, nullptr, nullptr);
    const std::array<int32_t, 26> grid = race->standings.gridOrder;
    StartSession(*race, again, 777, nullptr, nullptr);
    EXPECT_EQ(race->standings.gridOrder, grid);
    EXPECT_EQ(again, settings);
}

TEST_F(SessionStartTest, ANetworkRaceGetsNoFieldHere)
{
    SetMode(GameMode::NetworkRace);
    EXPECT_EQ(StartSession(*race, settings, 1, nullptr, nullptr).fieldSize, 0u);
}
}  // namespace

TEST_F(SessionStartTest, TheFieldTakesTheClassSetupsAndThePlayerKeepsHisTunedOne)
{
    SetMode(GameMode::Race);
    settings.SetU32At(MenuState::kOpponentsOffset, 4);
    EXPECT_FALSE(StartSession(*race, settings, 1000, nullptr, nullptr).setupsRead);

    const BikeSetup standard = kit::ClassStandardSetup(BikeClass::Class250);
    const BikeSetupImage image = EncodeBikeSetup(standard);
    directory.WriteFile("Raddaten/250Std.rdf", std::string(image.begin(), image.end()));
    BikeSetup tuned = standard;
    tuned.coolingOpening = standard.coolingOpening + 0.2f;
    race->bikes[kPlayer].setup = tuned;
    race->bikes[0].setup = tuned;
    EXPECT_TRUE(StartSession(*race, settings, 1000, nullptr, nullptr).setupsRead);
    EXPECT_EQ(race->bikes[kPlayer].setup.coolingOpening, tuned.coolingOpening);
    EXPECT_EQ(race->bikes[0].setup.coolingOpening, standard.coolingOpening);
}
