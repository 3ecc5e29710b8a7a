#include "frontend/pitbox/PitBoxMenu.h"

#include <algorithm>
#include <cstdio>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "app/window/FrameTime.h"
#include "app/window/KeyListeners.h"
#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "frontend/MenuResources.h"
#include "frontend/framework/MenuSounds.h"
#include "frontend/pitbox/PitBoxTexts.h"
#include "frontend/season/ChampionshipSave.h"
#include "frontend/season/SessionCountdown.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"
#include "platform/VirtualKeys.h"
#include "race/RaceContext.h"
#include "setup/SetupScreenEntry.h"
#include "setup/telemetry/DataRecorder.h"
#include "sound/SoundManager.h"
#include "view/camera/RaceCamera.h"

uint8_t g_pitMenuHidden = 0;

namespace
{
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr std::string_view kCalendarBackground = "boxenmenu/training1.jpg";
constexpr std::string_view kPointsBackground = "boxenmenu/PunkteStand.jpg";
constexpr std::string_view kGhostBackground = "ghost/ghostinfo.jpg";
constexpr std::string_view kSaveFolder = "save/wm";
constexpr const char* kFirstLapFile = "Tempdaten/Daten_Runde1.fhr";
constexpr int32_t kListRowHeight = 21;
constexpr size_t kSeriesLastCircuit = 17;
constexpr int32_t kRefreshMs = 1000;

// Picture slots: the strip's three states, the OK/abort pair's, the page buttons'.
enum Picture : int8_t
{
    kStripLit = 0,
    kStripActive = 1,
    kStripInactive = 2,
    kOkLit = 3,
    kOkActive = 4,
    kOkInactive = 5,
    kButtonLit = 6,
    kButtonActive = 7,
    kButtonInactive = 8,
};

// Where each page button lies on the strip at the bottom, and in its picture sheets, which
// hold the buttons that share a place one after another.
struct ButtonPlace
{
    uint16_t sourceX;
    uint16_t x;
    uint16_t width;
};
constexpr std::array<ButtonPlace, kPageButtonCount> kPageButtonPlaces = {{
    {0, 0, 80},      // leave
    {80, 80, 80},    // hide
    {160, 160, 80},  // circuit information
    {240, 240, 80},  // list kind
    {320, 320, 80},  // set-up
    {400, 400, 60},  // clock rate
    {540, 540, 98},  // continue
    {460, 460, 80},  // telemetry
    {640, 240, 80},  // quit the race
    {720, 80, 80},   // keep the lap as a ghost
    {800, 240, 80},  // use the lap as the ghost
}};

GameMode ModeOf(const MenuState& settings)
{
    return static_cast<GameMode>(
        std::min<uint32_t>(settings.U32At(MenuState::kGameModeOffset), kGameModeCount - 1));
}

uint32_t SessionOf(const MenuState& settings)
{
    return settings.U32At(MenuState::kSessionOffset);
}

void SetGadget(Gadget& gadget, int8_t normal, int8_t lit, uint16_t sourceX, uint16_t sourceY,
               uint16_t width, uint16_t height, uint16_t x, uint16_t y)
{
    gadget.normalPicture = normal;
    gadget.hoverPicture = lit;
    gadget.pressedPicture = lit;
    gadget.sourceX = sourceX;
    gadget.sourceY = sourceY;
    gadget.width = width;
    gadget.height = height;
    gadget.screenX = x;
    gadget.screenY = y;
    gadget.drawFlag = 0;
    gadget.visible = 0;
}

Texture* LoadPicture(Texture*& slot, const std::string& name)
{
    if (slot == nullptr)
    {
        g_renderDevice.LoadMemoryTexture(name.c_str(), &slot);
    }
    return slot;
}

void FreePicture(Texture*& slot)
{
    if (slot != nullptr)
    {
        g_renderDevice.FreeMemoryTexture(&slot);
    }
}
}  // namespace

PitBoxMenu::PitBoxMenu(const PitBoxContext& context) : context_(context) {}

PitBoxMenu::~PitBoxMenu()
{
    // An owner that forgot Leave must not cost the race its scene.
    if (ownsMenuScene_ || setupScreen_ != nullptr || dataRecorder_ != nullptr)
    {
        Leave();
    }
    EndNameEntry();
}

void PitBoxMenu::Mark(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    for (DirtyRectList& list : lists_)
    {
        list.Add(left, top, right, bottom);
    }
}

GameMode PitBoxMenu::Mode() const
{
    return ModeOf(*context_.settings);
}

bool PitBoxMenu::IsButtonEnabled(uint32_t button) const
{
    return button < pageButtons_.size() && pageButtons_[button].visible != 0;
}

bool PitBoxMenu::IsCalendarButtonEnabled(uint32_t button) const
{
    return button >= 1 && button <= sessionButtons_.size() &&
           sessionButtons_[button - 1].visible != 0;
}

void PitBoxMenu::SetClockRate(uint32_t rate)
{
    g_clockRate.store(rate, std::memory_order_relaxed);
}

