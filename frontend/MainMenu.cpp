#include "frontend/MainMenu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "app/window/FrameTime.h"
#include "app/window/KeyListeners.h"
#include "core/files/FileSystem.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/MenuFiles.h"
#include "frontend/SessionChoices.h"
#include "frontend/framework/FrameKit.h"
#include "frontend/framework/MenuFlag.h"
#include "frontend/framework/MenuSounds.h"
#include "frontend/mainmenu/MainMenuLayout.h"
#include "frontend/mainmenu/MainMenuTexts.h"
#include "frontend/season/ChampionshipSave.h"
#include "frontend/season/SessionWeather.h"
#include "frontend/settings/MenuStateFile.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/GadgetDrawing.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"
#include "net/NetSession.h"
#include "platform/VirtualKeys.h"
#include "race/RaceContext.h"
#include "render/RenderApi.h"
#include "setup/PlayerSetupFile.h"
#include "setup/SetupScreenEntry.h"

namespace
{
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr const char* kStartScreen = "MainMenu/startscreen.jpg";
constexpr const char* kRiderScreen = "MainMenu/fahrerscreen.jpg";
constexpr const char* kCircuitScreen = "MainMenu/streckenscreen.jpg";
constexpr const char* kSaveFolder = "save/wm";
constexpr int32_t kHeadlineWidth = 450;
constexpr int32_t kHeadlineHeight = 55;
constexpr int32_t kCircuitCountShown = 18;
constexpr uint32_t kTextColour = 0xF0F0F0;
constexpr uint32_t kHighlightColour = 0x40D0F8;
constexpr uint32_t kDimColour = 0x808080;
constexpr uint32_t kNumberColour = 0x202020;
constexpr std::array<const char*, 3> kClassNames = {"125 ccm", "250 ccm", "500 ccm"};

const MainMenuTexts& Texts()
{
    return MainMenuTextsFor(g_language);
}

uint32_t Offset(size_t offset)
{
    return g_menuState.U32At(offset);
}

bool ChoiceAllowed(size_t which)
{
    return g_menuState.U8At(MenuState::kChoiceAllowedOffset + which) != 0;
}

// Game modes 0, 1, 2, 3, 5 on the mode panel's rows.
constexpr std::array<uint32_t, 5> kModeOfRow = {0, 1, 2, 3, 5};
}  // namespace

MainMenu* g_mainMenu = nullptr;

MainMenu::MainMenu(NetLobby& lobby, NetSession& session) : session_(&session)
{
    lobbyPages_.emplace(lobby, session, g_menuState, lists_[0], lists_[1]);
    lobbyPages_->SetCalendarWeather(
        [](MenuState& settings)
        {
            RollNetworkWeatherList(
                settings,
                [](size_t circuit) -> const CircuitClimate&
                { return CircuitTexts()[circuit].climate; },
                RuntimeRand);
        });
}

MainMenu::~MainMenu()
{
    Leave();
}

bool MainMenu::Enter()
{
    g_gameMode = GameMode::NetworkRace;
    redrawCount_ = 2;
    g_menuState.SetU8At(MenuState::kFreeChoiceOffset, 1);
    SetMenuBackground(kStartScreen);
    if (g_menuBackground.Picture() == nullptr)
    {
        return false;
    }
    LoadPictures();
    SelectFrameKit(0);
    BuildGadgets();
    shownMode_ = static_cast<uint32_t>(g_gameMode);
    fadeTime_ = 1.0f;
    fadeAlpha_ = 0;
    for (size_t bikeClass = 0; bikeClass < riderOfClass_.size(); ++bikeClass)
    {
        riderOfClass_[bikeClass] = static_cast<int32_t>(Offset(MenuState::kPlayerRiderOffset));
    }
    openLayers_ = 0;
    page_ = kStartPage;
    startLayout_ = true;
    mainPanel_.shown = mainPanel_.active = true;
    bottomBar_.shown = bottomBar_.active = true;
    drawPointer_ = true;
    screenActive_ = g_renderDevice.IsGlideActive() != 0;
    animation_.Open();
    allValue_ = 1;
    draggedSlider_ = -1;
    waitingControl_ = -1;
    ApplyAidLocks();
    g_mainMenu = this;
    AddKeyListener(&MainMenu::OnKey);
    entered_ = true;
    if (!HasMenuFlag())
    {
        g_menuFlag.Create();
    }
    if (g_archiveMenu != nullptr && preview_.Load(g_menuFlag.Root(), *g_archiveMenu))
    {
        preview_.Dress(Offset(MenuState::kBikeClassOffset), Offset(MenuState::kPlayerRiderOffset));
    }
    g_observationMode = 0;
    g_renderDevice.SetViewport(0, 0, kScreenWidth, kScreenHeight, 0.11f, 6000.0f);
    ResetToStartScreen();
    // An error the lobby or the last network session left is told once.
    if (session_ != nullptr && session_->TakeErrorCode() != 0)
    {
        OpenPanel(infoPanel_, nullptr);
    }
    return true;
}

void MainMenu::ResetToStartScreen()
{
    g_gameMode = GameMode::NetworkRace;
    drawPointer_ = true;
    SelectFrameKit(0);
    SetMenuBackground(kStartScreen);
    result_ = kStay;
    const uint32_t bikeClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
    g_menuState.SetU32At(MenuState::kRiderNumberOffset,
                         FirstRiderOfClass(bikeClass) + Offset(MenuState::kPlayerRiderOffset));
    for (size_t which = 0; which < MenuState::kChoiceAllowedCount; ++which)
    {
        g_menuState.SetU8At(MenuState::kChoiceAllowedOffset + which, 1);
    }
    g_menuFlag.ShowNationOf(Offset(MenuState::kCircuitOffset));
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, 0);
    page_ = kStartPage;
    startLayout_ = true;
    UpdateElement(kStartPage);
    RepaintAll();
}

