#include "tests/net/NetDatagramCases.h"

#include <random>

#include "core/util/LittleEndian.h"

namespace
{
NetPacketHeader Header(NetMsgType type, uint8_t sender, uint8_t target)
{
    return {static_cast<uint8_t>(type), target, sender};
}

Datagram Sized(NetMsgType type, size_t length = 0)
{
    return Datagram(length != 0 ? length : MaxNetMsgLength(NetMsg(type)));
}

NetCalendar TwoRaceCalendar()
{
    NetCalendar calendar;
    calendar.circuits.fill(-1);
    calendar.circuits[0] = 3;
    calendar.circuits[1] = 15;
    calendar.pressure.fill(1013);
    return calendar;
}

Datagram LobbyDatagram(NetMsgType type, const NetPacketHeader& header, uint32_t address)
{
    Datagram out = Sized(type);
    size_t length = 0;
    switch (type)
    {
        case NetMsgType::MsgJoinRequest:
            length = WriteJoinRequest(out, header, {address, 3, 0, NetName("Joiner")});
            break;
        case NetMsgType::MsgJoinAccept:
        {
            JoinAccept accept{0, address, MakeIpv4(10, 0, 0, 1), 3, 3, 1, 2, 3, 2, {}};
            accept.calendar = TwoRaceCalendar();
            length = WriteJoinAccept(out, header, accept);
            break;
        }
        case NetMsgType::MsgJoinReject:
            length = WriteJoinReject(out, header, {address, JoinRefusal::SessionFull});
            break;
        case NetMsgType::MsgRejoinRequest:
            length = WriteRejoinRequest(out, header, {address, 3});
            break;
        case NetMsgType::MsgPlayerRoster:
        {
            PlayerRoster roster;
            roster.states.fill(-1);
            for (uint32_t slot = 0; slot < 3; ++slot)
            {
                roster.states[slot] = 1;
                roster.names[slot] = NetName("Player " + std::to_string(slot));
            }
            length = WritePlayerRoster(out, header, roster);
            break;
        }
        case NetMsgType::MsgPlayerName:
            length = WritePlayerName(out, header, NetName("Renamed"));
            break;
        case NetMsgType::MsgSlotChangeRequest:
            length = WriteSlotChangeRequest(out, header, 5);
            break;
        case NetMsgType::MsgSlotChangeReply:
            length = WriteSlotChangeReply(out, header, 5);
            break;
        case NetMsgType::MsgRiderRoster:
        case NetMsgType::MsgRaceEntryList:
        {
            LobbyRoster roster;
            roster.count = 3;
            roster.entries[1] = {NetName("Second"), 1};
            length = WriteLobbyRoster(out, header, roster);
            break;
        }
        case NetMsgType::MsgRiderChoice:
            length = WriteRiderChoice(out, header, {4, {true, false, true}});
            break;
        case NetMsgType::MsgSessionReply:
            length = WriteSessionReply(out, header, true);
            break;
        case NetMsgType::MsgServerInfo:
        {
            ServerInfo info;
            info.sessionState = 0;
            info.requester = address;
            info.hostAddress = MakeIpv4(10, 0, 0, 1);
            info.serverName = NetName("Server1");
            info.settings = {1, 1, 0, 0, 3, 0, 25};
            info.circuits = TwoRaceCalendar().circuits;
            length = WriteServerInfo(out, header, info);
            break;
        }
        case NetMsgType::MsgRaceLineupAck:
        case NetMsgType::MsgRejoinAccept:
        case NetMsgType::MsgRejoinReject:
        case NetMsgType::MsgServerQuery:
            length = WriteAddressMessage(out, header, address);
            break;
        default:
            return {};
    }
    out.resize(length);
    return out;
}

Datagram RaceDatagram(NetMsgType type, const NetPacketHeader& header)
{
    Datagram out = Sized(type);
    size_t length = 0;
    std::array<uint8_t, kBikeSetupBytes> setup{};
    setup[4] = 0x3F;
    switch (type)
    {
        case NetMsgType::MsgRaceLineup:
        {
            RaceLineup lineup;
            for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
            {
                lineup.gridPlusOne[slot] = static_cast<uint8_t>(slot + 1);
                lineup.riderChoice[slot] = slot;
                lineup.peers[slot].state = slot < 3 ? 1 : 0;
            }
            lineup.raceStartTick = 4000;
            lineup.randomTable.fill(0x1234);
            length = WriteRaceLineup(out, header, lineup);
            break;
        }
        case NetMsgType::MsgStateCheck:
        {
            const std::array<uint8_t, kStateBlockBytes> block{};
            WriteStateCheckHead(out, header, 8, 1);
            WriteStateCheckEntry(out, 0, 0, block);
            WriteStateCheckEntry(out, 1, 2, block);
            length = StateCheckLength(1);
            break;
        }
        case NetMsgType::MsgBikeSetup:
            length = WriteBikeSetup(out, header, setup);
            break;
        case NetMsgType::MsgAllBikeSetups:
            WriteAllBikeSetupsHead(out, header, 2);
            WriteAllBikeSetupsBlock(out, 0, 0, setup);
            WriteAllBikeSetupsBlock(out, 1, 1, setup);
            length = AllBikeSetupsLength(2);
            break;
        case NetMsgType::MsgInputFrames:
            length = WriteInputFrames(out, header,
                                      {10, {{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}}});
            break;
        case NetMsgType::MsgInputResendRequest:
            length = WriteInputResendRequest(out, header, 1);
            break;
        case NetMsgType::MsgHostStatus:
        {
            HostStatus status;
            status.silent.fill(-1);
            status.droppedAtFrame.fill(-1);
            length = WriteHostStatus(out, header, status);
            break;
        }
        case NetMsgType::MsgRaceStart:
            length = WriteRaceStart(out, header, 0);
            break;
        case NetMsgType::MsgRaceResult:
        {
            RaceResult result;
            for (uint32_t place = 0; place < kNetSlotCount; ++place)
            {
                result.riderAtPlace[place] = place;
                result.sessionTimes[place] = 100.0f + static_cast<float>(place);
            }
            length = WriteRaceResult(out, header, result);
            break;
        }
        default:
            length = WriteHeaderOnly(out, header);
            break;
    }
    out.resize(length);
    return out;
}

// Values that sit on the edges of what fields mean: slots, counts, frames, signs.
constexpr uint32_t kEdgeWords[] = {0,          1,          2,          17,        18,     25,
                                   26,         27,         255,        256,       0x7FFF, 0x8000,
                                   0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
constexpr uint8_t kEdgeBytes[] = {0, 1, 2, 17, 18, 25, 26, 0x7F, 0x80, 0xFD, 0xFE, 0xFF};
}  // namespace

Datagram ValidDatagram(NetMsgType type, uint8_t sender, uint8_t target, uint32_t address)
{
    const NetPacketHeader header = Header(type, sender, target);
    Datagram lobby = LobbyDatagram(type, header, address);
    return !lobby.empty() ? lobby : RaceDatagram(type, header);
}

bool IsWellFormedNetDatagram(std::span<const uint8_t> datagram)
{
    const std::optional<NetPacketHeader> header = ReadNetHeader(datagram);
    const NetMsgInfo* info = header ? FindNetMsg(header->type) : nullptr;
    if (info == nullptr)
    {
        return false;
    }
    switch (info->type)
    {
        case NetMsgType::MsgRaceLineup:
            return ParseRaceLineup(datagram).has_value();
        case NetMsgType::MsgRaceLineupAck:
        case NetMsgType::MsgRejoinAccept:
        case NetMsgType::MsgRejoinReject:
        case NetMsgType::MsgServerQuery:
            return ParseAddressMessage(datagram, info->type).has_value();
        case NetMsgType::MsgJoinRequest:
            return ParseJoinRequest(datagram).has_value();
        case NetMsgType::MsgJoinAccept:
            return ParseJoinAccept(datagram).has_value();
        case NetMsgType::MsgJoinReject:
            return ParseJoinReject(datagram).has_value();
        case NetMsgType::MsgRejoinRequest:
            return ParseRejoinRequest(datagram).has_value();
        case NetMsgType::MsgPlayerRoster:
            return ParsePlayerRoster(datagram).has_value();
        case NetMsgType::MsgPlayerName:
            return ParsePlayerName(datagram).has_value();
        case NetMsgType::MsgSlotChangeRequest:
            return ParseSlotChangeRequest(datagram).has_value();
        case NetMsgType::MsgSlotChangeReply:
            return ParseSlotChangeReply(datagram).has_value();
        case NetMsgType::MsgRiderRoster:
        case NetMsgType::MsgRaceEntryList:
            return ParseLobbyRoster(datagram, info->type).has_value();
        case NetMsgType::MsgRiderChoice:
            return ParseRiderChoice(datagram).has_value();
        case NetMsgType::MsgSessionReply:
            return ParseSessionReply(datagram).has_value();
        case NetMsgType::MsgStateCheck:
            return StateCheckView::Parse(datagram).has_value();
        case NetMsgType::MsgBikeSetup:
            return ParseBikeSetup(datagram).has_value();
        case NetMsgType::MsgAllBikeSetups:
            return AllBikeSetupsView::Parse(datagram).has_value();
        case NetMsgType::MsgInputFrames:
            return ParseInputFrames(datagram).has_value();
        case NetMsgType::MsgInputResendRequest:
            return ParseInputResendRequest(datagram).has_value();
        case NetMsgType::MsgHostStatus:
            return ParseHostStatus(datagram).has_value();
        case NetMsgType::MsgServerInfo:
            return ParseServerInfo(datagram).has_value();
        case NetMsgType::MsgRaceStart:
            return ParseRaceStart(datagram).has_value();
        case NetMsgType::MsgRaceResult:
            return ParseRaceResult(datagram).has_value();
        default:
            return datagram.size() == kNetHeaderSize;
    }
}

std::vector<Datagram> MalformedVariants(NetMsgType type, size_t count, uint32_t seed)
{
    const Datagram valid = ValidDatagram(type, 1, kNetAllSlots, MakeIpv4(10, 0, 0, 2));
    const NetMsgInfo& info = NetMsg(type);
    std::vector<Datagram> variants;
    // Lengths around the type's.
    for (const size_t length :
         {size_t{0}, size_t{1}, size_t{2}, size_t{3}, kNetHeaderSize, valid.size() - 1,
          valid.size() + 1, valid.size() + 4, size_t{info.length} + info.blockLength / 2,
          kNetReceiveBufferSize, kNetReceiveBufferSize + 1})
    {
        Datagram resized = valid;
        resized.resize(length);
        variants.push_back(resized);
    }
    // Header bytes: the zero byte set, every kind of sender and target.
    for (const uint8_t value : kEdgeBytes)
    {
        for (const size_t at : {size_t{1}, size_t{2}, size_t{3}})
        {
            Datagram damaged = valid;
            damaged[at] = value;
            variants.push_back(damaged);
        }
    }
    std::mt19937 random(seed);
    const auto below = [&](size_t limit) { return static_cast<size_t>(random() % limit); };
    while (variants.size() < count)
    {
        Datagram damaged = valid;
        const size_t payload = damaged.size() - kNetHeaderSize;
        switch (payload == 0 ? 3 : below(4))
        {
            case 0:  // an edge value in a word of the body
                if (payload >= 4)
                {
                    StoreLe32(&damaged[kNetHeaderSize + below(payload - 3)],
                              kEdgeWords[below(std::size(kEdgeWords))]);
                }
                break;
            case 1:  // an edge value in a byte of the body
                damaged[kNetHeaderSize + below(payload)] = kEdgeBytes[below(std::size(kEdgeBytes))];
                break;
            case 2:  // noise over a few bytes
                for (size_t byte = below(6) + 1; byte > 0; --byte)
                {
                    damaged[below(damaged.size())] = static_cast<uint8_t>(random());
                }
                break;
            default:  // cut or grown, with a changed type byte now and then
                damaged.resize(below(valid.size() + 64) + 1);
                if (below(4) == 0)
                {
                    damaged[0] = static_cast<uint8_t>(random());
                }
                break;
        }
        variants.push_back(std::move(damaged));
    }
    variants.resize(count);
    return variants;
}

std::string RoleName(NetRole role)
{
    switch (role)
    {
        case NetRole::HostInLobby:
            return "HostInLobby";
        case NetRole::HostRunning:
            return "HostRunning";
        case NetRole::ClientOutsideSession:
            return "ClientOutsideSession";
        case NetRole::ClientInLobby:
            return "ClientInLobby";
        case NetRole::ClientInRace:
            return "ClientInRace";
    }
    return "?";
}

RoleWorld::RoleWorld(NetRole role)
{
    if (!world_.HostWithClients(2))
    {
        return;
    }
    NetTestWorld::Machine& host = world_.At(0);
    NetTestWorld::Machine& client = world_.At(1);
    if (role == NetRole::HostRunning || role == NetRole::ClientInRace)
    {
        for (size_t index = 0; index < 3; ++index)
        {
            if (!world_.At(index).lobby.ConfirmRider())
            {
                return;
            }
        }
        if (!host.lobby.StartSession() || !host.session.StartRaceAsHost() ||
            !client.session.WaitForRaceStart())
        {
            return;
        }
    }
    switch (role)
    {
        case NetRole::HostInLobby:
        case NetRole::HostRunning:
            target_ = &host;
            break;
        case NetRole::ClientInLobby:
            target_ = &client;
            break;
        case NetRole::ClientInRace:
            target_ = &client;
            target_->link.lockstep = &lockstep_;
            break;
        case NetRole::ClientOutsideSession:
            target_ = &world_.Add(7, "Outsider");
            target_->session.SetHost(false);
            if (!target_->session.Startup())
            {
                return;
            }
            target_->session.SetActive(true);
            target_->session.SetPort(host.session.Port());
            if (!target_->session.OpenSocket())
            {
                return;
            }
            break;
    }
    // From now on the target hears the injector alone, and only the target hears it.
    const uint32_t injectorAddress = MakeIpv4(10, 0, 0, 200);
    const LinkConditions cut{0, 0, 0, 0, true};
    for (size_t index = 0; index < world_.Count(); ++index)
    {
        if (&world_.At(index) != target_)
        {
            world_.Hub().SetLinkConditions(world_.At(index).address, target_->address, cut);
            world_.Hub().SetLinkConditions(injectorAddress, world_.At(index).address, cut);
        }
    }
    injectorNetwork_ = world_.Hub().AddMachine(injectorAddress);
    injector_ = injectorNetwork_->OpenBroadcastSocket(UdpPortOf(target_->session.Port()));
    for (int drain = 0; drain < 100; ++drain)
    {
        target_->session.Receive();
    }
    ready_ = injector_ != nullptr;
}

void RoleWorld::Inject(std::span<const uint8_t> datagram)
{
    injector_->Broadcast(datagram);
    // Its own answers come back to it as well; they are taken in the same step.
    for (int drain = 0; drain < 4; ++drain)
    {
        target_->session.Receive();
    }
}

std::string BrokenInvariant(const NetSessionSnapshot& snapshot)
{
    for (const NetSessionSnapshot::Peer& peer : snapshot.peers)
    {
        const auto state = static_cast<int32_t>(peer.state);
        if (state < -2 || state > 1)
        {
            return "a peer state of " + std::to_string(state);
        }
    }
    const auto sessionState = static_cast<int32_t>(snapshot.sessionState);
    if (sessionState < -1 || sessionState > 1)
    {
        return "session state " + std::to_string(sessionState);
    }
    if (snapshot.ownSlot >= kNetSlotCount || snapshot.hostSlot >= kNetSlotCount)
    {
        return "own slot " + std::to_string(snapshot.ownSlot) + ", host slot " +
               std::to_string(snapshot.hostSlot);
    }
    if (snapshot.inputDelay < 1 || snapshot.inputDelay > kMaxNetInputDelay)
    {
        return "input delay " + std::to_string(snapshot.inputDelay);
    }
    if (snapshot.lobbyRoster.count > kNetSlotCount)
    {
        return "roster of " + std::to_string(snapshot.lobbyRoster.count);
    }
    for (const uint32_t type : {snapshot.pendingType, snapshot.failedType})
    {
        const NetMsgInfo* info = FindNetMsg(static_cast<uint8_t>(type));
        if (type != 0 && (type > 0xFF || info == nullptr))
        {
            return "request type " + std::to_string(type);
        }
    }
    for (const uint32_t choice : snapshot.riderChoices)
    {
        if (choice >= kNetSlotCount)
        {
            return "rider choice " + std::to_string(choice);
        }
    }
    for (const ServerListEntry& entry : snapshot.serverList)
    {
        if (entry.sessionState < -1 || entry.sessionState > 1 || entry.settings.bikeClass > 2)
        {
            return "a server entry out of range";
        }
    }
    return {};
}
