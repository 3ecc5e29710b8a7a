// The start of a race together, and the end of a machine's part in the session.

#include "net/NetSession.h"

bool NetSession::StartRaceAsHost()
{
    {
        const Lock lock(mutex_);
        if (CountActivePeers() <= 1)
        {
            allReady_ = true;
            raceStarted_.store(true, std::memory_order_relaxed);
            return true;
        }
    }
    const WaitEnd end = Wait([this] { return AllActive(&NetPeer::ready); }, true);
    if (end == WaitEnd::Escaped)
    {
        CloseSession();
        const Lock lock(mutex_);
        aborted_ = true;
        return false;
    }
    if (end != WaitEnd::Done)
    {
        return false;
    }
    machine_->ResetRaceClock(0);
    const Lock lock(mutex_);
    allReady_ = true;
    ClearFlag(&NetPeer::ready);
    peers_[ownSlot_].ready = true;
    const NetPacketHeader header = HeaderFor(NetMsgType::MsgRaceStart);
    WriteRaceStart(BufferOf(NetMsgType::MsgRaceStart).bytes, header, 0);
    StartRequest(NetMsgType::MsgRaceStart, kRequestRetries);
    raceStarted_.store(true, std::memory_order_relaxed);
    return true;
}

bool NetSession::WaitForRaceStart()
{
    {
        const Lock lock(mutex_);
        readyAcknowledged_ = false;
        BuildHeaderOnly(NetMsgType::MsgReadyToStart, kNetAllSlots);
        StartRequest(NetMsgType::MsgReadyToStart, kRequestRetries);
    }
    if (Wait([this] { return readyAcknowledged_; }, false) != WaitEnd::Done)
    {
        return false;
    }
    const WaitEnd end = Wait([this] { return RaceStarted(); }, true);
    if (end == WaitEnd::Escaped)
    {
        Leave();
        const Lock lock(mutex_);
        aborted_ = true;
        return false;
    }
    return end == WaitEnd::Done;
}

bool NetSession::Leave()
{
    {
        const Lock lock(mutex_);
        ClearFlag(&NetPeer::departureAcked);
        peers_[ownSlot_].departureAcked = true;
        BuildHeaderOnly(NetMsgType::MsgClientLeave, kNetAllSlots);
        StartRequest(NetMsgType::MsgClientLeave, kRequestRetries);
    }
    return Wait([this] { return AllActive(&NetPeer::departureAcked); }, false) != WaitEnd::Failed;
}

bool NetSession::CloseSession()
{
    FinishSendingResult();
    {
        const Lock lock(mutex_);
        ClearFlag(&NetPeer::departureAcked);
        peers_[ownSlot_].departureAcked = true;
        const bool alone = CountActivePeers() - (peers_[ownSlot_].IsActive() ? 1 : 0) == 0;
        if (!alone)
        {
            // Built while the session still runs, so that the clients know the sender.
            BuildHeaderOnly(NetMsgType::MsgSessionClose, kNetAllSlots);
            StartRequest(NetMsgType::MsgSessionClose, kRequestRetries);
        }
        sessionState_ = NetSessionState::None;
        if (alone)
        {
            return true;
        }
    }
    const WaitEnd end = Wait([this] { return AllActive(&NetPeer::departureAcked); }, false);
    const Lock lock(mutex_);
    ClearPending(NetMsgType::MsgSessionClose);
    return end != WaitEnd::Failed;
}

void NetSession::EndSession()
{
    if (IsHost())
    {
        CloseSession();
    }
    else
    {
        Leave();
    }
}