void MainMenu::Leave()
{
    if (!entered_)
    {
        return;
    }
    entered_ = false;
    CloseSetupScreen();
    preview_.Forget();
    RemoveKeyListener(&MainMenu::OnKey);
    if (g_mainMenu == this)
    {
        g_mainMenu = nullptr;
    }
    FreePictures();
    g_fileRequester.Close();
    animation_.Close();
    g_frameKit.Free();
    CircuitInfoScreen::Close();
    SetActiveRectList(nullptr);
}

void MainMenu::LoadPictures()
{
    const auto load = [](const std::string& name)
    {
        Texture* picture = nullptr;
        g_renderDevice.LoadMemoryTexture(name.c_str(), &picture);
        return picture;
    };
    pictures_[kButtonSheetPicture] = load("MainMenu/ButtonsI.bmp");
    pictures_[kLitButtonSheetPicture] = load("MainMenu/ButtonsA.bmp");
    for (int32_t label = 1; label <= kLabelPictureCount; ++label)
    {
        char name[32];
        std::snprintf(name, sizeof(name), "mainmenu/LI%.2d.bmp", label);
        pictures_[LabelPicture(label)] = load(name);
        std::snprintf(name, sizeof(name), "mainmenu/LA%.2d.bmp", label);
        pictures_[LitLabelPicture(label)] = load(name);
    }
    headlines_ = load("MainMenu/Ueberschriften.bmp");
    ghostHeadlines_ = load("MainMenu/Ueberschrift.bmp");
    oval_ = load("MainMenu/oval.bmp");
}

void MainMenu::FreePictures()
{
    for (Texture*& picture : pictures_)
    {
        if (picture != nullptr)
        {
            g_renderDevice.FreeMemoryTexture(&picture);
        }
    }
    for (Texture** picture : {&headlines_, &ghostHeadlines_, &oval_, &face_})
    {
        if (*picture != nullptr)
        {
            g_renderDevice.FreeMemoryTexture(picture);
        }
    }
}

void MainMenu::BuildGadgets()
{
    const MainMenuTexts& texts = Texts();
    mainPanel_ = {};
    bottomBar_ = {};
    modePanel_ = {};
    levelPanel_ = {};
    quitPanel_ = {};
    infoPagePanel_ = {};
    for (size_t entry = 0; entry < kMainButtonCount; ++entry)
    {
        mainButtons_[entry] = MainButtonGadget(entry);
        AddGadget(mainPanel_.frame.gadgets, mainButtons_[entry], kGadgetHighlight);
    }
    SetPanelGeometry(modePanel_.frame, kModePanel, texts.modeTitle);
    SetPanelGeometry(levelPanel_.frame, kLevelPanel, texts.levelTitle);
    SetPanelGeometry(quitPanel_.frame, kQuitPanel, texts.quitTitle);
    infoPanel_ = {};
    SetPanelGeometry(infoPanel_.frame, kInfoPanel, texts.infoTitle);
    infoOk_ = InfoOkGadget();
    AddGadget(infoPanel_.frame.gadgets, infoOk_, kGadgetHighlight);
    for (size_t row = 0; row < modeRows_.size(); ++row)
    {
        modeRows_[row] = PanelRowGadget(modePanel_.frame, static_cast<int32_t>(row));
        AddGadget(modePanel_.frame.gadgets, modeRows_[row], kGadgetHighlight);
    }
    for (size_t row = 0; row < levelRows_.size(); ++row)
    {
        levelRows_[row] = PanelRowGadget(levelPanel_.frame, static_cast<int32_t>(row));
        AddGadget(levelPanel_.frame.gadgets, levelRows_[row], kGadgetHighlight);
    }
    BuildOptionPanels();
    BuildOverviewTiles();
    quitYes_ = QuitAnswerGadget(quitPanel_.frame, true);
    quitNo_ = QuitAnswerGadget(quitPanel_.frame, false);
    AddGadget(quitPanel_.frame.gadgets, quitYes_, kGadgetHighlight);
    AddGadget(quitPanel_.frame.gadgets, quitNo_, kGadgetHighlight);
    // The hit test walks the panels in this order.
    mainPanel_.frame.next = &bottomBar_.frame;
    bottomBar_.frame.next = &modePanel_.frame;
    modePanel_.frame.next = &levelPanel_.frame;
    MenuFrame* last = &levelPanel_.frame;
    for (const OptionPanelId id :
         {OptionPanelId::RideAids, OptionPanelId::Realism, OptionPanelId::Damage,
          OptionPanelId::Weather, OptionPanelId::Opposition})
    {
        last->next = &Options(id).frame;
        last = last->next;
    }
    last->next = &quitPanel_.frame;
    last = &quitPanel_.frame;
    for (MenuFrame* frame :
         {&Options(OptionPanelId::Settings).frame, &Options(OptionPanelId::Options).frame,
          &infoPanel_.frame, &Options(OptionPanelId::Network).frame,
          &Options(OptionPanelId::Graphics).frame, &Options(OptionPanelId::Sound).frame,
          &Options(OptionPanelId::Controls).frame})
    {
        last->next = frame;
        last = frame;
    }
}

