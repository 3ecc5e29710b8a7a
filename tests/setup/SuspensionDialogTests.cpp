#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "kit/race/ClassSetups.h"
#include "setup/SuspensionDialog.h"
#include "tests/setup/ScriptedDialogHost.h"
#include "tests/support/CaseNames.h"

namespace
{
struct StepCase
{
    const char* name;
    BikeClass bikeClass;
    std::array<float, 5> springRates;  // of steps 0..4
};

class SuspensionSteps : public testing::TestWithParam<StepCase>
{
};

// Every step the dialog writes reads back as the same step, in every class.
TEST_P(SuspensionSteps, EveryStepWrittenReadsBackTheSame)
{
    const StepCase& c = GetParam();
    constexpr std::array<float, 5> kOilValues = {40.0f, 60.0f, 80.0f, 100.0f, 120.0f};
    for (int32_t step = 0; step < 5; ++step)
    {
        BikeSetup setup = kit::ClassStandardSetup(c.bikeClass);
        SuspensionDialogState state;
        state.clicks = {1, 7, 13, 19};
        state.springIndex = {step, 4 - step};
        state.oilIndex = {4 - step, step};
        WriteSuspension(state, setup, c.bikeClass);

        EXPECT_EQ(setup.frontSpringRate, c.springRates[step]);
        EXPECT_EQ(setup.rearSpringRate, c.springRates[4 - step]);
        EXPECT_EQ(setup.frontOilValue, kOilValues[4 - step]);
        EXPECT_EQ(setup.rearOilValue, kOilValues[step]);
        EXPECT_EQ(setup.frontOilFactor, -0.5f * kOilValues[4 - step]);
        EXPECT_EQ(setup.rearOilFactor, -0.5f * kOilValues[step]);
        EXPECT_EQ(setup.frontCompression, 1.0f);
        EXPECT_EQ(setup.rearRebound, 19.0f);

        const SuspensionDialogState read = ReadSuspension(setup, c.bikeClass);
        EXPECT_EQ(read.clicks, state.clicks);
        EXPECT_EQ(read.springIndex, state.springIndex) << step;
        EXPECT_EQ(read.oilIndex, state.oilIndex) << step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SuspensionDialog, SuspensionSteps,
    testing::Values(
        StepCase{"125", BikeClass::Class125, {10000.0f, 12500.0f, 15000.0f, 17500.0f, 20000.0f}},
        StepCase{"250", BikeClass::Class250, {15000.0f, 19000.0f, 23000.0f, 27000.0f, 31000.0f}},
        StepCase{"500", BikeClass::Class500, {20000.0f, 24000.0f, 28000.0f, 32000.0f, 36000.0f}}),
    case_names::ByName{});

TEST(SuspensionDialog, RecordValuesBetweenAndBeyondTheStepsShowAsTheNearestSofterStep)
{
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        BikeClass bikeClass;
        float springRate;
        float oilValue;
        float clicks;
        int32_t springIndex;
        int32_t oilIndex;
        int32_t sliderPosition;
    } cases[] = {
        {BikeClass::Class125, 12499.0f, 59.9f, 10.9f, 0, 0, 10},
        {BikeClass::Class125, 5000.0f, 5.0f, -3.0f, 0, 0, 0},      // below the softest
        {BikeClass::Class125, 90000.0f, 900.0f, 55.0f, 4, 4, 20},  // beyond the hardest
        {BikeClass::Class250, 18999.0f, 100.0f, 19.0f, 0, 3, 19},
        {BikeClass::Class500, 35999.0f, 119.0f, 1.0f, 3, 3, 1},
        {BikeClass::Class500, kNaN, kNaN, kNaN, 0, 0, 0},
    };
    for (const auto& c : cases)
    {
        BikeSetup setup = kit::ClassStandardSetup(c.bikeClass);
        setup.frontSpringRate = setup.rearSpringRate = c.springRate;
        setup.frontOilValue = setup.rearOilValue = c.oilValue;
        setup.frontCompression = c.clicks;
        const SuspensionDialogState state = ReadSuspension(setup, c.bikeClass);
        EXPECT_EQ(state.springIndex[0], c.springIndex) << c.springRate;
        EXPECT_EQ(state.springIndex[1], c.springIndex) << c.springRate;
        EXPECT_EQ(state.oilIndex[0], c.oilIndex) << c.oilValue;
        EXPECT_EQ(state.clicks[0], c.sliderPosition) << c.clicks;
    }
}

TEST(SuspensionDialog, OkWritesTheControlsAndCancelNothing)
{
    const BikeSetup standard = kit::ClassStandardSetup(BikeClass::Class250);
    BikeSetup setup = standard;
    SuspensionDialog dialog(setup, BikeClass::Class250);
    ScriptedDialogHost host;
    dialog.OnInitDialog(host);

    for (const int32_t slider : SuspensionDialog::kClickSliders)
    {
        EXPECT_EQ(host.ranges.at(slider).minimum, 0);
        EXPECT_EQ(host.ranges.at(slider).maximum, 20);
    }
    EXPECT_EQ(host.positions.at(1017), 10);

    // The player moves the front compression to the slider's ends and picks the hardest rear
    // spring and the thinnest front oil.
    host.positions[1017] = 0;
    host.positions[1028] = 20;
    host.radios[1022] = 4;
    host.radios[1025] = 0;

    BikeSetup cancelled = standard;
    SuspensionDialog(cancelled, BikeClass::Class250).OnCancel(host);
    EXPECT_EQ(host.result, DialogResult::Cancel);
    EXPECT_EQ(std::memcmp(&cancelled, &standard, sizeof standard), 0);

    dialog.OnOK(host);
    EXPECT_EQ(host.result, DialogResult::Ok);
    EXPECT_EQ(setup.frontCompression, 1.0f);  // the screens' range: 1..19 clicks
    EXPECT_EQ(setup.rearRebound, 19.0f);
    EXPECT_EQ(setup.rearSpringRate, 31000.0f);
    EXPECT_EQ(setup.frontOilValue, 40.0f);
    EXPECT_EQ(setup.frontOilFactor, -20.0f);
    // Nothing else of the record moves.
    BikeSetup expected = standard;
    expected.frontCompression = 1.0f;
    expected.rearRebound = 19.0f;
    expected.frontSpringRate = setup.frontSpringRate;
    expected.rearSpringRate = 31000.0f;
    expected.frontOilValue = 40.0f;
    expected.frontOilFactor = -20.0f;
    expected.rearOilValue = setup.rearOilValue;
    expected.rearOilFactor = setup.rearOilFactor;
    EXPECT_EQ(std::memcmp(&setup, &expected, sizeof expected), 0);
}
}  // namespace
