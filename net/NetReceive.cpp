// The receive loop and the handler of every message. A datagram is checked completely before
// anything is done with it: a malformed one, one from this machine, one not meant for it or
// one it may not handle now is dropped and changes nothing but its sender's last-heard time.

#include <algorithm>

#include "net/NetSession.h"

namespace
{
bool Is(const NetPacketHeader& header, NetMsgType type)
{
    return header.type == static_cast<uint8_t>(type);
}

bool IsUsableAddress(uint32_t address)
{
    return address != kIpv4None && address != kIpv4Broadcast;
}

InputFrame ToInputFrame(const std::array<uint8_t, 4>& bytes)
{
    return {static_cast<int8_t>(bytes[0]), static_cast<int8_t>(bytes[1]),
            static_cast<int8_t>(bytes[2]), bytes[3]};
}

std::array<uint8_t, 4> ToBytes(const InputFrame& frame)
{
    return {static_cast<uint8_t>(frame.steer), static_cast<uint8_t>(frame.throttleBrake),
            static_cast<uint8_t>(frame.clutch), frame.buttons};
}
}  // namespace

void NetSession::Receive()
{
    const Lock lock(mutex_);
    if (socket_ == nullptr || machine_ == nullptr)
    {
        return;
    }
    for (uint32_t taken = 0; taken < kReceivesPerTick; ++taken)
    {
        const std::optional<size_t> length = socket_->Receive(receiveBuffer_);
        if (!length)
        {
            return;
        }
        // Longer than any message of the protocol: cut short, so not ours.
        if (*length <= receiveBuffer_.size())
        {
            Handle(std::span(receiveBuffer_).first(*length));
        }
    }
}

void NetSession::Handle(std::span<const uint8_t> datagram)
{
    const std::optional<NetPacketHeader> header = ReadNetHeader(datagram);
    if (!header)
    {
        return;
    }
    const bool fromSlot = header->sender < kNetSlotCount;
    if (fromSlot && header->sender == SenderSlot())
    {
        return;  // this machine's own broadcast
    }
    if (fromSlot)
    {
        peers_[header->sender].lastHeardMs = machine_->TimerMs();
    }
    const NetMsgInfo* info = FindNetMsg(header->type);
    if (info == nullptr)
    {
        return;
    }
    // A host that has closed its session still takes the closing acknowledgements.
    const bool closing = pendingType_ == static_cast<uint32_t>(NetMsgType::MsgSessionClose) &&
                         info->type == NetMsgType::MsgSessionCloseAck;
    if (sessionState_ == NetSessionState::None && !IsHandledOutsideSession(info->type) && !closing)
    {
        return;
    }
    const bool roleHandles = info->handler == NetHandler::Everyone ||
                             (info->handler == NetHandler::Host && isHost_) ||
                             (info->handler == NetHandler::Client && !isHost_);
    if (!roleHandles || (info->targeted && header->target != ownSlot_))
    {
        return;
    }
    Dispatch(*header, datagram);
}

bool NetSession::Dispatch(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    return DispatchLobby(header, datagram) || DispatchRace(header, datagram) ||
           DispatchControl(header, datagram);
}

