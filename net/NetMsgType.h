#pragma once

// The message types of network play and what the protocol fixes about each: its length, the
// re-send interval of a request awaiting its answer, and which machines handle it. The wire
// layouts are in NetLobbyMessages.h and NetRaceMessages.h.

#include <array>
#include <cstdint>
#include <string_view>

enum class NetMsgType : uint8_t
{
    MsgRaceLineup = 10,
    MsgRaceLineupAck = 11,
    MsgJoinRequest = 20,
    MsgJoinAccept = 21,
    MsgJoinReject = 22,
    MsgRejoinRequest = 23,
    MsgRejoinAccept = 24,
    MsgRejoinReject = 25,
    MsgPlayerRoster = 30,
    MsgPlayerName = 31,
    MsgSlotChangeRequest = 32,
    MsgSlotChangeReply = 33,
    MsgPlayerNameAck = 34,
    MsgRiderRoster = 40,
    MsgRiderChoice = 41,
    MsgRiderChoiceAck = 42,
    MsgSessionQuery = 43,
    MsgSessionReply = 44,
    MsgRaceEntryList = 45,
    MsgRaceEntryListAck = 46,
    MsgStateCheck = 51,
    MsgBikeSetup = 60,
    MsgBikeSetupAck = 61,
    MsgAllBikeSetups = 62,
    MsgAllBikeSetupsAck = 63,
    MsgSetupRequestAck = 70,
    MsgSetupRequest = 71,
    MsgInputFrames = 100,
    MsgInputResendRequest = 102,
    MsgHostStatus = 120,
    MsgAliveReply = 121,
    MsgServerQuery = 200,
    MsgServerInfo = 201,
    MsgPeerReady = 241,
    MsgRaceResultAck = 242,
    MsgRiderRetire = 243,
    MsgRiderRetireAck = 244,
    MsgUnused245 = 245,
    MsgUnused246 = 246,
    MsgClientLeave = 247,
    MsgClientLeaveAck = 248,
    MsgSessionClose = 249,
    MsgSessionCloseAck = 250,
    MsgReadyToStart = 251,
    MsgReadyToStartAck = 252,
    MsgRaceStart = 253,
    MsgRaceResult = 254,
};

// Which machines act on a message.
enum class NetHandler : uint8_t
{
    Nobody,    // dropped by everyone (its arrival still shows the sender is alive)
    Host,      // only a hosting machine
    Client,    // only a client
    Everyone,  // both
};

struct NetMsgInfo
{
    NetMsgType type;
    std::string_view name;
    uint16_t length;       // bytes of the datagram; for the two growing ones, without blocks
    uint16_t blockLength;  // bytes per further block, or 0 for a fixed length
    uint16_t maxBlocks;    // the most further blocks a valid datagram carries
    uint16_t resendMs;     // re-send interval while pending; 0 = never re-sent
    NetHandler handler;
    bool targeted;  // only the machine in the target byte acts on it
};

inline constexpr size_t kNetMsgTypeCount = 47;

