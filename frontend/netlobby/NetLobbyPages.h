#pragma once

// The network lobby: the main menu's pages 7 (server), 8 (players), 9 (rider choice) and 10
// (circuit calendar). The main menu hands them its clicks, typed keys and frames; they change
// the settings record and drive the network session through the lobby. Every change marks
// its rectangle in both repaint lists. Main thread only.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "app/settings/MenuState.h"
#include "frontend/netlobby/LobbyTextField.h"
#include "net/NetLobby.h"

class NetLobbyPages
{
public:
    enum Page : int32_t
    {
        kStartPage = 1,  // the lobby has been left
        kServerPage = 7,
        kPlayerPage = 8,
        kRiderChoicePage = 9,
        kCalendarPage = 10,
    };

    NetLobbyPages(NetLobby& lobby, NetSession& session, MenuState& settings, DirtyRectList& first,
                  DirtyRectList& second);

    // Host: the server page, with the port text from the port choice.
    void OpenServerPage();
    // Client: the player page, with no servers listed yet.
    void OpenPlayerPage();

    // What the host does with the circuit list's per-race weather before it hosts a session
    // on it (the clients take the list with the session).
    using CalendarWeather = std::function<void(MenuState&)>;
    void SetCalendarWeather(CalendarWeather roll) { calendarWeather_ = std::move(roll); }

    int32_t CurrentPage() const { return page_; }
    // The host started the session's races: the main menu starts the race sequence.
    bool SessionStarted() const { return sessionStarted_; }

    // A click of the pointer on the current page.
    void Click(int32_t x, int32_t y);
    // The server page's command of a button.
    void ServerPageCommand(int32_t command);
    // A key went down or up; 1 when a field being edited took it.
    int32_t KeyInput(uint32_t kind, uint32_t key);
    // Once a frame, with the frame counter (its bit 6 blinks the edited field's underline).
    void Update(uint32_t frameCounter);
    // The current page, clipped to the active repaint list.
    void Draw() const;

    const std::vector<LobbyServerRow>& Servers() const { return servers_; }
    std::optional<size_t> ChosenServer() const { return chosenServer_; }
    bool IsConfirmed() const { return confirmed_; }
    const LobbyTextField& ServerNameField() const { return serverName_; }
    const LobbyTextField& PortField() const { return port_; }
    const LobbyTextField& PlayerNameField() const { return playerName_; }

private:
    void Repaint(const ScreenRect& area);
    void RepaintAll();
    void ShowPage(int32_t page, const char* background);
    void StartHosting();
    void SearchServers();
    void JoinChosenServer();
    void ConfirmRider(bool confirm);
    void StartSession();
    void Leave();
    void ClickServerPage(int32_t x, int32_t y);
    void ClickPlayerPage(int32_t x, int32_t y);
    void ClickRiderChoicePage(int32_t x, int32_t y);
    void ClickCalendarPage(int32_t x, int32_t y);
    void TakePortText();
    void TakePlayerName();
    uint32_t RidersOfClass() const;

    void DrawServerPage() const;
    void DrawPlayerPage() const;
    void DrawServerFrame() const;
    void DrawServerInfo(const LobbyServerRow& server) const;
    void DrawWaitingFrame() const;
    void DrawRiderChoicePage() const;
    void DrawCalendarPage() const;
    void DrawField(int32_t x, int32_t y, const std::string& text, bool edited) const;

    NetLobby& lobby_;
    NetSession& session_;
    MenuState& settings_;
    DirtyRectList& first_;
    DirtyRectList& second_;

    int32_t page_ = kStartPage;
    bool host_ = false;
    bool sessionStarted_ = false;
    bool confirmed_ = false;
    uint32_t frameCounter_ = 0;
    uint32_t rostersSeen_ = 0;
    uint32_t riderListsSeen_ = 0;
    LobbyTextField serverName_{LobbyTextField::Kind::Name};
    LobbyTextField port_{LobbyTextField::Kind::Port};
    LobbyTextField playerName_{LobbyTextField::Kind::Name};
    std::vector<LobbyServerRow> servers_;
    std::optional<size_t> chosenServer_;
    CalendarWeather calendarWeather_;
};