bool NetSession::DispatchLobby(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    switch (static_cast<NetMsgType>(header.type))
    {
        case NetMsgType::MsgJoinRequest:
            OnJoinRequest(datagram);
            return true;
        case NetMsgType::MsgJoinAccept:
            OnJoinAccept(datagram);
            return true;
        case NetMsgType::MsgJoinReject:
            OnJoinReject(datagram);
            return true;
        case NetMsgType::MsgRejoinRequest:
            OnRejoinRequest(datagram);
            return true;
        case NetMsgType::MsgRejoinAccept:
        case NetMsgType::MsgRejoinReject:
            OnRejoinAnswer(header, datagram);
            return true;
        case NetMsgType::MsgPlayerRoster:
            OnPlayerRoster(header, datagram);
            return true;
        case NetMsgType::MsgPlayerName:
            OnPlayerName(header, datagram);
            return true;
        case NetMsgType::MsgSlotChangeRequest:
            OnSlotChangeRequest(header, datagram);
            return true;
        case NetMsgType::MsgSlotChangeReply:
            if (const std::optional<int32_t> slot = ParseSlotChangeReply(datagram);
                slot && pendingType_ == static_cast<uint32_t>(NetMsgType::MsgSlotChangeRequest) &&
                FromHost(header))
            {
                grantedSlot_ = *slot;
                slotChangeAnswered_ = true;
                ClearPending(NetMsgType::MsgSlotChangeRequest);
            }
            return true;
        case NetMsgType::MsgPlayerNameAck:
            if (HasFixedLength(datagram, NetMsgType::MsgPlayerNameAck) && FromHost(header))
            {
                nameAcknowledged_ = true;
                ClearPending(NetMsgType::MsgPlayerName);
            }
            return true;
        case NetMsgType::MsgRiderRoster:
        case NetMsgType::MsgRaceEntryList:
            OnLobbyRoster(header, datagram);
            return true;
        case NetMsgType::MsgRiderChoice:
            OnRiderChoice(header, datagram);
            return true;
        case NetMsgType::MsgRiderChoiceAck:
            if (HasFixedLength(datagram, NetMsgType::MsgRiderChoiceAck) && FromHost(header))
            {
                choiceAcknowledged_ = true;
                ClearPending(NetMsgType::MsgRiderChoice);
            }
            return true;
        case NetMsgType::MsgSessionQuery:
            if (HasFixedLength(datagram, NetMsgType::MsgSessionQuery))
            {
                OnSessionQuery(header);
            }
            return true;
        case NetMsgType::MsgSessionReply:
            if (const std::optional<bool> open = ParseSessionReply(datagram);
                open && pendingType_ == static_cast<uint32_t>(NetMsgType::MsgSessionQuery) &&
                FromHost(header))
            {
                sessionOpen_ = *open;
                sessionReplied_ = true;
                ClearPending(NetMsgType::MsgSessionQuery);
            }
            return true;
        case NetMsgType::MsgRaceEntryListAck:
            if (NetPeer* sender = ActiveSender(header);
                sender && HasFixedLength(datagram, NetMsgType::MsgRaceEntryListAck))
            {
                sender->departureAcked = true;
            }
            return true;
        case NetMsgType::MsgServerQuery:
            OnServerQuery(datagram);
            return true;
        case NetMsgType::MsgServerInfo:
            OnServerInfo(datagram);
            return true;
        default:
            return false;
    }
}