void MainMenu::UpdateElement(int32_t page)
{
    bottomBar_.frame.gadgets.head = nullptr;
    if (page != 0)
    {
        const bool riderChoice = page == kRiderPage && ChoiceAllowed(2);
        const bool circuitChoice = page == kCircuitPage && ChoiceAllowed(3);
        const uint32_t bikeClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
        for (size_t button = 0; button < kBottomButtonCount; ++button)
        {
            bool shown = button == kBack || button == kGo;
            if (button == kPrevious || button == kNext || button == kAccept || button == kOverview)
            {
                shown = riderChoice || circuitChoice;
            }
            if (button >= kClass125 && button <= kClass500)
            {
                shown = riderChoice && button - kClass125 == bikeClass;
            }
            if (button == kCircuitInfo || button == kSetup)
            {
                shown = page == kCircuitPage;
            }
            if (button >= kWeatherSunny && button <= kWeatherRainy)
            {
                shown = circuitChoice &&
                        button - kWeatherSunny == g_menuState.U8At(MenuState::kWeatherOffset);
            }
            if (shown)
            {
                bottomButtons_[button] = BottomButtonGadget(button);
                AddGadget(bottomBar_.frame.gadgets, bottomButtons_[button], kGadgetHighlight);
            }
        }
    }
    Repaint(0, 356, kScreenWidth, kScreenHeight);
}

void MainMenu::Repaint(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    for (DirtyRectList& list : lists_)
    {
        list.Add(left, top, right, bottom);
    }
}

void MainMenu::RepaintAll()
{
    Repaint(0, 0, kScreenWidth, kScreenHeight);
}

int32_t MainMenu::RidersOfClass() const
{
    return RiderCountOfClass(std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2));
}

int32_t MainMenu::Step(float frameSeconds)
{
    if (setupRequested_ || setup_ != nullptr)
    {
        StepSetupScreen(frameSeconds);
        if (setup_ != nullptr)
        {
            return result_;
        }
    }
    // Esc leaves the game from the menu at once, as it always has.
    if ((ReadKey(vk::Escape) & kKeyPressed) != 0)
    {
        return kQuit;
    }
    if (g_renderDevice.BeginDraw() == 0)
    {
        redrawCount_ = 2;
        return result_;
    }
    const int32_t result = UpdateFrame(frameSeconds);
    g_renderDevice.EndDraw();
    return result;
}

int32_t MainMenu::UpdateFrame(float frameSeconds)
{
    if (transition_.IsRunning())
    {
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        return transition_.Draw() ? kStay : result_;
    }
    if (redrawCount_ > 0)
    {
        RepaintAll();
        --redrawCount_;
    }
    animationTime_ += frameSeconds;
    if (startLayout_)
    {
        animation_.Step(static_cast<uint32_t>(frameSeconds * 1000.0f), lists_[0], lists_[1]);
    }
    g_fileRequester.SetDirtyLists(&lists_[0], &lists_[1]);
    if (pointer_.IsHeld() && draggedSlider_ >= 0)
    {
        DragSlider();
    }
    else
    {
        PollControlInput();
    }
    AnimateMenuFrames(lists_[0], lists_[1], &mainPanel_.frame, frameSeconds);
    if (waitingControl_ >= 0 && ((g_lastFrameMs ^ blinkPhase_) & 0x100) != 0)
    {
        RepaintValue(OptionPanelId::Controls, static_cast<size_t>(waitingControl_));
    }
    blinkPhase_ = g_lastFrameMs;
    HandleInput();
    ++frameCounter_;
    if (IsOnLobbyPage())
    {
        lobbyPages_->Update(frameCounter_);
        FollowLobby();
    }
    if (g_fileRequester.IsOpen() && g_fileRequester.GetResult(nullptr) != FileRequester::kPending)
    {
        LoadChampionshipFile(g_fileRequester.GetResult(nullptr));
    }
    if (transition_.IsRunning())
    {
        PresentFrame();
        return kStay;
    }
    if (shownMode_ != static_cast<uint32_t>(g_gameMode))
    {
        fadeTime_ -= frameSeconds;
        if (fadeTime_ >= 0.0f)
        {
            fadeAlpha_ = static_cast<int32_t>(fadeTime_ * 255.0f);
        }
        else
        {
            shownMode_ = static_cast<uint32_t>(g_gameMode);
            fadeAlpha_ = 0;
        }
        Repaint(0, 0, kHeadlineWidth, kHeadlineHeight);
    }
    // The marker pulses every frame; a marker that moved leaves its old place to repaint.
    for (const int32_t entry : {markedEntry_, selectedEntry_})
    {
        if (entry >= 0 && entry < static_cast<int32_t>(kMainButtonCount))
        {
            const MarkerPosition marker = SelectionMarker(entry);
            Repaint(marker.x, marker.y, marker.x + 32, marker.y + 32);
        }
    }
    markedEntry_ = selectedEntry_;
    if (preview_.Shown())
    {
        preview_.Turn(frameSeconds);
        Repaint(BikePreview::kLeft, BikePreview::kTop, BikePreview::kRight, BikePreview::kBottom);
    }
    g_menuFlag.Wave(frameSeconds);
    if (g_menuFlag.Visible())
    {
        Repaint(MenuFlag::kLeft, MenuFlag::kTop, MenuFlag::kRight, MenuFlag::kBottom);
    }
    PresentFrame();
    return result_;
}

