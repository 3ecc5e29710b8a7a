#include "net/NetLobbyMessages.h"

#include "core/game/GameEnums.h"

namespace
{
std::array<int8_t, kNetCalendarEntries> ReadCircuits(const NetFields& fields, size_t offset)
{
    std::array<int8_t, kNetCalendarEntries> circuits{};
    for (size_t race = 0; race < circuits.size(); ++race)
    {
        circuits[race] = fields.I8(offset + race);
    }
    return circuits;
}

void WriteCircuits(NetFieldWriter& fields, size_t offset,
                   const std::array<int8_t, kNetCalendarEntries>& circuits)
{
    for (size_t race = 0; race < circuits.size(); ++race)
    {
        fields.I8(offset + race, circuits[race]);
    }
}
}  // namespace

bool IsValidCircuitList(std::span<const int8_t, kNetCalendarEntries> circuits)
{
    for (const int8_t circuit : circuits)
    {
        if (circuit < 0)
        {
            return true;
        }
        if (static_cast<size_t>(circuit) >= kCircuitCount)
        {
            return false;
        }
    }
    return false;
}

size_t WriteJoinRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                        const JoinRequest& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgJoinRequest);
    NetFieldWriter fields(out);
    fields.U32(4, message.address);
    fields.U32(8, message.wantedSlot);
    fields.U32(12, message.reserved);
    fields.Name(16, message.name);
    return length;
}

std::optional<JoinRequest> ParseJoinRequest(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgJoinRequest))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    return JoinRequest{fields.U32(4), fields.U32(8), fields.U32(12), fields.Name(16)};
}

size_t WriteJoinAccept(std::span<uint8_t> out, const NetPacketHeader& header,
                       const JoinAccept& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgJoinAccept);
    NetFieldWriter fields(out);
    fields.U32(4, message.hostSlot);
    fields.U32(8, message.requester);
    fields.U32(12, message.hostAddress);
    fields.U32(16, message.assignedSlot);
    fields.U32(20, message.inputDelay);
    fields.U32(24, message.bikeClass);
    fields.U32(28, message.strength);
    fields.U32(32, message.laps);
    fields.U32(36, message.countdownIndex);
    const NetCalendar& calendar = message.calendar;
    for (size_t race = 0; race < kNetCalendarRaces; ++race)
    {
        fields.U8(40 + race, calendar.weather[race]);
        fields.U8(58 + race, calendar.humidity[race]);
        fields.U8(76 + race, calendar.temperature[race]);
        fields.U16(94 + 2 * race, calendar.pressure[race]);
    }
    WriteCircuits(fields, 130, calendar.circuits);
    return length;
}

std::optional<JoinAccept> ParseJoinAccept(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgJoinAccept))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    JoinAccept message{
        fields.U32(4),  fields.U32(8),  fields.U32(12), fields.U32(16), fields.U32(20),
        fields.U32(24), fields.U32(28), fields.U32(32), fields.U32(36), {}};
    NetCalendar& calendar = message.calendar;
    for (size_t race = 0; race < kNetCalendarRaces; ++race)
    {
        calendar.weather[race] = fields.U8(40 + race);
        calendar.humidity[race] = fields.U8(58 + race);
        calendar.temperature[race] = fields.U8(76 + race);
        calendar.pressure[race] = fields.U16(94 + 2 * race);
    }
    calendar.circuits = ReadCircuits(fields, 130);
    const bool valid = IsNetSlot(message.hostSlot) && IsNetSlot(message.assignedSlot) &&
                       message.inputDelay >= 1 && message.inputDelay <= kMaxNetInputDelay &&
                       message.bikeClass < kBikeClassCount && message.strength <= 2 &&
                       message.countdownIndex <= 3 && IsValidCircuitList(calendar.circuits);
    return valid ? std::optional(message) : std::nullopt;
}

size_t WriteJoinReject(std::span<uint8_t> out, const NetPacketHeader& header,
                       const JoinReject& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgJoinReject);
    NetFieldWriter fields(out);
    fields.U32(4, message.requester);
    fields.U32(8, static_cast<uint32_t>(message.reason));
    return length;
}

