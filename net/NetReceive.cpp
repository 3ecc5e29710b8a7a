// The receive loop, its dispatch, and the handlers of the lobby's messages. A datagram is checked
// completely before anything is done with it: a malformed one, one from this machine, one not meant
// for it or one it may not handle now is dropped and changes nothing but its sender's last-heard
// time.

#include <algorithm>

#include "net/NetSession.h"

namespace
{
bool IsUsableAddress(uint32_t address)
{
    return address != kIpv4None && address != kIpv4Broadcast;
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

void NetSession::Dispatch(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    if (!TakeAcknowledgement(header, datagram) && !TakeAnswer(header, datagram))
    {
        DispatchLobby(header, datagram);
    }
}

// Acknowledgements of a request sent to every player: each sets its sender's flag, and the
// request ends once every player has it (where the request waits for all of them). The
// exchange before a race shares one flag among three requests; their acknowledgements count
// only while their own request is under way, so that a late answer to the line-up cannot
// stand for an answer to the set-up request that follows it.
bool NetSession::TakeAcknowledgement(const NetPacketHeader& header,
                                     std::span<const uint8_t> datagram)
{
    struct Acknowledgement
    {
        NetMsgType type;
        bool NetPeer::*flag;
        NetMsgType completes;  // the request that ends when all have it, or the type itself
        bool NetSession::*completedFlag;
        NetMsgType countsDuring = type;  // the request that must be pending, or the type itself
    };
    using T = NetMsgType;
    static constexpr Acknowledgement kAcknowledgements[] = {
        {T::MsgRaceLineupAck, &NetPeer::exchangeAcked, T::MsgRaceLineup, nullptr, T::MsgRaceLineup},
        {T::MsgRaceEntryListAck, &NetPeer::departureAcked, T::MsgRaceEntryListAck, nullptr},
        {T::MsgSetupRequestAck, &NetPeer::exchangeAcked, T::MsgSetupRequest, nullptr,
         T::MsgSetupRequest},
        {T::MsgAllBikeSetupsAck, &NetPeer::exchangeAcked, T::MsgAllBikeSetups, nullptr,
         T::MsgAllBikeSetups},
        {T::MsgRaceResultAck, &NetPeer::resultAcked, T::MsgRaceResult, nullptr},
        {T::MsgPeerReady, &NetPeer::ready, T::MsgPeerReady, nullptr},
        {T::MsgRiderRetireAck, &NetPeer::departureAcked, T::MsgRiderRetire,
         &NetSession::allRetiresAcknowledged_},
        {T::MsgClientLeaveAck, &NetPeer::departureAcked, T::MsgClientLeaveAck, nullptr},
        {T::MsgSessionCloseAck, &NetPeer::departureAcked, T::MsgSessionCloseAck, nullptr},
    };
    for (const Acknowledgement& acknowledgement : kAcknowledgements)
    {
        if (header.type != static_cast<uint8_t>(acknowledgement.type))
        {
            continue;
        }
        NetPeer* sender = ActiveSender(header);
        const bool counts = acknowledgement.countsDuring == acknowledgement.type ||
                            pendingType_ == static_cast<uint32_t>(acknowledgement.countsDuring);
        if (sender != nullptr && counts && HasFixedLength(datagram, acknowledgement.type))
        {
            sender->*acknowledgement.flag = true;
            if (acknowledgement.completes != acknowledgement.type &&
                AllActive(acknowledgement.flag))
            {
                ClearPending(acknowledgement.completes);
                if (acknowledgement.completedFlag != nullptr)
                {
                    this->*acknowledgement.completedFlag = true;
                }
            }
        }
        return true;
    }
    return false;
}

// The host's answers to a client's own requests: each ends the request and tells the waiting
// operation.
bool NetSession::TakeAnswer(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    struct Answer
    {
        NetMsgType type;
        NetMsgType answers;
        bool NetSession::*flag;
    };
    using T = NetMsgType;
    static constexpr Answer kAnswers[] = {
        {T::MsgPlayerNameAck, T::MsgPlayerName, &NetSession::nameAcknowledged_},
        {T::MsgRiderChoiceAck, T::MsgRiderChoice, &NetSession::choiceAcknowledged_},
        {T::MsgBikeSetupAck, T::MsgBikeSetup, nullptr},
        {T::MsgReadyToStartAck, T::MsgReadyToStart, &NetSession::readyAcknowledged_},
    };
    for (const Answer& answer : kAnswers)
    {
        if (header.type != static_cast<uint8_t>(answer.type))
        {
            continue;
        }
        if (HasFixedLength(datagram, answer.type) && FromHost(header))
        {
            if (answer.flag != nullptr)
            {
                this->*answer.flag = true;
            }
            ClearPending(answer.answers);
        }
        return true;
    }
    return false;
}

void NetSession::DispatchLobby(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    switch (static_cast<NetMsgType>(header.type))
    {
        case NetMsgType::MsgJoinRequest:
            return OnJoinRequest(datagram);
        case NetMsgType::MsgJoinAccept:
            return OnJoinAccept(datagram);
        case NetMsgType::MsgJoinReject:
            return OnJoinReject(datagram);
        case NetMsgType::MsgRejoinRequest:
            return OnRejoinRequest(datagram);
        case NetMsgType::MsgRejoinAccept:
        case NetMsgType::MsgRejoinReject:
            return OnRejoinAnswer(header, datagram);
        case NetMsgType::MsgPlayerRoster:
            return OnPlayerRoster(header, datagram);
        case NetMsgType::MsgPlayerName:
            return OnPlayerName(header, datagram);
        case NetMsgType::MsgSlotChangeRequest:
            return OnSlotChangeRequest(header, datagram);
        case NetMsgType::MsgSlotChangeReply:
            return OnSlotChangeReply(header, datagram);
        case NetMsgType::MsgRiderRoster:
        case NetMsgType::MsgRaceEntryList:
            return OnLobbyRoster(header, datagram);
        case NetMsgType::MsgRiderChoice:
            return OnRiderChoice(header, datagram);
        case NetMsgType::MsgSessionQuery:
            return OnSessionQuery(header, datagram);
        case NetMsgType::MsgSessionReply:
            return OnSessionReply(header, datagram);
        case NetMsgType::MsgServerQuery:
            return OnServerQuery(datagram);
        case NetMsgType::MsgServerInfo:
            return OnServerInfo(datagram);
        default:
            return DispatchRace(header, datagram);
    }
}

void NetSession::DispatchRace(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    switch (static_cast<NetMsgType>(header.type))
    {
        case NetMsgType::MsgRaceLineup:
            return OnRaceLineup(header, datagram);
        case NetMsgType::MsgStateCheck:
            return OnStateCheck(header, datagram);
        case NetMsgType::MsgBikeSetup:
            return OnBikeSetup(header, datagram);
        case NetMsgType::MsgAllBikeSetups:
            return OnAllBikeSetups(header, datagram);
        case NetMsgType::MsgSetupRequest:
            return OnSetupRequest(header, datagram);
        case NetMsgType::MsgInputFrames:
            return OnInputFrames(header, datagram);
        case NetMsgType::MsgInputResendRequest:
            return OnInputResendRequest(datagram);
        case NetMsgType::MsgReadyToStart:
            return OnReadyToStart(header, datagram);
        case NetMsgType::MsgRaceStart:
            return OnRaceStart(header, datagram);
        case NetMsgType::MsgRaceResult:
            return OnRaceResult(header, datagram);
        default:
            return DispatchControl(header, datagram);
    }
}

void NetSession::DispatchControl(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    switch (static_cast<NetMsgType>(header.type))
    {
        case NetMsgType::MsgHostStatus:
            return OnHostStatus(header, datagram);
        case NetMsgType::MsgRiderRetire:
            return OnRiderRetire(header, datagram);
        case NetMsgType::MsgClientLeave:
            return OnClientLeave(header, datagram);
        case NetMsgType::MsgSessionClose:
            return OnSessionClose(header, datagram);
        default:
            return;  // no handler: the arrival alone told that the sender is alive
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
        // After the answer: a roster that reached the joiner first would find it outside the
        // session and be lost, and it would not learn who else plays.
        SendPlayerRosterLocked();
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
    // The rings were primed for the delay before: the first frames of the race would be missing.
    PrimeInputRings();
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

void NetSession::OnSessionQuery(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    NetPeer* sender = ActiveSender(header);
    if (sender == nullptr || !HasFixedLength(datagram, NetMsgType::MsgSessionQuery))
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

void NetSession::OnSlotChangeReply(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<int32_t> slot = ParseSlotChangeReply(datagram);
    if (slot && pendingType_ == static_cast<uint32_t>(NetMsgType::MsgSlotChangeRequest) &&
        FromHost(header))
    {
        grantedSlot_ = *slot;
        slotChangeAnswered_ = true;
        ClearPending(NetMsgType::MsgSlotChangeRequest);
    }
}

void NetSession::OnSessionReply(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<bool> open = ParseSessionReply(datagram);
    if (open && pendingType_ == static_cast<uint32_t>(NetMsgType::MsgSessionQuery) &&
        FromHost(header))
    {
        sessionOpen_ = *open;
        sessionReplied_ = true;
        ClearPending(NetMsgType::MsgSessionQuery);
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
        // The host started the session's races: the client's menu follows it into them.
        sessionState_ = NetSessionState::Running;
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