bool NetSession::DispatchRace(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    switch (static_cast<NetMsgType>(header.type))
    {
        case NetMsgType::MsgRaceLineup:
            OnRaceLineup(header, datagram);
            return true;
        case NetMsgType::MsgRaceLineupAck:
            if (NetPeer* sender = ActiveSender(header);
                sender && ParseAddressMessage(datagram, NetMsgType::MsgRaceLineupAck))
            {
                sender->exchangeAcked = true;
            }
            return true;
        case NetMsgType::MsgStateCheck:
            if (const std::optional<StateCheckView> check = StateCheckView::Parse(datagram);
                check && FromHost(header))
            {
                race_->TakeStateCheck(*check);
            }
            return true;
        case NetMsgType::MsgBikeSetup:
            if (NetPeer* sender = ActiveSender(header))
            {
                if (const auto setup = ParseBikeSetup(datagram))
                {
                    race_->TakeBikeSetup(header.sender, *setup);
                    sender->setupReceived = true;
                    Answer(NetMsgType::MsgBikeSetupAck, header.sender);
                }
            }
            return true;
        case NetMsgType::MsgBikeSetupAck:
            if (HasFixedLength(datagram, NetMsgType::MsgBikeSetupAck) && FromHost(header))
            {
                ClearPending(NetMsgType::MsgBikeSetup);
            }
            return true;
        case NetMsgType::MsgAllBikeSetups:
            if (const std::optional<AllBikeSetupsView> setups = AllBikeSetupsView::Parse(datagram);
                setups && FromHost(header))
            {
                for (size_t block = 0; block < setups->Count(); ++block)
                {
                    race_->TakeBikeSetup(setups->Slot(block), setups->Setup(block));
                }
                allSetupsReceived_ = true;
                Answer(NetMsgType::MsgAllBikeSetupsAck, kNetAllSlots);
            }
            return true;
        case NetMsgType::MsgAllBikeSetupsAck:
        case NetMsgType::MsgSetupRequestAck:
            if (NetPeer* sender = ActiveSender(header); sender && datagram.size() == kNetHeaderSize)
            {
                sender->exchangeAcked = true;
                if (Is(header, NetMsgType::MsgAllBikeSetupsAck) &&
                    AllActive(&NetPeer::exchangeAcked))
                {
                    ClearPending(NetMsgType::MsgAllBikeSetups);
                }
            }
            return true;
        case NetMsgType::MsgSetupRequest:
            if (HasFixedLength(datagram, NetMsgType::MsgSetupRequest) && FromHost(header))
            {
                setupRequested_ = true;
                Answer(NetMsgType::MsgSetupRequestAck, kNetAllSlots);
            }
            return true;
        case NetMsgType::MsgInputFrames:
            OnInputFrames(header, datagram);
            return true;
        case NetMsgType::MsgInputResendRequest:
            OnInputResendRequest(datagram);
            return true;
        case NetMsgType::MsgRaceStart:
            if (const std::optional<uint32_t> clockMs = ParseRaceStart(datagram);
                clockMs && FromHost(header) && !raceStartTaken_)
            {
                raceStartTaken_ = true;
                raceStarted_.store(true, std::memory_order_relaxed);
                raceResultReceived_ = false;
                raceStartClockMs_ = *clockMs;
            }
            return true;
        case NetMsgType::MsgRaceResult:
            if (const std::optional<RaceResult> result = ParseRaceResult(datagram);
                result && FromHost(header))
            {
                raceResult_ = *result;
                race_->TakeRaceResult(*result);
                raceResultReceived_ = true;
                Answer(NetMsgType::MsgRaceResultAck, kNetAllSlots);
            }
            return true;
        case NetMsgType::MsgRaceResultAck:
            if (NetPeer* sender = ActiveSender(header);
                sender && HasFixedLength(datagram, NetMsgType::MsgRaceResultAck))
            {
                sender->resultAcked = true;
                if (AllActive(&NetPeer::resultAcked))
                {
                    ClearPending(NetMsgType::MsgRaceResult);
                }
            }
            return true;
        default:
            return false;
    }
}

bool NetSession::DispatchControl(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    if (datagram.size() != NetMsg(static_cast<NetMsgType>(header.type)).length)
    {
        return false;
    }
    switch (static_cast<NetMsgType>(header.type))
    {
        case NetMsgType::MsgHostStatus:
            if (FromHost(header))
            {
                OnHostStatus(datagram);
            }
            return true;
        case NetMsgType::MsgPeerReady:
        case NetMsgType::MsgReadyToStart:
            if (NetPeer* sender = ActiveSender(header))
            {
                sender->ready = true;
                if (Is(header, NetMsgType::MsgReadyToStart))
                {
                    Answer(NetMsgType::MsgReadyToStartAck, header.sender);
                }
            }
            return true;
        case NetMsgType::MsgReadyToStartAck:
            if (FromHost(header))
            {
                readyAcknowledged_ = true;
                ClearPending(NetMsgType::MsgReadyToStart);
            }
            return true;
        case NetMsgType::MsgRiderRetire:
            if (NetPeer* sender = AnySender(header))
            {
                if (sender->IsActive() && race_->IsRiderRacing(header.sender))
                {
                    race_->RetireRider(header.sender);
                }
                Answer(NetMsgType::MsgRiderRetireAck, header.sender);
            }
            return true;
        case NetMsgType::MsgRiderRetireAck:
            if (NetPeer* sender = AnySender(header))
            {
                sender->departureAcked = true;
                if (AllActive(&NetPeer::departureAcked))
                {
                    allRetiresAcknowledged_ = true;
                    ClearPending(NetMsgType::MsgRiderRetire);
                }
            }
            return true;
        case NetMsgType::MsgClientLeave:
            OnClientLeave(header);
            return true;
        case NetMsgType::MsgClientLeaveAck:
        case NetMsgType::MsgSessionCloseAck:
            if (NetPeer* sender = AnySender(header))
            {
                sender->departureAcked = true;
            }
            return true;
        case NetMsgType::MsgSessionClose:
            if (FromHost(header))
            {
                sessionsClosed_ = 1;
                aborted_ = true;
                Answer(NetMsgType::MsgSessionCloseAck, header.sender);
            }
            return true;
        default:
            return false;
    }
}