void MainMenu::HandleInput()
{
    const Texture* pointerPicture = GetMenuPicture(MenuPicture::Pointer);
    const int32_t pointerWidth = pointerPicture != nullptr ? pointerPicture->width : 0;
    const int32_t pointerHeight = pointerPicture != nullptr ? pointerPicture->height : 0;
    pointer_.Update(pointerWidth, pointerHeight, drawPointer_, lists_[0], lists_[1]);
    const bool click = pointer_.TakeClick();
    if (!pointer_.IsHeld())
    {
        draggedSlider_ = -1;
    }
    if (IsOnLobbyPage())
    {
        if (click)
        {
            lobbyPages_->Click(pointer_.X(), pointer_.Y());
        }
        return;
    }

    // The panels in the order of their chain; the first gadget under the pointer is hit.
    struct Owner
    {
        GadgetList* gadgets;
        bool takesClicks;
    };
    const auto panel = [](Panel& owner) {
        return Owner{&owner.frame.gadgets, owner.active && (owner.shown || owner.frame.open)};
    };
    const auto options = [this](OptionPanelId id)
    {
        OptionPanel& owner = Options(id);
        return Owner{&owner.frame.gadgets, owner.active && owner.frame.open};
    };
    const Owner owners[] = {
        panel(mainPanel_),
        panel(bottomBar_),
        panel(modePanel_),
        panel(levelPanel_),
        options(OptionPanelId::RideAids),
        options(OptionPanelId::Realism),
        options(OptionPanelId::Damage),
        options(OptionPanelId::Weather),
        options(OptionPanelId::Opposition),
        panel(quitPanel_),
        panel(riderOverview_),
        panel(circuitOverview_),
        options(OptionPanelId::Settings),
        options(OptionPanelId::Options),
        panel(infoPanel_),
        panel(infoPagePanel_),
        options(OptionPanelId::Network),
        options(OptionPanelId::Graphics),
        options(OptionPanelId::Sound),
        options(OptionPanelId::Controls),
    };
    Gadget* hovered = nullptr;
    for (const Owner& owner : owners)
    {
        Gadget* hit = nullptr;
        if (owner.takesClicks && hovered == nullptr)
        {
            hit = FindGadgetAt(*owner.gadgets, pointer_.X(), pointer_.Y());
            hovered = hit;
        }
        if (Gadget* lit = UpdateGadgetHover(*owner.gadgets, hit, lists_[0], lists_[1]))
        {
            PlayGadgetSound(*lit, 1);
        }
    }
    if (g_fileRequester.IsOpen())
    {
        g_fileRequester.OnMouse(pointer_.X(), pointer_.Y(), click, pointer_.IsHeld(),
                                g_lastFrameMs);
    }
    if (!click || hovered == nullptr)
    {
        return;
    }
    PlayGadgetSound(*hovered, 0);
    Dispatch(*hovered);
}

void MainMenu::Dispatch(Gadget& gadget)
{
    for (size_t entry = 0; entry < kMainButtonCount; ++entry)
    {
        if (&gadget == &mainButtons_[entry])
        {
            OnMainButton(static_cast<int32_t>(entry));
            return;
        }
    }
    for (size_t button = 0; button < kBottomButtonCount; ++button)
    {
        if (&gadget == &bottomButtons_[button])
        {
            OnBottomButton(button);
            return;
        }
    }
    for (size_t row = 0; row < modeRows_.size(); ++row)
    {
        if (&gadget == &modeRows_[row])
        {
            ChooseGameMode(static_cast<int32_t>(kModeOfRow[row]));
            return;
        }
    }
    for (size_t row = 0; row < levelRows_.size(); ++row)
    {
        if (&gadget == &levelRows_[row])
        {
            ChooseLevel(static_cast<int32_t>(row));
            return;
        }
    }
    if (&gadget == &quitYes_ || &gadget == &quitNo_)
    {
        AnswerQuit(&gadget == &quitYes_);
    }
    if (&gadget == &infoOk_)
    {
        MenuFrame::Close(infoPanel_.frame);
        infoPanel_.active = false;
        --openLayers_;
        bottomBar_.shown = true;
    }
    if (&gadget == &CircuitInfoScreen::OkGadget())
    {
        CloseCircuitInfo();
    }
    if (!DispatchOptionPanel(gadget))
    {
        DispatchOverviewTile(gadget);
    }
}

void MainMenu::OpenPanel(Panel& panel, MenuFrame* linked)
{
    MenuFrame::Open(panel.frame, linked);
    panel.active = true;
    ++openLayers_;
}

void MainMenu::CloseOpenPanel()
{
    for (Panel* panel : {&modePanel_, &levelPanel_})
    {
        if (panel->frame.open)
        {
            MenuFrame::Close(panel->frame);
            panel->active = false;
            --openLayers_;
        }
    }
    for (const OptionPanelId id : {OptionPanelId::Realism, OptionPanelId::Options})
    {
        if (Options(id).active)
        {
            OnOptionPanel(id, kPanelCancel);
        }
    }
    if (page_ == kRiderPage || page_ == kCircuitPage)
    {
        LeaveToStartPage();
    }
}

void MainMenu::OnMainButton(int32_t entry)
{
    switch (entry)
    {
        case kModeEntry:
            if (!modePanel_.frame.open)
            {
                CloseOpenPanel();
                selectedEntry_ = kModeEntry;
                for (Gadget& row : modeRows_)
                {
                    row.kind = ChoiceAllowed(0) ? kGadgetHighlight : 0;
                }
                OpenPanel(modePanel_, &bottomBar_.frame);
            }
            break;
        case kLevelEntry:
            if (!levelPanel_.frame.open)
            {
                CloseOpenPanel();
                selectedEntry_ = kLevelEntry;
                for (Gadget& row : levelRows_)
                {
                    row.kind = ChoiceAllowed(1) ? kGadgetHighlight : 0;
                }
                OpenPanel(levelPanel_, nullptr);
            }
            break;
        case kRiderEntry:
            if (page_ != kRiderPage)
            {
                CloseOpenPanel();
                ++openLayers_;
                selectedEntry_ = kRiderEntry;
                SetMenuBackground(kRiderScreen);
                kept_ = g_menuState;
                ShowRider();
                RepaintAll();
                UpdateElement(kRiderPage);
                page_ = kRiderPage;
                startLayout_ = false;
                preview_.Show(true);
            }
            break;
        case kCircuitEntry:
            if (page_ != kCircuitPage)
            {
                CloseOpenPanel();
                ++openLayers_;
                selectedEntry_ = kCircuitEntry;
                kept_ = g_menuState;
                SetMenuBackground(kCircuitScreen);
                ShowCircuit();
                RepaintAll();
                UpdateElement(kCircuitPage);
                page_ = kCircuitPage;
                startLayout_ = false;
            }
            break;
        case kObserveEntry:
            g_observationMode = 1;
            g_gameMode = GameMode::Race;
            g_menuState.SetU32At(MenuState::kGameModeOffset, 1);
            StartChosenSession();
            break;
        case kLoadGameEntry:
            OpenLoadGame();
            break;
        case kRealismEntry:
            OpenRealismPanel();
            break;
        default:
            OpenOptionsPanel();
            break;
    }
}

