#include "net/NetRaceMessages.h"

namespace
{
constexpr size_t kLineupGrid = 4;
constexpr size_t kLineupChoice = 32;
constexpr size_t kLineupHuman = 136;
constexpr size_t kLineupFirstAid = 188;
constexpr size_t kLineupThirdAid = 214;
constexpr size_t kLineupSecondAid = 240;
constexpr size_t kLineupPeers = 268;
constexpr size_t kLineupStartTick = 476;
constexpr size_t kLineupRandomTable = 480;

bool IsFrame(uint32_t value)
{
    return value <= 0x7FFFFFFF;
}
}  // namespace

size_t WriteRaceLineup(std::span<uint8_t> out, const NetPacketHeader& header,
                       const RaceLineup& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgRaceLineup);
    NetFieldWriter fields(out);
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        fields.U8(kLineupGrid + slot, message.gridPlusOne[slot]);
        fields.U32(kLineupChoice + 4 * slot, message.riderChoice[slot]);
        fields.U8(kLineupHuman + slot, message.human[slot]);
        fields.U8(kLineupFirstAid + slot, message.firstAid[slot]);
        fields.U8(kLineupThirdAid + slot, message.thirdAid[slot]);
        fields.U8(kLineupSecondAid + slot, message.secondAid[slot]);
        fields.U32(kLineupPeers + 8 * slot, message.peers[slot].address);
        fields.I32(kLineupPeers + 8 * slot + 4, message.peers[slot].state);
    }
    fields.U32(kLineupStartTick, message.raceStartTick);
    for (size_t word = 0; word < kRandomTableWords; ++word)
    {
        fields.U32(kLineupRandomTable + 4 * word, message.randomTable[word]);
    }
    return length;
}

std::optional<RaceLineup> ParseRaceLineup(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgRaceLineup))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    RaceLineup message;
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        message.gridPlusOne[slot] = fields.U8(kLineupGrid + slot);
        message.riderChoice[slot] = fields.U32(kLineupChoice + 4 * slot);
        message.human[slot] = fields.U8(kLineupHuman + slot) != 0 ? 1 : 0;
        message.firstAid[slot] = fields.U8(kLineupFirstAid + slot) != 0 ? 1 : 0;
        message.thirdAid[slot] = fields.U8(kLineupThirdAid + slot) != 0 ? 1 : 0;
        message.secondAid[slot] = fields.U8(kLineupSecondAid + slot) != 0 ? 1 : 0;
        message.peers[slot] = {fields.U32(kLineupPeers + 8 * slot),
                               fields.I32(kLineupPeers + 8 * slot + 4)};
        if (message.gridPlusOne[slot] > kNetSlotCount || !IsNetSlot(message.riderChoice[slot]) ||
            message.peers[slot].state < -2 || message.peers[slot].state > 1)
        {
            return std::nullopt;
        }
    }
    message.raceStartTick = fields.U32(kLineupStartTick);
    for (size_t word = 0; word < kRandomTableWords; ++word)
    {
        message.randomTable[word] = fields.U32(kLineupRandomTable + 4 * word);
        if (message.randomTable[word] > kRandomValueMax)
        {
            return std::nullopt;
        }
    }
    return message;
}

std::optional<StateCheckView> StateCheckView::Parse(std::span<const uint8_t> datagram)
{
    const std::optional<size_t> blocks = BlockCount(datagram, NetMsgType::MsgStateCheck);
    if (!blocks)
    {
        return std::nullopt;
    }
    const StateCheckView view(datagram, *blocks + 1);
    if (view.fields_.U32(8) != *blocks)
    {
        return std::nullopt;
    }
    for (size_t entry = 0; entry < view.EntryCount(); ++entry)
    {
        if (!IsNetSlot(view.Rider(entry)))
        {
            return std::nullopt;
        }
    }
    return view;
}

void WriteStateCheckHead(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t tick,
                         uint32_t highestIndex)
{
    BeginNetDatagram(out, header, NetMsgType::MsgStateCheck, 12);
    NetFieldWriter fields(out);
    fields.U32(4, tick);
    fields.U32(8, highestIndex);
}

void WriteStateCheckEntry(std::span<uint8_t> out, size_t index, uint32_t rider,
                          std::span<const uint8_t, kStateBlockBytes> block)
{
    NetFieldWriter fields(out);
    const size_t at = 12 + kStateCheckEntryBytes * index;
    fields.U32(at, rider);
    fields.Bytes(at + 4, block);
}

size_t StateCheckLength(uint32_t highestIndex)
{
    const NetMsgInfo& info = NetMsg(NetMsgType::MsgStateCheck);
    return info.length + size_t{info.blockLength} * highestIndex;
}

size_t WriteBikeSetup(std::span<uint8_t> out, const NetPacketHeader& header,
                      std::span<const uint8_t, kBikeSetupBytes> setup)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgBikeSetup);
    NetFieldWriter(out).Bytes(4, setup);
    return length;
}

std::optional<std::span<const uint8_t, kBikeSetupBytes>> ParseBikeSetup(
    std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgBikeSetup))
    {
        return std::nullopt;
    }
    return datagram.subspan(4).first<kBikeSetupBytes>();
}

