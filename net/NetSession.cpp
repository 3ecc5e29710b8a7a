#include "net/NetSession.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <utility>

NetSession g_net;

namespace
{
size_t IndexOf(NetMsgType type)
{
    const NetMsgInfo* info = FindNetMsg(static_cast<uint8_t>(type));
    assert(info != nullptr);
    return static_cast<size_t>(info - kNetMessages.data());
}

// A countdown stops counting far below zero instead of wrapping.
int32_t CountedDown(int32_t value, int32_t ms)
{
    constexpr int32_t kFloor = std::numeric_limits<int32_t>::min() / 2;
    return value > kFloor + ms ? value - ms : kFloor;
}
}  // namespace

NetSession::NetSession() : receiveBuffer_(kNetReceiveBufferSize)
{
    for (size_t type = 0; type < kNetMsgTypeCount; ++type)
    {
        sendBuffers_[type].bytes.resize(MaxNetMsgLength(kNetMessages[type]));
    }
    for (size_t entry = 0; entry < serverList_.size(); ++entry)
    {
        serverList_[entry].probePort = static_cast<uint16_t>(kNetFirstProbePort + entry);
    }
    ResetPeersLocked();
}

NetSession::~NetSession() = default;

void NetSession::Attach(NetMachine& machine, NetRace& race, DatagramNetwork& network)
{
    const Lock lock(mutex_);
    machine_ = &machine;
    race_ = &race;
    network_ = &network;
}

void NetSession::Detach()
{
    const Lock lock(mutex_);
    socket_.reset();
    machine_ = nullptr;
    race_ = nullptr;
    network_ = nullptr;
    active_.store(false, std::memory_order_relaxed);
}

void NetSession::SetHost(bool host)
{
    const Lock lock(mutex_);
    isHost_ = host;
}

bool NetSession::IsHost() const
{
    const Lock lock(mutex_);
    return isHost_;
}

void NetSession::SetInputDelay(uint32_t frames)
{
    const Lock lock(mutex_);
    inputDelay_ = std::clamp<uint32_t>(frames, 1, kMaxNetInputDelay);
    PrimeInputRings();
}

uint32_t NetSession::InputDelay() const
{
    const Lock lock(mutex_);
    return inputDelay_;
}

void NetSession::SetPort(uint16_t portValue)
{
    const Lock lock(mutex_);
    port_ = portValue;
}

uint16_t NetSession::Port() const
{
    const Lock lock(mutex_);
    return port_;
}

bool NetSession::Startup()
{
    const Lock lock(mutex_);
    if (network_ == nullptr)
    {
        return false;
    }
    const std::optional<uint32_t> own = network_->OwnAddress();
    if (!own || *own == kIpv4None || *own == kIpv4Broadcast)
    {
        return false;
    }
    ownAddress_ = *own;
    settings_ = ReadNetSessionSettings(machine_->Settings());
    ownSlot_ = std::min<uint32_t>(machine_->PlayerRider(), kNetSlotCount - 1);
    ResetPeersLocked();
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        riderNames_[slot] = DefaultNameOf(slot);
    }
    if (isHost_)
    {
        peers_[ownSlot_].address = ownAddress_;
        peers_[ownSlot_].state = NetPeerState::Player;
    }
    sessionState_ = NetSessionState::None;
    sessionsClosed_ = 0;
    hostSlot_ = 0;
    return true;
}

bool NetSession::OpenSocket()
{
    const Lock lock(mutex_);
    return OpenSocketLocked();
}

bool NetSession::OpenSocketLocked()
{
    socket_.reset();
    if (network_ != nullptr)
    {
        socket_ = network_->OpenBroadcastSocket(UdpPortOf(port_));
    }
    return socket_ != nullptr;
}

void NetSession::Shutdown()
{
    const Lock lock(mutex_);
    active_.store(false, std::memory_order_relaxed);
    sessionsClosed_ = 0;
    sessionState_ = NetSessionState::None;
    socket_.reset();
}

void NetSession::ResetPeers()
{
    const Lock lock(mutex_);
    ResetPeersLocked();
}

void NetSession::ResetPeersLocked()
{
    allReady_ = false;
    raceStarted_.store(false, std::memory_order_relaxed);
    lineupReceived_ = false;
    allSetupsReceived_ = false;
    setupRequested_ = false;
    lobbyRoster_.count = 0;
    for (NetPeer& peer : peers_)
    {
        // The set-up and result flags are cleared by whatever uses them.
        peer.address = 0;
        peer.state = NetPeerState::Empty;
        peer.exchangeAcked = false;
        peer.ready = false;
        peer.departureAcked = false;
        peer.reserved = 0;
        peer.lastHeardMs = 0;
    }
    hostStatus_.silent.fill(-1);
    hostStatus_.droppedAtFrame.fill(-1);
    PrimeInputRings();
}

