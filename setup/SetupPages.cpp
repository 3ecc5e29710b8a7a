#include "setup/SetupPages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "setup/SetupFiles.h"
#include "setup/SetupTexts.h"

namespace
{
constexpr float kBrakeStep = 0.01f;
constexpr float kBrakeMinimum = 0.01f;
constexpr float kBrakeMaximumA = 1.0f;
constexpr float kBrakeMaximumB = 2.0f;
constexpr float kIgnitionStep = 0.01f;

// Tyre bytes: the compound index plus the category's base.
constexpr std::array<int, 3> kTyreBase = {0, 4, 7};
constexpr uint8_t kHighestTyreByte = 10;

// Sliders on the page pictures: track start, row and length; knobs 56 pixels wide.
Slider MakeSlider(uint16_t x, uint16_t y, uint16_t track, uint16_t knobHeight, float minimum,
                  float maximum)
{
    Slider slider;
    slider.x = x;
    slider.y = y;
    slider.width = track;
    slider.height = 6;
    slider.knobWidth = 56;
    slider.knobHeight = knobHeight;
    slider.minimum = minimum;
    slider.maximum = maximum;
    slider.value = minimum;
    return slider;
}

struct SuspensionSliderPlace
{
    uint16_t x;
    uint16_t y;
    uint16_t track;
    float minimum;
    float maximum;
};
constexpr std::array<SuspensionSliderPlace, SetupPages::kSuspensionSliders> kSuspensionPlaces = {{
    {374, 245, 152, 0.0f, 4.0f},
    {358, 290, 168, 0.0f, 4.0f},
    {342, 336, 184, 1.0f, 19.0f},
    {326, 382, 200, 1.0f, 19.0f},
}};

int Truncated(float value)
{
    return static_cast<int>(std::trunc(value));
}

std::string Formatted(std::string_view format, int value)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), std::string(format).c_str(), value);
    return text.data();
}
}  // namespace

SetupPages::SetupPages(BikeRecord& player, CurrentRace& race, float topSpeedReference)
    : m_player(player), m_race(race), m_topSpeedReference(topSpeedReference)
{
    m_coolingSlider = MakeSlider(118, 388, 401, 5, 0.0f, 10.0f);
    for (int i = 0; i < kSuspensionSliders; ++i)
    {
        const SuspensionSliderPlace& place = kSuspensionPlaces[static_cast<size_t>(i)];
        m_suspensionSliders[static_cast<size_t>(i)] =
            MakeSlider(place.x, place.y, place.track, 6, place.minimum, place.maximum);
    }
    m_ignitionSliders = {MakeSlider(103, 388, 166, 6, 0.95f, 1.05f),
                         MakeSlider(353, 388, 166, 6, 0.95f, 1.05f),
                         MakeSlider(353, 126, 166, 6, 0.95f, 1.05f)};
}

void SetupPages::Open()
{
    m_race.engineConditions = 1;
    m_page = SetupPage::Main;
    m_tyresChosen = false;
    SetSliderValue(m_coolingSlider, m_player.setup.coolingOpening * 10.0f);
    BikeSetup& setup = m_player.setup;
    setup.brakeValueA = std::max(setup.brakeValueA, kBrakeMinimum);
    setup.brakeValueB = std::max(setup.brakeValueB, kBrakeMinimum);
    m_gearbox.InitForPlayer(m_race.bikeClass, setup, m_topSpeedReference);
    ReapplyRecord();
}

// The controls from the record after an opening or a load: gearing, cooling, ignition and
// tyres; the ignition values go back through their sliders, and the engine curve follows.
void SetupPages::ReapplyRecord()
{
    m_gearbox.ReapplyGearing();
    SetSliderValue(m_coolingSlider, m_player.setup.coolingOpening * 10.0f);
    ReadIgnition();
    ReadTyres();
    BuildSummary();
    WriteIgnition();
}

