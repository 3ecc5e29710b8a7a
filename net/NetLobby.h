#pragma once

// What the network lobby pages do with a session, without drawing: host a session on a free
// port, search servers, join one, send the player's name, change slots, confirm or withdraw a
// rider choice, start the session's races, leave, and follow the session's rosters from frame
// to frame. Main thread; the operations that talk to other machines run the message pump
// until they are done.

#include <array>
#include <cstdint>
#include <vector>

#include "net/NetSession.h"

// One server the search found.
struct LobbyServerRow
{
    uint16_t port = 0;
    NetName name;
    bool running = false;  // its races have started: it takes nobody in
    ServerSettings settings;
    std::array<int8_t, kNetCalendarEntries> circuits{};
};

// One slot of the session as the player list shows it.
struct LobbyPlayerRow
{
    NetName name;
    bool player = false;  // a player rides the slot
};

class NetLobby
{
public:
    NetLobby(NetSession& session, NetMachine& machine) : session_(session), machine_(machine) {}

    // Host: starts the session on the settings' port, or the first free probe port, with the
    // settings' class, level, laps, weather and input delay. False (network play off) when the
    // machine has no network or every port is taken.
    bool StartHosting();
    // Client: the servers on the settings' port, or on every probe port. The socket is closed
    // again afterwards.
    std::vector<LobbyServerRow> SearchServers();
    // Client: joins a server of the list. False, and network play off, when the server is
    // running or refuses or does not answer.
    bool JoinServer(const LobbyServerRow& server);
    // The settings' player name to the session: the host names its own rider and tells the
    // clients, a client asks the host to.
    void SubmitPlayerName();
    bool ChangeSlot(uint32_t slot);
    // The rider choice is confirmed (ready) or withdrawn to choose again.
    bool ConfirmRider();
    bool WithdrawRider();
    // Host: false while a player has not confirmed a rider.
    bool StartSession();
    // A client leaves the session, the host closes it; network play is off afterwards.
    void Leave();
    // Once a frame. False when the session ended under the lobby (closed by the host, this
    // machine dropped, the host lost): the lobby has then been left, and the session's end
    // taken (it is no longer aborted).
    bool Update();

    const std::array<LobbyPlayerRow, kNetSlotCount>& Players() const { return players_; }
    const LobbyRoster& Riders() const { return riders_; }

private:
    uint32_t PortCount() const;
    void RefreshPlayers();

    NetSession& session_;
    NetMachine& machine_;
    std::array<LobbyPlayerRow, kNetSlotCount> players_{};
    LobbyRoster riders_;
    uint32_t rostersSeen_ = 0;
    uint32_t riderListsSeen_ = 0;
};
