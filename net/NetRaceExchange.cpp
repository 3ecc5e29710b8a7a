// The race exchange around each race: the host's line-up, the bike set-ups, a player's
// retirement and the results.

#include <algorithm>

#include "core/util/RuntimeRandom.h"
#include "net/NetLineup.h"
#include "net/NetSession.h"
#include "net/NetSettings.h"
#include "race/RandomTable.h"

bool NetSession::SendRaceLineup(uint32_t raceStartTick)
{
    FinishSendingResult();
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
        // 256 words and a copy of the first four, so that a step's second word never wraps.
        for (size_t word = 0; word < RandomTable::kWords; ++word)
        {
            lineup.randomTable[word] = static_cast<uint32_t>(RuntimeRand());
        }
        std::copy_n(lineup.randomTable.begin(), RandomTable::kStoredWords - RandomTable::kWords,
                    lineup.randomTable.begin() + RandomTable::kWords);
        raceGrid_ = lineup.gridPlusOne;
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

void NetSession::FinishSendingResult()
{
    const auto resultPending = [this]
    { return pendingType_ == static_cast<uint32_t>(NetMsgType::MsgRaceResult); };
    bool pending = false;
    {
        const Lock lock(mutex_);
        pending = resultPending();
    }
    if (pending)
    {
        Wait([&] { return !resultPending(); }, false);
    }
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

bool NetSession::CollectBikeSetups()
{
    {
        const Lock lock(mutex_);
        ClearFlag(&NetPeer::exchangeAcked);
        ClearFlag(&NetPeer::setupReceived);
        peers_[ownSlot_].exchangeAcked = true;
        peers_[ownSlot_].setupReceived = true;
        allSetupsReceived_ = false;
        if (CountActivePeers() <= 1)
        {
            return true;
        }
        BuildHeaderOnly(NetMsgType::MsgSetupRequest, kNetAllSlots);
        StartRequest(NetMsgType::MsgSetupRequest, kRequestRetries);
    }
    const WaitEnd asked = Wait([this] { return AllActive(&NetPeer::exchangeAcked); }, false);
    {
        const Lock lock(mutex_);
        ClearPending(NetMsgType::MsgSetupRequest);
    }
    if (asked != WaitEnd::Done)
    {
        return false;
    }
    // Esc ends only the wait: the set-ups that came go out.
    const WaitEnd collected = Wait([this] { return AllActive(&NetPeer::setupReceived); }, true);
    if (collected != WaitEnd::Done && collected != WaitEnd::Escaped)
    {
        return false;
    }
    const Lock lock(mutex_);
    ClearFlag(&NetPeer::exchangeAcked);
    peers_[ownSlot_].exchangeAcked = true;
    SendBuffer& buffer = BufferOf(NetMsgType::MsgAllBikeSetups);
    uint32_t count = 0;
    std::array<uint8_t, kBikeSetupBytes> setup{};
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        if (raceGrid_[slot] != 0)
        {
            race_->GiveBikeSetup(slot, setup);
            WriteAllBikeSetupsBlock(buffer.bytes, count++, slot, setup);
        }
    }
    WriteAllBikeSetupsHead(buffer.bytes, HeaderFor(NetMsgType::MsgAllBikeSetups), count);
    buffer.length = AllBikeSetupsLength(count);
    StartRequest(NetMsgType::MsgAllBikeSetups, kRequestRetries);
    return true;
}

bool NetSession::SendBikeSetup()
{
    const auto backedOut = [this]
    {
        Leave();
        const Lock lock(mutex_);
        aborted_ = true;
        return false;
    };
    const WaitEnd asked = Wait([this] { return setupRequested_; }, true);
    if (asked == WaitEnd::Escaped)
    {
        return backedOut();
    }
    if (asked != WaitEnd::Done)
    {
        return false;
    }
    {
        const Lock lock(mutex_);
        setupRequested_ = false;
        std::array<uint8_t, kBikeSetupBytes> setup{};
        race_->GiveBikeSetup(ownSlot_, setup);
        BufferOf(NetMsgType::MsgBikeSetup).length = WriteBikeSetup(
            BufferOf(NetMsgType::MsgBikeSetup).bytes, HeaderFor(NetMsgType::MsgBikeSetup), setup);
        allSetupsReceived_ = false;
        StartRequest(NetMsgType::MsgBikeSetup, kRequestRetries);
    }
    const WaitEnd all = Wait([this] { return allSetupsReceived_; }, true);
    if (all == WaitEnd::Escaped)
    {
        return backedOut();
    }
    return all == WaitEnd::Done;
}

void NetSession::RetireRider()
{
    const Lock lock(mutex_);
    allRetiresAcknowledged_ = false;
    ClearFlag(&NetPeer::departureAcked);
    peers_[ownSlot_].departureAcked = true;
    race_->RetireRider(ownSlot_);
    peers_[ownSlot_].retired = true;
    ReevaluateClockHold();
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