void NetSession::ResetInputRings()
{
    const Lock lock(mutex_);
    PrimeInputRings();
    for (NetPeer& peer : peers_)
    {
        peer.retired = false;
    }
    raceStarted_.store(false, std::memory_order_relaxed);
    raceStartTaken_ = false;
}

void NetSession::PrimeInputRings()
{
    for (NetPeer& peer : peers_)
    {
        peer.inputRing.Clear();
        for (uint32_t frame = 0; frame < inputDelay_; ++frame)
        {
            peer.inputRing.Publish(frame, InputFrame{});
        }
    }
}

void NetSession::CountDownTimers(int32_t ms)
{
    const Lock lock(mutex_);
    resendCountdownMs_ = CountedDown(resendCountdownMs_, ms);
    statusCountdownMs_ = CountedDown(statusCountdownMs_, ms);
}

void NetSession::ResendPending()
{
    const Lock lock(mutex_);
    if (resendCountdownMs_ >= 0 || pendingType_ == 0)
    {
        return;
    }
    if (--retriesLeft_ < 0)
    {
        failedType_ = pendingType_;
        pendingType_ = 0;
        return;
    }
    const NetMsgInfo* info = FindNetMsg(static_cast<uint8_t>(pendingType_));
    if (info == nullptr || info->resendMs == 0)
    {
        return;
    }
    if (info->type == NetMsgType::MsgRaceStart)
    {
        WriteRaceStart(BufferOf(info->type).bytes, HeaderFor(info->type), machine_->RaceClockMs());
    }
    Send(info->type);
    resendCountdownMs_ = info->resendMs;
}

void NetSession::CheckTimeouts()
{
    const Lock lock(mutex_);
    if (sessionState_ == NetSessionState::None || machine_ == nullptr)
    {
        return;
    }
    const uint32_t nowMs = machine_->TimerMs();
    if (isHost_)
    {
        WatchPeersAsHost(nowMs);
    }
    else if (nowMs - peers_[hostSlot_].lastHeardMs > kDropMs)
    {
        aborted_ = true;
        errorCode_ = kNetErrorHostLost;
    }
}

void NetSession::WatchPeersAsHost(uint32_t nowMs)
{
    bool dropped = false;
    hostStatus_.silent.fill(-1);
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        NetPeer& peer = peers_[slot];
        if (slot == ownSlot_ || !peer.IsActive())
        {
            continue;
        }
        hostStatus_.droppedAtFrame[slot] = -1;
        const uint32_t silentMs = nowMs - peer.lastHeardMs;
        if (silentMs > kSilentMs)
        {
            hostStatus_.silent[slot] = static_cast<int32_t>(slot);
        }
        if (silentMs > kDropMs)
        {
            DropPeer(slot);
            hostStatus_.droppedAtFrame[slot] = static_cast<int32_t>(machine_->TicksDone());
            if (sessionState_ == NetSessionState::Lobby)
            {
                riderNames_[slot] = DefaultNameOf(slot);
                SendPlayerRosterLocked();
            }
            dropped = true;
        }
    }
    if (statusCountdownMs_ < 0 || dropped)
    {
        statusCountdownMs_ = kStatusIntervalMs;
        WriteHostStatus(BufferOf(NetMsgType::MsgHostStatus).bytes,
                        HeaderFor(NetMsgType::MsgHostStatus), hostStatus_);
        Send(NetMsgType::MsgHostStatus);
    }
}

void NetSession::DropPeer(uint32_t slot)
{
    peers_[slot].Drop();
    race_->RetireRider(slot);
    ReevaluateClockHold();
}

void NetSession::GiveSlotToComputer(uint32_t slot)
{
    peers_[slot].state = NetPeerState::Empty;
    rideAids_[slot][0] = false;
    riderNames_[slot] = DefaultNameOf(slot);
}

NetName NetSession::DefaultNameOf(uint32_t slot) const
{
    return race_ != nullptr ? race_->DefaultRiderName(slot, settings_.bikeClass) : NetName();
}