int32_t PitBoxMenu::EnterPage(int32_t page)
{
    SetLoadingHint(1);
    shown_ = true;
    fullRedraws_ = 2;
    ClearAllKeys();
    EnterMenuScene();
    g_renderDevice.SetArchive(g_archiveMenu);
    if (ownsMenuScene_ && !HasMenuFlag())
    {
        g_menuFlag.Create();
    }
    g_menuFlag.ShowNationOf(context_.settings->U32At(MenuState::kCircuitOffset));
    setupRequested_ = false;
    telemetryRequested_ = false;
    result_ = kStay;
    dragItem_ = -1;
    page_ = std::clamp(page, 0, static_cast<int32_t>(kGhostPage));
    gadgets_ = {};
    MenuFrame::Reset(confirmFrame_);
    confirmFrame_.centreX = 400;
    confirmFrame_.centreY = 220;
    confirmFrame_.width = 20;
    confirmFrame_.height = 10;
    confirmFrame_.title = PitBoxTextsOf(g_language).quitCaption.data();
    confirmFrame_.titleLength = 6;
    confirmFrame_.gadgets = {};
    SetGadget(confirmOk_, kOkActive, kOkLit, 0, 0, 96, 24, 512, 246);
    SetGadget(confirmCancel_, kOkActive, kOkLit, 96, 0, 96, 24, 230, 246);
    confirmOk_.visible = confirmCancel_.visible = 1;
    AddGadget(confirmFrame_.gadgets, confirmOk_, kGadgetHighlight);
    AddGadget(confirmFrame_.gadgets, confirmCancel_, kGadgetHighlight);
    for (Gadget& button : pageButtons_)
    {
        button = Gadget{};
    }
    offeredButtons_ = 0;
    PlacePageButtons();
    switch (page_)
    {
        case kCalendarPage:
            BuildCalendarPage();
            break;
        case kTimesPage:
            BuildTimesPage();
            break;
        case kPointsPage:
            BuildPointsPage(false);
            break;
        case kSeriesPage:
            BuildPointsPage(true);
            break;
        case kGhostPage:
            BuildGhostPage();
            break;
        default:
            break;
    }
    LoadPictures();
    inputEnabled_ = true;
    glideWasActive_ = g_renderDevice.IsGlideActive() != 0;
    mouseHeld_ = false;
    MarkAll();
    LeaveMenuScene();
    SetLoadingHint(0);
    return 1;
}

void PitBoxMenu::PlacePageButtons()
{
    for (uint32_t index = 0; index < kPageButtonCount; ++index)
    {
        const ButtonPlace place = kPageButtonPlaces[index];
        SetGadget(pageButtons_[index], kButtonActive, kButtonLit, place.sourceX, 0, place.width, 36,
                  place.x, 444);
    }
    if (page_ == kGhostPage)
    {
        SetGadget(pageButtons_[kLeaveButton], kButtonActive, kButtonLit, 0, 0, 64, 40, 6, 440);
        SetGadget(pageButtons_[kSetupButton], kButtonActive, kButtonLit, 64, 0, 64, 40, 340, 437);
        SetGadget(pageButtons_[kContinueButton], kButtonActive, kButtonLit, 128, 0, 64, 40, 568,
                  439);
    }
    for (Gadget& button : pageButtons_)
    {
        AddGadget(gadgets_, button, kGadgetHighlight);
    }
}

void PitBoxMenu::BuildCalendarPage()
{
    backgroundName_ = kCalendarBackground;
    const std::array<bool, 6> enabled = CalendarButtons(words_);
    const uint16_t language = g_language == Language::English ? 1 : 0;
    for (size_t index = 0; index < sessionButtons_.size(); ++index)
    {
        // Three days side by side, the earlier session of a day above.
        const auto day = static_cast<uint16_t>(index / 2);
        const auto row = static_cast<uint16_t>(index % 2);
        Gadget& button = sessionButtons_[index];
        SetGadget(button, kButtonActive, kButtonLit, static_cast<uint16_t>(index * 160),
                  static_cast<uint16_t>(language * 40), 160, 40,
                  static_cast<uint16_t>(60 + day * 180), static_cast<uint16_t>(200 + row * 70));
        button.visible = enabled[index] ? 1 : 0;
        AddGadget(gadgets_, button, kGadgetHighlight);
    }
    for (size_t index = 0; index < calendarButtons_.size(); ++index)
    {
        Gadget& button = calendarButtons_[index];
        SetGadget(button, kStripActive, kStripLit, static_cast<uint16_t>(index * 120), 0, 120, 36,
                  static_cast<uint16_t>(20 + index * 220), 444);
        button.visible = 1;
        AddGadget(gadgets_, button, kGadgetHighlight);
    }
}

bool PitBoxMenu::ContinueBlocked()
{
    RaceContext& race = *context_.race;
    if (race.standings.sessionOver != 0)
    {
        return false;
    }
    const uint32_t player = race.playerRider.load() % kRiderCount;
    if ((race.bikes[player].aiFlags & ai_flags::kDisqualified) != 0)
    {
        return true;
    }
    const StandingsSession& session = race.standings.Session();
    if (session.isRace)
    {
        return false;
    }
    const bool pastTimeLimit = session.raceTime > race.standings.sessionEndTime;
    const bool pastLapLimit =
        session.lapLimit && race.bikes[player].lapsStarted > race.race.totalLaps;
    return pastTimeLimit || pastLapLimit;
}

