#pragma once

// What the set-up screen edits, page by page, without drawing: the page state, the working
// copies of the pages that commit when they are left, the sliders, and the summary texts
// shown on every page. Values live in the player's bike record; tyres, brakes and suspension
// are edited on copies, cooling, ignition and gearing in the record at once (with the values
// of the page's opening kept for Cancel). Main thread only.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/game/GameEnums.h"
#include "frontend/toolkit/Slider.h"
#include "race/BikeRecord.h"
#include "race/CurrentRace.h"
#include "setup/GearboxTable.h"
#include "setup/SetupDiagrams.h"

enum class SetupPage : int32_t
{
    Main = 0,
    Tyres = 1,
    Brakes = 2,
    Cooling = 3,
    FrontSuspension = 4,
    RearSuspension = 5,
    Ignition = 6,
    Gearbox = 7,
    LoadSetup = 8,
    SaveSetup = 9,
    CircuitInfo = 10,
};

enum class TyreCategory : int32_t
{
    Slick = 0,
    Intermediate = 1,
    Rain = 2,
    NotSet = 3,  // the tyre preparation chooses
};

struct SetupSummary
{
    std::string tyres;
    std::string brakes;
    std::string cooling;
    std::string suspension;
    std::string gearing;
};

class SetupPages
{
public:
    static constexpr int kSuspensionSliders = 4;
    static constexpr int kIgnitionSliders = 3;

    SetupPages(BikeRecord& player, CurrentRace& race, float topSpeedReference);

    // The screen opens on the main page: the working copies, the sliders and the gearbox
    // table from the record; the engine curve computed with the air of the race.
    void Open();

    SetupPage Page() const { return m_page; }
    // Leaves the current page (committing it) and opens the other.
    void OpenPage(SetupPage page);
    // Commits and closes the current page; back to the main page.
    void LeavePage();
    void Ok() { LeavePage(); }
    // The page's edits are undone, then the page is left.
    void Cancel();

    // Tyres.
    void ChooseTyreCategory(TyreCategory category);
    void ChooseFrontCompound(int index);
    void ChooseRearCompound(int index);
    TyreCategory ShownTyreCategory() const { return m_shownCategory; }
    TyreCategory WorkingTyreCategory() const { return m_tyreCategory; }
    int FrontCompound() const { return m_frontCompound; }
    int RearCompound() const { return m_rearCompound; }
    // Indices the category offers: 0..4 for slicks, 1..3 otherwise.
    static int FirstCompound(TyreCategory category);
    static int LastCompound(TyreCategory category);

    // Brakes: by 0.01 per call, within 0.01..1.0 (A) and 0.01..2.0 (B).
    void ChooseBrakeCharacteristic(int characteristic);
    void StepBrakeValueA(int direction);
    void StepBrakeValueB(int direction);
    int BrakeCharacteristic() const { return m_brakeCharacteristic; }
    float BrakeValueA() const { return m_brakeValueA; }
    float BrakeValueB() const { return m_brakeValueB; }

    // Sliders: the cooling opening in tenths, the suspension levels and clicks, the three
    // ignition factors. Setting a value clamps it to the slider's range and moves the knob.
    void SetCoolingSlider(float value);
    void SetSuspensionSlider(int slider, float value);
    void StepSuspensionSlider(int slider, int direction);
    void SetIgnitionSlider(int slider, float value);
    void StepIgnitionSlider(int slider, int direction);
    Slider& CoolingSlider() { return m_coolingSlider; }
    Slider& SuspensionSlider(int slider) { return m_suspensionSliders[slider]; }
    Slider& IgnitionSlider(int slider) { return m_ignitionSliders[slider]; }

    // Gearbox.
    void SelectGear(int gear);
    int SelectedGear() const { return m_selectedGear; }
    void StepGearShorter();
    void StepGearLonger();
    void StepSecondaryDown();
    void StepSecondaryUp();
    const GearboxTable& Gearbox() const { return m_gearbox; }
    const GearboxCurve& GearCurve() const { return m_gearCurve; }

    // The player's named set-ups; after a load the controls show the record as it stands,
    // whether the file could be read or not.
    bool LoadSetupFile(std::string_view path);
    bool SaveSetupFile(std::string_view path) const;

    const SetupSummary& Summary() const { return m_summary; }
    // Cooling text of the cooling page, "Kühlung %d%%".
    std::string CoolingLabel() const;
    void SetLanguage(Language language);
    const BikeRecord& Player() const { return m_player; }

private:
    void ReadTyres();
    void ReadBrakes();
    void ReadSuspension(bool rear);
    void ReadIgnition();
    void WriteIgnition();
    void SetSliderValue(Slider& slider, float value);
    void ReapplyRecord();
    void BuildSummary();

    BikeRecord& m_player;
    CurrentRace& m_race;
    Language m_language = Language::German;
    SetupPage m_page = SetupPage::Main;

    TyreCategory m_tyreCategory = TyreCategory::Slick;
    TyreCategory m_shownCategory = TyreCategory::Slick;
    int m_frontCompound = 0;
    int m_rearCompound = 0;
    bool m_tyresChosen = false;  // only a choice made on the page changes the tyre bytes

    int m_brakeCharacteristic = 0;
    float m_brakeValueA = 0.01f;
    float m_brakeValueB = 0.01f;

    Slider m_coolingSlider{};
    std::array<Slider, kSuspensionSliders> m_suspensionSliders{};
    std::array<Slider, kIgnitionSliders> m_ignitionSliders{};
    std::array<float, kIgnitionSliders> m_savedIgnition{};

    GearboxTable m_gearbox;
    int m_selectedGear = 0;
    GearboxCurve m_gearCurve;
    float m_topSpeedReference;

    SetupSummary m_summary;
};
