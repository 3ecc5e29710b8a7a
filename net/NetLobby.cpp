#include "net/NetLobby.h"

uint32_t NetLobby::PortCount() const
{
    return ChosenPort(machine_.Settings()) ? 1 : static_cast<uint32_t>(kNetProbePorts);
}

bool NetLobby::StartHosting()
{
    session_.SetHost(true);
    if (session_.IsActive())
    {
        session_.Shutdown();
    }
    const NetSessionSettings settings = ReadNetSessionSettings(machine_.Settings());
    session_.SetInputDelay(settings.inputDelaySetting + 2);
    if (!session_.Startup())
    {
        session_.Shutdown();
        return false;
    }
    machine_.TakeSessionSettings(settings);
    session_.SetActive(true);
    session_.ClearSessionsClosed();
    if (!session_.FindFreePort(PortCount()))
    {
        session_.Shutdown();
        return false;
    }
    session_.OpenLobby();
    return true;
}

std::vector<LobbyServerRow> NetLobby::SearchServers()
{
    std::vector<LobbyServerRow> rows;
    session_.SetHost(false);
    if (!session_.Startup())
    {
        session_.Shutdown();
        return rows;
    }
    session_.SetActive(true);
    session_.SearchServers(PortCount());
    for (const ServerListEntry& entry : session_.ServerList())
    {
        if (entry.sessionState == 0 || entry.sessionState == 1)
        {
            rows.push_back({entry.probePort, entry.serverName, entry.sessionState == 1,
                            entry.settings, entry.circuits});
        }
    }
    session_.Shutdown();
    return rows;
}

bool NetLobby::JoinServer(const LobbyServerRow& server)
{
    if (server.running)
    {
        return false;
    }
    session_.SetHost(false);
    if (!session_.Startup())
    {
        session_.Shutdown();
        return false;
    }
    session_.SetActive(true);
    session_.ClearSessionsClosed();
    session_.SetPort(server.port);
    if (!session_.OpenSocket() || !session_.Join())
    {
        session_.Shutdown();
        return false;
    }
    session_.ClearAborted();
    // What came before the page asks: the rosters sent when the host took this machine in.
    rostersSeen_ = session_.RostersReceived();
    riderListsSeen_ = session_.RiderListsReceived();
    RefreshPlayers();
    riders_ = session_.CurrentLobbyRoster();
    return true;
}

void NetLobby::SubmitPlayerName()
{
    session_.SendPlayerName();
    if (session_.IsHost())
    {
        session_.SetRiderName(session_.OwnSlot(), machine_.Settings().PlayerName());
        session_.SendPlayerRoster();
    }
}

bool NetLobby::ChangeSlot(uint32_t slot)
{
    return session_.MoveToSlot(slot);
}

bool NetLobby::ConfirmRider()
{
    if (!session_.IsHost())
    {
        return session_.SendRiderChoice();
    }
    session_.SetOwnReady(true);
    session_.SendRiderRoster();
    return true;
}

bool NetLobby::WithdrawRider()
{
    if (!session_.IsHost())
    {
        return session_.QuerySessionOpen().value_or(false);
    }
    session_.SetOwnReady(false);
    session_.SendRiderRoster();
    return true;
}

bool NetLobby::StartSession()
{
    return session_.StartSession();
}

void NetLobby::Leave()
{
    if (session_.IsHost())
    {
        session_.CloseSession();
    }
    else if (session_.IsActive())
    {
        session_.Leave();
    }
    session_.Shutdown();
}

bool NetLobby::Update()
{
    if (session_.SessionsClosed() != 0 || session_.IsAborted())
    {
        Leave();
        session_.ClearSessionsClosed();
        // The lobby has taken the session's end: the game goes on without it, whatever the
        // player chooses next.
        session_.ClearAborted();
        return false;
    }
    if (session_.RostersReceived() != rostersSeen_)
    {
        rostersSeen_ = session_.RostersReceived();
        RefreshPlayers();
    }
    if (session_.RiderListsReceived() != riderListsSeen_)
    {
        riderListsSeen_ = session_.RiderListsReceived();
        riders_ = session_.CurrentLobbyRoster();
    }
    return true;
}

void NetLobby::RefreshPlayers()
{
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        players_[slot] = {session_.RiderName(slot),
                          session_.PeerState(slot) == NetPeerState::Player};
    }
}