std::optional<JoinReject> ParseJoinReject(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgJoinReject))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    const uint32_t reason = fields.U32(8);
    if (reason > static_cast<uint32_t>(JoinRefusal::SessionFull))
    {
        return std::nullopt;
    }
    return JoinReject{fields.U32(4), static_cast<JoinRefusal>(reason)};
}

size_t WriteRejoinRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                          const RejoinRequest& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgRejoinRequest);
    NetFieldWriter fields(out);
    fields.U32(4, message.requester);
    fields.U32(8, message.formerSlot);
    return length;
}

std::optional<RejoinRequest> ParseRejoinRequest(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgRejoinRequest))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    return RejoinRequest{fields.U32(4), fields.U32(8)};
}

size_t WriteAddressMessage(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t address)
{
    const size_t length = BeginNetDatagram(out, header, static_cast<NetMsgType>(header.type));
    NetFieldWriter(out).U32(4, address);
    return length;
}

std::optional<uint32_t> ParseAddressMessage(std::span<const uint8_t> datagram, NetMsgType type)
{
    if (!HasFixedLength(datagram, type) || datagram.size() != 8)
    {
        return std::nullopt;
    }
    return NetFields(datagram).U32(4);
}

size_t WritePlayerRoster(std::span<uint8_t> out, const NetPacketHeader& header,
                         const PlayerRoster& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgPlayerRoster);
    NetFieldWriter fields(out);
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        fields.I8(4 + slot, message.states[slot]);
        fields.Name(30 + NetName::kSize * slot, message.names[slot]);
    }
    return length;
}

std::optional<PlayerRoster> ParsePlayerRoster(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgPlayerRoster))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    PlayerRoster message;
    for (size_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        message.states[slot] = fields.I8(4 + slot);
        if (message.states[slot] < -2 || message.states[slot] > 1)
        {
            return std::nullopt;
        }
        message.names[slot] = fields.Name(30 + NetName::kSize * slot);
    }
    return message;
}

size_t WritePlayerName(std::span<uint8_t> out, const NetPacketHeader& header, const NetName& name)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgPlayerName);
    NetFieldWriter(out).Name(4, name);
    return length;
}

std::optional<NetName> ParsePlayerName(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgPlayerName))
    {
        return std::nullopt;
    }
    return NetFields(datagram).Name(4);
}

size_t WriteSlotChangeRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                              uint32_t wantedSlot)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgSlotChangeRequest);
    NetFieldWriter(out).U32(4, wantedSlot);
    return length;
}

std::optional<uint32_t> ParseSlotChangeRequest(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgSlotChangeRequest))
    {
        return std::nullopt;
    }
    const uint32_t slot = NetFields(datagram).U32(4);
    return IsNetSlot(slot) ? std::optional(slot) : std::nullopt;
}

size_t WriteSlotChangeReply(std::span<uint8_t> out, const NetPacketHeader& header,
                            int32_t grantedSlot)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgSlotChangeReply);
    NetFieldWriter(out).I32(4, grantedSlot);
    return length;
}

std::optional<int32_t> ParseSlotChangeReply(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgSlotChangeReply))
    {
        return std::nullopt;
    }
    const int32_t slot = NetFields(datagram).I32(4);
    const bool valid = slot == -1 || (slot >= 0 && IsNetSlot(static_cast<uint32_t>(slot)));
    return valid ? std::optional(slot) : std::nullopt;
}

size_t WriteLobbyRoster(std::span<uint8_t> out, const NetPacketHeader& header,
                        const LobbyRoster& message)
{
    const auto type = static_cast<NetMsgType>(header.type);
    assert(type == NetMsgType::MsgRiderRoster || type == NetMsgType::MsgRaceEntryList);
    const size_t length = BeginNetDatagram(out, header, type);
    NetFieldWriter fields(out);
    fields.U32(4, type == NetMsgType::MsgRaceEntryList ? 1 : 0);
    fields.U32(8, message.count);
    for (size_t entry = 0; entry < message.count && entry < kNetSlotCount; ++entry)
    {
        fields.Name(12 + 24 * entry, message.entries[entry].name);
        fields.U32(32 + 24 * entry, message.entries[entry].ready);
    }
    return length;
}