void NetSession::MoveRecord(uint32_t from, uint32_t to)
{
    NetPeer& source = peers_[from];
    NetPeer& target = peers_[to];
    target.state = NetPeerState::Player;
    target.address = source.address;
    target.exchangeAcked = source.exchangeAcked;
    target.ready = source.ready;
    target.departureAcked = source.departureAcked;
    target.reserved = source.reserved;
    target.lastHeardMs = machine_->TimerMs();
    riderNames_[to] = riderNames_[from];
    riderChoices_[to] = riderChoices_[from];
    rideAids_[to] = rideAids_[from];
    source.address = kIpv4Broadcast;
    source.state = NetPeerState::Empty;
    source.exchangeAcked = false;
    source.ready = false;
    source.departureAcked = false;
    source.reserved = 0;
    riderNames_[from] = DefaultNameOf(from);
}

void NetSession::BuildHeaderOnly(NetMsgType type, uint8_t target)
{
    BufferOf(type).length = WriteHeaderOnly(BufferOf(type).bytes, HeaderFor(type, target));
}

void NetSession::ReevaluateClockHold()
{
    // The hold belongs to a running race; before the start nothing is awaited.
    if (!RaceStarted())
    {
        return;
    }
    const uint32_t frame = awaitedFrame_.load(std::memory_order_relaxed);
    bool held = false;
    for (const NetPeer& peer : peers_)
    {
        held = held || (peer.IsAwaited() && !peer.inputRing.Read(frame).has_value());
    }
    machine_->SetClockHold(held);
}

NetSession::SendBuffer& NetSession::BufferOf(NetMsgType type)
{
    return sendBuffers_[IndexOf(type)];
}

uint8_t NetSession::SenderSlot() const
{
    // Outside a session this machine has no slot yet; a slot byte would make its datagrams
    // look like another machine's own.
    return sessionState_ == NetSessionState::None ? kNetNoSlot : static_cast<uint8_t>(ownSlot_);
}

NetPacketHeader NetSession::HeaderFor(NetMsgType type, uint8_t target) const
{
    return {static_cast<uint8_t>(type), target, SenderSlot()};
}

void NetSession::Send(NetMsgType type)
{
    SendBuffer& buffer = BufferOf(type);
    if (buffer.length == 0)
    {
        buffer.length = NetMsg(type).length;
    }
    if (socket_ != nullptr)
    {
        // A failed send is not reported: a pending request goes out again anyway.
        socket_->Broadcast(std::span(buffer.bytes).first(buffer.length));
    }
}

void NetSession::StartRequest(NetMsgType type, uint32_t retries)
{
    retriesLeft_ = static_cast<int32_t>(retries);
    failedType_ = 0;
    errorCode_ = 0;
    pendingType_ = static_cast<uint32_t>(type);
    resendCountdownMs_ = NetMsg(type).resendMs;
    Send(type);
}

void NetSession::ClearPending(NetMsgType answered)
{
    // An answer ends only the request it answers; any other pending one goes on.
    if (pendingType_ == static_cast<uint32_t>(answered))
    {
        pendingType_ = 0;
    }
}

NetSession::WaitEnd NetSession::Wait(const std::function<bool()>& done, bool escapable)
{
    if (escapable)
    {
        machine_->ClearEscape();
    }
    for (;;)
    {
        machine_->PumpMessages();
        {
            const Lock lock(mutex_);
            if (done())
            {
                return WaitEnd::Done;
            }
            if (machine_->IsQuitting() || aborted_)
            {
                return WaitEnd::Stopped;
            }
            if (failedType_ != 0)
            {
                return WaitEnd::Failed;
            }
        }
        if (escapable && machine_->TakeEscape())
        {
            return WaitEnd::Escaped;
        }
    }
}

uint32_t NetSession::CountActivePeers() const
{
    return static_cast<uint32_t>(
        std::count_if(peers_.begin(), peers_.end(), [](const NetPeer& p) { return p.IsActive(); }));
}

bool NetSession::AllActive(bool NetPeer::*flag) const
{
    return std::all_of(peers_.begin(), peers_.end(),
                       [flag](const NetPeer& peer) { return !peer.IsActive() || peer.*flag; });
}

void NetSession::ClearFlag(bool NetPeer::*flag)
{
    for (NetPeer& peer : peers_)
    {
        peer.*flag = false;
    }
}

NetSessionState NetSession::SessionState() const
{
    const Lock lock(mutex_);
    return sessionState_;
}

bool NetSession::IsAborted() const
{
    const Lock lock(mutex_);
    return aborted_;
}