void SetupPages::SetSliderValue(Slider& slider, float value)
{
    slider.value = std::isfinite(value) ? value : slider.minimum;
    slider.UpdateKnob();
}

void SetupPages::OpenPage(SetupPage page)
{
    if (m_page != SetupPage::Main)
    {
        LeavePage();
    }
    m_page = page;
    switch (page)
    {
        case SetupPage::Tyres:
            ReadTyres();
            m_tyresChosen = false;
            break;
        case SetupPage::Brakes:
            ReadBrakes();
            break;
        case SetupPage::Cooling:
            SetSliderValue(m_coolingSlider, m_player.setup.coolingOpening * 10.0f);
            break;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
            ReadSuspension(page == SetupPage::RearSuspension);
            break;
        case SetupPage::Ignition:
            m_savedIgnition = {m_player.setup.ignitionA, m_player.setup.ignitionB,
                               m_player.setup.ignitionC};
            ReadIgnition();
            break;
        case SetupPage::Gearbox:
            m_gearbox.SaveGearing();
            m_selectedGear = 0;
            m_gearCurve = RebuildGearboxCurve(m_player.setup);
            break;
        default:
            break;
    }
}

void SetupPages::LeavePage()
{
    BikeSetup& setup = m_player.setup;
    switch (m_page)
    {
        case SetupPage::Tyres:
            if (m_tyresChosen)
            {
                const int base = kTyreBase[static_cast<size_t>(m_tyreCategory)];
                setup.frontTyre = static_cast<uint8_t>(m_frontCompound + base);
                setup.rearTyre = static_cast<uint8_t>(m_rearCompound + base);
            }
            break;
        case SetupPage::Brakes:
            setup.brakeCharacteristic = static_cast<uint8_t>(m_brakeCharacteristic);
            setup.brakeValueB = m_brakeValueB;
            setup.brakeValueA = m_brakeValueA;
            break;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
        {
            const bool rear = m_page == SetupPage::RearSuspension;
            const auto level = [&](int slider)
            { return static_cast<uint8_t>(Truncated(m_suspensionSliders[slider].value)); };
            const auto clicks = [&](int slider)
            { return static_cast<float>(Truncated(m_suspensionSliders[slider].value)); };
            (rear ? setup.rearLevelA : setup.frontLevelA) = level(0);
            (rear ? setup.rearLevelB : setup.frontLevelB) = level(1);
            (rear ? setup.rearCompression : setup.frontCompression) = clicks(2);
            (rear ? setup.rearRebound : setup.frontRebound) = clicks(3);
            break;
        }
        default:
            break;
    }
    m_page = SetupPage::Main;
    BuildSummary();
}

void SetupPages::Cancel()
{
    switch (m_page)
    {
        case SetupPage::Brakes:
            ReadBrakes();
            break;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
            ReadSuspension(m_page == SetupPage::RearSuspension);
            break;
        case SetupPage::Ignition:
            m_player.setup.ignitionA = m_savedIgnition[0];
            m_player.setup.ignitionB = m_savedIgnition[1];
            m_player.setup.ignitionC = m_savedIgnition[2];
            ReadIgnition();
            m_player.ComputeTorqueCurve(m_race);
            break;
        case SetupPage::Gearbox:
            m_gearbox.RestoreGearing();
            m_gearbox.FormatRatios(m_player.setup);
            break;
        default:
            break;
    }
    LeavePage();
}

int SetupPages::FirstCompound(TyreCategory category)
{
    return category == TyreCategory::Slick ? 0 : 1;
}

int SetupPages::LastCompound(TyreCategory category)
{
    return category == TyreCategory::Slick ? 4 : 3;
}

