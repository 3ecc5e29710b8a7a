#pragma once

// The pit box: the screen the rider sits in between the sessions of a weekend and over a
// paused or running practice session. Its pages: 0 the weekend calendar, 1 the times or the
// results of the session, 2 the championship points after a race, 3 the circuit information,
// 4 the network series table, 5 the ghost files. From it the player opens the set-up and
// telemetry screens, keeps laps as ghosts, loads and saves the championship, changes the race
// clock's rate in practice and leaves towards the next session.
//
// The owner sets the session words, enters a page, calls Frame once a frame until it returns
// non-zero, acts on the result, calls Leave and destroys the menu. The menu keeps its own 3D
// scene apart from the race's: every swap saves the world it leaves before it restores the
// other, so neither side loses what changed while the other was shown. Main thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "app/settings/MenuState.h"
#include "frontend/framework/MenuFrame.h"
#include "frontend/framework/ScreenTransition.h"
#include "frontend/pitbox/GhostFiles.h"
#include "frontend/pitbox/GhostNameEntry.h"
#include "frontend/pitbox/PitBoxLists.h"
#include "frontend/pitbox/PitBoxRules.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/MenuPointer.h"
#include "frontend/toolkit/Slider.h"

class DataRecorder;
class RaceContext;
class SetupScreen;
struct Texture;

// 1 while the menu is hidden and the race view shows.
extern uint8_t g_pitMenuHidden;

// What the menu works on: the game's race and settings, and the ghost of the ghost session.
struct PitBoxContext
{
    RaceContext* race = nullptr;
    MenuState* settings = nullptr;
    LoadedGhost* ghost = nullptr;
};

class PitBoxMenu
{
public:
    // Results of Frame; the calendar's session buttons give 1..6.
    static constexpr int32_t kStay = 0;
    static constexpr int32_t kContinue = 1;
    static constexpr int32_t kEndSession = 2;
    static constexpr int32_t kAbortWeekend = 7;
    static constexpr int32_t kQuitRace = 8;
    static constexpr int32_t kChampionshipLoaded = 10;

    enum Page : int32_t
    {
        kCalendarPage = 0,
        kTimesPage = 1,
        kPointsPage = 2,
        kCircuitInfoPage = 3,
        kSeriesPage = 4,
        kGhostPage = 5,
    };

    explicit PitBoxMenu(const PitBoxContext& context);
    virtual ~PitBoxMenu();
    PitBoxMenu(const PitBoxMenu&) = delete;
    PitBoxMenu& operator=(const PitBoxMenu&) = delete;

    void SetSessionWords(const SessionWords& words) { words_ = words; }
    const SessionWords& Words() const { return words_; }

    // Builds the page and shows it; 1.
    int32_t EnterPage(int32_t page);
    // One frame of frameSeconds: the page's result, 0 to stay.
    int32_t Frame(float frameSeconds);
    // 0 shows the menu over the race, 1 hides it and lets the race run at the normal rate.
    void Activate(int32_t hide);
    // Closes an open set-up or telemetry screen, frees the pictures and the ghost list and
    // gives the race its scene back.
    void Leave();

    int32_t CurrentPage() const { return page_; }
    int32_t Result() const { return result_; }
    bool IsButtonEnabled(uint32_t button) const;
    bool IsCalendarButtonEnabled(uint32_t button) const;  // 1..6
    uint32_t ClockRateIndex() const { return clockRateIndex_; }
    bool IsSetupOpen() const { return setupScreen_ != nullptr; }
    bool IsTelemetryOpen() const { return dataRecorder_ != nullptr; }
    const ResultList& List() const { return list_; }
    const std::vector<GhostListEntry>& Ghosts() const { return ghosts_; }
    int32_t SelectedGhost() const { return selectedGhost_; }
    int32_t GhostScrollKnob() const { return ghostScrollKnob_; }
    bool IsConfirmationOpen() const { return confirmFrame_.open; }

private:
    // Page building and the per-frame work.
    void BuildCalendarPage();
    void BuildTimesPage();
    void BuildPointsPage(bool series);
    void BuildGhostPage();
    void PlacePageButtons();
    void LoadPictures();
    void FreePictures();
    int32_t Update(float frameSeconds);
    bool RunSubScreen(float frameSeconds, int32_t& result);
    void OpenSetupScreen();
    void OpenTelemetry();
    void CloseSubScreens();
    void FinishRequester();
    void StepTimesClock(float frameSeconds);
    bool ContinueBlocked();

    // The lists.
    ListSource Source() const;
    void BuildResultList();
    void RefreshTimesList();
    void SetRowCount(int32_t rows);
    void SelectDay(uint32_t day);
    void SelectTab(uint32_t tab);