void PitBoxMenu::BuildTimesPage()
{
    const MenuState& settings = *context_.settings;
    const GameMode mode = ModeOf(settings);
    const uint32_t session = SessionOf(settings);
    RaceContext& race = *context_.race;
    const bool ended = race.standings.sessionOver != 0;
    const PageOneLayout layout =
        ChoosePageOneLayout(mode, ended, session, race.standings.Session().isRace);
    resultsLayout_ = layout.resultsLayout;
    backgroundName_ = layout.background;
    visibleRows_ = layout.visibleRows;
    headingY_ = layout.headingY;
    headlineStrip_ = layout.headlineStrip;
    showSessionClock_ = !resultsLayout_;
    if (!resultsLayout_)
    {
        tabEnabled_ = TabsEnabled(words_);
        for (size_t index = 0; index < dayButtons_.size(); ++index)
        {
            Gadget& button = dayButtons_[index];
            SetGadget(button, kStripActive, kStripLit, static_cast<uint16_t>(index * 90), 0, 90, 24,
                      static_cast<uint16_t>(30 + index * 95), 92);
            button.visible = words_.dayMask[index] != 0 ? 1 : 0;
            AddGadget(gadgets_, button, kGadgetHighlight);
        }
        for (size_t index = 0; index < tabButtons_.size(); ++index)
        {
            Gadget& tab = tabButtons_[index];
            SetGadget(tab, kStripActive, kStripLit, static_cast<uint16_t>(index * 110), 24, 110, 24,
                      static_cast<uint16_t>(30 + index * 115), 120);
            AddGadget(gadgets_, tab, kGadgetHighlight);
        }
        day_ = DayOfSession(words_.currentSession);
        sessionTab_ = TabOfSession(words_.currentSession);
        dayButtons_[day_].pressed = 0;
        for (Gadget& button : dayButtons_)
        {
            button.pressed = 0;
        }
        SelectDay(day_);
        RefreshTimesList();
    }
    else
    {
        BuildResultList();
    }
    SetRowCount(static_cast<int32_t>(list_.rows.size()));
    clockRateIndex_ = 0;
    const bool ghostLoaded = context_.ghost != nullptr && context_.ghost->Record() != nullptr;
    const PageButtons buttons = PageOneButtons(mode, ended, session, ghostLoaded);
    offeredButtons_ = buttons;
    for (uint32_t index = 0; index < kPageButtonCount; ++index)
    {
        pageButtons_[index].visible = (buttons >> index & 1u) != 0 && index < 9 ? 1 : 0;
    }
    if (ContinueBlocked())
    {
        pageButtons_[kContinueButton].visible = 0;
    }
    if (!files::IsFile(kFirstLapFile))
    {
        pageButtons_[kTelemetryButton].visible = 0;
    }
    SetGadget(sliderGadget_, -1, -1, 0, 0, 8, 64, 624, static_cast<uint16_t>(headingY_ + 20));
    sliderGadget_.visible = 1;
    AddGadget(gadgets_, sliderGadget_, 0);
}

void PitBoxMenu::BuildPointsPage(bool series)
{
    backgroundName_ = kPointsBackground;
    visibleRows_ = 5;
    resultsLayout_ = true;
    showSessionClock_ = false;
    const MenuState& settings = *context_.settings;
    const size_t circuit =
        std::min<size_t>(settings.U32At(MenuState::kCircuitOffset), kCircuitCount - 1);
    list_ = BuildPointsStandings(Source(), series ? kSeriesLastCircuit : circuit);
    if (series)
    {
        ++seriesShowings_;
    }
    SetRowCount(static_cast<int32_t>(list_.rows.size()));
    for (Gadget& button : pageButtons_)
    {
        button.visible = 0;
    }
    pageButtons_[kContinueButton].visible = 1;
    offeredButtons_ = 1u << kContinueButton;
    SetGadget(sliderGadget_, -1, -1, 0, 0, 8, 64, 624, 110);
    sliderGadget_.visible = 1;
    AddGadget(gadgets_, sliderGadget_, 0);
    g_pitMenuHidden = 0;
}

void PitBoxMenu::BuildGhostPage()
{
    g_renderDevice.SetArchive(g_archivePatch);
    backgroundName_ = kGhostBackground;
    visibleRows_ = 16;
    headingY_ = 112;
    resultsLayout_ = true;
    showSessionClock_ = false;
    g_pitMenuHidden = 0;
    ListGhostFiles();
    for (Gadget& button : pageButtons_)
    {
        button.visible = 0;
    }
    pageButtons_[kLeaveButton].visible = 1;
    pageButtons_[kSetupButton].visible = selectedGhost_ > 0 ? 1 : 0;
    pageButtons_[kContinueButton].visible = 1;
    offeredButtons_ = 1u << kLeaveButton | 1u << kSetupButton | 1u << kContinueButton;
}

void PitBoxMenu::SetRowCount(int32_t rows)
{
    rowCount_ = std::min<int32_t>(rows, static_cast<int32_t>(kListRowLimit));
    scrollRow_ = 0;
    slider_ = Slider{.x = 624,
                     .y = static_cast<uint16_t>(headingY_ + 20),
                     .width = 8,
                     .height = static_cast<uint16_t>(visibleRows_ * kListRowHeight),
                     .knobWidth = 8,
                     .knobHeight = 64,
                     .gadget = &sliderGadget_,
                     .minimum = 0.0f,
                     .maximum = static_cast<float>(std::max(0, rowCount_ - visibleRows_)),
                     .value = 0.0f,
                     .knobPosition = 0};
    slider_.UpdateKnobVertical();
}