void SetupPages::ReadTyres()
{
    const int front = m_player.setup.frontTyre;
    const int rear = m_player.setup.rearTyre;
    if (front > kHighestTyreByte)
    {
        // The automatic choice (or no tyre at all): the page offers rain tyres, and the bytes
        // stay as they are until the player picks.
        m_tyreCategory = TyreCategory::Rain;
        m_frontCompound = m_rearCompound = 3;
    }
    else if (front > 7)
    {
        m_tyreCategory = TyreCategory::Rain;
        m_frontCompound = std::clamp(front - 7, 1, 3);
        m_rearCompound = std::clamp(rear - 7, 1, 3);
    }
    else if (front > 4)
    {
        m_tyreCategory = TyreCategory::Intermediate;
        m_frontCompound = std::clamp(front - 4, 1, 3);
        m_rearCompound = std::clamp(rear - 4, 1, 3);
    }
    else
    {
        m_tyreCategory = TyreCategory::Slick;
        m_frontCompound = std::min(front, 4);
        m_rearCompound = std::clamp(rear, 0, 4);
    }
    m_shownCategory = front > kHighestTyreByte ? TyreCategory::NotSet : m_tyreCategory;
}

void SetupPages::ChooseTyreCategory(TyreCategory category)
{
    if (category == TyreCategory::NotSet)
    {
        return;
    }
    m_tyreCategory = category;
    m_frontCompound = std::clamp(m_frontCompound, FirstCompound(category), LastCompound(category));
    m_rearCompound = std::clamp(m_rearCompound, FirstCompound(category), LastCompound(category));
    m_shownCategory = category;
    m_tyresChosen = true;
    BuildSummary();
}

void SetupPages::ChooseFrontCompound(int index)
{
    m_frontCompound =
        std::clamp(index, FirstCompound(m_tyreCategory), LastCompound(m_tyreCategory));
    m_shownCategory = m_tyreCategory;
    m_tyresChosen = true;
}

void SetupPages::ChooseRearCompound(int index)
{
    m_rearCompound = std::clamp(index, FirstCompound(m_tyreCategory), LastCompound(m_tyreCategory));
    m_shownCategory = m_tyreCategory;
    m_tyresChosen = true;
}

void SetupPages::ReadBrakes()
{
    const BikeSetup& setup = m_player.setup;
    m_brakeCharacteristic = std::min<int>(setup.brakeCharacteristic, 2);
    m_brakeValueA = setup.brakeValueA;
    m_brakeValueB = setup.brakeValueB;
}

void SetupPages::ChooseBrakeCharacteristic(int characteristic)
{
    m_brakeCharacteristic = std::clamp(characteristic, 0, 2);
}

void SetupPages::StepBrakeValueA(int direction)
{
    m_brakeValueA = std::max(
        std::min(m_brakeValueA + kBrakeStep * static_cast<float>(direction), kBrakeMaximumA),
        kBrakeMinimum);
}

void SetupPages::StepBrakeValueB(int direction)
{
    m_brakeValueB = std::max(
        std::min(m_brakeValueB + kBrakeStep * static_cast<float>(direction), kBrakeMaximumB),
        kBrakeMinimum);
}

void SetupPages::SetCoolingSlider(float value)
{
    SetSliderValue(m_coolingSlider, value);
    m_player.setup.coolingOpening = static_cast<float>(Truncated(m_coolingSlider.value)) * 0.1f;
    BuildSummary();
}

std::string SetupPages::CoolingLabel() const
{
    return Formatted(SetupTextsOf(m_language).coolingLabel, Truncated(m_coolingSlider.value) * 10);
}

void SetupPages::ReadSuspension(bool rear)
{
    const BikeSetup& setup = m_player.setup;
    SetSliderValue(m_suspensionSliders[0], rear ? setup.rearLevelA : setup.frontLevelA);
    SetSliderValue(m_suspensionSliders[1], rear ? setup.rearLevelB : setup.frontLevelB);
    SetSliderValue(m_suspensionSliders[2], rear ? setup.rearCompression : setup.frontCompression);
    SetSliderValue(m_suspensionSliders[3], rear ? setup.rearRebound : setup.frontRebound);
}

void SetupPages::SetSuspensionSlider(int slider, float value)
{
    SetSliderValue(m_suspensionSliders[static_cast<size_t>(slider)], value);
}