void MainMenu::OnBottomButton(size_t button)
{
    switch (button)
    {
        case kBack:
            OnBack();
            break;
        case kGo:
            if (page_ != kStartPage)
            {
                LeaveToStartPage();
            }
            StartChosenSession();
            break;
        case kAccept:
            LeaveToStartPage();
            break;
        case kPrevious:
            StepChoice(-1);
            break;
        case kNext:
            StepChoice(1);
            break;
        case kCircuitInfo:
            OpenCircuitInfo();
            break;
        case kOverview:
            if (selectedEntry_ == kRiderEntry)
            {
                OpenRiderOverview();
            }
            else if (selectedEntry_ == kCircuitEntry)
            {
                OpenCircuitOverview();
            }
            break;
        case kWeatherSunny:
        case kWeatherCloudy:
        case kWeatherRainy:
            CycleWeather();
            break;
        case kClass125:
        case kClass250:
        case kClass500:
            NextClass();
            break;
        case kSetup:
            setupRequested_ = true;
            break;
        default:
            break;
    }
}

void MainMenu::StartChosenSession()
{
    if (g_gameMode == GameMode::NetworkRace)
    {
        OpenNetworkPanel();
        return;
    }
    LeaveForSession();
}

void MainMenu::LeaveForSession()
{
    const uint32_t seed = g_lastFrameMs & 0xFFF;
    g_menuState.SetU16At(MenuState::kShuffleSeedOffset,
                         static_cast<uint16_t>(seed != 0 ? seed : 1987));
    if (Offset(MenuState::kControlDeviceOffset) == 1)
    {
        g_menuState.SetU8At(MenuState::kAutoClutchOffset, 0);
    }
    const uint32_t mode = static_cast<uint32_t>(g_gameMode);
    if (g_gameMode == GameMode::Championship)
    {
        g_menuState.SetU32At(MenuState::kCircuitOffset, 0);
    }
    g_menuState.SetU32At(MenuState::kGameModeOffset, mode);
    drawPointer_ = false;
    RepaintAll();
    result_ = kSessionChosen;
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, mode >= 1 && mode <= 5 ? 1 : 0);
    if (mode <= 1)
    {
        transition_.Start();
    }
    SaveMenuState();
}

void MainMenu::OnBack()
{
    if (page_ == kRiderPage)
    {
        for (const size_t offset : {MenuState::kPlayerRiderOffset, MenuState::kBikeClassOffset,
                                    MenuState::kRiderNumberOffset})
        {
            g_menuState.SetU32At(offset, kept_.U32At(offset));
        }
        LeaveToStartPage();
    }
    else if (page_ == kCircuitPage)
    {
        g_menuState = kept_;
        g_menuFlag.ShowNationOf(Offset(MenuState::kCircuitOffset));
        LeaveToStartPage();
    }
    else if (selectedEntry_ == kNoEntry && !quitPanel_.frame.open)
    {
        OpenPanel(quitPanel_, nullptr);
        mainPanel_.active = false;
        bottomBar_.active = false;
    }
    else
    {
        CloseOpenPanel();
        selectedEntry_ = kNoEntry;
    }
}

void MainMenu::FollowLobby()
{
    if (lobbyPages_->SessionStarted())
    {
        g_gameMode = GameMode::NetworkRace;
        LeaveForSession();
        return;
    }
    const int32_t lobbyPage = lobbyPages_->CurrentPage();
    if (lobbyPage == page_)
    {
        return;
    }
    if (lobbyPage != NetLobbyPages::kStartPage)
    {
        page_ = lobbyPage;
        return;
    }
    mainPanel_.shown = true;
    bottomBar_.shown = true;
    SetMenuBackground(kStartScreen);
    selectedEntry_ = kNoEntry;
    startLayout_ = true;
    page_ = kStartPage;
    UpdateElement(kStartPage);
    RepaintAll();
}

void MainMenu::LeaveToStartPage()
{
    if (page_ == kRiderPage)
    {
        g_playerRider.store(Offset(MenuState::kPlayerRiderOffset), std::memory_order_relaxed);
        preview_.Show(false);
    }
    SetMenuBackground(kStartScreen);
    openLayers_ = std::max(0, openLayers_ - 1);
    selectedEntry_ = kNoEntry;
    startLayout_ = true;
    page_ = kStartPage;
    UpdateElement(kStartPage);
    RepaintAll();
}