ListSource PitBoxMenu::Source() const
{
    RaceContext& race = *context_.race;
    ListSource source;
    source.language = g_language;
    source.standings = &race.standings;
    source.settings = context_.settings;
    source.profiles = race.riderProfiles;
    source.player = race.playerRider.load() % kRiderCount;
    source.session = SessionOf(*context_.settings);
    source.trackLengthMetres =
        CircuitTexts()[std::min<size_t>(static_cast<size_t>(race.current.circuitIndex),
                                        kCircuitCount - 1)]
            .lengthMetres;
    source.raceLaps = race.race.totalLaps;
    RaceAiSystem* ai = &race.race;
    source.gapMs = [ai](uint32_t rider, uint32_t& ahead)
    { return ai->EstimateGapMs(rider, ahead); };
    if (ModeOf(*context_.settings) != GameMode::TestRide)
    {
        const LoadedGhost* ghost = context_.ghost;
        source.lapFileState = [ghost](uint32_t lap)
        { return CheckLapFile(lap, ghost != nullptr ? ghost->Record() : nullptr); };
    }
    return source;
}

void PitBoxMenu::BuildResultList()
{
    const MenuState& settings = *context_.settings;
    RaceContext& race = *context_.race;
    const PageOneLayout layout =
        ChoosePageOneLayout(ModeOf(settings), race.standings.sessionOver != 0, SessionOf(settings),
                            race.standings.Session().isRace);
    switch (layout.list)
    {
        case PageOneList::PersonalLaps:
            list_ = BuildPersonalLaps(Source());
            break;
        case PageOneList::Classification:
            BuildSessionClassification(Source(), false, list_);
            break;
        case PageOneList::GridTimes:
            list_ = BuildGridTimes(Source());
            break;
        case PageOneList::RaceResult:
            list_ = BuildRaceResults(Source());
            break;
        case PageOneList::Times:
            RefreshTimesList();
            break;
    }
}

void PitBoxMenu::RefreshTimesList()
{
    list_ = listKind_ == 0 ? BuildBestTimesList(Source(), day_, sessionTab_)
                           : BuildLapTimesList(Source());
    rowCount_ = static_cast<int32_t>(list_.rows.size());
    slider_.maximum = static_cast<float>(std::max(0, rowCount_ - visibleRows_));
    scrollRow_ = std::min(scrollRow_, static_cast<int32_t>(slider_.maximum));
}

void PitBoxMenu::SelectDay(uint32_t day)
{
    if (day >= dayButtons_.size() || dayButtons_[day].pressed != 0)
    {
        return;
    }
    for (Gadget& button : dayButtons_)
    {
        button.pressed = 0;
    }
    for (size_t tab = 0; tab < tabButtons_.size(); ++tab)
    {
        const uint8_t enabled = tabEnabled_[day][tab] ? 1 : 0;
        if (tabButtons_[tab].visible != enabled)
        {
            tabButtons_[tab].visible = enabled;
            MarkGadgetDirty(tabButtons_[tab], lists_[0], lists_[1]);
        }
    }
    if (!tabEnabled_[day][sessionTab_])
    {
        for (uint32_t tab = 0; tab < tabButtons_.size(); ++tab)
        {
            if (tabEnabled_[day][tab])
            {
                sessionTab_ = tab;
                break;
            }
        }
    }
    day_ = day;
    dayButtons_[day].pressed = 1;
    MarkGadgetDirty(dayButtons_[day], lists_[0], lists_[1]);
    Mark(30, 92, 490, 144);
}

void PitBoxMenu::SelectTab(uint32_t tab)
{
    if (tab < tabButtons_.size() && tabEnabled_[day_][tab])
    {
        sessionTab_ = tab;
        headlineStrip_ = tab;
        RefreshTimesList();
        Mark(0, 0, kScreenWidth, kScreenHeight);
    }
}

void PitBoxMenu::LoadPictures()
{
    // A slot holds another page's or language's picture after the page changed.
    if (picturesPage_ != page_ || picturesLanguage_ != g_language)
    {
        FreePictures();
        picturesPage_ = page_;
        picturesLanguage_ = g_language;
    }
    const auto sheets =
        [this](const char* lit, const char* active, const char* inactive, size_t first)
    {
        LoadPicture(buttonPictures_[first], lit);
        LoadPicture(buttonPictures_[first + 1], active);
        if (inactive != nullptr)
        {
            LoadPicture(buttonPictures_[first + 2], inactive);
        }
    };
    char name[48];
    switch (page_)
    {
        case kCalendarPage:
            sheets("boxenmenu/KalenderLeisteH.bmp", "boxenmenu/KalenderLeisteA.bmp",
                   "boxenmenu/KalenderLeisteI.bmp", kStripLit);
            LoadPicture(buttonPictures_[kOkActive], "boxenmenu/OkAbbruchA.bmp");
            LoadPicture(buttonPictures_[kOkInactive], "boxenmenu/OkAbbruchI.bmp");
            sheets("boxenmenu/Training1Buttons_H.bmp", "boxenmenu/Training1Buttons_A.bmp",
                   "boxenmenu/Training1Buttons_I.bmp", kButtonLit);
            break;
        case kTimesPage:
            if (ModeOf(*context_.settings) == GameMode::GhostRace)
            {
                g_renderDevice.SetArchive(g_archivePatch);
                std::snprintf(name, sizeof(name), "boxenmenu/Headline%u.bmp",
                              static_cast<uint32_t>(g_language));
                LoadPicture(headline_, name);
                g_renderDevice.SetArchive(g_archiveMenu);
            }
            else
            {
                LoadPicture(headline_, "boxenmenu/ZeitenHeadlines.jpg");
            }
            sheets("boxenmenu/LeisteH.bmp", "boxenmenu/LeisteA.bmp", "boxenmenu/LeisteI.bmp",
                   kButtonLit);
            sheets("boxenmenu/TageH.bmp", "boxenmenu/TageA.bmp", "boxenmenu/TageI.bmp", kStripLit);
            if (g_renderDevice.GetTexture(51) == nullptr)
            {
                g_renderDevice.LoadTexture("boxenmenu/sliderV.tga", 51, 0, 0);
            }
            break;
        case kPointsPage:
        case kSeriesPage:
            sheets("boxenmenu/PunkteStandLeisteH.bmp", "boxenmenu/PunkteStandLeisteA.bmp",
                   "boxenmenu/PunkteStandLeisteI.bmp", kButtonLit);
            break;
        case kGhostPage:
            g_renderDevice.SetArchive(g_archivePatch);
            sheets("ghost/LeisteH.bmp", "ghost/LeisteA.bmp", "ghost/LeisteI.bmp", kButtonLit);
            std::snprintf(name, sizeof(name), "ghost/Headline%u.bmp",
                          static_cast<uint32_t>(g_language));
            LoadPicture(headline_, name);
            LoadPicture(highlight_, "ghost/highlight.bmp");
            if (g_renderDevice.GetTexture(51) == nullptr)
            {
                g_renderDevice.LoadTexture("ghost/sliderV.bmp", 51, 0, 0);
            }
            SetMenuBackground(backgroundName_.c_str());
            g_renderDevice.SetArchive(g_archiveMenu);
            return;
        default:
            break;
    }
    SetMenuBackground(backgroundName_.c_str());
}