void NetSession::ClearAborted()
{
    const Lock lock(mutex_);
    aborted_ = false;
}

uint32_t NetSession::ErrorCode() const
{
    const Lock lock(mutex_);
    return errorCode_;
}

uint32_t NetSession::TakeErrorCode()
{
    const Lock lock(mutex_);
    return std::exchange(errorCode_, 0u);
}

uint32_t NetSession::FailedType() const
{
    const Lock lock(mutex_);
    return failedType_;
}

uint32_t NetSession::PendingType() const
{
    const Lock lock(mutex_);
    return pendingType_;
}

uint32_t NetSession::OwnSlot() const
{
    const Lock lock(mutex_);
    return ownSlot_;
}

uint32_t NetSession::OwnAddress() const
{
    const Lock lock(mutex_);
    return ownAddress_;
}

uint32_t NetSession::HostSlot() const
{
    const Lock lock(mutex_);
    return hostSlot_;
}

uint32_t NetSession::ActivePeerCount() const
{
    const Lock lock(mutex_);
    return CountActivePeers();
}

NetPeerState NetSession::PeerState(uint32_t slot) const
{
    const Lock lock(mutex_);
    return slot < kNetSlotCount ? peers_[slot].state : NetPeerState::Empty;
}

bool NetSession::IsPeerReady(uint32_t slot) const
{
    const Lock lock(mutex_);
    return slot < kNetSlotCount && peers_[slot].ready;
}

NetName NetSession::RiderName(uint32_t slot) const
{
    const Lock lock(mutex_);
    return slot < kNetSlotCount ? riderNames_[slot] : NetName();
}

std::array<ServerListEntry, kNetProbePorts> NetSession::ServerList() const
{
    const Lock lock(mutex_);
    return serverList_;
}

LobbyRoster NetSession::CurrentLobbyRoster() const
{
    const Lock lock(mutex_);
    return lobbyRoster_;
}

uint32_t NetSession::RostersReceived() const
{
    const Lock lock(mutex_);
    return rostersReceived_;
}

uint32_t NetSession::RiderListsReceived() const
{
    const Lock lock(mutex_);
    return riderListsReceived_;
}

uint32_t NetSession::SessionsClosed() const
{
    const Lock lock(mutex_);
    return sessionsClosed_;
}

void NetSession::ClearSessionsClosed()
{
    const Lock lock(mutex_);
    sessionsClosed_ = 0;
}

uint32_t NetSession::ServersFound() const
{
    const Lock lock(mutex_);
    return serversFound_;
}

uint32_t NetSession::RaceStartClockMs() const
{
    const Lock lock(mutex_);
    return raceStartClockMs_;
}

NetSessionSnapshot NetSession::Snapshot() const
{
    const Lock lock(mutex_);
    NetSessionSnapshot snapshot{};
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        const NetPeer& peer = peers_[slot];
        snapshot.peers[slot] = {peer.address,
                                peer.state,
                                {peer.exchangeAcked, peer.setupReceived, peer.ready,
                                 peer.departureAcked, peer.resultAcked},
                                peer.reserved};
    }
    snapshot.riderNames = riderNames_;
    snapshot.riderChoices = riderChoices_;
    snapshot.rideAids = rideAids_;
    snapshot.waitFlags = {allReady_, RaceStarted(), lineupReceived_, allSetupsReceived_,
                          setupRequested_};
    snapshot.replyFlags = {joinAccepted_,      rejoinAccepted_,     slotChangeAnswered_,
                           nameAcknowledged_,  choiceAcknowledged_, sessionReplied_,
                           readyAcknowledged_, raceResultReceived_, allRetiresAcknowledged_};
    snapshot.counters = {rostersReceived_, riderListsReceived_, sessionsClosed_, serversFound_};
    snapshot.sessionState = sessionState_;
    snapshot.aborted = aborted_;
    snapshot.ownSlot = ownSlot_;
    snapshot.hostSlot = hostSlot_;
    snapshot.hostAddress = hostAddress_;
    snapshot.inputDelay = inputDelay_;
    snapshot.pendingType = pendingType_;
    snapshot.failedType = failedType_;
    snapshot.errorCode = errorCode_;
    snapshot.retriesLeft = retriesLeft_;
    snapshot.grantedSlot = grantedSlot_;
    snapshot.lobbyRoster = lobbyRoster_;
    snapshot.serverList = serverList_;
    snapshot.hostStatus = hostStatus_;
    return snapshot;
}