void MainMenu::ChooseGameMode(int32_t mode)
{
    if (g_menuState.U8At(MenuState::kFreeChoiceOffset) != 0)
    {
        for (size_t which = 0; which < MenuState::kChoiceAllowedCount; ++which)
        {
            g_menuState.SetU8At(MenuState::kChoiceAllowedOffset + which, 1);
        }
        if (mode == 2 || mode == 3)
        {
            g_menuState.SetU32At(MenuState::kSessionOffset, 0);
        }
        if (mode == 3)
        {
            g_menuFlag.ShowNationOf(Offset(MenuState::kCircuitOffset));
        }
        if (static_cast<uint32_t>(mode) != static_cast<uint32_t>(g_gameMode))
        {
            shownMode_ = static_cast<uint32_t>(g_gameMode);
            g_gameMode = static_cast<GameMode>(mode);
            fadeTime_ = 1.0f;
            Repaint(0, 0, kHeadlineWidth, kHeadlineHeight);
        }
    }
    MenuFrame::Close(modePanel_.frame);
    modePanel_.active = false;
    --openLayers_;
    selectedEntry_ = kNoEntry;
}

void MainMenu::ChooseLevel(int32_t level)
{
    if (ChoiceAllowed(1))
    {
        g_menuState.SetU8At(MenuState::kLevelOffset, static_cast<uint8_t>(level));
    }
    MenuFrame::Close(levelPanel_.frame);
    levelPanel_.active = false;
    --openLayers_;
    selectedEntry_ = kNoEntry;
    ApplyAidLocks();
}

void MainMenu::AnswerQuit(bool yes)
{
    mainPanel_.active = true;
    bottomBar_.active = true;
    MenuFrame::Close(quitPanel_.frame);
    quitPanel_.active = false;
    --openLayers_;
    selectedEntry_ = kNoEntry;
    page_ = kStartPage;
    if (yes)
    {
        drawPointer_ = false;
        transition_.Start();
        RepaintAll();
        result_ = kQuit;
        SaveMenuState();
    }
}

void MainMenu::OpenLoadGame()
{
    if (g_fileRequester.IsOpen())
    {
        return;
    }
    CloseOpenPanel();
    selectedEntry_ = kLoadGameEntry;
    g_fileRequester.Open(FileRequester::kPickFile);
    g_fileRequester.MoveTo(FileRequester::kDefaultX, FileRequester::kDefaultY);
    if (!files::IsDirectory(kSaveFolder))
    {
        MakeDirectoryPath(kSaveFolder);
    }
    if (!g_fileRequester.SetDirectory(kSaveFolder))
    {
        g_fileRequester.Close();
        return;
    }
    g_fileRequester.ScanDirectory("");
    g_fileRequester.SetLabels(FileRequester::LanguageLabels(static_cast<int32_t>(g_language)));
    g_fileRequester.SetTitle(Texts().loadGameTitle);
    RepaintAll();
    mainPanel_.active = false;
    bottomBar_.active = false;
}

void MainMenu::LoadChampionshipFile(int32_t requesterResult)
{
    const uint32_t bikeClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
    riderOfClass_[bikeClass] = static_cast<int32_t>(Offset(MenuState::kPlayerRiderOffset));
    selectedEntry_ = kNoEntry;
    mainPanel_.active = true;
    bottomBar_.active = true;
    std::string name;
    const bool loaded = requesterResult == FileRequester::kAccepted &&
                        g_fileRequester.GetResult(&name) == FileRequester::kAccepted &&
                        LoadChampionship(std::string(kChampionshipSaveFolder) + name);
    g_fileRequester.Close();
    RepaintAll();
    if (!loaded)
    {
        // A damaged or unreadable save leaves the start page as it was, without a message.
        return;
    }
    if (Offset(MenuState::kControlDeviceOffset) == 1)
    {
        g_menuState.SetU8At(MenuState::kAutoClutchOffset, 0);
    }
    // The save's own mode: a championship goes on as one.
    g_gameMode = static_cast<GameMode>(Offset(MenuState::kGameModeOffset));
    drawPointer_ = false;
    result_ = kSessionChosen;
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, 1);
}

void MainMenu::CycleWeather()
{
    const uint8_t weather =
        static_cast<uint8_t>((g_menuState.U8At(MenuState::kWeatherOffset) + 1) % 3);
    g_menuState.SetU8At(MenuState::kWeatherOffset, weather);
    for (size_t session = 0; session < MenuState::kSessionSlotCount; ++session)
    {
        g_menuState.SetU8At(MenuState::kSessionWeatherOffset + session, weather);
    }
    g_menuState.SetU32At(MenuState::kSessionOffset, 0);
    RollWeatherConditions(g_menuState);
    UpdateElement(kCircuitPage);
    Repaint(300, 252, 500, 288);
}

void MainMenu::OpenCircuitInfo()
{
    page_ = kCircuitInfoPage;
    bottomBar_.active = false;
    g_menuState.SetU32At(MenuState::kSessionOffset, 0);
    infoPagePanel_.frame.gadgets.head = nullptr;
    CircuitInfoScreen::Open(infoPagePanel_.frame.gadgets, g_menuState, 0);
    infoPagePanel_.shown = infoPagePanel_.active = true;
    RepaintAll();
}

void MainMenu::CloseCircuitInfo()
{
    SetMenuBackground(kCircuitScreen);
    infoPagePanel_.shown = infoPagePanel_.active = false;
    g_menuFlag.ShowNationOf(Offset(MenuState::kCircuitOffset));
    UpdateElement(kCircuitPage);
    page_ = kCircuitPage;
    bottomBar_.active = true;
    RepaintAll();
}

void MainMenu::LoadRiderFace()
{
    constexpr std::array<int32_t, 3> kClassSizes = {125, 250, 500};
    const uint32_t bikeClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
    char name[40];
    std::snprintf(name, sizeof(name), "fressen/%dfressen/%.2u.bmp", kClassSizes[bikeClass],
                  Offset(MenuState::kPlayerRiderOffset) + 1);
    if (face_ == nullptr)
    {
        g_renderDevice.LoadMemoryTexture(name, &face_);
    }
    else
    {
        g_renderDevice.ReLoadMemoryTexture(name, &face_);
    }
}