void PitBoxMenu::FreePictures()
{
    FreePicture(headline_);
    FreePicture(secondHeadline_);
    FreePicture(highlight_);
    for (Texture*& picture : buttonPictures_)
    {
        FreePicture(picture);
    }
}

void PitBoxMenu::EnterMenuScene()
{
    if (ownsMenuScene_)
    {
        g_renderDevice.SaveState(raceWorldState_.data(), false);
        g_renderDevice.RestoreState(menuWorldState_.data());
        return;
    }
    if (HasMenuFlag())
    {
        return;
    }
    ownsMenuScene_ = true;
    if (g_renderSlots.rdll_SaveRenderState != nullptr)
    {
        raceRenderState_ = g_renderSlots.rdll_SaveRenderState();
    }
    // The race's arena goes with its saved words; the menu starts an empty world of its own.
    g_renderDevice.SaveState(raceWorldState_.data(), true);
}

void PitBoxMenu::LeaveMenuScene()
{
    if (ownsMenuScene_)
    {
        g_renderDevice.SaveState(menuWorldState_.data(), true);
        g_renderDevice.RestoreState(raceWorldState_.data());
    }
}

void PitBoxMenu::Activate(int32_t hide)
{
    if (hide == 0)
    {
        g_soundManager.ReleaseRaceSounds();
        g_soundManager.LoadMenuSounds();
        if (g_renderSlots.rdll_SaveRenderState != nullptr)
        {
            raceRenderState_ = g_renderSlots.rdll_SaveRenderState();
        }
        if (menuRenderState_ != 0 && g_renderSlots.rdll_ResetRenderState != nullptr)
        {
            g_renderSlots.rdll_ResetRenderState(menuRenderState_);
        }
        g_pitMenuHidden = 0;
        shown_ = true;
        MarkAll();
        return;
    }
    if (g_renderSlots.rdll_SaveRenderState != nullptr)
    {
        menuRenderState_ = g_renderSlots.rdll_SaveRenderState();
    }
    if (raceRenderState_ != 0 && g_renderSlots.rdll_ResetRenderState != nullptr)
    {
        g_renderSlots.rdll_ResetRenderState(raceRenderState_);
    }
    if (g_pitMenuHidden == 0)
    {
        // Forward and back once brings the race view up again, on a rider still racing.
        g_raceCamera.ViewNextRider();
        g_raceCamera.ViewPreviousRider();
    }
    g_pitMenuHidden = 1;
    // The watched race runs at its own pace, and the rate button shows that when the menu
    // comes back.
    clockRateIndex_ = 0;
    SetClockRate(1);
    shown_ = false;
    g_soundManager.ReleaseMenuSounds();
    g_soundManager.LoadRaceSounds();
}

int32_t PitBoxMenu::Frame(float frameSeconds)
{
    if (g_pitMenuHidden != 0)
    {
        return result_;
    }
    if (!shown_)
    {
        Activate(0);
    }
    if (ownsMenuScene_)
    {
        g_renderDevice.SaveState(raceWorldState_.data(), false);
        g_renderDevice.RestoreState(menuWorldState_.data());
    }
    const int32_t result = Update(frameSeconds);
    if (ownsMenuScene_)
    {
        g_renderDevice.SaveState(menuWorldState_.data(), false);
        g_renderDevice.RestoreState(raceWorldState_.data());
    }
    return result;
}

void PitBoxMenu::OpenSetupScreen()
{
    setupScreen_ = CreatePlayerSetupScreen(
        g_language, context_.settings->U8At(MenuState::kEngineTuningOffset) == 0);
    if (setupScreen_ != nullptr)
    {
        SetClockRate(1);
        setupScreen_->Load();
    }
}

void PitBoxMenu::OpenTelemetry()
{
    MenuState& settings = *context_.settings;
    for (size_t slot = 0; slot < telemetryChannels_.size(); ++slot)
    {
        telemetryChannels_[slot] = settings.U8At(MenuState::kTelemetrySlotsOffset + slot);
    }
    DataRecorderContext recorder;
    recorder.circuit = static_cast<uint32_t>(context_.race->current.circuitIndex);
    recorder.circuitName = context_.race->current.circuitName;
    recorder.bikeClass = context_.race->current.bikeClass;
    recorder.language = g_language;
    recorder.slotChannels = &telemetryChannels_;
    dataRecorder_ = std::make_unique<DataRecorder>(recorder);
    SetClockRate(1);
    dataRecorder_->Load();
}

