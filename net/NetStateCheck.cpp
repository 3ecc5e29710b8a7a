#include "net/NetStateCheck.h"

#include <algorithm>

#include "net/NetSession.h"

void TakeHostStateCheck(LockstepState& lockstep, const StateCheckView& check)
{
    const uint32_t step = check.Tick();
    HostStateRing::Blocks blocks{};
    for (size_t entry = 0; entry < check.EntryCount(); ++entry)
    {
        const auto block = check.Block(entry);
        const size_t first = check.Rider(entry) * kStateBlockWords;
        for (size_t word = 0; word < kStateBlockWords; ++word)
        {
            blocks[first + word] = NetFields(block).U32(4 * word);
        }
    }
    lockstep.hostStates.Publish(step, blocks);

    StateChecksumRing::Row own{};
    if (lockstep.divergenceStep.load(std::memory_order_relaxed) != kNoDivergence ||
        !lockstep.checksums.Read(step, own))
    {
        return;
    }
    for (size_t entry = 0; entry < check.EntryCount(); ++entry)
    {
        const uint32_t rider = check.Rider(entry);
        if (own[rider] != blocks[rider * kStateBlockWords])
        {
            lockstep.NoteDivergence(step);
            return;
        }
    }
}

void AddRiderToStateCheck(NetSession& session, const BikeRecord& bike, uint32_t step,
                          uint32_t rider, uint32_t index)
{
    std::array<uint32_t, kStateBlockWords> words{};
    CopyStateBlock(bike, words);
    std::array<uint8_t, kStateBlockBytes> block{};
    for (size_t word = 0; word < kStateBlockWords; ++word)
    {
        for (size_t byte = 0; byte < 4; ++byte)
        {
            block[4 * word + byte] = static_cast<uint8_t>(words[word] >> (8 * byte));
        }
    }
    session.AddStateCheckRider(step, rider, index, block);
}

void NetSession::AddStateCheckRider(uint32_t tick, uint32_t rider, uint32_t index,
                                    std::span<const uint8_t, kStateBlockBytes> block)
{
    const Lock lock(mutex_);
    if (rider >= kNetSlotCount || index >= kNetSlotCount)
    {
        return;
    }
    if (tick != stateCheckTick_)
    {
        stateCheckTick_ = tick;
        stateCheckHighest_ = -1;
    }
    WriteStateCheckEntry(BufferOf(NetMsgType::MsgStateCheck).bytes, index, rider, block);
    stateCheckHighest_ = std::max(stateCheckHighest_, static_cast<int32_t>(index));
}

void NetSession::SendStateCheck()
{
    const Lock lock(mutex_);
    if (stateCheckHighest_ < 0)
    {
        return;
    }
    SendBuffer& buffer = BufferOf(NetMsgType::MsgStateCheck);
    const auto highest = static_cast<uint32_t>(stateCheckHighest_);
    WriteStateCheckHead(buffer.bytes, HeaderFor(NetMsgType::MsgStateCheck), stateCheckTick_,
                        highest);
    buffer.length = StateCheckLength(highest);
    Send(NetMsgType::MsgStateCheck);
    stateCheckHighest_ = -1;
}
