#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kit/race/ClassSetups.h"
#include "setup/GearboxTable.h"
#include "tests/support/CaseNames.h"

namespace
{
BikeSetup Geared(BikeClass bikeClass, std::array<int8_t, 6> choices, int8_t front, int8_t rear)
{
    BikeSetup setup = kit::ClassStandardSetup(bikeClass);
    setup.gearChoice = choices;
    setup.frontSprocket = front;
    setup.rearSprocket = rear;
    return setup;
}

std::vector<std::string> Texts(const GearboxTable& table)
{
    std::vector<std::string> texts;
    for (int gear = 0; gear < 6; ++gear)
    {
        texts.emplace_back(table.RatioText(gear));
    }
    return texts;
}

struct GearingCase
{
    const char* name;
    BikeClass bikeClass;
    std::array<int8_t, 6> choices;
    int8_t front;
    int8_t rear;
    // What the table makes of them.
    std::array<int8_t, 6> appliedChoices;
    int8_t appliedFront;
    int8_t appliedRear;
    double drive;  // secondary x primary reduction
    std::vector<std::string> texts;
};

class GearingFigures : public testing::TestWithParam<GearingCase>
{
};

TEST_P(GearingFigures, RatiosAndTextsFollowTheClassTable)
{
    const GearingCase& c = GetParam();
    BikeSetup setup = Geared(c.bikeClass, c.choices, c.front, c.rear);
    GearboxTable table;
    table.InitForPlayer(c.bikeClass, setup, 200.0f);

    EXPECT_EQ(setup.gearChoice, c.appliedChoices);
    EXPECT_EQ(setup.frontSprocket, c.appliedFront);
    EXPECT_EQ(setup.rearSprocket, c.appliedRear);
    EXPECT_EQ(Texts(table), c.texts);
    for (size_t gear = 0; gear < 6; ++gear)
    {
        const double gearRatio = std::stod(c.texts[gear]);
        EXPECT_NEAR(setup.overallRatio[gear], c.drive * gearRatio, 0.002 * c.drive) << gear;
    }
}

const std::vector<std::string> kShortestSmall = {"2.143:1", "1.667:1", "1.438:1",
                                                 "1.273:1", "1.154:1", "1.095:1"};
const std::vector<std::string> kLongestSmall = {"1.800:1", "1.500:1", "1.316:1",
                                                "1.200:1", "1.095:1", "1.000:1"};

INSTANTIATE_TEST_SUITE_P(
    GearboxTable, GearingFigures,
    testing::Values(GearingCase{"125 shortest pairs",
                                BikeClass::Class125,
                                {0, 6, 11, 16, 20, 25},
                                16,
                                38,
                                {0, 6, 11, 16, 20, 25},
                                16,
                                38,
                                38.0 / 16 * 60 / 21,
                                kShortestSmall},
                    GearingCase{"125 longest pairs",
                                BikeClass::Class125,
                                {5, 10, 15, 19, 24, 31},
                                15,
                                35,
                                {5, 10, 15, 19, 24, 31},
                                15,
                                35,
                                35.0 / 15 * 60 / 21,
                                kLongestSmall},
                    // The same gears, a smaller primary reduction.
                    GearingCase{"500 shortest pairs",
                                BikeClass::Class500,
                                {0, 6, 11, 16, 20, 25},
                                16,
                                38,
                                {0, 6, 11, 16, 20, 25},
                                16,
                                38,
                                38.0 / 16 * 42 / 19,
                                kShortestSmall},
                    GearingCase{"250 middle pairs",
                                BikeClass::Class250,
                                {2, 7, 13, 18, 25, 31},
                                16,
                                35,
                                {2, 7, 13, 18, 25, 31},
                                16,
                                35,
                                35.0 / 16 * 57 / 23,
                                {"2.214:1", "1.812:1", "1.444:1", "1.292:1", "1.174:1", "1.115:1"}},
                    // Bytes from a file the set-up screens could not have made.
                    GearingCase{"125 out of range",
                                BikeClass::Class125,
                                {-5, 0, 127, 20, 19, 40},
                                0,
                                127,
                                {0, 6, 15, 19, 20, 31},
                                15,
                                42,
                                42.0 / 15 * 60 / 21,
                                {"2.143:1", "1.667:1", "1.316:1", "1.200:1", "1.154:1", "1.000:1"}},
                    GearingCase{
                        "250 out of range",
                        BikeClass::Class250,
                        {5, 4, 16, 15, 40, -1},
                        19,
                        29,
                        {4, 5, 15, 16, 27, 28},
                        18,
                        30,
                        30.0 / 18 * 57 / 23,
                        {"2.062:1", "1.933:1", "1.316:1", "1.368:1", "1.115:1", "1.200:1"}}),
    case_names::ByName{});

TEST(GearboxTable, StepsWithinAGearStopAtItsEnds)
{
    BikeSetup setup = Geared(BikeClass::Class125, {0, 6, 11, 16, 20, 31}, 16, 38);
    GearboxTable table;
    table.InitForPlayer(BikeClass::Class125, setup, 200.0f);

    table.StepGearShorter(0);
    table.StepGearLonger(5);
    EXPECT_EQ(setup.gearChoice[0], 0);
    EXPECT_EQ(setup.gearChoice[5], 31);
    EXPECT_EQ(table.RatioText(0), "2.143:1");
    EXPECT_EQ(table.RatioText(5), "1.000:1");

    const float sixth = setup.overallRatio[5];
    table.StepGearShorter(5);
    EXPECT_EQ(setup.gearChoice[5], 30);
    EXPECT_EQ(table.RatioText(5), "1.036:1");
    EXPECT_GT(setup.overallRatio[5], sixth);
    table.StepGearLonger(0);
    EXPECT_EQ(setup.gearChoice[0], 1);
    EXPECT_EQ(table.RatioText(0), "2.062:1");
}

struct SecondaryStep
{
    const char* name;
    BikeClass bikeClass;
    int8_t front;
    int8_t rear;
    bool up;
    int8_t expectedFront;
    int8_t expectedRear;
};

class SecondarySteps : public testing::TestWithParam<SecondaryStep>
{
};

TEST_P(SecondarySteps, TakeTheNearestRatioBeyondTheCurrentOne)
{
    const SecondaryStep& c = GetParam();
    BikeSetup setup = Geared(c.bikeClass, {0, 6, 11, 16, 20, 25}, c.front, c.rear);
    GearboxTable table;
    table.InitForPlayer(c.bikeClass, setup, 200.0f);
    c.up ? table.StepSecondaryUp() : table.StepSecondaryDown();
    EXPECT_EQ(setup.frontSprocket, c.expectedFront);
    EXPECT_EQ(setup.rearSprocket, c.expectedRear);
}

INSTANTIATE_TEST_SUITE_P(
    GearboxTable, SecondarySteps,
    testing::Values(
        SecondaryStep{"up from 38 16", BikeClass::Class125, 16, 38, true, 15, 36},
        SecondaryStep{"down from 38 16", BikeClass::Class125, 16, 38, false, 17, 40},
        SecondaryStep{"up from the highest", BikeClass::Class125, 15, 42, true, 15, 42},
        SecondaryStep{"down from the lowest", BikeClass::Class125, 19, 35, false, 19, 35},
        // 2.0 is 30/15, 32/16, 34/17 and 36/18: the first front sprocket wins.
        SecondaryStep{"up onto equal ratios", BikeClass::Class250, 18, 35, true, 15, 30},
        SecondaryStep{"up from the 250 highest", BikeClass::Class250, 15, 39, true, 15, 39}),
    case_names::ByName{});

TEST(GearboxTable, RestoreBringsBackTheGearingItWasOpenedWith)
{
    BikeSetup setup = Geared(BikeClass::Class250, {1, 7, 12, 18, 24, 30}, 16, 35);
    GearboxTable table;
    table.InitForPlayer(BikeClass::Class250, setup, 250.0f);
    const BikeSetup opened = setup;
    table.StepSecondaryUp();
    table.StepGearLonger(2);
    table.StepGearShorter(4);
    ASSERT_NE(setup.overallRatio, opened.overallRatio);

    table.RestoreGearing();
    EXPECT_EQ(GearingBytes(setup), GearingBytes(opened));
    EXPECT_EQ(setup.overallRatio, opened.overallRatio);
}

// The top speed the classification works from: sixth gear at the engine speed limit.
float TopSpeed(const BikeSetup& setup)
{
    return setup.maxEngineSpeed * 0.37699115f / setup.overallRatio[5] * setup.rearTyreRadius;
}

TEST(GearboxTable, TopSpeedClassificationBoundaries)
{
    BikeSetup setup = Geared(BikeClass::Class125, {0, 6, 11, 16, 20, 25}, 16, 38);
    GearboxTable probe;
    probe.InitForPlayer(BikeClass::Class125, setup, 200.0f);
    const float v = TopSpeed(setup);
    ASSERT_GT(v, 100.0f);

    const struct
    {
        float reference;
        TopSpeedState state;
    } cases[] = {
        {v - 4.0f, TopSpeedState::Normal},  // exactly 4.0 above: not yet long
        {std::nextafter(v - 4.0f, 0.0f), TopSpeedState::Long},
        {v * 1.06f, TopSpeedState::Normal},  // the 6 % margin reaches it exactly
        {std::nextafter(v * 1.06f, 1000.0f), TopSpeedState::Short},
        {v, TopSpeedState::Normal},
    };
    for (const auto& c : cases)
    {
        GearboxTable table;
        table.InitForPlayer(BikeClass::Class125, setup, c.reference);
        EXPECT_EQ(table.ClassifyTopSpeed(), c.state) << c.reference;
    }
}

TEST(GearboxTable, LongerSecondaryRatioRaisesTheTopSpeedState)
{
    BikeSetup setup = Geared(BikeClass::Class125, {0, 6, 11, 16, 20, 25}, 15, 42);
    GearboxTable table;
    table.InitForPlayer(BikeClass::Class125, setup, 200.0f);
    table.InitForPlayer(BikeClass::Class125, setup, TopSpeed(setup) + 1.0f);
    EXPECT_EQ(table.ClassifyTopSpeed(), TopSpeedState::Normal);
    for (int step = 0; step < 40; ++step)
    {
        table.StepSecondaryDown();
    }
    EXPECT_EQ(setup.frontSprocket, 19);
    EXPECT_EQ(setup.rearSprocket, 35);
    EXPECT_EQ(table.ClassifyTopSpeed(), TopSpeedState::Long);
}

TEST(GearboxTable, ComputerRiderGearingFollowsTheTargets)
{
    // Neutral targets keep a gearing that is already in the table.
    BikeSetup kept = Geared(BikeClass::Class125, {2, 7, 12, 17, 21, 26}, 16, 38);
    GearboxTable neutral;
    neutral.Init(BikeClass::Class125, 200.0f, 80.0f);
    EXPECT_FLOAT_EQ(neutral.SpeedFactor(), 1.0f);
    EXPECT_FLOAT_EQ(neutral.RpmFactor(), 1.0f);
    neutral.AutoSelectGearing(kept);
    EXPECT_EQ(kept.gearChoice, (std::array<int8_t, 6>{2, 7, 12, 17, 21, 26}));
    EXPECT_EQ(kept.frontSprocket, 16);
    EXPECT_EQ(kept.rearSprocket, 38);

    // A faster circuit: front / rear 0.421 x 1.2 = 0.505; 18/36 and 19/38 are both 0.5 and the
    // first found (rear outer loop) is kept. The drive then runs at 0.842 of the old one:
    // first gear takes the shortest pair, sixth keeps its own.
    BikeSetup fast = Geared(BikeClass::Class125, {0, 6, 11, 16, 20, 25}, 16, 38);
    GearboxTable table;
    table.Init(BikeClass::Class125, 240.0f, 80.0f);
    table.AutoSelectGearing(fast);
    EXPECT_EQ(fast.frontSprocket, 18);
    EXPECT_EQ(fast.rearSprocket, 36);
    EXPECT_EQ(fast.gearChoice[0], 0);
    EXPECT_EQ(fast.gearChoice[5], 25);
    EXPECT_NEAR(fast.overallRatio[5], 36.0 / 18 * 60 / 21 * 23 / 21, 1e-4);
}
}  // namespace