void MainMenu::ShowRider()
{
    LoadClassRiders();
    LoadRiderFace();
    preview_.Dress(Offset(MenuState::kBikeClassOffset), Offset(MenuState::kPlayerRiderOffset));
    const uint32_t bikeClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
    g_menuState.SetU32At(MenuState::kRiderNumberOffset,
                         FirstRiderOfClass(bikeClass) + Offset(MenuState::kPlayerRiderOffset));
    Repaint(30, 50, 300, 100);
    Repaint(186, 128, kScreenWidth, 393);
}

void MainMenu::ShowCircuit()
{
    g_circuitIndex = static_cast<CircuitId>(Offset(MenuState::kCircuitOffset));
    g_menuFlag.ShowNationOf(Offset(MenuState::kCircuitOffset));
    Repaint(0, 55, kScreenWidth, 356);
}

void MainMenu::StepChoice(int32_t delta)
{
    if (selectedEntry_ == kRiderEntry)
    {
        const int32_t count = RidersOfClass();
        const int32_t rider =
            (static_cast<int32_t>(Offset(MenuState::kPlayerRiderOffset)) + delta + count) % count;
        g_menuState.SetU32At(MenuState::kPlayerRiderOffset, static_cast<uint32_t>(rider));
        ShowRider();
    }
    else if (selectedEntry_ == kCircuitEntry)
    {
        const int32_t circuit =
            (static_cast<int32_t>(Offset(MenuState::kCircuitOffset)) + delta + kCircuitCountShown) %
            kCircuitCountShown;
        g_menuState.SetU32At(MenuState::kCircuitOffset, static_cast<uint32_t>(circuit));
        RollWeatherConditions(g_menuState);
        ShowCircuit();
    }
}

void MainMenu::NextClass()
{
    const uint32_t oldClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
    const uint32_t newClass = (oldClass + 1) % 3;
    riderOfClass_[oldClass] = static_cast<int32_t>(Offset(MenuState::kPlayerRiderOffset));
    g_menuState.SetU32At(MenuState::kBikeClassOffset, newClass);
    const int32_t rider = std::min(riderOfClass_[newClass], RidersOfClass() - 1);
    g_menuState.SetU32At(MenuState::kPlayerRiderOffset, static_cast<uint32_t>(rider));
    ShowRider();
    UpdateElement(kRiderPage);
}

void MainMenu::PresentFrame()
{
    const bool active = g_renderDevice.IsGlideActive() != 0;
    if (active != screenActive_)
    {
        screenActive_ = active;
        for (DirtyRectList& list : lists_)
        {
            list.Clear();
        }
        RepaintAll();
    }
    if (active)
    {
        DrawPage(lists_[drawnList_]);
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        drawnList_ ^= 1;
        DrawPage(lists_[drawnList_]);
    }
    SetActiveRectList(nullptr);
    for (DirtyRectList& list : lists_)
    {
        list.Clear();
    }
}

void MainMenu::DrawPage(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    if (IsOnLobbyPage())
    {
        lobbyPages_->Draw();
        DrawPointer(list);
        return;
    }
    if (page_ == kCircuitInfoPage)
    {
        CircuitInfoScreen::Draw();
        DrawScene(list);
        DrawPointer(list);
        return;
    }
    if (page_ == kRiderOverviewPage || page_ == kCircuitOverviewPage)
    {
        if (page_ == kRiderOverviewPage)
        {
            DrawRiderOverview();
        }
        else
        {
            DrawCircuitOverview();
        }
        DrawScene(list);
        DrawPointer(list);
        return;
    }
    DrawBasePage();
    const MainMenuTexts& texts = Texts();
    if (modePanel_.frame.visible)
    {
        int32_t current = static_cast<int32_t>(g_gameMode);
        current = current >= 4 ? 4 : current;
        DrawRowPanel(modePanel_, modeRows_.data(), modeRows_.size(), texts.modeRows.data(),
                     current);
    }
    if (levelPanel_.frame.visible)
    {
        DrawRowPanel(levelPanel_, levelRows_.data(), levelRows_.size(), texts.levelRows.data(),
                     g_menuState.U8At(MenuState::kLevelOffset));
    }
    if (quitPanel_.frame.visible)
    {
        DrawQuitPanel();
    }
    if (g_fileRequester.IsOpen())
    {
        g_fileRequester.Draw();
    }
    DrawPageContent();
    DrawScene(list);
    if (infoPanel_.frame.visible)
    {
        DrawInfoPanel();
    }
    DrawOptionPanels();
    DrawPointer(list);
}

void MainMenu::DrawScene(const DirtyRectList& list) const
{
    if (&list == &lists_[drawnList_])
    {
        DrawMenuScene();
    }
}

void MainMenu::DrawPointer(const DirtyRectList& list) const
{
    if (!drawPointer_ || &list != &lists_[drawnList_])
    {
        return;
    }
    Texture* pointer = GetMenuPicture(MenuPicture::Pointer);
    if (pointer != nullptr)
    {
        DrawBitmapClipped(pointer, 0, 0, pointer_.X(), pointer_.Y(), pointer->width,
                          pointer->height, 1);
    }
}

