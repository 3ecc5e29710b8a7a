// The race start's preparation: the performance factor by difficulty, class and weather, the
// brakes, tyres and gear reserves of the machines, the grid, the revs held before the lights
// and the start phase after them.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/race/ai/AiRig.h"

namespace
{
struct PerformanceCase
{
    const char* name;
    uint32_t difficulty;
    BikeClass bikeClass;
    Weather weather;
    bool player;
    float factor;  // times the profile's performance for a computer rider
};

class PerformanceFactorTest : public testing::TestWithParam<PerformanceCase>
{
};

TEST_P(PerformanceFactorTest, ScalesThePlayerAndTheComputerRiders)
{
    const PerformanceCase& c = GetParam();
    AiRig rig(2, c.bikeClass, c.difficulty);
    rig.race->current.weather = c.weather;
    rig.Bike(0).raceStatus = c.player ? 0 : 9;
    rig.Ai().PrepareRaceStart();
    const float performance = c.player ? 1.0f : rig.race->riderProfiles[0].performance;
    EXPECT_FLOAT_EQ(rig.Bike(0).enginePowerFactor, performance * c.factor);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PerformanceFactorTest,
    testing::Values(
        PerformanceCase{"EasyPlayer", 0, BikeClass::Class250, Weather::Fine, true, 1.15f},
        PerformanceCase{"EasyComputer", 0, BikeClass::Class125, Weather::Rain, false, 1.2f},
        PerformanceCase{"NormalPlayer125", 1, BikeClass::Class125, Weather::Rain, true, 0.8075f},
        PerformanceCase{"NormalComputer500Dull", 1, BikeClass::Class500, Weather::Dull, false,
                        0.76f * 1.015f},
        PerformanceCase{"NormalComputer250Fine", 1, BikeClass::Class250, Weather::Fine, false,
                        0.7885f * 1.04f},
        PerformanceCase{"HardPlayer125", 2, BikeClass::Class125, Weather::Fine, true, 0.8f},
        PerformanceCase{"HardComputer125", 2, BikeClass::Class125, Weather::Fine, false, 0.72f},
        PerformanceCase{"HardPlayer250", 2, BikeClass::Class250, Weather::Fine, true, 0.7f},
        PerformanceCase{"HardPlayer500KeepsTheComputersShare", 2, BikeClass::Class500,
                        Weather::Fine, true, 0.65f},
        PerformanceCase{"HardComputer500", 2, BikeClass::Class500, Weather::Fine, false, 0.65f}),
    [](const testing::TestParamInfo<PerformanceCase>& info) { return info.param.name; });

struct BrakeCase
{
    const char* name;
    BikeClass bikeClass;
    uint32_t difficulty;
    uint32_t status;
    uint8_t skillByte;
    float secondFactor, drag, wetLoss, firstRamp, firstThreshold;
    uint8_t storedSkill;
};

class BrakeTableTest : public testing::TestWithParam<BrakeCase>
{
};

TEST_P(BrakeTableTest, SetsTheBrakesByClassDifficultyAndSkill)
{
    const BrakeCase& c = GetParam();
    AiRig rig(1, c.bikeClass, c.difficulty);
    BikeRecord& bike = rig.Bike(0);
    bike.raceStatus = c.status;
    bike.setup.brakeCharacteristic = c.skillByte;
    bike.setup.brakeValueA = 0.55f;
    bike.setup.frontBrakeFactor1 = 7.0f;
    rig.Ai().AssignAiParameters();
    const BikeSetup& s = bike.setup;
    EXPECT_FLOAT_EQ(s.frontBrakeFactor2, c.secondFactor);
    EXPECT_FLOAT_EQ(s.rearBrakeFactor2, c.secondFactor);
    EXPECT_FLOAT_EQ(s.frontBrakeDrag, c.drag);
    EXPECT_FLOAT_EQ(s.rearBrakeDrag, c.drag);
    EXPECT_FLOAT_EQ(s.tuningValue3, c.wetLoss);
    EXPECT_FLOAT_EQ(s.tuningValue2, c.firstRamp);
    EXPECT_FLOAT_EQ(s.tuningValue1, c.firstThreshold);
    EXPECT_EQ(s.brakeCharacteristic, c.storedSkill);
    EXPECT_FLOAT_EQ(s.brakeValueA, 0.55f) << "the second threshold keeps its value";
    EXPECT_FLOAT_EQ(s.frontBrakeFactor1, 7.0f) << "the first factor keeps its value";
}

INSTANTIATE_TEST_SUITE_P(Table, BrakeTableTest,
                         testing::Values(BrakeCase{"PlayerFirstRow", BikeClass::Class125, 0, 0, 0,
                                                   1100, 130, 0.1f, 0.2f, 0.25f, 0},
                                         BrakeCase{"PlayerSkillClampedAndStored",
                                                   BikeClass::Class250, 2, 0, 7, 420, 1150, 0.3f,
                                                   0.8f, 0.1f, 2},
                                         BrakeCase{"ComputerRidesSkillOne", BikeClass::Class250, 2,
                                                   9, 0, 380, 1050, 0.2f, 0.4f, 0.2f, 0},
                                         BrakeCase{"LastRow", BikeClass::Class500, 2, 1, 2, 540,
                                                   1300, 0.3f, 0.4f, 0.1f, 2},
                                         BrakeCase{"PitBoxIsSkillOne", BikeClass::Class500, 1, 3, 2,
                                                   2800, 370, 0.2f, 0.2f, 0.2f, 2}),
                         [](const testing::TestParamInfo<BrakeCase>& info)
                         { return info.param.name; });

TEST(BikeTuningTest, TheHardestLevelStartsEveryTyreAtPeakGripLessItsCompoundsLosses)
{
    AiRig rig(2, BikeClass::Class250, 2);
    rig.race->current.weather = Weather::Rain;
    rig.race->current.trackWetness = 0.5f;
    rig.Bike(0).raceStatus = 0;
    rig.Bike(0).setup.frontTyre = 9;  // the player's own choice stays
    rig.Bike(0).setup.rearTyre = 100;
    rig.Ai().AssignBikeTuning(0, 2);
    const BikeRecord& player = rig.Bike(0);
    EXPECT_EQ(player.setup.frontTyre, 9);
    EXPECT_EQ(player.setup.rearTyre, 8) << "the automatic choice at the hardest level is stored";
    EXPECT_FLOAT_EQ(player.frontTyreHeatBase, 1.62f - (0.06f + 0.14f * 0.5f));
    EXPECT_FLOAT_EQ(player.rearTyreHeatBase, 1.62f - (0.04f + 0.12f * 0.5f));
    EXPECT_FLOAT_EQ(player.frontHeatingFactor, 0.0f);
    EXPECT_FLOAT_EQ(player.setup.rearTyreRadius, 0.296f);
    EXPECT_EQ(rig.Bike(1).setup.frontTyre, 8) << "a computer rider's choice is automatic";
    EXPECT_FLOAT_EQ(rig.Ai().minimumTyreGrip, 1.62f * 0.9f - 0.5f * 0.4f);
    EXPECT_FLOAT_EQ(rig.Ai().trackAbrasion, (20.0f + 8.0f) / 35.0f * 0.114f);
}

TEST(BikeTuningTest, BelowTheHardestLevelTyresHeatFromBaseGripAndWearScalesWithTheRace)
{
    AiRig rig(1, BikeClass::Class125, 1);
    rig.Ai().AssignBikeTuning(0, 1);
    const BikeRecord& bike = rig.Bike(0);
    const uint8_t compound = bike.setup.frontTyre;
    ASSERT_LT(compound, 5) << "fine weather chooses a slick";
    constexpr float kWear[] = {5.0f, 7.69f, 11.83f, 18.02f, 28.0f};
    constexpr float kGripLoss[] = {0.0f, 0.01f, 0.02f, 0.03f, 0.04f};
    EXPECT_FLOAT_EQ(bike.frontTyreHeatBase, 1.34f - kGripLoss[compound]);
    EXPECT_FLOAT_EQ(bike.frontHeatingFactor, 1.54f - 1.34f);
    const RaceAi& ai = rig.Ai();
    const float sessionScale =
        static_cast<float>(ai.lapLengthUnits) / static_cast<float>(ai.totalLaps);
    EXPECT_FLOAT_EQ(bike.frontWearRate,
                    1.0f / (kWear[compound] * 400000.0f) * (ai.gripFactor * sessionScale));
    EXPECT_EQ(ai.savedTyreHeatBases[0], bike.frontTyreHeatBase);
}

TEST(GearReserveTest, EveryGearGetsItsSecondsOfOverRevvingPerLapAndShortRacesThreeLaps)
{
    struct LapsCase
    {
        uint16_t raceLaps;
        float countedLaps;
    };
    constexpr float kPerLap[] = {15.0f, 20.0f, 25.0f, 30.0f, 40.0f, 50.0f};
    for (const LapsCase c : {LapsCase{1, 3.0f}, LapsCase{3, 3.0f}, LapsCase{20, 20.0f}})
    {
        SCOPED_TRACE(c.raceLaps);
        AiRig rig(2);
        rig.Ai().totalLaps = c.raceLaps;
        rig.Bike(1).gearWear.fill(-1.0f);  // damaged in the last race
        rig.Ai().FillGearReserves();
        for (size_t gear = 0; gear < BikeRecord::kGears; ++gear)
        {
            EXPECT_FLOAT_EQ(rig.Bike(0).gearWear[gear], kPerLap[gear] * c.countedLaps);
            EXPECT_FLOAT_EQ(rig.Bike(1).gearWear[gear], kPerLap[gear] * c.countedLaps);
        }
    }
}

TEST(GridTest, RidersTakeConsecutiveSlotsInGridOrderAndEqualPlacesInRiderOrder)
{
    AiRig rig(4);
    RaceStandings& standings = rig.race->standings;
    standings.gridOrder = {};
    standings.gridOrder[0] = 3;
    standings.gridOrder[1] = 1;
    standings.gridOrder[2] = 3;
    standings.gridOrder[3] = 2;
    rig.Ai().inRace[3] = 0;
    rig.Ai().PlaceRidersOnGrid();
    const StartSlots& slots = rig.Ai().startSlots;
    const uint32_t expected[][2] = {{1, 0}, {0, 1}, {2, 2}};  // rider, slot
    for (const auto& [rider, slot] : expected)
    {
        const BikeRecord& bike = rig.Bike(rider);
        EXPECT_FLOAT_EQ(bike.positionX, slots.x[slot]) << rider;
        EXPECT_FLOAT_EQ(bike.positionZ, slots.z[slot]) << rider;
        EXPECT_EQ(bike.aiTargetNode, slots.node[slot]) << rider;
        EXPECT_EQ(bike.lapsStarted, 1) << rider;
        EXPECT_EQ(bike.timedLap, 0) << rider;
        EXPECT_GE(bike.heading, 0.0f);
        EXPECT_LT(bike.heading, 6.2832f);
    }
}

struct RevsCase
{
    const char* name;
    bool armed;
    int32_t gridOrder;
    float rpmOfPeak;  // the engine's rpm as a share of the peak-torque rpm
    float throttleBefore;
    float throttle;
};

class HoldStartRevsTest : public testing::TestWithParam<RevsCase>
{
};

TEST_P(HoldStartRevsTest, HoldsTheEngineAtItsTargetWithTheThrottle)
{
    const RevsCase& c = GetParam();
    AiRig rig(1);
    BikeRecord& bike = rig.Bike(0);
    rig.race->standings.gridOrder[0] = c.gridOrder;
    bike.peakTorqueRpm = 10000.0f;
    bike.engineRpm = c.rpmOfPeak * 10000.0f;
    bike.throttle = c.throttleBefore;
    rig.race->riderProfiles[0].launchFactor = 0.9f;
    rig.Ai().HoldStartRevs(c.armed);
    EXPECT_FLOAT_EQ(bike.throttle, c.throttle);
    EXPECT_FLOAT_EQ(bike.brake, 1.0f);
    EXPECT_FLOAT_EQ(bike.clutch, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HoldStartRevsTest,
    testing::Values(
        // Armed, from the front rows: 1.05 x the peak.
        RevsCase{"FrontRowBelowTargetOpensToPeakOverRpm", true, 3, 0.8f, 0.3f, 1.0f},
        RevsCase{"FrontRowAboveTargetCutsToAFifth", true, 3, 1.2f, 0.5f, 0.1f},
        // Place 8: (8 - 9) div 4 rounds to 0, target = launchFactor x peak = 0.9 peak.
        RevsCase{"PlaceEightRoundsTowardZero", true, 8, 0.92f, 0.5f, 0.1f},
        // Place 13: (1 - 0.05) x 0.9 = 0.855 of the peak; below it the throttle opens.
        RevsCase{"BackRowBelowItsTarget", true, 13, 0.85f, 0.5f, 1.0f},
        RevsCase{"StalledEngineFullThrottle", true, 3, 0.005f, 0.2f, 1.0f},
        RevsCase{"ClampedToTheLeastOpening", true, 3, 1.2f, 0.01f, 0.005f}),
    [](const testing::TestParamInfo<RevsCase>& info) { return info.param.name; });

struct StartPhaseCase
{
    const char* name;
    int32_t gridOrder;
    float raceTime;
    float heatRaise;  // above the saved bases
    float pace;
    bool on;
};

class StartPhaseTest : public testing::TestWithParam<StartPhaseCase>
{
};

TEST_P(StartPhaseTest, WarmsTheFrontOfTheGridUntilThirtyFiveSeconds)
{
    const StartPhaseCase& c = GetParam();
    AiRig rig(4);
    rig.race->standings.gridOrder[0] = c.gridOrder;
    rig.Ai().savedTyreHeatBases = {1.3f, 1.4f};
    EXPECT_EQ(rig.Ai().UpdateStartPhase(c.raceTime), c.on);
    const BikeRecord& bike = rig.Bike(0);
    EXPECT_NEAR(bike.frontTyreHeatBase, 1.3f + c.heatRaise, 1e-6f);
    EXPECT_NEAR(bike.rearTyreHeatBase, 1.4f + c.heatRaise, 1e-6f);
    EXPECT_NEAR(rig.race->riderProfiles[0].pace, c.pace, 1e-6f);
    if (!c.on)
    {
        EXPECT_FLOAT_EQ(rig.race->riderProfiles[0].activeRange, 50.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartPhaseTest,
    testing::Values(StartPhaseCase{"PoleAtTheStart", 1, 0.0f, 0.25f, 1.0f, true},
                    // Four starters: k = 0.25, third place w = 0.5.
                    StartPhaseCase{"ThirdPlace", 3, 10.0f, 0.125f, 0.95f, true},
                    StartPhaseCase{"LastPlaceGetsNothing", 5, 10.0f, 0.0f, 0.9f, true},
                    StartPhaseCase{"PoleFadingAfterThirtySeconds", 1, 32.5f, 0.125f, 0.95f, true},
                    StartPhaseCase{"PoleAtThirtyFiveIsBackToSaved", 1, 35.0f, 0.0f, 1.0f, false}),
    [](const testing::TestParamInfo<StartPhaseCase>& info) { return info.param.name; });
}  // namespace