NetPeer* NetSession::AnySender(const NetPacketHeader& header)
{
    return header.sender < kNetSlotCount ? &peers_[header.sender] : nullptr;
}

NetPeer* NetSession::ActiveSender(const NetPacketHeader& header)
{
    NetPeer* sender = AnySender(header);
    return sender != nullptr && sender->IsActive() ? sender : nullptr;
}

// Only the host sends these. A host that moved to another slot speaks from a slot that no
// player holds in this machine's table; any other sender is not the host. Asked only of a
// datagram found valid, since the answer may take the sender as the host's new slot.
bool NetSession::FromHost(const NetPacketHeader& header)
{
    if (header.sender == hostSlot_)
    {
        return true;
    }
    if (header.sender >= kNetSlotCount || header.sender == ownSlot_ ||
        peers_[header.sender].IsActive())
    {
        return false;
    }
    hostSlot_ = header.sender;
    return true;
}

void NetSession::Answer(NetMsgType type, uint8_t target)
{
    BuildHeaderOnly(type, target);
    Send(type);
}

void NetSession::OnJoinRequest(std::span<const uint8_t> datagram)
{
    const std::optional<JoinRequest> request = ParseJoinRequest(datagram);
    if (!request)
    {
        return;
    }
    JoinReject refusal{request->address, JoinRefusal::NotPossibleNow};
    uint32_t slot = 0;
    const bool possible = IsUsableAddress(request->address) && request->address != ownAddress_ &&
                          sessionState_ == NetSessionState::Lobby;
    if (possible && TakeJoiner(*request, slot))
    {
        SendJoinAccept(request->address, slot);
        return;
    }
    if (possible)
    {
        refusal.reason = JoinRefusal::SessionFull;
    }
    WriteJoinReject(BufferOf(NetMsgType::MsgJoinReject).bytes, HeaderFor(NetMsgType::MsgJoinReject),
                    refusal);
    Send(NetMsgType::MsgJoinReject);
}

bool NetSession::TakeJoiner(const JoinRequest& request, uint32_t& slot)
{
    const uint32_t nowMs = machine_->TimerMs();
    const auto known =
        std::find_if(peers_.begin(), peers_.end(),
                     [&](const NetPeer& peer) { return peer.address == request.address; });
    if (known != peers_.end())
    {
        slot = static_cast<uint32_t>(known - peers_.begin());
        known->lastHeardMs = nowMs;
        return true;
    }
    if (CountActivePeers() >= settings_.riderCount)
    {
        return false;
    }
    const uint32_t riders = RidersOfClass(settings_.bikeClass);
    const auto isFree = [&](uint32_t candidate)
    { return candidate < riders && peers_[candidate].state < NetPeerState::Player; };
    slot = request.wantedSlot;
    if (!isFree(slot))
    {
        slot = 0;
        while (slot < riders && !isFree(slot))
        {
            ++slot;
        }
        if (slot == riders)
        {
            return false;
        }
    }
    NetPeer& peer = peers_[slot];
    peer.address = request.address;
    peer.state = NetPeerState::Player;
    peer.exchangeAcked = false;
    peer.ready = false;
    peer.departureAcked = false;
    peer.reserved = request.reserved;
    peer.lastHeardMs = nowMs;
    riderNames_[slot] = request.name;
    SendPlayerRosterLocked();
    return true;
}

void NetSession::SendJoinAccept(uint32_t requester, uint32_t slot)
{
    JoinAccept accept;
    accept.hostSlot = ownSlot_;
    accept.requester = requester;
    accept.hostAddress = ownAddress_;
    accept.assignedSlot = slot;
    accept.inputDelay = inputDelay_;
    accept.bikeClass = static_cast<uint32_t>(settings_.bikeClass);
    accept.strength = settings_.Strength();
    accept.laps = settings_.laps;
    accept.countdownIndex = settings_.countdownIndex;
    accept.calendar = settings_.calendar;
    WriteJoinAccept(BufferOf(NetMsgType::MsgJoinAccept).bytes, HeaderFor(NetMsgType::MsgJoinAccept),
                    accept);
    Send(NetMsgType::MsgJoinAccept);
}

