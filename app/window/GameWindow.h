#pragma once

// The game window object: the game's main routine (start-up, the session loop, shutdown) and
// its time base, the 2 ms timer tick, which pumps the sound output, runs the network
// protocol, advances the race clock and, every 40 ms of race time, samples the player's
// controls into the player's input ring.
//
// Threads: OnTimerTick (and the input step inside it) runs on the timer thread; everything
// else belongs to the main thread. What both touch is either atomic or kept under a lock:
// the race clock under g_raceClockMutex, the joystick block, control map and control state
// under the window's input lock, the sound output under its own.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "app/input/ControlMap.h"
#include "app/input/JoystickBlock.h"
#include "app/window/OutputWindow.h"
#include "net/InputRing.h"
#include "platform/Platform.h"

class MainMenu;
class WaveOutput;

// The joystick is read: it answered when the game last looked for it.
extern std::atomic<bool> g_joystickEnabled;
// The look-back control is held.
extern std::atomic<bool> g_lookBack;
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

    // Clears the clock state shared with the tick and makes the debug log empty.
    GameWindow();
    ~GameWindow() override;  // kills the timer, releases the mouse
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // The game from start to end: every service started in order, the session loop until the
    // player quits, every service taken down again. kStartUpFailed when a service could not
    // start (the player has been told why); "config.dat" is then left as it was.
    uint32_t Run();

    // The frame's time step: g_frameDt from the race clock, g_realFrameDt from the free-running
    // timer. Every screen loop takes it once a frame.
    void StepFrameTime();

    // The mouse in the 3D view's pixels, clamped to the 640 x 480 picture; centred: from the
    // view's centre with y pointing up.
    ViewPoint GetMousePosition(bool centred) const;

    // Starts the 2 ms tick through the platform, killing a running one first. When the
    // platform cannot start it the player is told and the game goes on without race time.
    bool StartTimer();
    void StopTimer();

    // One 2 ms tick, in this order: the sound output, the network, the race clock with the
    // input step, then the free-running clocks.
    void OnTimerTick();

    // Sets the race clock to `ms` and starts the input steps, the simulation steps and the
    // frame clock from 0, whole: the tick never advances the clock it replaced.
    void ResetRaceClock(uint32_t ms);

    // With the joystick option on, looks for a joystick and resets the window's calibration
    // to its defaults. Returns the option as it stands afterwards: off when no joystick
    // answered. g_joystickEnabled follows it.
    bool SetJoystickDefaults(bool joystickOption);

    // The controls that the input step reads; the settings change them between races.
    void SetControlMap(const ControlMap& map);

    // The auto-centre (steering-aid) switch: while it is off, released steering keys hold
    // the steering where it is; while it is on, the steering returns towards the centre.
    void SetAutoCentre(bool on) { autoCentre_.store(on, std::memory_order_relaxed); }
    bool AutoCentre() const { return autoCentre_.load(std::memory_order_relaxed); }

    // The sound output that the tick pumps; nullptr while sound is off. Returns once a pump
    // of the previous output has ended, so that output may then go. Never call it while
    // holding a lock that a pump takes.
    void SetWaveOutput(WaveOutput* output);

private:
    bool StartUp();
    void RunSessionLoop();
    uint32_t RunMainMenu();
    uint32_t LeaveMainMenuToQuit(MainMenu& menu);
    void ShutDown(bool saveConfig);

    void PumpSound();
    void StepNetwork();
    void AdvanceRaceTime(bool network);
    void HoldRaceTime(bool network);
    void RunInputStep(bool network, bool sessionRuns);
    void SampleInput(bool network);  // the player's controls into the player's input ring

    Platform* timerPlatform_ = nullptr;
    Platform::TimerId timerId_ = 0;

    std::mutex soundMutex_;
    WaveOutput* waveOutput_ = nullptr;

    std::mutex inputMutex_;
    JoystickBlock joystick_;
    ControlMap controlMap_;
    InputFrame controls_;  // the player's controls, kept from one input step to the next

    std::atomic<bool> autoCentre_{false};

    // The session switch that lets the joystick be used; off once no joystick answered.
    bool joystickOption_ = true;
    bool mouseCaptured_ = false;
};
