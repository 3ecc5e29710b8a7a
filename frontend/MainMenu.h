#pragma once

// The main menu: the screen the player sees after start-up and after every session. It picks
// the game mode, the level, the rider and the circuit, and starts the chosen session or quits.
// The main routine builds it on its stack for each visit, enters it, steps it once a frame
// after pumping the window's messages, and leaves it.
//
// Drawing is incremental: every change marks its rectangle in the repaint lists of both video
// buffers, and a frame draws the back buffer's list, flips, and draws the other list into the
// new back buffer. Main thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/config/ConfigBlock.h"
#include "app/device/DirtyRectList.h"
#include "app/settings/MenuState.h"
#include "frontend/framework/MenuFrame.h"
#include "frontend/framework/ScreenTransition.h"
#include "frontend/mainmenu/BikePreview.h"
#include "frontend/mainmenu/ControlAssignment.h"
#include "frontend/mainmenu/MenuAnimation.h"
#include "frontend/mainmenu/OptionPanels.h"
#include "frontend/mainmenu/OptionRules.h"
#include "frontend/netlobby/NetLobbyPages.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/MenuPointer.h"

class NetSession;
class SetupScreen;
struct Texture;

class MainMenu
{
public:
    // Step results: the main routine's session-loop codes.
    static constexpr int32_t kStay = 0;
    static constexpr int32_t kSessionChosen = 1;
    static constexpr int32_t kQuit = 2;

    enum Page : int32_t
    {
        kStartPage = 1,
        kRiderPage = 2,
        kCircuitPage = 3,
        kRiderOverviewPage = 4,
        kCircuitOverviewPage = 5,
        kCircuitInfoPage = 6,
    };
    // The main buttons, which are also the selected main entries.
    enum Entry : int32_t
    {
        kNoEntry = -1,
        kModeEntry,
        kLevelEntry,
        kRiderEntry,
        kCircuitEntry,
        kRealismEntry,
        kOptionsEntry,
        kLoadGameEntry,
        kObserveEntry,
    };
    enum BottomButton : size_t
    {
        kBack,
        kPrevious,
        kNext,
        kAccept,
        kGo,
        kClass125,
        kClass250,
        kClass500,
        kCircuitInfo,
        kWeatherSunny,
        kWeatherCloudy,
        kWeatherRainy,
        kOverview,
        kSetup,
        kBottomButtonCount,
    };
    static constexpr size_t kMainButtonCount = 8;

    MainMenu() = default;
    // A menu whose network panel opens the lobby pages on this session.
    MainMenu(NetLobby& lobby, NetSession& session);
    virtual ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Loads the menu's pictures and shows the start page; false when the background cannot
    // be read.
    bool Enter();
    // One frame; frameSeconds is the real time since the previous frame.
    int32_t Step(float frameSeconds);
    void Leave();
    // Back to the start page after a session or a cancelled session menu.
    void ResetToStartScreen();

    int32_t CurrentPage() const { return page_; }
    int32_t SelectedEntry() const { return selectedEntry_; }
    int32_t Result() const { return result_; }
    bool IsModePanelOpen() const { return modePanel_.frame.open; }
    bool IsLevelPanelOpen() const { return levelPanel_.frame.open; }
    bool IsQuitPanelOpen() const { return quitPanel_.frame.open; }
    bool IsInfoPanelOpen() const { return infoPanel_.frame.open; }
    bool IsPreviewShown() const { return preview_.Shown(); }
    bool IsSetupScreenOpen() const { return setup_ != nullptr; }
    bool IsTransitionRunning() const { return transition_.IsRunning(); }
    bool IsOptionPanelOpen(OptionPanelId id) const { return Options(id).active; }
    bool IsOnLobbyPage() const { return page_ >= NetLobbyPages::kServerPage; }

    // The key listener while a menu runs: a key for the waiting control row.
    static int32_t OnKey(uint32_t kind, uint32_t virtualKey);

private:
    struct Panel
    {
        MenuFrame frame;
        bool shown = false;
        bool active = false;
    };

    int32_t UpdateFrame(float frameSeconds);
    void HandleInput();
    void Dispatch(Gadget& gadget);
    void PresentFrame();
    void DrawPage(const DirtyRectList& list);
    void DrawBasePage();
    void DrawRowPanel(const Panel& panel, const Gadget* rows, size_t count,
                      const char* const* texts, int32_t current) const;
    void DrawQuitPanel() const;
    void DrawInfoPanel() const;
    // The menu flag and the bike preview, over the buffer being drawn now.
    void DrawScene(const DirtyRectList& list) const;
    void DrawPageContent() const;
    void DrawPointer(const DirtyRectList& list) const;