void MainMenu::DrawBasePage()
{
    g_menuBackground.Draw();
    Texture* sheet = g_gameMode == GameMode::GhostRace ? ghostHeadlines_ : headlines_;
    const int32_t row = g_gameMode == GameMode::GhostRace ? static_cast<int32_t>(g_language)
                                                          : static_cast<int32_t>(g_gameMode);
    DrawBitmapClipped(sheet, 0, row * kHeadlineHeight, 0, 0, kHeadlineWidth, kHeadlineHeight, 1);
    if (startLayout_)
    {
        animation_.Draw();
    }
    DrawGadgetList(mainPanel_.frame.gadgets, pictures_);
    DrawGadgetList(bottomBar_.frame.gadgets, pictures_);

    SetTextFont(GetMenuFont(MenuFont::Menu18));
    const std::string number = std::to_string(Offset(MenuState::kRiderNumberOffset) + 1);
    DrawBitmapClipped(oval_, 0, 0, 30, 56, 60, 40, 1);
    DrawColorTextClipped(60, 66, kNumberColour, number.c_str(), kAlignCentre);
    if (selectedEntry_ >= 0 && selectedEntry_ < static_cast<int32_t>(kMainButtonCount))
    {
        const MarkerPosition marker = SelectionMarker(selectedEntry_);
        const int32_t alpha = 192 - static_cast<int32_t>(std::sin(5.0f * animationTime_) * 48.0f);
        DrawTextureRectClipped(-1, {marker.x + 8, marker.y + 8, marker.x + 24, marker.y + 24},
                               TextureArea{}, alpha, 0.0f);
    }
}

void MainMenu::DrawRowPanel(const Panel& panel, const Gadget* rows, size_t count,
                            const char* const* texts, int32_t current) const
{
    MenuFrame::Draw(panel.frame);
    if (!panel.frame.fullyOpen)
    {
        return;
    }
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    for (size_t row = 0; row < count; ++row)
    {
        const Gadget& gadget = rows[row];
        const bool lit = gadget.hover != 0 || static_cast<int32_t>(row) == current;
        const uint32_t colour =
            gadget.kind == 0 && !lit ? kDimColour : (lit ? kHighlightColour : kTextColour);
        DrawColorTextClipped(gadget.screenX + 4, gadget.screenY + 2, colour, texts[row],
                             kAlignLeft);
    }
}

void MainMenu::DrawQuitPanel() const
{
    MenuFrame::Draw(quitPanel_.frame);
    if (!quitPanel_.frame.fullyOpen)
    {
        return;
    }
    const MainMenuTexts& texts = Texts();
    const MenuFrame& frame = quitPanel_.frame;
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    for (size_t line = 0; line < texts.quitLines.size(); ++line)
    {
        DrawColorTextClipped(frame.centreX, frame.centreY - 40 + static_cast<int32_t>(line) * 20,
                             kTextColour, texts.quitLines[line], kAlignCentre);
    }
    for (const Gadget* answer : {&quitYes_, &quitNo_})
    {
        const char* text = answer == &quitYes_ ? texts.yes : texts.no;
        DrawColorTextClipped(answer->screenX + answer->width / 2, answer->screenY + 2,
                             answer->hover != 0 ? kHighlightColour : kTextColour, text,
                             kAlignCentre);
    }
}

void MainMenu::DrawInfoPanel() const
{
    MenuFrame::Draw(infoPanel_.frame);
    if (!infoPanel_.frame.fullyOpen)
    {
        return;
    }
    const MainMenuTexts& texts = Texts();
    const MenuFrame& frame = infoPanel_.frame;
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    for (size_t line = 0; line < texts.networkErrorLines.size(); ++line)
    {
        DrawColorTextClipped(frame.centreX, frame.centreY - 40 + static_cast<int32_t>(line) * 20,
                             kTextColour, texts.networkErrorLines[line], kAlignCentre);
    }
    DrawColorTextClipped(infoOk_.screenX + infoOk_.width / 2, infoOk_.screenY + 2,
                         infoOk_.hover != 0 ? kHighlightColour : kTextColour, texts.ok,
                         kAlignCentre);
}

void MainMenu::StepSetupScreen(float frameSeconds)
{
    if (setupRequested_)
    {
        setupRequested_ = false;
        // The screen names the player's rider: the class's riders come first.
        LoadClassRiders();
        setup_ = CreatePlayerSetupScreen(g_language,
                                         g_menuState.U8At(MenuState::kEngineTuningOffset) == 0);
        if (setup_ == nullptr)
        {
            return;
        }
        setup_->Load();
    }
    if (setup_->Update(frameSeconds) == 0)
    {
        return;
    }
    SerializeBikeSetup(true);
    CloseSetupScreen();
    SetMenuBackground(kCircuitScreen);
    RepaintAll();
}

void MainMenu::CloseSetupScreen()
{
    if (setup_ != nullptr)
    {
        setup_->ReleaseResources();
        setup_.reset();
    }
}

void MainMenu::DrawPageContent() const
{
    if (page_ == kRiderPage)
    {
        DrawBitmapClipped(face_, 0, 0, 200, 146, 104, 83, 0);
        const uint32_t bikeClass = std::min<uint32_t>(Offset(MenuState::kBikeClassOffset), 2);
        const std::string number = "# " + std::to_string(Offset(MenuState::kRiderNumberOffset) + 1);
        SetTextFont(GetMenuFont(MenuFont::Menu18));
        DrawColorTextClipped(408, 220, kTextColour, kClassNames[bikeClass], kAlignCentre);
        DrawColorTextClipped(408, 250, kHighlightColour, number.c_str(), kAlignCentre);
    }
    if (page_ == kCircuitPage)
    {
        const size_t circuit =
            std::min<size_t>(Offset(MenuState::kCircuitOffset), kCircuitCount - 1);
        const CircuitTextRecord& record = CircuitTexts()[circuit];
        const char* name = record.names[static_cast<size_t>(g_language)];
        SetTextFont(GetMenuFont(MenuFont::Menu18));
        if (name != nullptr)
        {
            DrawColorTextClipped(420, 262, kTextColour, name, kAlignCentre);
        }
        if (record.subtitle != nullptr)
        {
            DrawColorTextClipped(420, 284, kTextColour, record.subtitle, kAlignCentre);
        }
    }
}
