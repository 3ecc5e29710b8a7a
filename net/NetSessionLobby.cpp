// The lobby's side of the session: finding a server or a free port, joining, names, slots,
// rider choices, the rosters and the start of the session's races.

#include <algorithm>

#include "net/NetSession.h"

namespace
{
// A player on this slot of the 250 ccm class races under this name.
constexpr uint32_t kGuestRiderSlot = 17;
constexpr std::string_view kGuestRiderName = "Onkel Zakra";
}  // namespace

std::vector<uint16_t> NetSession::PortsToProbe(uint32_t portCount)
{
    const std::optional<uint16_t> named = ChosenPort(machine_->Settings());
    const Lock lock(mutex_);
    for (size_t entry = 0; entry < serverList_.size(); ++entry)
    {
        serverList_[entry] = ServerListEntry{};
        serverList_[entry].probePort = static_cast<uint16_t>(kNetFirstProbePort + entry);
    }
    if (portCount == 1)
    {
        // One port, the settings' (or the current one): it is listed in the first entry.
        serverList_[0].probePort = named.value_or(port_);
        return {serverList_[0].probePort};
    }
    std::vector<uint16_t> ports;
    for (const ServerListEntry& entry : serverList_)
    {
        ports.push_back(entry.probePort);
    }
    return ports;
}

NetSession::ProbeEnd NetSession::ProbePort(uint16_t port, uint32_t retries)
{
    uint32_t serversBefore = 0;
    {
        const Lock lock(mutex_);
        port_ = port;
        if (!OpenSocketLocked())
        {
            return ProbeEnd::SocketFailed;
        }
        serversBefore = serversFound_;
        const NetPacketHeader header = HeaderFor(NetMsgType::MsgServerQuery);
        WriteAddressMessage(BufferOf(NetMsgType::MsgServerQuery).bytes, header, ownAddress_);
        StartRequest(NetMsgType::MsgServerQuery, retries);
    }
    switch (Wait([&] { return serversFound_ != serversBefore; }, false))
    {
        case WaitEnd::Done:
            return ProbeEnd::Answered;
        case WaitEnd::Failed:
            return ProbeEnd::NoAnswer;
        default:
            return ProbeEnd::Stopped;
    }
}

uint32_t NetSession::SearchServers(uint32_t portCount)
{
    uint32_t found = 0;
    for (const uint16_t port : PortsToProbe(portCount))
    {
        const ProbeEnd end = ProbePort(port, kSearchRetries);
        if (end == ProbeEnd::SocketFailed || end == ProbeEnd::Stopped)
        {
            break;
        }
        found += end == ProbeEnd::Answered ? 1 : 0;
    }
    return found;
}

bool NetSession::FindFreePort(uint32_t portCount)
{
    for (const uint16_t port : PortsToProbe(portCount))
    {
        switch (ProbePort(port, kRequestRetries))
        {
            case ProbeEnd::NoAnswer:
                return true;
            case ProbeEnd::Answered:
                break;
            default:
                return false;
        }
    }
    return false;
}

void NetSession::OpenLobby()
{
    const Lock lock(mutex_);
    sessionState_ = NetSessionState::Lobby;
    aborted_ = false;
}

bool NetSession::Join()
{
    {
        const Lock lock(mutex_);
        joinAccepted_ = false;
        const JoinRequest request{ownAddress_, ownSlot_, 0,
                                  NetName(machine_->Settings().PlayerName())};
        WriteJoinRequest(BufferOf(NetMsgType::MsgJoinRequest).bytes,
                         HeaderFor(NetMsgType::MsgJoinRequest), request);
        StartRequest(NetMsgType::MsgJoinRequest, kRequestRetries);
    }
    if (Wait([this] { return joinAccepted_; }, false) != WaitEnd::Done)
    {
        return false;
    }
    NetSessionSettings settings;
    uint32_t slot = 0;
    {
        const Lock lock(mutex_);
        WriteJoinedSettings(machine_->Settings(), joined_);
        settings = settings_;
        slot = ownSlot_;
    }
    machine_->SetPlayerRider(slot);
    machine_->TakeSessionSettings(settings);
    return true;
}

void NetSession::SendPlayerName()
{
    const Lock lock(mutex_);
    nameAcknowledged_ = false;
    WritePlayerName(BufferOf(NetMsgType::MsgPlayerName).bytes, HeaderFor(NetMsgType::MsgPlayerName),
                    NetName(machine_->Settings().PlayerName()));
    StartRequest(NetMsgType::MsgPlayerName, kRequestRetries);
}

std::optional<uint32_t> NetSession::RequestSlotChange(uint32_t slot)
{
    {
        const Lock lock(mutex_);
        slotChangeAnswered_ = false;
        grantedSlot_ = -1;
        WriteSlotChangeRequest(BufferOf(NetMsgType::MsgSlotChangeRequest).bytes,
                               HeaderFor(NetMsgType::MsgSlotChangeRequest), slot);
        StartRequest(NetMsgType::MsgSlotChangeRequest, kRequestRetries);
    }
    if (Wait([this] { return slotChangeAnswered_; }, false) != WaitEnd::Done)
    {
        return std::nullopt;
    }
    const Lock lock(mutex_);
    return grantedSlot_ >= 0 ? std::optional<uint32_t>(grantedSlot_) : std::nullopt;
}

