#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "kit/race/ClassSetups.h"
#include "setup/SetupPages.h"
#include "tests/support/CaseNames.h"
#include "tests/support/TestDirectory.h"

namespace
{
bool SameSetup(const BikeSetup& a, const BikeSetup& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class SetupPagesTest : public testing::Test
{
protected:
    void Open(BikeClass bikeClass = BikeClass::Class125)
    {
        race_.bikeClass = bikeClass;
        bike_->setup = kit::ClassStandardSetup(bikeClass);
        bike_->setup.frontTyre = 2;
        bike_->setup.rearTyre = 3;
        // The classes' own reference speeds.
        const float reference = 200.0f + 50.0f * static_cast<float>(ToIndex(bikeClass));
        pages_ = std::make_unique<SetupPages>(*bike_, race_, reference);
        pages_->Open();
    }
    BikeSetup& Bike() { return bike_->setup; }

    std::unique_ptr<BikeRecord> bike_ = std::make_unique<BikeRecord>();
    CurrentRace race_;
    std::unique_ptr<SetupPages> pages_;
};

struct TyreCase
{
    const char* name;
    uint8_t front;
    uint8_t rear;
    TyreCategory shown;  // when the page opens
    int frontIndex;
    int rearIndex;
    // The player's choices: a category (NotSet for none), then the front index (-1 for none).
    TyreCategory chosenCategory;
    int chosenFront;
    uint8_t committedFront;
    uint8_t committedRear;
};

class TyrePage : public SetupPagesTest, public testing::WithParamInterface<TyreCase>
{
};

TEST_P(TyrePage, CategoryAndCompoundsBecomeTheTyreBytes)
{
    const TyreCase& c = GetParam();
    Open();
    Bike().frontTyre = c.front;
    Bike().rearTyre = c.rear;
    pages_->OpenPage(SetupPage::Tyres);
    EXPECT_EQ(pages_->WorkingTyreCategory(),
              c.shown == TyreCategory::NotSet ? TyreCategory::Rain : c.shown);
    EXPECT_EQ(pages_->FrontCompound(), c.frontIndex);
    EXPECT_EQ(pages_->RearCompound(), c.rearIndex);

    pages_->ChooseTyreCategory(c.chosenCategory);
    if (c.chosenFront >= 0)
    {
        pages_->ChooseFrontCompound(c.chosenFront);
    }
    // There is no Cancel: leaving by any other page commits.
    pages_->OpenPage(SetupPage::Cooling);
    EXPECT_EQ(Bike().frontTyre, c.committedFront);
    EXPECT_EQ(Bike().rearTyre, c.committedRear);
}

INSTANTIATE_TEST_SUITE_P(
    SetupPages, TyrePage,
    testing::Values(
        TyreCase{"slick kept", 2, 3, TyreCategory::Slick, 2, 3, TyreCategory::NotSet, -1, 2, 3},
        TyreCase{"slick 0 and 4 to intermediate", 0, 4, TyreCategory::Slick, 0, 4,
                 TyreCategory::Intermediate, -1, 5, 7},
        TyreCase{"slick 0 and 4 to rain", 0, 4, TyreCategory::Slick, 0, 4, TyreCategory::Rain, -1,
                 8, 10},
        TyreCase{"intermediate front softer", 6, 5, TyreCategory::Intermediate, 2, 1,
                 TyreCategory::NotSet, 3, 7, 5},
        TyreCase{"rain to slick", 9, 10, TyreCategory::Rain, 2, 3, TyreCategory::Slick, 0, 0, 3},
        TyreCase{"rear out of range", 4, 60, TyreCategory::Slick, 4, 4, TyreCategory::NotSet, 1, 1,
                 4},
        // The automatic choice stays unless the player picks a tyre.
        TyreCase{"automatic kept", 100, 100, TyreCategory::NotSet, 3, 3, TyreCategory::NotSet, -1,
                 100, 100},
        TyreCase{"automatic to slick", 100, 100, TyreCategory::NotSet, 3, 3, TyreCategory::Slick,
                 -1, 3, 3}),
    case_names::ByName{});

TEST_F(SetupPagesTest, AutomaticTyresShowAsNotSet)
{
    race_.bikeClass = BikeClass::Class125;
    bike_->setup = kit::ClassStandardSetup(BikeClass::Class125);
    ASSERT_EQ(bike_->setup.frontTyre, 100);
    SetupPages pages(*bike_, race_, 200.0f);
    pages.Open();
    EXPECT_EQ(pages.Summary().tyres, "-");
    EXPECT_EQ(pages.ShownTyreCategory(), TyreCategory::NotSet);
}

TEST_F(SetupPagesTest, BrakesCommitOnOkAndNotOnCancel)
{
    Open();
    const BikeSetup before = Bike();
    pages_->OpenPage(SetupPage::Brakes);
    pages_->ChooseBrakeCharacteristic(2);
    for (int frame = 0; frame < 300; ++frame)
    {
        pages_->StepBrakeValueA(+1);
        pages_->StepBrakeValueB(-1);
    }
    EXPECT_EQ(pages_->BrakeValueA(), 1.0f);
    EXPECT_EQ(pages_->BrakeValueB(), 0.01f);
    pages_->Cancel();
    EXPECT_TRUE(SameSetup(Bike(), before));
    EXPECT_EQ(pages_->Page(), SetupPage::Main);

    pages_->OpenPage(SetupPage::Brakes);
    for (int frame = 0; frame < 300; ++frame)
    {
        pages_->StepBrakeValueA(-1);
        pages_->StepBrakeValueB(+1);
    }
    pages_->ChooseBrakeCharacteristic(0);
    pages_->Ok();
    EXPECT_EQ(Bike().brakeValueA, 0.01f);
    EXPECT_EQ(Bike().brakeValueB, 2.0f);
    EXPECT_EQ(Bike().brakeCharacteristic, 0);
    EXPECT_EQ(pages_->Summary().brakes, "dynamisch");
}

TEST_F(SetupPagesTest, BrakeValuesBelowTheMinimumAreRaisedOnOpening)
{
    race_.bikeClass = BikeClass::Class250;
    bike_->setup = kit::ClassStandardSetup(BikeClass::Class250);
    bike_->setup.brakeValueA = 0.0f;
    bike_->setup.brakeValueB = -1.0f;
    SetupPages pages(*bike_, race_, 250.0f);
    pages.Open();
    EXPECT_EQ(Bike().brakeValueA, 0.01f);
    EXPECT_EQ(Bike().brakeValueB, 0.01f);
}

TEST_F(SetupPagesTest, SuspensionCommitsTruncatedSliderValues)
{
    Open();
    Bike().frontCompression = 7.8f;
    Bike().frontRebound = 12.5f;
    Bike().frontLevelA = 3;

    // Cancel writes the record's own values back through the sliders: whole clicks.
    pages_->OpenPage(SetupPage::FrontSuspension);
    pages_->StepSuspensionSlider(0, +1);
    pages_->StepSuspensionSlider(2, -1);
    pages_->Cancel();
    EXPECT_EQ(Bike().frontLevelA, 3);
    EXPECT_EQ(Bike().frontCompression, 7.0f);
    EXPECT_EQ(Bike().frontRebound, 12.0f);

    pages_->OpenPage(SetupPage::RearSuspension);
    for (int step = 0; step < 30; ++step)
    {
        pages_->StepSuspensionSlider(0, +1);  // 0..4
        pages_->StepSuspensionSlider(3, -1);  // 1..19
    }
    pages_->SetSuspensionSlider(2, 18.7f);  // as dragged
    pages_->Ok();
    EXPECT_EQ(Bike().rearLevelA, 4);
    EXPECT_EQ(Bike().rearRebound, 1.0f);
    EXPECT_EQ(Bike().rearCompression, 18.0f);
    EXPECT_EQ(Bike().frontCompression, 7.0f);  // the other wheel untouched
}

TEST_F(SetupPagesTest, SuspensionWordFollowsTheSumOfClicks)
{
    const struct
    {
        float each;  // all four click values
        const char* german;
        const char* english;
    } cases[] = {
        {1.0f, "sehr weich", "very soft"},
        {6.0f, "sehr weich", "very soft"},  // 24 x 0.0395 = 0.947
        {7.0f, "weich", "soft"},            // 28 -> 1.105
        {13.0f, "mittel", "medium"},        // 52 -> 2.05
        {19.0f, "mittel", "medium"},        // 76 -> 2.99999: the two hardest never show
        {1e9f, "hart", "hard"},
        {-5.0f, "sehr weich", "very soft"},
    };
    Open();
    for (const auto& c : cases)
    {
        Bike().frontCompression = Bike().frontRebound = c.each;
        Bike().rearCompression = Bike().rearRebound = c.each;
        pages_->SetLanguage(Language::German);
        EXPECT_EQ(pages_->Summary().suspension, c.german) << c.each;
        pages_->SetLanguage(Language::English);
        EXPECT_EQ(pages_->Summary().suspension, c.english) << c.each;
    }
}

TEST_F(SetupPagesTest, CoolingWritesAtOnce)
{
    Open();
    pages_->OpenPage(SetupPage::Cooling);
    pages_->SetCoolingSlider(7.9f);
    EXPECT_FLOAT_EQ(Bike().coolingOpening, 0.7f);
    EXPECT_EQ(pages_->Summary().cooling, "70% offen");
    EXPECT_EQ(pages_->CoolingLabel(), "K\xFChlung 70%");
    pages_->SetCoolingSlider(25.0f);
    EXPECT_FLOAT_EQ(Bike().coolingOpening, 1.0f);
    pages_->SetLanguage(Language::English);
    EXPECT_EQ(pages_->Summary().cooling, "100% open");
}

TEST_F(SetupPagesTest, IgnitionCancelRestoresTheOpeningValuesAndCurve)
{
    Open();
    const BikeSetup opened = Bike();
    const auto openedCurve = bike_->engineCurve;
    EXPECT_EQ(race_.engineConditions, 1u);

    pages_->OpenPage(SetupPage::Ignition);
    for (int step = 0; step < 20; ++step)
    {
        pages_->StepIgnitionSlider(0, -1);
        pages_->StepIgnitionSlider(2, +1);
    }
    EXPECT_FLOAT_EQ(Bike().ignitionA, 0.95f);
    EXPECT_FLOAT_EQ(Bike().ignitionC, 1.05f);
    EXPECT_NE(bike_->engineCurve, openedCurve);

    pages_->Cancel();
    EXPECT_TRUE(SameSetup(Bike(), opened));
    EXPECT_EQ(bike_->engineCurve, openedCurve);
}

TEST_F(SetupPagesTest, GearboxEditsAtOnceAndCancelRestores)
{
    Open(BikeClass::Class500);
    const BikeSetup opened = Bike();
    pages_->OpenPage(SetupPage::Gearbox);
    pages_->SelectGear(5);
    pages_->StepGearLonger();
    pages_->StepSecondaryDown();
    EXPECT_LT(Bike().overallRatio[5], opened.overallRatio[5]);
    pages_->Cancel();
    EXPECT_TRUE(SameSetup(Bike(), opened));

    pages_->OpenPage(SetupPage::Gearbox);
    EXPECT_EQ(pages_->SelectedGear(), 0);
    for (int step = 0; step < 60; ++step)
    {
        pages_->StepSecondaryUp();
    }
    pages_->Ok();
    EXPECT_GT(Bike().overallRatio[0], opened.overallRatio[0]);
    EXPECT_EQ(pages_->Summary().gearing, "kurz");
}

TEST_F(SetupPagesTest, SetUpFilesSaveAndLoadTheStreamedFields)
{
    TestDirectory directory;
    const std::string path = "mine";
    Open(BikeClass::Class250);
    pages_->OpenPage(SetupPage::Cooling);
    pages_->SetCoolingSlider(3.0f);
    pages_->OpenPage(SetupPage::Ignition);
    pages_->StepIgnitionSlider(1, +1);
    pages_->OpenPage(SetupPage::Tyres);
    pages_->ChooseTyreCategory(TyreCategory::Intermediate);
    pages_->LeavePage();
    const BikeSetup saved = Bike();
    const auto savedCurve = bike_->engineCurve;
    ASSERT_TRUE(pages_->SaveSetupFile(path));

    Open(BikeClass::Class250);
    ASSERT_FALSE(SameSetup(Bike(), saved));
    ASSERT_TRUE(pages_->LoadSetupFile(path));
    EXPECT_TRUE(SameSetup(Bike(), saved));
    EXPECT_EQ(bike_->engineCurve, savedCurve);
    EXPECT_FLOAT_EQ(pages_->CoolingSlider().value, 3.0f);
    EXPECT_EQ(pages_->Summary().tyres, "intermediate");
    EXPECT_EQ(pages_->Summary().cooling, "30% offen");

    // A file that cannot be read leaves the record, and the controls show it.
    EXPECT_FALSE(pages_->LoadSetupFile("missing"));
    EXPECT_TRUE(SameSetup(Bike(), saved));
}
}  // namespace