void PitBoxMenu::CloseSubScreens()
{
    if (setupScreen_ == nullptr && dataRecorder_ == nullptr)
    {
        return;
    }
    g_renderDevice.SetArchive(g_archiveMenu);
    SetMenuBackground(backgroundName_.c_str());
    if (setupScreen_ != nullptr)
    {
        setupScreen_->ReleaseResources();
        setupScreen_.reset();
        setupRequested_ = false;
    }
    if (dataRecorder_ != nullptr)
    {
        dataRecorder_->ReleaseResources();
        dataRecorder_.reset();
        telemetryRequested_ = false;
        for (size_t slot = 0; slot < telemetryChannels_.size(); ++slot)
        {
            context_.settings->SetU8At(MenuState::kTelemetrySlotsOffset + slot,
                                       telemetryChannels_[slot]);
        }
    }
    SetClockRate(ClockRateOf(clockRateIndex_));
}

bool PitBoxMenu::RunSubScreen(float frameSeconds, int32_t& result)
{
    if ((setupRequested_ && setupScreen_ == nullptr) ||
        (telemetryRequested_ && dataRecorder_ == nullptr))
    {
        // The pictures go, the scene stays.
        const bool owns = ownsMenuScene_;
        ownsMenuScene_ = false;
        Leave();
        ownsMenuScene_ = owns;
        if (setupRequested_)
        {
            OpenSetupScreen();
        }
        else
        {
            OpenTelemetry();
        }
    }
    const bool open = setupScreen_ != nullptr || dataRecorder_ != nullptr;
    if (!open)
    {
        return false;
    }
    const uint32_t ended = setupScreen_ != nullptr ? setupScreen_->Update(frameSeconds)
                                                   : dataRecorder_->Update(frameSeconds);
    if (ended != 0)
    {
        CloseSubScreens();
        LoadPictures();
        fullRedraws_ = 2;
    }
    result = result_;
    return true;
}

void PitBoxMenu::StepTimesClock(float frameSeconds)
{
    const auto ms = static_cast<int32_t>(frameSeconds * 1000.0f);
    Mark(530, 110, 608, 151);
    timesElapsedMs_ += static_cast<uint32_t>(std::max(ms, 0));
    timesRefreshMs_ -= ms;
    if (!resultsLayout_ && timesRefreshMs_ <= 0)
    {
        timesRefreshMs_ = kRefreshMs;
        RefreshTimesList();
        Mark(18, 188, 571, 442);
    }
}

void PitBoxMenu::FinishRequester()
{
    std::string name;
    const int32_t outcome = g_fileRequester.GetResult(&name);
    if (outcome == FileRequester::kPending)
    {
        return;
    }
    if (outcome == FileRequester::kAccepted && !name.empty())
    {
        const std::string path = std::string(kSaveFolder) + "/" + name;
        if (requesterPurpose_ == 1)
        {
            if (LoadChampionship(path))
            {
                result_ = kChampionshipLoaded;
            }
        }
        else if (requesterPurpose_ == 2)
        {
            SaveChampionship(path);
        }
    }
    g_fileRequester.Close();
    inputEnabled_ = true;
    for (Gadget& button : calendarButtons_)
    {
        button.visible = 1;
    }
    const std::array<bool, 6> enabled = CalendarButtons(words_);
    for (size_t index = 0; index < sessionButtons_.size(); ++index)
    {
        sessionButtons_[index].visible = enabled[index] ? 1 : 0;
    }
    fullRedraws_ = 2;
}

int32_t PitBoxMenu::Update(float frameSeconds)
{
    const MenuState& settings = *context_.settings;
    if (IsSessionCountdownShown(settings, ModeOf(settings)) && !transition_.IsRunning() &&
        CountdownEndsMenu(page_, settings.U32At(MenuState::kTimeLimitIndexOffset),
                          g_menuDelayMs.load(std::memory_order_relaxed)))
    {
        result_ = kContinue;
        transition_.Start();
        return kStay;
    }
    int32_t subResult = kStay;
    if (RunSubScreen(frameSeconds, subResult))
    {
        return subResult;
    }
    AnimateMenuFrames(lists_[0], lists_[1], &confirmFrame_, frameSeconds);
    if (g_renderDevice.BeginDraw() == 0)
    {
        fullRedraws_ = 2;
        return result_;
    }
    if (transition_.IsRunning())
    {
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        const bool running = transition_.Draw();
        g_renderDevice.EndDraw();
        return running ? kStay : result_;
    }
    Mark(485, 0, 640, 88);
    if (fullRedraws_ > 0)
    {
        MarkAll();
        --fullRedraws_;
    }
    if (!g_fileRequester.IsOpen())
    {
        if (page_ == kTimesPage)
        {
            StepTimesClock(frameSeconds);
        }
        if (dragItem_ == 0 && (page_ == kTimesPage || page_ == kPointsPage || page_ == kSeriesPage))
        {
            slider_.SetFromMouseVertical(pointer_.Y());
            scrollRow_ = static_cast<int32_t>(slider_.value + 0.5f);
            Mark(0, headingY_, kScreenWidth, 444);
        }
    }
    else
    {
        FinishRequester();
    }
    if (inputEnabled_)
    {
        HandleInput();
    }
    if (page_ == kTimesPage && pageButtons_[kHideButton].visible != 0 &&
        (ReadKey(vk::Space) & kKeyPressed) != 0)
    {
        hideRequested_ = true;
    }
    if (hideRequested_)
    {
        hideRequested_ = false;
        Activate(1);
    }
    if (shown_)
    {
        g_menuFlag.Wave(frameSeconds);
        if (g_menuFlag.Visible())
        {
            Mark(MenuFlag::kLeft, MenuFlag::kTop, MenuFlag::kRight, MenuFlag::kBottom);
        }
        Draw();
    }
    g_renderDevice.EndDraw();
    return transition_.IsRunning() ? kStay : result_;
}

