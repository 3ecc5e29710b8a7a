#pragma once

// The set-up screen: the full-screen 640 x 480 page on which the player tunes the local
// player's machine between sessions, page by page, with an icon bar to choose the page and a
// summary of the set-up on every page. Its owner (the main menu, the pre-race screen or the
// pit box) calls Load once, Update every frame until it returns non-zero, then
// ReleaseResources. Main thread only; draws through the game's render device.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "frontend/toolkit/Gadget.h"
#include "setup/SetupPages.h"
#include "setup/SetupScreenLayout.h"
#include "setup/telemetry/DataRecorder.h"

class MenuState;
struct Texture;

// What the owner hands the screen: the player's machine and race, and what it shows.
struct SetupScreenContext
{
    BikeRecord* player = nullptr;
    CurrentRace* race = nullptr;
    Language language = Language::German;
    float topSpeedReference = 200.0f;  // of the circuit's racing line
    std::string riderName;
    std::string riderTeam;
    // The settings' choice for the engine's air outside the screen (option byte 49 is 0).
    bool engineConditionsAfterwards = true;
    // The circuit page shows the circuit and weather of these settings for the session; the
    // telemetry keeps its channel choices in them.
    MenuState* settings = nullptr;
    int32_t session = 0;
    // The owner's session countdown: while it is shown the circuit page and the telemetry
    // cannot be opened, and the screen leaves by itself when the menu delay runs out. Empty:
    // no countdown.
    std::function<bool()> sessionCountdownShown;
    std::function<void()> drawSessionCountdown;
};

class SetupScreen
{
public:
    explicit SetupScreen(const SetupScreenContext& context);
    virtual ~SetupScreen();
    SetupScreen(const SetupScreen&) = delete;
    SetupScreen& operator=(const SetupScreen&) = delete;

    int32_t Load();
    // One frame of dt seconds; non-zero once the player has left.
    uint32_t Update(float dt);
    void ReleaseResources();

    SetupPages& Pages() { return *m_pages; }
    // Opens a page as its icon does.
    void PressIcon(int icon);
    // For owners that made the screen through CreatePlayerSetupScreen: their countdown.
    void SetSessionCountdown(std::function<bool()> shown, std::function<void()> draw)
    {
        m_context.sessionCountdownShown = std::move(shown);
        m_context.drawSessionCountdown = std::move(draw);
    }
    // The embedded telemetry screen, open from the frame after its icon until it ends.
    bool TelemetryOpen() const { return m_telemetryOpen; }
    DataRecorder& Telemetry() { return m_recorder; }

private:
    struct Icon
    {
        uint8_t frame = 0;
        bool selected = false;
        bool underMouse = false;
        bool lit = false;
        bool disabled = false;
    };

    void BuildPanels();
    void MarkAll();
    void Mark(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void HandleInput();
    void RunControl(SetupControl control);
    void FollowSlider(int32_t mouseX);
    void AnimateIcons(uint32_t steps);
    Slider* PageSlider(int index);
    void SyncTyreButtons();
    void SelectIcon(int icon);
    bool CountdownShown() const;

    // The file requester pages (load, save) and the circuit page.
    bool OpenRequester(SetupPage page);
    void FinishRequester();
    void OpenCircuitInfo();
    void CloseCircuitInfo();
    void LeaveSubPage();
    bool HandleCircuitInput(bool press);
    // False while the telemetry screen has the frame.
    bool StepTelemetry(float dt);

    void DrawPage(const DirtyRectList& list);
    void DrawPageContent();
    void DrawIcons();
    void DrawSummary();
    void DrawPanel(SetupPage page);
    void DrawDiagrams(const DirtyRectList& list);
    void DrawCountdown() const;

    SetupScreenContext m_context;
    std::unique_ptr<SetupPages> m_pages;
    std::array<uint8_t, 4> m_telemetryChannels{};
    DataRecorder m_recorder;
    bool m_telemetryRequested = false;
    bool m_telemetryOpen = false;
    DirtyRectList m_listA;
    DirtyRectList m_listB;
    std::array<std::vector<Gadget>, 8> m_panels;  // by page 0..7
    std::array<GadgetList, 8> m_panelLists;
    GadgetList m_circuitPanel;
    std::array<Icon, kSetupIcons> m_icons{};
    // Picture slots: row 1 normal, row 2 lit.
    std::array<Texture*, 2> m_normalSlots{};
    std::array<Texture*, 2> m_litSlots{};
    std::array<Texture*, 11> m_pagePictures{};
    Texture* m_barsActive = nullptr;
    Texture* m_barsInactive = nullptr;
    Texture* m_iconStrip = nullptr;
    Texture* m_largeTyres = nullptr;
    Texture* m_tyreTexts = nullptr;
    uint32_t m_animationClock = 0;
    bool m_buttonHeld = false;
    uint32_t m_pressTimeMs = 0;
    uint32_t m_nowMs = 0;
    int m_activeSlider = -1;
    int32_t m_cursorX = -1;
    int32_t m_cursorY = -1;
    uint32_t m_leave = 0;
    int m_redraw = 0;
    bool m_loaded = false;
};
