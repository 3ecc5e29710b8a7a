// The race exchange around each race: the host's line-up, a player's retirement and the
// results.

#include "core/util/RuntimeRandom.h"
#include "net/NetLineup.h"
#include "net/NetSession.h"
#include "net/NetSettings.h"

bool NetSession::SendRaceLineup(uint32_t raceStartTick)
{
    {
        const Lock lock(mutex_);
        const MenuState& record = machine_->Settings();
        riderChoices_[ownSlot_] = record.U32At(MenuState::kNetworkRiderChoiceOffset);
        rideAids_[ownSlot_] = RideAidsOn(record);
        LineupSlots slots;
        for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
        {
            slots.states[slot] = peers_[slot].state;
            slots.addresses[slot] = peers_[slot].address;
        }
        slots.riderChoices = riderChoices_;
        slots.rideAids = rideAids_;
        const bool randomGrid = settings_.gridOrder == 1;
        RaceLineup lineup = BuildRaceLineup(slots, settings_.bikeClass, settings_.riderCount,
                                            [&](uint32_t slot) {
                                                return randomGrid
                                                           ? static_cast<uint32_t>(RuntimeRand())
                                                           : ChampionshipPointsOf(record, slot);
                                            });
        for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
        {
            peers_[slot].state = slots.states[slot];
        }
        lineup.raceStartTick = raceStartTick;
        for (uint32_t& word : lineup.randomTable)
        {
            word = static_cast<uint32_t>(RuntimeRand());
        }
        ClearFlag(&NetPeer::exchangeAcked);
        peers_[ownSlot_].exchangeAcked = true;
        race_->TakeLineup(lineup);
        if (CountActivePeers() <= 1)
        {
            return true;
        }
        WriteRaceLineup(BufferOf(NetMsgType::MsgRaceLineup).bytes,
                        HeaderFor(NetMsgType::MsgRaceLineup), lineup);
        StartRequest(NetMsgType::MsgRaceLineup, kRequestRetries);
    }
    const WaitEnd end = Wait([this] { return AllActive(&NetPeer::exchangeAcked); }, false);
    const Lock lock(mutex_);
    ClearPending(NetMsgType::MsgRaceLineup);
    return end == WaitEnd::Done;
}

bool NetSession::WaitForRaceLineup()
{
    const WaitEnd end = Wait([this] { return lineupReceived_; }, true);
    if (end == WaitEnd::Escaped)
    {
        Leave();
        const Lock lock(mutex_);
        aborted_ = true;
    }
    return end == WaitEnd::Done;
}

void NetSession::RetireRider()
{
    const Lock lock(mutex_);
    allRetiresAcknowledged_ = false;
    ClearFlag(&NetPeer::departureAcked);
    peers_[ownSlot_].departureAcked = true;
    race_->RetireRider(ownSlot_);
    BuildHeaderOnly(NetMsgType::MsgRiderRetire, kNetAllSlots);
    StartRequest(NetMsgType::MsgRiderRetire, kRequestRetries);
}

void NetSession::SendRaceResult(const RaceResult& result)
{
    const Lock lock(mutex_);
    ClearFlag(&NetPeer::resultAcked);
    peers_[ownSlot_].resultAcked = true;
    if (CountActivePeers() <= 1)
    {
        return;
    }
    WriteRaceResult(BufferOf(NetMsgType::MsgRaceResult).bytes, HeaderFor(NetMsgType::MsgRaceResult),
                    result);
    StartRequest(NetMsgType::MsgRaceResult, kRequestRetries);
}

std::optional<RaceResult> NetSession::ReceiveRaceResult()
{
    const WaitEnd end = Wait([this] { return raceResultReceived_; }, true);
    if (end == WaitEnd::Escaped)
    {
        Leave();
        const Lock lock(mutex_);
        aborted_ = true;
    }
    if (end != WaitEnd::Done)
    {
        return std::nullopt;
    }
    const Lock lock(mutex_);
    raceResultReceived_ = false;
    return raceResult_;
}