void PitBoxMenu::Leave()
{
    CloseSubScreens();
    FreePictures();
    EndNameEntry();
    if (ownsMenuScene_)
    {
        g_renderDevice.SaveState(raceWorldState_.data(), false);
        g_renderDevice.RestoreState(menuWorldState_.data());
        DestroyMenuFlag();
        g_renderDevice.FreeWorld();
        if (raceRenderState_ != 0 && g_renderSlots.rdll_ResetRenderState != nullptr)
        {
            g_renderSlots.rdll_ResetRenderState(raceRenderState_);
        }
        g_renderDevice.RestoreState(raceWorldState_.data());
        raceRenderState_ = 0;
    }
    ownsMenuScene_ = false;
    ghosts_.clear();
}

void PitBoxMenu::HandleInput()
{
    const Texture* pointerPicture = GetMenuPicture(MenuPicture::Pointer);
    const int32_t pointerWidth = pointerPicture != nullptr ? pointerPicture->width : 0;
    const int32_t pointerHeight = pointerPicture != nullptr ? pointerPicture->height : 0;
    pointer_.Update(pointerWidth, pointerHeight, true, lists_[0], lists_[1]);
    const bool click = pointer_.TakeClick();
    if (!pointer_.IsHeld())
    {
        dragItem_ = -1;
    }
    GadgetList& owner = confirmFrame_.open ? confirmFrame_.gadgets : gadgets_;
    Gadget* hit = FindGadgetAt(owner, pointer_.X(), pointer_.Y());
    if (Gadget* lit = UpdateGadgetHover(owner, hit, lists_[0], lists_[1]))
    {
        PlayGadgetSound(*lit, 1);
    }
    if (g_fileRequester.IsOpen())
    {
        g_fileRequester.OnMouse(pointer_.X(), pointer_.Y(), click, pointer_.IsHeld(),
                                g_lastFrameMs);
        return;
    }
    if (ModeOf(*context_.settings) == GameMode::GhostRace)
    {
        if (!click)
        {
            StepGhostNameEntry();
        }
        else if (hit == nullptr)
        {
            if (page_ == kGhostPage)
            {
                OnGhostListClick(pointer_.X(), pointer_.Y());
            }
            else
            {
                OnLapListClick(pointer_.X(), pointer_.Y());
            }
        }
    }
    if (!click || hit == nullptr)
    {
        return;
    }
    PlayGadgetSound(*hit, 0);
    mouseHeld_ = true;
    Act(*hit);
}

void PitBoxMenu::Act(Gadget& gadget)
{
    if (&gadget == &sliderGadget_)
    {
        dragItem_ = 0;
        return;
    }
    if (page_ == kCircuitInfoPage)
    {
        if (&gadget == &CircuitInfoScreen::OkGadget())
        {
            CircuitInfoScreen::Close();
            CircuitInfoScreen::OkGadget().visible = 0;
            page_ = savedPage_;
            SetMenuBackground(backgroundName_.c_str());
            fullRedraws_ = 2;
        }
        return;
    }
    if (page_ == kCalendarPage)
    {
        OnCalendarGadget(gadget);
        return;
    }
    for (uint32_t index = 0; index < dayButtons_.size(); ++index)
    {
        if (&gadget == &dayButtons_[index] && page_ == kTimesPage)
        {
            SelectDay(index);
            RefreshTimesList();
            Mark(0, 0, kScreenWidth, kScreenHeight);
            return;
        }
    }
    for (uint32_t index = 0; index < tabButtons_.size(); ++index)
    {
        if (&gadget == &tabButtons_[index] && page_ == kTimesPage)
        {
            SelectTab(index);
            return;
        }
    }
    for (uint32_t index = 0; index < pageButtons_.size(); ++index)
    {
        if (&gadget == &pageButtons_[index])
        {
            OnPageButton(index);
            return;
        }
    }
}

void PitBoxMenu::OnCalendarGadget(Gadget& gadget)
{
    if (confirmFrame_.open)
    {
        if (&gadget == &confirmOk_)
        {
            context_.settings->SetU8At(MenuState::kTimeLimitOnOffset, 0);
            result_ = kAbortWeekend;
        }
        else if (&gadget == &confirmCancel_)
        {
            MenuFrame::Close(confirmFrame_);
        }
        return;
    }
    for (size_t index = 0; index < sessionButtons_.size(); ++index)
    {
        if (&gadget == &sessionButtons_[index])
        {
            result_ = static_cast<int32_t>(index + 1);
            transition_.Start();
            return;
        }
    }
    if (&gadget == &calendarButtons_[0])
    {
        confirmFrame_.speed = 3.0f;
        MenuFrame::Open(confirmFrame_, nullptr);
    }
    else if (&gadget == &calendarButtons_[1])
    {
        OpenRequester(1);
    }
    else if (&gadget == &calendarButtons_[2])
    {
        OpenRequester(2);
    }
}