void NetSession::OnJoinAccept(std::span<const uint8_t> datagram)
{
    const std::optional<JoinAccept> accept = ParseJoinAccept(datagram);
    if (!accept || accept->requester != ownAddress_ ||
        pendingType_ != static_cast<uint32_t>(NetMsgType::MsgJoinRequest))
    {
        return;
    }
    joined_ = *accept;
    ownSlot_ = accept->assignedSlot;
    hostSlot_ = accept->hostSlot;
    hostAddress_ = accept->hostAddress;
    inputDelay_ = accept->inputDelay;
    settings_.bikeClass = static_cast<BikeClass>(accept->bikeClass);
    settings_.difficulty = 2 - accept->strength;
    settings_.laps = accept->laps;
    settings_.countdownIndex = accept->countdownIndex;
    settings_.calendar = accept->calendar;
    sessionState_ = NetSessionState::Lobby;
    peers_[hostSlot_].lastHeardMs = machine_->TimerMs();
    ClearPending(NetMsgType::MsgJoinRequest);
    joinAccepted_ = true;
}

void NetSession::OnJoinReject(std::span<const uint8_t> datagram)
{
    const std::optional<JoinReject> reject = ParseJoinReject(datagram);
    if (!reject || reject->requester != ownAddress_ ||
        pendingType_ != static_cast<uint32_t>(NetMsgType::MsgJoinRequest))
    {
        return;
    }
    ClearPending(NetMsgType::MsgJoinRequest);
    failedType_ = static_cast<uint32_t>(NetMsgType::MsgJoinReject);
    errorCode_ = static_cast<uint32_t>(reject->reason);
}

void NetSession::OnRejoinRequest(std::span<const uint8_t> datagram)
{
    const std::optional<RejoinRequest> request = ParseRejoinRequest(datagram);
    if (!request || !IsUsableAddress(request->requester) || request->requester == ownAddress_)
    {
        return;
    }
    const uint32_t slot = request->formerSlot;
    const bool accepted =
        slot < kNetSlotCount && slot != ownSlot_ &&
        (peers_[slot].state < NetPeerState::Player || peers_[slot].address == request->requester);
    if (accepted)
    {
        peers_[slot].address = request->requester;
        peers_[slot].state = NetPeerState::Player;
        peers_[slot].lastHeardMs = machine_->TimerMs();
    }
    const NetMsgType answer = accepted ? NetMsgType::MsgRejoinAccept : NetMsgType::MsgRejoinReject;
    BufferOf(answer).length =
        WriteAddressMessage(BufferOf(answer).bytes, HeaderFor(answer), request->requester);
    Send(answer);
}

void NetSession::OnRejoinAnswer(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const auto type = static_cast<NetMsgType>(header.type);
    const std::optional<uint32_t> requester = ParseAddressMessage(datagram, type);
    if (!requester || *requester != ownAddress_ ||
        pendingType_ != static_cast<uint32_t>(NetMsgType::MsgRejoinRequest))
    {
        return;
    }
    ClearPending(NetMsgType::MsgRejoinRequest);
    if (type == NetMsgType::MsgRejoinAccept)
    {
        rejoinAccepted_ = true;
    }
    else
    {
        failedType_ = static_cast<uint32_t>(NetMsgType::MsgRejoinReject);
    }
}

void NetSession::OnPlayerRoster(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<PlayerRoster> roster = ParsePlayerRoster(datagram);
    if (!roster || !FromHost(header))
    {
        return;
    }
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        peers_[slot].state = static_cast<NetPeerState>(roster->states[slot]);
        riderNames_[slot] = roster->names[slot];
    }
    ++rostersReceived_;
}

void NetSession::OnPlayerName(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<NetName> name = ParsePlayerName(datagram);
    if (!name || ActiveSender(header) == nullptr)
    {
        return;
    }
    riderNames_[header.sender] = *name;
    SendPlayerRosterLocked();
    Answer(NetMsgType::MsgPlayerNameAck, header.sender);
}