    // Input.
    void HandleInput();
    void Act(Gadget& gadget);
    void OnPageButton(uint32_t button);
    void OnCalendarGadget(Gadget& gadget);
    void OnLapListClick(int32_t x, int32_t y);
    void OpenRequester(int32_t purpose);
    void SetClockRate(uint32_t rate);

    // Ghosts.
    void SaveLapAsGhost();
    void SelectLapForReplay();
    void ListGhostFiles();
    bool LoadGhost();
    void DeleteGhost();
    void OnGhostListClick(int32_t x, int32_t y);
    void StepGhostNameEntry();
    void MarkGhostList();
    void EndNameEntry();
    static int32_t OnGhostNameKey(uint32_t kind, uint32_t key);

    // Drawing.
    void Draw();
    void DrawList(const DirtyRectList& list);
    void DrawHeader();
    // The gadgets, and the offered buttons that are disabled greyed.
    void DrawGadgets();
    void DrawCalendarPage();
    void DrawTimesPage();
    void DrawResultList();
    void DrawSessionClock();
    void DrawPointsPage(bool series);
    void DrawGhostPage();
    void DrawConfirmation();
    void DrawPointer(const DirtyRectList& list);

    GameMode Mode() const;
    void Mark(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void MarkAll() { Mark(0, 0, 640, 480); }

    // The scenes of the race and the menu.
    void EnterMenuScene();
    void LeaveMenuScene();

    PitBoxContext context_;
    SessionWords words_;
    int32_t result_ = kStay;
    int32_t savedPage_ = kTimesPage;
    uint8_t requesterPurpose_ = 0;
    bool resultsLayout_ = false;
    bool showSessionClock_ = false;
    int32_t visibleRows_ = 12;
    int32_t headingY_ = 175;
    uint32_t clockRateIndex_ = 0;
    std::string backgroundName_;
    bool hideRequested_ = false;
    bool shown_ = false;
    bool ownsMenuScene_ = false;
    uint32_t headlineStrip_ = 0;
    bool setupRequested_ = false;
    bool telemetryRequested_ = false;
    std::unique_ptr<SetupScreen> setupScreen_;
    std::unique_ptr<DataRecorder> dataRecorder_;
    std::array<uint8_t, 4> telemetryChannels_{};
    uint32_t raceRenderState_ = 0;
    uint32_t menuRenderState_ = 0;
    std::array<uint32_t, 24> raceWorldState_{};
    std::array<uint32_t, 24> menuWorldState_{};
    uint32_t timesElapsedMs_ = 0;
    int32_t timesRefreshMs_ = 1000;
    int32_t scrollRow_ = 0;
    int32_t rowCount_ = 0;
    uint32_t sessionTab_ = 0;
    uint32_t day_ = 0;
    uint32_t listKind_ = 0;  // 0 general best times, 1 personal lap times
    int32_t page_ = kTimesPage;
    GadgetList gadgets_;
    int32_t dragItem_ = -1;
    bool mouseHeld_ = false;
    bool inputEnabled_ = false;
    bool glideWasActive_ = false;
    int32_t fullRedraws_ = 0;
    std::array<DirtyRectList, 2> lists_;
    size_t drawnList_ = 0;
    std::array<std::array<bool, 4>, 3> tabEnabled_{};
    ResultList list_;
    ListSource baseSource_;

    // Gadgets and pictures.
    std::array<Gadget, kPageButtonCount> pageButtons_{};
    PageButtons offeredButtons_ = 0;  // the page's buttons, enabled or not
    std::array<Gadget, 6> sessionButtons_{};
    std::array<Gadget, 3> calendarButtons_{};  // abort, load, save
    std::array<Gadget, 3> dayButtons_{};
    std::array<Gadget, 4> tabButtons_{};
    Gadget sliderGadget_{};
    Slider slider_{};
    MenuFrame confirmFrame_{};
    Gadget confirmOk_{};
    Gadget confirmCancel_{};
    Gadget circuitInfoOk_{};
    Texture* headline_ = nullptr;
    Texture* secondHeadline_ = nullptr;
    // Highlighted, active, inactive: the page strip, the OK/abort buttons, the page buttons.
    std::array<Texture*, 9> buttonPictures_{};
    Texture* highlight_ = nullptr;
    int32_t picturesPage_ = -1;
    Language picturesLanguage_ = Language::German;
    MenuPointer pointer_;
    ScreenTransition transition_;

    // Ghosts.
    std::vector<GhostListEntry> ghosts_;
    int32_t selectedGhost_ = 0;
    int32_t ghostScroll_ = 0;
    uint32_t repeatTimeMs_ = 0;
    int32_t ghostScrollKnob_ = 0;
    bool cursorBlink_ = false;
    GhostNameEntry nameEntry_;
    uint32_t seriesShowings_ = 0;
};
