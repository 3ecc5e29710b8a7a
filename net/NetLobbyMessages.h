#pragma once

// The wire layouts of the messages that find a session, join it and fill its lobby. Each
// Write function fills a whole datagram (its buffer is at least the type's length; the length
// is returned); each Parse function takes a received datagram and gives nothing unless its
// length is the type's and every field that is later used as an index or a count is in range.
// Messages of the header alone need neither.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "net/NetPacket.h"

inline constexpr size_t kNetCalendarEntries = 19;  // 18 races, then a negative end mark
inline constexpr size_t kNetCalendarRaces = 18;
inline constexpr uint32_t kMaxNetInputDelay = 255;  // frames; the input rings hold 256

// The session's races: a circuit per race, ended by a negative entry, and the conditions of
// each race.
struct NetCalendar
{
    std::array<int8_t, kNetCalendarEntries> circuits{};
    std::array<uint8_t, kNetCalendarRaces> weather{};
    std::array<uint8_t, kNetCalendarRaces> humidity{};
    std::array<uint8_t, kNetCalendarRaces> temperature{};
    std::array<uint16_t, kNetCalendarRaces> pressure{};

    bool operator==(const NetCalendar&) const = default;
};

// A circuit list is usable when an end mark comes within it and every circuit before the
// mark is one of the 18.
bool IsValidCircuitList(std::span<const int8_t, kNetCalendarEntries> circuits);

// MsgJoinRequest (36 bytes).
struct JoinRequest
{
    uint32_t address = 0;
    uint32_t wantedSlot = 0;  // a wish: anything else than a free slot gets the first free one
    uint32_t reserved = 0;
    NetName name;
};
size_t WriteJoinRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                        const JoinRequest& message);
std::optional<JoinRequest> ParseJoinRequest(std::span<const uint8_t> datagram);

// MsgJoinAccept (152 bytes).
struct JoinAccept
{
    uint32_t hostSlot = 0;
    uint32_t requester = 0;
    uint32_t hostAddress = 0;
    uint32_t assignedSlot = 0;
    uint32_t inputDelay = 0;  // frames
    uint32_t bikeClass = 0;
    uint32_t strength = 0;  // of the computer riders: 2 - the host's difficulty setting
    uint32_t laps = 0;
    uint32_t countdownIndex = 0;
    NetCalendar calendar;
};
size_t WriteJoinAccept(std::span<uint8_t> out, const NetPacketHeader& header,
                       const JoinAccept& message);
std::optional<JoinAccept> ParseJoinAccept(std::span<const uint8_t> datagram);

// MsgJoinReject (12 bytes).
enum class JoinRefusal : uint32_t
{
    NotPossibleNow = 0,  // no session open for joining, or an unusable address
    SessionFull = 1,
};
struct JoinReject
{
    uint32_t requester = 0;
    JoinRefusal reason = JoinRefusal::NotPossibleNow;
};
size_t WriteJoinReject(std::span<uint8_t> out, const NetPacketHeader& header,
                       const JoinReject& message);
std::optional<JoinReject> ParseJoinReject(std::span<const uint8_t> datagram);

// MsgRejoinRequest (12 bytes).
struct RejoinRequest
{
    uint32_t requester = 0;
    uint32_t formerSlot = 0;
};
size_t WriteRejoinRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                          const RejoinRequest& message);
std::optional<RejoinRequest> ParseRejoinRequest(std::span<const uint8_t> datagram);

// The messages that carry one address after the header: MsgRejoinAccept, MsgRejoinReject,
// MsgRaceLineupAck (8 bytes) and MsgServerQuery (8 bytes).
size_t WriteAddressMessage(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t address);
std::optional<uint32_t> ParseAddressMessage(std::span<const uint8_t> datagram, NetMsgType type);