void PitBoxMenu::OpenRequester(int32_t purpose)
{
    const PitBoxTexts& texts = PitBoxTextsOf(g_language);
    g_fileRequester.Open(purpose == 1 ? FileRequester::kPickFile : FileRequester::kTypeName);
    g_fileRequester.MoveTo(FileRequester::kDefaultX, FileRequester::kDefaultY);
    g_fileRequester.SetDirtyLists(&lists_[0], &lists_[1]);
    g_fileRequester.SetLabels(FileRequester::LanguageLabels(static_cast<int32_t>(g_language)));
    g_fileRequester.SetTitle(std::string(purpose == 1 ? texts.loadGame : texts.saveGame));
    if (!files::MakeDirectories(kSaveFolder) ||
        !g_fileRequester.SetDirectory(std::string(kSaveFolder)) ||
        !g_fileRequester.ScanDirectory(""))
    {
        g_fileRequester.Close();
        return;
    }
    requesterPurpose_ = static_cast<uint8_t>(purpose);
    for (Gadget* gadget : {&sessionButtons_[0], &sessionButtons_[1], &sessionButtons_[2],
                           &sessionButtons_[3], &sessionButtons_[4], &sessionButtons_[5],
                           &calendarButtons_[0], &calendarButtons_[1], &calendarButtons_[2]})
    {
        gadget->visible = 0;
    }
    fullRedraws_ = 2;
}

void PitBoxMenu::OnPageButton(uint32_t button)
{
    if (page_ == kGhostPage)
    {
        if (button == kLeaveButton)
        {
            context_.ghost->Clear(context_.race->race);
            result_ = kEndSession;
        }
        else if (button == kContinueButton)
        {
            if (selectedGhost_ < 1)
            {
                context_.ghost->Clear(context_.race->race);
                result_ = kContinue;
            }
            else if (LoadGhost())
            {
                result_ = kContinue;
            }
        }
        else if (button == kSetupButton)
        {
            DeleteGhost();
        }
        SetClockRate(1);
        return;
    }
    if (page_ == kPointsPage || page_ == kSeriesPage)
    {
        if (button == kContinueButton)
        {
            result_ = kContinue;
            SetClockRate(1);
        }
        return;
    }
    switch (button)
    {
        case kLeaveButton:
            result_ = kEndSession;
            SetClockRate(1);
            break;
        case kHideButton:
            hideRequested_ = true;
            break;
        case kCircuitInfoButton:
            savedPage_ = page_;
            CircuitInfoScreen::Open(gadgets_, *context_.settings,
                                    static_cast<int32_t>(SessionOf(*context_.settings)));
            CircuitInfoScreen::OkGadget().visible = 1;
            page_ = kCircuitInfoPage;
            fullRedraws_ = 2;
            break;
        case kListKindButton:
            listKind_ ^= 1;
            RefreshTimesList();
            scrollRow_ = 0;
            Mark(0, 0, kScreenWidth, kScreenHeight);
            break;
        case kSetupButton:
            setupRequested_ = true;
            SetClockRate(1);
            break;
        case kClockRateButton:
            ++clockRateIndex_;
            SetClockRate(ClockRateOf(clockRateIndex_));
            MarkGadgetDirty(pageButtons_[kClockRateButton], lists_[0], lists_[1]);
            break;
        case kContinueButton:
            result_ = kContinue;
            SetClockRate(1);
            ClearKey(vk::Pause);
            ClearKey('P');
            break;
        case kTelemetryButton:
            telemetryRequested_ = true;
            SetClockRate(1);
            break;
        case kQuitRaceButton:
            SetClockRate(1);
            result_ = kQuitRace;
            transition_.Start();
            break;
        case kKeepGhostButton:
            SaveLapAsGhost();
            break;
        case kUseGhostButton:
            SelectLapForReplay();
            break;
        default:
            break;
    }
}

void PitBoxMenu::OnLapListClick(int32_t x, int32_t y)
{
    if (x < 20 || x > 567 || y < 105 || y > 440 || list_.holdsRiders)
    {
        return;
    }
    const int32_t row = (y - 105) / kListRowHeight + scrollRow_;
    const int32_t rows = static_cast<int32_t>(list_.rows.size());
    bool changed = true;
    for (int32_t index = 0; index < rows; ++index)
    {
        ListRow& entry = list_.rows[static_cast<size_t>(index)];
        if (index == row && (entry.flags & kLapSelected) != 0)
        {
            changed = false;
        }
        entry.flags &= static_cast<uint8_t>(~kLapSelected);
    }
    if (row < rows)
    {
        list_.rows[static_cast<size_t>(row)].flags |= kLapSelected;
        if (changed)
        {
            PlayMenuSound(0, 1);
        }
    }
    Mark(0, 104, 630, 440);
    const uint8_t flags = row < rows ? list_.rows[static_cast<size_t>(row)].flags : 0;
    pageButtons_[kKeepGhostButton].visible =
        (flags & kLapFileValid) != 0 && (flags & kLapMayBeKept) != 0 ? 1 : 0;
    pageButtons_[kUseGhostButton].visible =
        (flags & kLapFileValid) != 0 && (flags & kLapIsGhost) == 0 ? 1 : 0;
    MarkGadgetDirty(pageButtons_[kKeepGhostButton], lists_[0], lists_[1]);
    MarkGadgetDirty(pageButtons_[kUseGhostButton], lists_[0], lists_[1]);
}