    void BuildGadgets();
    void UpdateElement(int32_t page);
    void RepaintAll();
    void Repaint(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void LoadPictures();
    void FreePictures();

    // The state table's actions.
    void OnMainButton(int32_t entry);
    void OnBottomButton(size_t button);
    void StartChosenSession();
    void LeaveForSession();
    // Follows the lobby pages to another page, back to the start page, or into the race.
    void FollowLobby();
    void OnBack();
    // The set-up screen in the menu's place until the player leaves it.
    void StepSetupScreen(float frameSeconds);
    void CloseSetupScreen();
    void ChooseGameMode(int32_t mode);
    void ChooseLevel(int32_t level);
    void OpenPanel(Panel& panel, MenuFrame* linked);
    void CloseOpenPanel();
    void LeaveToStartPage();
    void ShowRider();
    // The portrait of the settings' rider of the settings' class.
    void LoadRiderFace();
    void ShowCircuit();
    void StepChoice(int32_t delta);
    void NextClass();
    void CycleWeather();
    void AnswerQuit(bool yes);
    void OpenCircuitInfo();
    void OpenLoadGame();
    void LoadChampionshipFile(int32_t requesterResult);
    void CloseCircuitInfo();
    int32_t RidersOfClass() const;

    // The realism and options trees (MainMenuOptions.cpp). A handler takes the clicked row,
    // or kPanelOk or kPanelCancel.
    static constexpr int32_t kPanelOk = -1;
    static constexpr int32_t kPanelCancel = -2;
    OptionPanel& Options(OptionPanelId id) { return optionPanels_[static_cast<size_t>(id)]; }
    const OptionPanel& Options(OptionPanelId id) const
    {
        return optionPanels_[static_cast<size_t>(id)];
    }
    void BuildOptionPanels();
    bool DispatchOptionPanel(const Gadget& gadget);
    void OnOptionPanel(OptionPanelId id, int32_t input);
    void OpenOptionPanel(OptionPanelId id, MenuFrame* linked, float speed);
    void CloseOptionPanel(OptionPanelId id);
    void CloseSubPanels(bool commit);
    void OpenRealismPanel();
    void OpenOptionsPanel();
    void OpenSettingsPanel();
    void OpenNetworkPanel();
    void OnNetworkPanel(int32_t input);
    void OpenControlsPanel();
    void OnRealismPanel(int32_t input);
    void OnRideAidsPanel(int32_t input);
    void OnWeatherPanel(int32_t input);
    void OnOppositionPanel(int32_t input);
    void OnDamagePanel(int32_t input);
    void OnSettingsPanel(int32_t input);
    void OnOptionsPanel(int32_t input);
    void OnGraphicsPanel(int32_t input);
    void OnSoundPanel(int32_t input);
    void OnControlsPanel(int32_t input);
    bool FinishSubPanel(OptionPanelId id, int32_t input);
    void CommitOptions();
    void ApplyAidLocks();
    bool ConditionsChangeable() const;
    void SetSliderValues(OptionPanelId id);
    void DragSlider();
    void RepaintValue(OptionPanelId id, size_t row);
    void PollControlInput();
    void EndControlWaiting();
    void TakeKey(uint32_t virtualKey);
    void DrawOptionPanels() const;
    void DrawOptionPanel(OptionPanelId id) const;
    std::string OptionValue(OptionPanelId id, size_t row) const;

    // The rider and circuit overviews (MainMenuOverviews.cpp).
    void BuildOverviewTiles();
    // The names of the class's riders, for the pages that show them.
    void LoadClassRiders();
    bool DispatchOverviewTile(const Gadget& gadget);
    void OpenRiderOverview();
    void OpenCircuitOverview();
    void PickRiderTile(int32_t rider);
    void PickCircuitTile(int32_t circuit);
    void DrawRiderOverview() const;
    void DrawCircuitOverview() const;
    void DrawRiderName() const;

    std::array<DirtyRectList, 2> lists_;
    size_t drawnList_ = 0;  // the list of the buffer being drawn now
    MenuState kept_;
    MenuPointer pointer_;
    ScreenTransition transition_;
    MenuAnimation animation_;

    static constexpr size_t kPictureCount = 23;
    std::array<Texture*, kPictureCount> pictures_{};
    Texture* headlines_ = nullptr;
    Texture* ghostHeadlines_ = nullptr;
    Texture* oval_ = nullptr;
    Texture* face_ = nullptr;  // the chosen rider's portrait

    Panel mainPanel_;
    Panel bottomBar_;
    Panel modePanel_;
    Panel levelPanel_;
    Panel quitPanel_;
    Panel infoPagePanel_;  // the circuit information page's OK button
    Panel riderOverview_;
    Panel circuitOverview_;
    std::array<Gadget, 26> riderTiles_{};
    std::array<Gadget, 18> circuitTiles_{};
    std::array<Gadget, kMainButtonCount> mainButtons_{};
    std::array<Gadget, kBottomButtonCount> bottomButtons_{};
    std::array<Gadget, 5> modeRows_{};
    std::array<Gadget, 3> levelRows_{};
    Gadget quitYes_{};
    Gadget quitNo_{};
    Panel infoPanel_;  // tells of a network error
    Gadget infoOk_{};
    BikePreview preview_;
    std::unique_ptr<SetupScreen> setup_;
    bool setupRequested_ = false;

    int32_t page_ = kStartPage;
    bool startLayout_ = true;
    int32_t result_ = kStay;
    int32_t selectedEntry_ = kNoEntry;
    int32_t markedEntry_ = kNoEntry;  // where the marker was drawn
    int32_t openLayers_ = 0;
    int32_t redrawCount_ = 2;
    bool screenActive_ = false;
    bool drawPointer_ = true;
    bool entered_ = false;
    uint32_t shownMode_ = 0;
    float fadeTime_ = 1.0f;
    int32_t fadeAlpha_ = 0;
    float animationTime_ = 0.0f;
    std::array<int32_t, 3> riderOfClass_{};

    std::array<OptionPanel, kOptionPanelCount> optionPanels_{};
    MenuState working_;
    ConfigBlock keptConfig_;
    ConfigBlock workingConfig_;  // the sound panel's, so that its cancel drops its changes
    uint8_t allValue_ = 1;       // what "all" sets next, shared by riding aids and damage
    RowMask lockedAids_ = 0;
    int32_t draggedSlider_ = -1;  // of the open slider panel
    int32_t waitingControl_ = -1;
    bool controlMapChanged_ = false;
    uint32_t blinkPhase_ = 0;
    JoystickCodeReader joystickCodes_;

    std::optional<NetLobbyPages> lobbyPages_;
    NetSession* session_ = nullptr;
    uint32_t frameCounter_ = 0;
};

// The running main menu, for its key listener.
extern MainMenu* g_mainMenu;