// MsgPlayerRoster (550 bytes): every slot's peer state and rider name.
struct PlayerRoster
{
    std::array<int8_t, kNetSlotCount> states{};  // -2 .. 1
    std::array<NetName, kNetSlotCount> names;
};
size_t WritePlayerRoster(std::span<uint8_t> out, const NetPacketHeader& header,
                         const PlayerRoster& message);
std::optional<PlayerRoster> ParsePlayerRoster(std::span<const uint8_t> datagram);

// MsgPlayerName (24 bytes).
size_t WritePlayerName(std::span<uint8_t> out, const NetPacketHeader& header, const NetName& name);
std::optional<NetName> ParsePlayerName(std::span<const uint8_t> datagram);

// MsgSlotChangeRequest (8 bytes): the wanted slot.
size_t WriteSlotChangeRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                              uint32_t wantedSlot);
std::optional<uint32_t> ParseSlotChangeRequest(std::span<const uint8_t> datagram);

// MsgSlotChangeReply (8 bytes): the granted slot, or -1.
size_t WriteSlotChangeReply(std::span<uint8_t> out, const NetPacketHeader& header,
                            int32_t grantedSlot);
std::optional<int32_t> ParseSlotChangeReply(std::span<const uint8_t> datagram);

// MsgRiderRoster and MsgRaceEntryList (636 bytes): names and ready flags.
struct LobbyRosterEntry
{
    NetName name;
    uint32_t ready = 0;

    bool operator==(const LobbyRosterEntry&) const = default;
};
struct LobbyRoster
{
    uint32_t count = 0;  // 0..26
    std::array<LobbyRosterEntry, kNetSlotCount> entries;

    bool operator==(const LobbyRoster&) const = default;
};
size_t WriteLobbyRoster(std::span<uint8_t> out, const NetPacketHeader& header,
                        const LobbyRoster& message);
std::optional<LobbyRoster> ParseLobbyRoster(std::span<const uint8_t> datagram, NetMsgType type);

// MsgRiderChoice (20 bytes): the rider chosen and the three ride aids (automatic gears,
// automatic braking, steering aid), each sent as 1 while it is on.
struct RiderChoice
{
    uint32_t choice = 0;  // a rider of the class, 0..25
    std::array<bool, 3> aids{};
};
size_t WriteRiderChoice(std::span<uint8_t> out, const NetPacketHeader& header,
                        const RiderChoice& message);
std::optional<RiderChoice> ParseRiderChoice(std::span<const uint8_t> datagram);

// MsgSessionReply (8 bytes): true while the session is open for joining (in the lobby).
size_t WriteSessionReply(std::span<uint8_t> out, const NetPacketHeader& header, bool open);
std::optional<bool> ParseSessionReply(std::span<const uint8_t> datagram);

// The seven settings of a session that a server announces.
struct ServerSettings
{
    uint32_t inputDelaySetting = 0;
    uint32_t bikeClass = 0;   // 0..2
    uint32_t difficulty = 0;  // 0..2
    uint32_t weather = 0;     // 0..4
    uint32_t laps = 0;
    uint32_t gridOrder = 0;   // 0 by points, 1 random
    uint32_t riderCount = 0;  // up to 26

    bool operator==(const ServerSettings&) const = default;
};

// MsgServerInfo (104 bytes).
struct ServerInfo
{
    int32_t sessionState = -1;  // -1 no session yet, 0 lobby, 1 running
    uint32_t requester = 0;
    uint32_t hostAddress = 0;
    NetName serverName;
    ServerSettings settings;
    std::array<int8_t, kNetCalendarEntries> circuits{};
};
size_t WriteServerInfo(std::span<uint8_t> out, const NetPacketHeader& header,
                       const ServerInfo& message);
std::optional<ServerInfo> ParseServerInfo(std::span<const uint8_t> datagram);

// Messages of the header alone: exactly 4 bytes.
size_t WriteHeaderOnly(std::span<uint8_t> out, const NetPacketHeader& header);
