// The handlers of the race exchange, the input exchange and the session's control messages.

#include "net/NetSession.h"

namespace
{
InputFrame ToInputFrame(const std::array<uint8_t, 4>& bytes)
{
    return {static_cast<int8_t>(bytes[0]), static_cast<int8_t>(bytes[1]),
            static_cast<int8_t>(bytes[2]), bytes[3]};
}
}  // namespace

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
    // Silent when this machine does not hold the frame: it has nothing to give.
    if (const std::optional<uint32_t> frame = ParseInputResendRequest(datagram))
    {
        SendOwnInputs(*frame);
    }
}

void NetSession::OnHostStatus(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<HostStatus> status = ParseHostStatus(datagram);
    if (!status || !FromHost(header))
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

void NetSession::OnClientLeave(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    NetPeer* sender = AnySender(header);
    if (sender == nullptr || !HasFixedLength(datagram, NetMsgType::MsgClientLeave))
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

void NetSession::OnStateCheck(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<StateCheckView> check = StateCheckView::Parse(datagram);
    if (check && FromHost(header))
    {
        race_->TakeStateCheck(*check);
    }
}

void NetSession::OnBikeSetup(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const auto setup = ParseBikeSetup(datagram);
    NetPeer* sender = ActiveSender(header);
    if (!setup || sender == nullptr)
    {
        return;
    }
    race_->TakeBikeSetup(header.sender, *setup);
    sender->setupReceived = true;
    Answer(NetMsgType::MsgBikeSetupAck, header.sender);
}

void NetSession::OnAllBikeSetups(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<AllBikeSetupsView> setups = AllBikeSetupsView::Parse(datagram);
    if (!setups || !FromHost(header))
    {
        return;
    }
    for (size_t block = 0; block < setups->Count(); ++block)
    {
        race_->TakeBikeSetup(setups->Slot(block), setups->Setup(block));
    }
    allSetupsReceived_ = true;
    Answer(NetMsgType::MsgAllBikeSetupsAck, kNetAllSlots);
}

void NetSession::OnSetupRequest(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    if (HasFixedLength(datagram, NetMsgType::MsgSetupRequest) && FromHost(header))
    {
        setupRequested_ = true;
        Answer(NetMsgType::MsgSetupRequestAck, kNetAllSlots);
    }
}

void NetSession::OnReadyToStart(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    NetPeer* sender = ActiveSender(header);
    if (sender != nullptr && HasFixedLength(datagram, NetMsgType::MsgReadyToStart))
    {
        sender->ready = true;
        Answer(NetMsgType::MsgReadyToStartAck, header.sender);
    }
}

void NetSession::OnRaceStart(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    // Only the first start of a race counts: a repeated one carries a later clock.
    const std::optional<uint32_t> clockMs = ParseRaceStart(datagram);
    if (clockMs && FromHost(header) && !raceStartTaken_)
    {
        raceStartTaken_ = true;
        raceStarted_.store(true, std::memory_order_relaxed);
        raceResultReceived_ = false;
        raceStartClockMs_ = *clockMs;
    }
}

void NetSession::OnRaceResult(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    const std::optional<RaceResult> result = ParseRaceResult(datagram);
    if (!result || !FromHost(header))
    {
        return;
    }
    raceResult_ = *result;
    race_->TakeRaceResult(*result);
    raceResultReceived_ = true;
    // The race is over: what comes next belongs to the next race. The host sends its line-up
    // only once every player has this result, and none of the old race's is re-sent by then.
    lineupReceived_ = false;
    setupRequested_ = false;
    Answer(NetMsgType::MsgRaceResultAck, kNetAllSlots);
}

void NetSession::OnRiderRetire(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    NetPeer* sender = AnySender(header);
    if (sender == nullptr || !HasFixedLength(datagram, NetMsgType::MsgRiderRetire))
    {
        return;
    }
    if (sender->IsActive() && race_->IsRiderRacing(header.sender))
    {
        race_->RetireRider(header.sender);
    }
    if (sender->IsActive() && !sender->retired)
    {
        sender->retired = true;
        ReevaluateClockHold();
    }
    // Answered also when the rider is out already: the first answer may have been lost.
    Answer(NetMsgType::MsgRiderRetireAck, header.sender);
}

void NetSession::OnSessionClose(const NetPacketHeader& header, std::span<const uint8_t> datagram)
{
    if (HasFixedLength(datagram, NetMsgType::MsgSessionClose) && FromHost(header))
    {
        sessionsClosed_ = 1;
        aborted_ = true;
        Answer(NetMsgType::MsgSessionCloseAck, header.sender);
    }
}