void SetupPages::StepSuspensionSlider(int slider, int direction)
{
    const Slider& s = m_suspensionSliders[static_cast<size_t>(slider)];
    SetSuspensionSlider(slider, s.value + static_cast<float>(direction));
}

void SetupPages::ReadIgnition()
{
    const BikeSetup& setup = m_player.setup;
    SetSliderValue(m_ignitionSliders[0], setup.ignitionA);
    SetSliderValue(m_ignitionSliders[1], setup.ignitionB);
    SetSliderValue(m_ignitionSliders[2], setup.ignitionC);
}

void SetupPages::WriteIgnition()
{
    m_player.setup.ignitionA = m_ignitionSliders[0].value;
    m_player.setup.ignitionB = m_ignitionSliders[1].value;
    m_player.setup.ignitionC = m_ignitionSliders[2].value;
    m_player.ComputeTorqueCurve(m_race);
}

void SetupPages::SetIgnitionSlider(int slider, float value)
{
    SetSliderValue(m_ignitionSliders[static_cast<size_t>(slider)], value);
    WriteIgnition();
}

void SetupPages::StepIgnitionSlider(int slider, int direction)
{
    const Slider& s = m_ignitionSliders[static_cast<size_t>(slider)];
    SetIgnitionSlider(slider, s.value + kIgnitionStep * static_cast<float>(direction));
}

void SetupPages::SelectGear(int gear)
{
    m_selectedGear = std::clamp(gear, 0, static_cast<int>(BikeSetup::kGears) - 1);
}

void SetupPages::StepGearShorter()
{
    m_gearbox.StepGearShorter(m_selectedGear);
    m_gearCurve = RebuildGearboxCurve(m_player.setup);
}

void SetupPages::StepGearLonger()
{
    m_gearbox.StepGearLonger(m_selectedGear);
    m_gearCurve = RebuildGearboxCurve(m_player.setup);
}

void SetupPages::StepSecondaryDown()
{
    m_gearbox.StepSecondaryDown();
    m_gearCurve = RebuildGearboxCurve(m_player.setup);
}

void SetupPages::StepSecondaryUp()
{
    m_gearbox.StepSecondaryUp();
    m_gearCurve = RebuildGearboxCurve(m_player.setup);
}

bool SetupPages::LoadSetupFile(std::string_view path)
{
    const bool read = ReadSetupFile(path, m_player.setup);
    ReapplyRecord();
    return read;
}

bool SetupPages::SaveSetupFile(std::string_view path) const
{
    return WriteSetupFile(path, m_player.setup);
}

void SetupPages::SetLanguage(Language language)
{
    m_language = language;
    BuildSummary();
}

void SetupPages::BuildSummary()
{
    const SetupTexts& texts = SetupTextsOf(m_language);
    const BikeSetup& setup = m_player.setup;
    m_summary.tyres = m_shownCategory == TyreCategory::NotSet
                          ? std::string(texts.tyreCategoryNotSet)
                          : std::string(texts.tyreCategory[static_cast<size_t>(m_shownCategory)]);
    m_summary.brakes = texts.brakeCharacteristic[std::min<size_t>(setup.brakeCharacteristic, 2)];
    m_summary.cooling =
        Formatted(texts.coolingOpen, Truncated((setup.coolingOpening + 0.05f) * 10.0f) * 10);
    // In double: with single precision four clicks of 19 (76) would come out as "hard".
    const double clicks =
        std::trunc(static_cast<double>(setup.frontCompression) + setup.frontRebound +
                   setup.rearCompression + setup.rearRebound);
    const double word = std::isfinite(clicks) ? std::trunc(clicks * 0.039473683) : 0.0;
    m_summary.suspension = texts.suspension[static_cast<size_t>(std::clamp(word, 0.0, 3.0))];
    m_summary.gearing = texts.gearing[static_cast<size_t>(m_gearbox.ClassifyTopSpeed())];
}
