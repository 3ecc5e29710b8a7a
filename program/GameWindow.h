#pragma once

// The game window object: the game's main routine (start-up, the session loop, shutdown), with
// the 2 ms timer tick as its time base and the input step the tick runs.
//
// Threads: OnTimerTick (and the input step inside it) runs on the timer thread; everything
// else belongs to the main thread. What both touch is either atomic or kept under a lock: see
// TimerTick and InputStep.

#include <cstdint>

#include "app/debug/EmptyVirtualObject.h"
#include "app/window/OutputWindow.h"
#include "frontend/pitbox/PitBoxRaceMenu.h"
#include "platform/Platform.h"
#include "platform/posix/PosixDatagramNetwork.h"
#include "program/GameNetLink.h"
#include "program/InputStep.h"
#include "program/RaceSoundFrame.h"
#include "program/TimerTick.h"
#include "race/RaceSim.h"
#include "view/camera/RaceCamera.h"
#include "view/hud/GameRaceScreens.h"
#include "view/race/EffectMeshes.h"
#include "view/race/InRaceMenu.h"
#include "view/race/MarshalFlags.h"
#include "view/race/ParticleTable.h"
#include "view/race/RaceScreens.h"
#include "view/race/StartSequence.h"
#include "view/rider/RiderAnimation.h"

class MainMenu;
struct SessionStart;

// The screen mode the game opens its 3D screen in, and returns to after each race.
extern ScreenMode g_displayMode;

// A point of the 3D view, as GetMousePosition gives the mouse.
struct ViewPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

class GameWindow : public OutputWindow
{
public:
    // What Run returns.
    static constexpr uint32_t kRunEnded = 1;
    static constexpr uint32_t kStartUpFailed = 2;
    // The game started but a failure ended it (a screen that could not be shown) or lost the
    // player's set-up ("config.dat" could not be written back).
    static constexpr uint32_t kRunFailed = 3;

    // Clears the clock state shared with the tick and makes the debug log empty.
    GameWindow();
    ~GameWindow() override;  // kills the timer, releases the mouse
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // The game from start to end: every service started in order, the session loop until the
    // player quits, every service taken down again. kStartUpFailed when a service could not
    // start (the player has been told why); "config.dat" is then left as it was.
    uint32_t Run();

    // The mouse in the 3D view's pixels, clamped to the 640 x 480 picture; centred: from the
    // view's centre with y pointing up.
    ViewPoint GetMousePosition(bool centred) const;

    // Sets the quit flag; the first request also ends the player's part in a network session.
    void RequestQuit() override;

    // One 2 ms tick (the platform's timer calls it).
    void OnTimerTick() { timerTick_.Run(); }
    void ResetRaceClock(uint32_t ms) { timerTick_.ResetRaceClock(ms); }

    TimerTick& Tick() { return timerTick_; }
    InputStep& Input() { return inputStep_; }
    RaceSim& Race() { return raceSim_; }

    // The race's overlays (the head-up display unless told otherwise) and pause menu (the pit
    // box unless told otherwise); null restores the game's own.
    void SetRaceScreens(RaceScreens* screens)
    {
        screens_ = screens != nullptr ? screens : &noScreens_;
    }
    void SetInRaceMenu(InRaceMenu* menu) { raceMenu_ = menu != nullptr ? menu : &pitBoxMenu_; }

    // The race loop: one race session from the end of loading to its end.
    void RunRace();
    // One frame of the race: the start, the keys, the simulation's steps, the view. 0 ends
    // the race loop.
    virtual uint32_t UpdateRaceFrame();
    // The overlays after the 3D scene.
    virtual int32_t IdleFrame();

private:
    bool StartUp();
    void RunSessionLoop();
    uint32_t RunMainMenu();
    uint32_t LeaveMainMenuToRace(MainMenu& menu);
    uint32_t LeaveMainMenuToQuit(MainMenu& menu);
    // False when the set-up file was to be saved and could not be.
    bool ShutDown(bool saveConfig);

    // The race branch of the session loop: set up, load, race, unload, score.
    void RunRaceSession(const SessionStart& start);
    // The race session, then the same race again while the player asks for it from the pause
    // menu; true when the last one ran.
    bool RunRaceSessionAndAgain(const SessionStart& start);
    // One race of the network session's circuit list; the session ends after its last race,
    // or when this machine backed out or the session ended under it.
    void RunNetworkRace();
    bool PrepareRaceSession(const SessionStart& start);
    void UnloadRace();
    // The won race's movie after the race of a weekend.
    void CelebrateWonRace();
    void HandleEscape();
    void OpenRaceMenu();
    // The session's time runs on under the menu in practice and in network races.
    bool MenuStopsRaceClock() const;
    void UpdateRaceMenu();
    // The player's rider back in the race after the pause menu: a running fall ended, the state
    // flags cleared, the camera on the rider again. Nothing for a rider out of the race.
    void ResumePlayerRider();
    // The player's rider under the player's control again, on the track for a flying start
    // when asked and the session has one, else in its pit box.
    void TakeOverPlayerRider(bool toTrack);
    void StopRaceClock(bool stop);
    bool NetworkRaceEnded();
    void RunSimulationSteps();
    void UpdateBikeEffects();
    void UpdateCockpit();
    // The viewed rider's machine's pictures into the cockpit's instrument textures.
    void UploadRiderPortraits();
    void UpdateStart();
    // The player watches the race with the pause menu put away.
    bool Observing() const;
    void PageObservedRider();
    RaceScreenFeed ScreenFeed() const;
    void SelectRiderCamera();

    // Per race.
    struct RaceLoopState
    {
        bool drawScene = true;
        bool menuOpen = false;
        bool menuRequest = false;
        bool resumeAsRider = false;
        bool escapeBeforeStart = false;
        bool startRestarted = false;
        bool standingStart = true;
        bool isRaceSession = true;
        bool raceOver = false;
        bool playerClassified = false;
        bool ran = false;  // the loop ran: the race may be scored
        float framesPerSecond = 0.0f;
    };
    RaceLoopState race_;
    RaceSim raceSim_;
    RiderAnimation* riderAnimation_ = nullptr;  // while a race runs
    StartSequence start_;
    ParticleTable particles_;
    EffectMeshes effectMeshes_;
    RaceSoundFrameBuilder soundFrame_;
    RaceScreens noScreens_;
    PitBoxRaceMenu pitBoxMenu_;
    GameRaceScreens hudScreens_{start_, g_raceCamera, g_marshalFlags};
    RaceScreens* screens_ = &hudScreens_;
    InRaceMenu* raceMenu_ = &pitBoxMenu_;

    EmptyVirtualObject emptyObject_;
    InputStep inputStep_;
    TimerTick timerTick_{inputStep_};
    // What the network session g_net runs on while the window lives.
    GameNetLink netLink_{*this};
    PosixDatagramNetwork network_{PosixNetworkOptions::FromEnvironment()};

    // The session switch that lets the joystick be used; off once no joystick answered.
    bool joystickOption_ = true;
    bool mouseCaptured_ = false;
    bool screenFailed_ = false;  // a screen could not be shown, which ended the game
};
