#pragma once

// The pre-race screen: after the menus and before every session is loaded, the circuit
// information page with three buttons (back to the menus, the set-up editor, start) and, on
// request, the set-up editor in its place. Its owner enters it, steps it once a frame after
// pumping the window's messages until the step gives a result, and leaves it. In a network
// race with a time limit the countdown ends the screen as a start.
//
// Drawing is incremental over two repaint lists, one per video buffer. Main thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/device/DirtyRectList.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/MenuPointer.h"
#include "setup/SetupScreen.h"

struct Texture;

class PreRaceScreen
{
public:
    static constexpr int32_t kStay = 0;
    static constexpr int32_t kStartSession = 1;
    static constexpr int32_t kBackToMenus = 2;

    enum Button : size_t
    {
        kBack,
        kSetup,
        kStart,
        kButtonCount,
    };

    // The set-up editor the screen opens on request.
    explicit PreRaceScreen(std::unique_ptr<SetupScreen> setup);
    virtual ~PreRaceScreen();
    PreRaceScreen(const PreRaceScreen&) = delete;
    PreRaceScreen& operator=(const PreRaceScreen&) = delete;

    void Enter();
    // One frame of dt seconds.
    int32_t Step(float dt);
    void Leave();

    bool IsSetupOpen() const { return setupState_ != kSetupClosed; }
    const Gadget& ButtonGadget(Button button) const { return buttons_[button]; }

private:
    enum SetupState : int32_t
    {
        kSetupClosed,
        kSetupOpening,
        kSetupShown,
    };

    void StepSetup(float dt);
    void HandlePointer();
    void RepaintAll();
    void PresentFrame();
    void DrawPage(const DirtyRectList& list);
    void RestoreWorldBeforeFlag();

    std::unique_ptr<SetupScreen> setup_;
    std::string backgroundBeforeSetup_;
    // The flag this screen made, and the world it put aside for it.
    bool ownsFlag_ = false;
    std::array<uint32_t, 24> worldBeforeFlag_{};
    uint32_t renderStateBeforeFlag_ = 0;
    SetupState setupState_ = kSetupClosed;
    std::array<Texture*, 2> pictures_{};  // the buttons as they stand, and lit
    GadgetList owner_;
    std::array<Gadget, kButtonCount> buttons_{};
    MenuPointer pointer_;
    bool screenActive_ = false;
    std::array<DirtyRectList, 2> lists_;
    int32_t result_ = kStay;
    int32_t pendingRedraws_ = 0;
    bool entered_ = false;
};