void NetSession::OnSlotChangeRequest(const NetPacketHeader& header,
                                     std::span<const uint8_t> datagram)
{
    const std::optional<uint32_t> wanted = ParseSlotChangeRequest(datagram);
    if (!wanted)
    {
        return;
    }
    const bool movedAlready = header.sender == lastSlotMove_.from && *wanted == lastSlotMove_.to &&
                              peers_[*wanted].IsActive();
    if (movedAlready)
    {
        // The request came again because the answer was lost: the move is answered again.
        WriteSlotChangeReply(BufferOf(NetMsgType::MsgSlotChangeReply).bytes,
                             HeaderFor(NetMsgType::MsgSlotChangeReply, header.sender),
                             static_cast<int32_t>(*wanted));
        Send(NetMsgType::MsgSlotChangeReply);
        return;
    }
    NetPeer* sender = ActiveSender(header);
    if (sender == nullptr)
    {
        return;
    }
    // Slots change hands only in the lobby: during a race a slot is a rider on the track.
    const uint32_t slot = *wanted;
    const bool granted = sessionState_ == NetSessionState::Lobby &&
                         slot < RidersOfClass(settings_.bikeClass) &&
                         peers_[slot].state < NetPeerState::Player;
    if (granted)
    {
        lastSlotMove_ = {header.sender, slot};
        MoveRecord(header.sender, slot);
        SendPlayerRosterLocked();
    }
    WriteSlotChangeReply(BufferOf(NetMsgType::MsgSlotChangeReply).bytes,
                         HeaderFor(NetMsgType::MsgSlotChangeReply, header.sender),
                         granted ? static_cast<int32_t>(slot) : -1);
    Send(NetMsgType::MsgSlotChangeReply);
}

void NetSession::OnRiderChoice(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<RiderChoice> choice = ParseRiderChoice(datagram);
    NetPeer* sender = ActiveSender(header);
    if (!choice || sender == nullptr)
    {
        return;
    }
    riderChoices_[header.sender] = choice->choice;
    rideAids_[header.sender] = choice->aids;
    sender->ready = true;
    SendRiderRosterLocked();
    Answer(NetMsgType::MsgRiderChoiceAck, header.sender);
}

void NetSession::OnSessionQuery(const NetPacketHeader& header)
{
    NetPeer* sender = ActiveSender(header);
    if (sender == nullptr)
    {
        return;
    }
    const bool open = sessionState_ != NetSessionState::Running;
    if (open)
    {
        sender->ready = false;
    }
    WriteSessionReply(BufferOf(NetMsgType::MsgSessionReply).bytes,
                      HeaderFor(NetMsgType::MsgSessionReply, header.sender), open);
    Send(NetMsgType::MsgSessionReply);
    if (open)
    {
        SendRiderRosterLocked();
    }
}

void NetSession::OnLobbyRoster(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const auto type = static_cast<NetMsgType>(header.type);
    const std::optional<LobbyRoster> roster = ParseLobbyRoster(datagram, type);
    if (!roster || !FromHost(header))
    {
        return;
    }
    lobbyRoster_ = *roster;
    ++riderListsReceived_;
    if (type == NetMsgType::MsgRaceEntryList)
    {
        for (uint32_t entry = 0; entry < roster->count; ++entry)
        {
            riderNames_[entry] = roster->entries[entry].name;
        }
        Answer(NetMsgType::MsgRaceEntryListAck, kNetAllSlots);
    }
}

void NetSession::OnServerQuery(std::span<const uint8_t> datagram)
{
    const std::optional<uint32_t> requester =
        ParseAddressMessage(datagram, NetMsgType::MsgServerQuery);
    if (!requester || *requester == ownAddress_)
    {
        return;
    }
    ServerInfo info;
    info.sessionState = static_cast<int32_t>(sessionState_);
    info.requester = *requester;
    info.hostAddress = ownAddress_;
    info.serverName = settings_.serverName;
    info.settings = settings_.Announced();
    info.circuits = settings_.calendar.circuits;
    WriteServerInfo(BufferOf(NetMsgType::MsgServerInfo).bytes, HeaderFor(NetMsgType::MsgServerInfo),
                    info);
    Send(NetMsgType::MsgServerInfo);
}

void NetSession::OnServerInfo(std::span<const uint8_t> datagram)
{
    const std::optional<ServerInfo> info = ParseServerInfo(datagram);
    if (!info || info->requester != ownAddress_ ||
        pendingType_ != static_cast<uint32_t>(NetMsgType::MsgServerQuery))
    {
        return;
    }
    for (ServerListEntry& entry : serverList_)
    {
        if (entry.probePort != port_ || entry.sessionState != -1)
        {
            continue;
        }
        entry.hostAddress = info->hostAddress;
        entry.sessionState = info->sessionState;
        entry.serverName = info->serverName;
        entry.settings = info->settings;
        entry.circuits = info->circuits;
        ClearPending(NetMsgType::MsgServerQuery);
        ++serversFound_;
        return;
    }
}