bool NetSession::MoveToSlot(uint32_t slot)
{
    bool host = false;
    {
        const Lock lock(mutex_);
        if (slot >= RidersOfClass(settings_.bikeClass) || slot == ownSlot_)
        {
            return false;
        }
        host = isHost_;
        if (host)
        {
            if (peers_[slot].IsActive())
            {
                return false;
            }
            MoveRecord(ownSlot_, slot);
            ownSlot_ = slot;
            hostSlot_ = slot;
            SendPlayerRosterLocked();
        }
    }
    if (!host)
    {
        if (RequestSlotChange(slot) != slot)
        {
            return false;
        }
        const Lock lock(mutex_);
        MoveRecord(ownSlot_, slot);
        ownSlot_ = slot;
        ++rostersReceived_;
    }
    machine_->SetPlayerRider(slot);
    return true;
}

bool NetSession::SendRiderChoice()
{
    {
        const Lock lock(mutex_);
        choiceAcknowledged_ = false;
        const MenuState& settings = machine_->Settings();
        const RiderChoice choice{
            std::min<uint32_t>(settings.U32At(MenuState::kNetworkRiderChoiceOffset),
                               kNetSlotCount - 1),
            RideAidsOn(settings)};
        WriteRiderChoice(BufferOf(NetMsgType::MsgRiderChoice).bytes,
                         HeaderFor(NetMsgType::MsgRiderChoice), choice);
        StartRequest(NetMsgType::MsgRiderChoice, kRequestRetries);
    }
    return Wait([this] { return choiceAcknowledged_; }, false) == WaitEnd::Done;
}

std::optional<bool> NetSession::QuerySessionOpen()
{
    {
        const Lock lock(mutex_);
        sessionReplied_ = false;
        BuildHeaderOnly(NetMsgType::MsgSessionQuery, kNetAllSlots);
        StartRequest(NetMsgType::MsgSessionQuery, kRequestRetries);
    }
    if (Wait([this] { return sessionReplied_; }, false) != WaitEnd::Done)
    {
        return std::nullopt;
    }
    const Lock lock(mutex_);
    return sessionOpen_;
}

void NetSession::SetOwnReady(bool ready)
{
    const Lock lock(mutex_);
    peers_[ownSlot_].ready = ready;
}

bool NetSession::StartSession()
{
    {
        const Lock lock(mutex_);
        sessionState_ = NetSessionState::Running;
        if (!AllActive(&NetPeer::ready))
        {
            sessionState_ = NetSessionState::Lobby;
            return false;
        }
        if (CountActivePeers() <= 1)
        {
            return true;
        }
        ClearFlag(&NetPeer::departureAcked);
        peers_[ownSlot_].departureAcked = true;
        if (settings_.bikeClass == BikeClass::Class250 && peers_[kGuestRiderSlot].IsActive())
        {
            riderNames_[kGuestRiderSlot] = NetName(kGuestRiderName);
        }
        BuildRiderRoster(NetMsgType::MsgRaceEntryList);
        StartRequest(NetMsgType::MsgRaceEntryList, kRequestRetries);
    }
    const WaitEnd end = Wait([this] { return AllActive(&NetPeer::departureAcked); }, false);
    const Lock lock(mutex_);
    ClearPending(NetMsgType::MsgRaceEntryList);
    return end == WaitEnd::Done;
}

void NetSession::SendPlayerRoster()
{
    const Lock lock(mutex_);
    SendPlayerRosterLocked();
}

void NetSession::SendRiderRoster()
{
    const Lock lock(mutex_);
    SendRiderRosterLocked();
}

void NetSession::SendPlayerRosterLocked()
{
    SendRiderRosterLocked();
    PlayerRoster roster;
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        roster.states[slot] = static_cast<int8_t>(peers_[slot].state);
        roster.names[slot] = riderNames_[slot];
    }
    WritePlayerRoster(BufferOf(NetMsgType::MsgPlayerRoster).bytes,
                      HeaderFor(NetMsgType::MsgPlayerRoster), roster);
    Send(NetMsgType::MsgPlayerRoster);
    // The host's own lobby follows what it sends, as the clients' follow what they receive.
    ++rostersReceived_;
}

void NetSession::SendRiderRosterLocked()
{
    BuildRiderRoster(NetMsgType::MsgRiderRoster);
    Send(NetMsgType::MsgRiderRoster);
}

void NetSession::BuildRiderRoster(NetMsgType type)
{
    // The rider roster lists the players; the entry list every rider of the class.
    LobbyRoster roster;
    const bool entryList = type == NetMsgType::MsgRaceEntryList;
    const uint32_t slots = entryList ? RidersOfClass(settings_.bikeClass) : kNetSlotCount;
    for (uint32_t slot = 0; slot < slots; ++slot)
    {
        if (entryList || peers_[slot].IsActive())
        {
            roster.entries[roster.count++] = {riderNames_[slot], peers_[slot].ready ? 1u : 0u};
        }
    }
    lobbyRoster_ = roster;
    ++riderListsReceived_;
    WriteLobbyRoster(BufferOf(type).bytes, HeaderFor(type), roster);
}

void NetSession::SetRiderName(uint32_t slot, std::string_view name)
{
    const Lock lock(mutex_);
    if (slot < kNetSlotCount)
    {
        riderNames_[slot] = NetName(name);
    }
}