// In type order.
inline constexpr std::array<NetMsgInfo, kNetMsgTypeCount> kNetMessages = {{
    {NetMsgType::MsgRaceLineup, "MsgRaceLineup", 1520, 0, 0, 1000, NetHandler::Client, false},
    {NetMsgType::MsgRaceLineupAck, "MsgRaceLineupAck", 8, 0, 0, 0, NetHandler::Host, false},
    {NetMsgType::MsgJoinRequest, "MsgJoinRequest", 36, 0, 0, 1000, NetHandler::Host, false},
    {NetMsgType::MsgJoinAccept, "MsgJoinAccept", 152, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgJoinReject, "MsgJoinReject", 12, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgRejoinRequest, "MsgRejoinRequest", 12, 0, 0, 1000, NetHandler::Host, false},
    {NetMsgType::MsgRejoinAccept, "MsgRejoinAccept", 8, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgRejoinReject, "MsgRejoinReject", 8, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgPlayerRoster, "MsgPlayerRoster", 550, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgPlayerName, "MsgPlayerName", 24, 0, 0, 500, NetHandler::Host, false},
    {NetMsgType::MsgSlotChangeRequest, "MsgSlotChangeRequest", 8, 0, 0, 500, NetHandler::Host,
     false},
    {NetMsgType::MsgSlotChangeReply, "MsgSlotChangeReply", 8, 0, 0, 0, NetHandler::Client, true},
    {NetMsgType::MsgPlayerNameAck, "MsgPlayerNameAck", 4, 0, 0, 0, NetHandler::Client, true},
    {NetMsgType::MsgRiderRoster, "MsgRiderRoster", 636, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgRiderChoice, "MsgRiderChoice", 20, 0, 0, 500, NetHandler::Host, false},
    {NetMsgType::MsgRiderChoiceAck, "MsgRiderChoiceAck", 4, 0, 0, 0, NetHandler::Client, true},
    {NetMsgType::MsgSessionQuery, "MsgSessionQuery", 4, 0, 0, 500, NetHandler::Host, false},
    {NetMsgType::MsgSessionReply, "MsgSessionReply", 8, 0, 0, 0, NetHandler::Client, true},
    {NetMsgType::MsgRaceEntryList, "MsgRaceEntryList", 636, 0, 0, 500, NetHandler::Client, false},
    {NetMsgType::MsgRaceEntryListAck, "MsgRaceEntryListAck", 4, 0, 0, 0, NetHandler::Host, false},
    {NetMsgType::MsgStateCheck, "MsgStateCheck", 388, 376, 25, 0, NetHandler::Client, false},
    {NetMsgType::MsgBikeSetup, "MsgBikeSetup", 1096, 0, 0, 500, NetHandler::Host, false},
    {NetMsgType::MsgBikeSetupAck, "MsgBikeSetupAck", 4, 0, 0, 0, NetHandler::Client, true},
    {NetMsgType::MsgAllBikeSetups, "MsgAllBikeSetups", 8, 1096, 26, 500, NetHandler::Client, false},
    {NetMsgType::MsgAllBikeSetupsAck, "MsgAllBikeSetupsAck", 4, 0, 0, 0, NetHandler::Host, false},
    {NetMsgType::MsgSetupRequestAck, "MsgSetupRequestAck", 4, 0, 0, 500, NetHandler::Host, false},
    {NetMsgType::MsgSetupRequest, "MsgSetupRequest", 4, 0, 0, 500, NetHandler::Client, false},
    {NetMsgType::MsgInputFrames, "MsgInputFrames", 20, 0, 0, 0, NetHandler::Everyone, false},
    {NetMsgType::MsgInputResendRequest, "MsgInputResendRequest", 8, 0, 0, 0, NetHandler::Everyone,
     true},
    {NetMsgType::MsgHostStatus, "MsgHostStatus", 212, 0, 0, 0, NetHandler::Client, false},
    {NetMsgType::MsgAliveReply, "MsgAliveReply", 4, 0, 0, 0, NetHandler::Nobody, false},
    {NetMsgType::MsgServerQuery, "MsgServerQuery", 8, 0, 0, 120, NetHandler::Host, false},
    {NetMsgType::MsgServerInfo, "MsgServerInfo", 104, 0, 0, 0, NetHandler::Everyone, false},
    {NetMsgType::MsgPeerReady, "MsgPeerReady", 4, 0, 0, 0, NetHandler::Host, true},
    {NetMsgType::MsgRaceResultAck, "MsgRaceResultAck", 4, 0, 0, 0, NetHandler::Host, false},
    {NetMsgType::MsgRiderRetire, "MsgRiderRetire", 4, 0, 0, 500, NetHandler::Everyone, false},
    {NetMsgType::MsgRiderRetireAck, "MsgRiderRetireAck", 4, 0, 0, 0, NetHandler::Everyone, true},
    {NetMsgType::MsgUnused245, "MsgUnused245", 4, 0, 0, 500, NetHandler::Nobody, false},
    {NetMsgType::MsgUnused246, "MsgUnused246", 4, 0, 0, 0, NetHandler::Nobody, true},
    {NetMsgType::MsgClientLeave, "MsgClientLeave", 4, 0, 0, 500, NetHandler::Everyone, false},
    {NetMsgType::MsgClientLeaveAck, "MsgClientLeaveAck", 4, 0, 0, 0, NetHandler::Everyone, true},
    {NetMsgType::MsgSessionClose, "MsgSessionClose", 4, 0, 0, 500, NetHandler::Client, false},
    {NetMsgType::MsgSessionCloseAck, "MsgSessionCloseAck", 4, 0, 0, 0, NetHandler::Host, true},
    {NetMsgType::MsgReadyToStart, "MsgReadyToStart", 4, 0, 0, 1000, NetHandler::Host, false},
    {NetMsgType::MsgReadyToStartAck, "MsgReadyToStartAck", 4, 0, 0, 0, NetHandler::Client, true},
    {NetMsgType::MsgRaceStart, "MsgRaceStart", 8, 0, 0, 1000, NetHandler::Client, false},
    {NetMsgType::MsgRaceResult, "MsgRaceResult", 368, 0, 0, 500, NetHandler::Client, false},
}};

// The entry of a type byte; nullptr for a byte that names no message.
constexpr const NetMsgInfo* FindNetMsg(uint8_t type)
{
    for (const NetMsgInfo& info : kNetMessages)
    {
        if (static_cast<uint8_t>(info.type) == type)
        {
            return &info;
        }
    }
    return nullptr;
}

constexpr const NetMsgInfo& NetMsg(NetMsgType type)
{
    return *FindNetMsg(static_cast<uint8_t>(type));
}

// The longest datagram a type is sent as.
constexpr size_t MaxNetMsgLength(const NetMsgInfo& info)
{
    return size_t{info.length} + size_t{info.blockLength} * info.maxBlocks;
}

// Before a machine is in a session it handles only the join and server-search messages.
constexpr bool IsHandledOutsideSession(NetMsgType type)
{
    return type == NetMsgType::MsgJoinRequest || type == NetMsgType::MsgJoinAccept ||
           type == NetMsgType::MsgJoinReject || type == NetMsgType::MsgServerQuery ||
           type == NetMsgType::MsgServerInfo;
}

static_assert(MaxNetMsgLength(NetMsg(NetMsgType::MsgStateCheck)) == 9788);
static_assert(MaxNetMsgLength(NetMsg(NetMsgType::MsgAllBikeSetups)) == 28504);