std::optional<LobbyRoster> ParseLobbyRoster(std::span<const uint8_t> datagram, NetMsgType type)
{
    if (!HasFixedLength(datagram, type))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    LobbyRoster message;
    message.count = fields.U32(8);
    if (message.count > kNetSlotCount)
    {
        return std::nullopt;
    }
    for (size_t entry = 0; entry < message.count; ++entry)
    {
        message.entries[entry] = {fields.Name(12 + 24 * entry), fields.U32(32 + 24 * entry)};
    }
    return message;
}

size_t WriteRiderChoice(std::span<uint8_t> out, const NetPacketHeader& header,
                        const RiderChoice& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgRiderChoice);
    NetFieldWriter fields(out);
    fields.U32(4, message.choice);
    for (size_t aid = 0; aid < message.aids.size(); ++aid)
    {
        fields.U32(8 + 4 * aid, message.aids[aid] ? 1 : 0);
    }
    return length;
}

std::optional<RiderChoice> ParseRiderChoice(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgRiderChoice))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    const RiderChoice message{fields.U32(4),
                              {fields.U32(8) != 0, fields.U32(12) != 0, fields.U32(16) != 0}};
    return IsNetSlot(message.choice) ? std::optional(message) : std::nullopt;
}

size_t WriteSessionReply(std::span<uint8_t> out, const NetPacketHeader& header, bool open)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgSessionReply);
    NetFieldWriter(out).U32(4, open ? 1 : 0);
    return length;
}

std::optional<bool> ParseSessionReply(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgSessionReply))
    {
        return std::nullopt;
    }
    const uint32_t value = NetFields(datagram).U32(4);
    return value <= 1 ? std::optional(value == 1) : std::nullopt;
}

size_t WriteServerInfo(std::span<uint8_t> out, const NetPacketHeader& header,
                       const ServerInfo& message)
{
    const size_t length = BeginNetDatagram(out, header, NetMsgType::MsgServerInfo);
    NetFieldWriter fields(out);
    fields.I32(4, message.sessionState);
    fields.U32(8, message.requester);
    fields.U32(12, message.hostAddress);
    fields.Name(16, message.serverName);
    const ServerSettings& settings = message.settings;
    const std::array<uint32_t, 7> values = {
        settings.inputDelaySetting, settings.bikeClass, settings.difficulty,
        settings.weather,           settings.laps,      settings.gridOrder,
        settings.riderCount};
    for (size_t value = 0; value < values.size(); ++value)
    {
        fields.U32(56 + 4 * value, values[value]);
    }
    WriteCircuits(fields, 84, message.circuits);
    return length;
}

std::optional<ServerInfo> ParseServerInfo(std::span<const uint8_t> datagram)
{
    if (!HasFixedLength(datagram, NetMsgType::MsgServerInfo))
    {
        return std::nullopt;
    }
    const NetFields fields(datagram);
    ServerInfo message;
    message.sessionState = fields.I32(4);
    message.requester = fields.U32(8);
    message.hostAddress = fields.U32(12);
    message.serverName = fields.Name(16);
    message.settings = {fields.U32(56), fields.U32(60), fields.U32(64), fields.U32(68),
                        fields.U32(72), fields.U32(76), fields.U32(80)};
    message.circuits = ReadCircuits(fields, 84);
    const ServerSettings& settings = message.settings;
    const bool valid = message.sessionState >= -1 && message.sessionState <= 1 &&
                       settings.bikeClass < kBikeClassCount && settings.difficulty <= 2 &&
                       settings.weather <= 4 && settings.gridOrder <= 1 &&
                       settings.riderCount <= kNetSlotCount && IsValidCircuitList(message.circuits);
    return valid ? std::optional(message) : std::nullopt;
}

size_t WriteHeaderOnly(std::span<uint8_t> out, const NetPacketHeader& header)
{
    assert(NetMsg(static_cast<NetMsgType>(header.type)).length == kNetHeaderSize);
    return BeginNetDatagram(out, header, static_cast<NetMsgType>(header.type));
}