void NetSession::OnRaceLineup(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<RaceLineup> lineup = ParseRaceLineup(datagram);
    if (!lineup || !FromHost(header))
    {
        return;
    }
    if (!lineupReceived_)
    {
        for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
        {
            peers_[slot].address = lineup->peers[slot].address;
            peers_[slot].state = static_cast<NetPeerState>(lineup->peers[slot].state);
        }
        race_->TakeLineup(*lineup);
        lineupReceived_ = true;
    }
    // Answered again when it comes twice: the first answer may have been lost.
    BufferOf(NetMsgType::MsgRaceLineupAck).length =
        WriteAddressMessage(BufferOf(NetMsgType::MsgRaceLineupAck).bytes,
                            HeaderFor(NetMsgType::MsgRaceLineupAck), ownAddress_);
    Send(NetMsgType::MsgRaceLineupAck);
}

void NetSession::OnInputFrames(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<InputFrames> frames = ParseInputFrames(datagram);
    NetPeer* sender = ActiveSender(header);
    if (!frames || sender == nullptr)
    {
        return;
    }
    const uint32_t awaited = awaitedFrame_.load(std::memory_order_relaxed);
    bool awaitedArrived = false;
    for (uint32_t back = 0; back < 3; ++back)
    {
        if (frames->newest < back)
        {
            continue;
        }
        const uint32_t frame = frames->newest - back;
        const uint32_t held = sender->inputRing.HeldStep(frame);
        // Only over an older frame: a late datagram never overwrites a newer one.
        if (held != InputRing::kEmpty && held >= frame)
        {
            continue;
        }
        sender->inputRing.Publish(frame, ToInputFrame(frames->inputs[2 - back]));
        awaitedArrived = awaitedArrived || frame == awaited;
    }
    if (awaitedArrived)
    {
        ReevaluateClockHold();
    }
}

void NetSession::OnInputResendRequest(std::span<const uint8_t> datagram)
{
    const std::optional<uint32_t> frame = ParseInputResendRequest(datagram);
    const InputRing& ring = peers_[ownSlot_].inputRing;
    if (!frame || !ring.Read(*frame))
    {
        return;
    }
    InputFrames answer;
    answer.newest = *frame;
    for (uint32_t back = 0; back < 3; ++back)
    {
        if (*frame >= back)
        {
            answer.inputs[2 - back] = ToBytes(ring.Read(*frame - back).value_or(InputFrame{}));
        }
    }
    WriteInputFrames(BufferOf(NetMsgType::MsgInputFrames).bytes,
                     HeaderFor(NetMsgType::MsgInputFrames), answer);
    Send(NetMsgType::MsgInputFrames);
}

void NetSession::OnHostStatus(std::span<const uint8_t> datagram)
{
    const std::optional<HostStatus> status = ParseHostStatus(datagram);
    if (!status)
    {
        return;
    }
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        if (status->droppedAtFrame[slot] == -1 || slot == hostSlot_)
        {
            continue;
        }
        if (slot == ownSlot_)
        {
            sessionsClosed_ = 1;
            aborted_ = true;
            errorCode_ = kNetErrorDropped;
        }
        // Every later status lists the slot again; it is dropped once.
        if (peers_[slot].IsActive())
        {
            DropPeer(slot);
        }
    }
    if (status->silent[ownSlot_] == static_cast<int32_t>(ownSlot_))
    {
        Answer(NetMsgType::MsgAliveReply, kNetAllSlots);
    }
}

void NetSession::OnClientLeave(const NetPacketHeader& header)
{
    NetPeer* sender = AnySender(header);
    if (sender == nullptr)
    {
        return;
    }
    if (sender->IsActive())
    {
        DropPeer(header.sender);
        if (isHost_ && sessionState_ == NetSessionState::Lobby)
        {
            GiveSlotToComputer(header.sender);
            SendPlayerRosterLocked();
        }
    }
    Answer(NetMsgType::MsgClientLeaveAck, header.sender);
}