std::optional<AllBikeSetupsView> AllBikeSetupsView::Parse(std::span<const uint8_t> datagram)
{
    const std::optional<size_t> blocks = BlockCount(datagram, NetMsgType::MsgAllBikeSetups);
    if (!blocks)
    {
        return std::nullopt;
    }
    const AllBikeSetupsView view(datagram, *blocks);
    if (view.fields_.U32(4) != *blocks)
    {
        return std::nullopt;
    }
    for (size_t block = 0; block < view.Count(); ++block)
    {
        if (!IsNetSlot(view.Slot(block)))
        {
            return std::nullopt;
        }
    }
    return view;
}

void WriteAllBikeSetupsHead(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t count)
{
    BeginNetDatagram(out, header, NetMsgType::MsgAllBikeSetups);
    NetFieldWriter(out).U32(4, count);
}

void WriteAllBikeSetupsBlock(std::span<uint8_t> out, size_t block, uint32_t slot,
                             std::span<const uint8_t, kBikeSetupBytes> setup)
{
    NetFieldWriter fields(out);
    const size_t at = 8 + kAllBikeSetupsBlockBytes * block;
    fields.U32(at, slot);
    fields.Bytes(at + 4, setup);
}

size_t AllBikeSetupsLength(uint32_t count)
{
    const NetMsgInfo& info = NetMsg(NetMsgType::MsgAllBikeSetups);
    return info.length + size_t{info.blockLength} * count;
}

size_t WriteInputFrames(std::span<uint8_t> out, const NetPacketHeader& header,
                        const InputFrames& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgInputFrames);
    NetFieldWriter fields(out);
    fields.U32(4, message.newest);
    for (size_t frame = 0; frame < message.inputs.size(); ++frame)
    {
        fields.Bytes(8 + 4 * frame, message.inputs[frame]);
    }
    return length;
}

std::optional<InputFrames> ParseInputFrames(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgInputFrames))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    InputFrames message;
    message.newest = fields.U32(4);
    for (size_t frame = 0; frame < message.inputs.size(); ++frame)
    {
        const std::span<const uint8_t> bytes = fields.Bytes(8 + 4 * frame, 4);
        std::copy(bytes.begin(), bytes.end(), message.inputs[frame].begin());
    }
    return IsFrame(message.newest) ? std::optional(message) : std::nullopt;
}

size_t WriteInputResendRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                               uint32_t frame)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgInputResendRequest);
    NetFieldWriter(out).U32(4, frame);
    return length;
}

std::optional<uint32_t> ParseInputResendRequest(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgInputResendRequest))
    {
        return std::nullopt;
    }
    const uint32_t frame = NetFields(datagram).U32(4);
    return IsFrame(frame) ? std::optional(frame) : std::nullopt;
}

size_t WriteHostStatus(std::span<uint8_t> out, const NetPacketHeader& header,
                       const HostStatus& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgHostStatus);
    NetFieldWriter fields(out);
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        fields.I32(4 + 4 * slot, message.silent[slot]);
        fields.I32(108 + 4 * slot, message.droppedAtFrame[slot]);
    }
    return length;
}

std::optional<HostStatus> ParseHostStatus(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgHostStatus))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    HostStatus message;
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        message.silent[slot] = fields.I32(4 + 4 * slot);
        message.droppedAtFrame[slot] = fields.I32(108 + 4 * slot);
    }
    return message;
}

size_t WriteRaceStart(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t raceClockMs)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgRaceStart);
    NetFieldWriter(out).U32(4, raceClockMs);
    return length;
}

std::optional<uint32_t> ParseRaceStart(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgRaceStart))
    {
        return std::nullopt;
    }
    return NetFields(datagram).U32(4);
}

size_t WriteRaceResult(std::span<uint8_t> out, const NetPacketHeader& header,
                       const RaceResult& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgRaceResult);
    NetFieldWriter fields(out);
    for (size_t rider = 0; rider < kNetSlotCount; ++rider)
    {
        fields.U32(4 + 4 * rider, message.riderAtPlace[rider]);
        fields.F32(108 + 4 * rider, message.sessionTimes[rider]);
        fields.I16(212 + 2 * rider, message.sessionRanks[rider]);
        fields.U32(264 + 4 * rider, message.fourthValue[rider]);
    }
    return length;
}

std::optional<RaceResult> ParseRaceResult(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgRaceResult))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    RaceResult message;
    for (size_t rider = 0; rider < kNetSlotCount; ++rider)
    {
        message.riderAtPlace[rider] = fields.U32(4 + 4 * rider);
        message.sessionTimes[rider] = fields.F32(108 + 4 * rider);
        message.sessionRanks[rider] = fields.I16(212 + 2 * rider);
        message.fourthValue[rider] = fields.U32(264 + 4 * rider);
        if (!IsNetSlot(message.riderAtPlace[rider]) &&
            message.riderAtPlace[rider] != kNoRiderAtPlace)
        {
            return std::nullopt;
        }
    }
    return message;
}
