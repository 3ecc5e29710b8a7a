// The message catalogue: what the protocol fixes per type, the byte layouts, and the datagrams
// every parser refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <ostream>
#include <set>

#include "core/util/LittleEndian.h"
#include "tests/net/NetDatagramCases.h"

namespace
{
std::set<int> TypesWhere(const std::function<bool(const NetMsgInfo&)>& test)
{
    std::set<int> types;
    for (const NetMsgInfo& info : kNetMessages)
    {
        if (test(info))
        {
            types.insert(static_cast<int>(info.type));
        }
    }
    return types;
}

TEST(NetCatalogue, FixesLengthsResendsAndHandlersPerType)
{
    EXPECT_EQ(TypesWhere([](const NetMsgInfo& info) { return info.length == 4; }),
              (std::set<int>{34,  42,  43,  46,  61,  63,  70,  71,  121, 241, 242,
                             243, 244, 245, 246, 247, 248, 249, 250, 251, 252}));
    EXPECT_EQ(TypesWhere([](const NetMsgInfo& info) { return info.resendMs != 0; }),
              (std::set<int>{10, 20, 23,  31,  32,  41,  43,  45,  60,  62,
                             70, 71, 200, 243, 245, 247, 249, 251, 253, 254}));
    EXPECT_EQ(TypesWhere([](const NetMsgInfo& info) { return info.resendMs == 1000; }),
              (std::set<int>{10, 20, 23, 251, 253}));
    EXPECT_EQ(NetMsg(NetMsgType::MsgServerQuery).resendMs, 120);
    EXPECT_EQ(TypesWhere([](const NetMsgInfo& info) { return IsHandledOutsideSession(info.type); }),
              (std::set<int>{20, 21, 22, 200, 201}));
    EXPECT_EQ(TypesWhere([](const NetMsgInfo& info) { return info.targeted; }),
              (std::set<int>{33, 34, 42, 44, 61, 102, 241, 244, 246, 248, 250, 252}));
    const std::pair<NetMsgType, size_t> lengths[] = {
        {NetMsgType::MsgRaceLineup, 1520}, {NetMsgType::MsgJoinRequest, 36},
        {NetMsgType::MsgJoinAccept, 152},  {NetMsgType::MsgPlayerRoster, 550},
        {NetMsgType::MsgRiderRoster, 636}, {NetMsgType::MsgBikeSetup, 1096},
        {NetMsgType::MsgHostStatus, 212},  {NetMsgType::MsgServerInfo, 104},
        {NetMsgType::MsgRaceResult, 368},  {NetMsgType::MsgInputFrames, 20}};
    for (const auto& [type, length] : lengths)
    {
        EXPECT_EQ(ValidDatagram(type, 0, kNetAllSlots, 0).size(), length) << NetMsg(type).name;
    }
    EXPECT_EQ(StateCheckLength(0), 388u);
    EXPECT_EQ(StateCheckLength(25), 9788u);
    EXPECT_EQ(AllBikeSetupsLength(26), 28504u);
    EXPECT_LE(AllBikeSetupsLength(26), kNetReceiveBufferSize);
}

TEST(NetCatalogue, PutsThePortOnTheSocketWithItsBytesExchanged)
{
    EXPECT_EQ(UdpPortOf(kNetDefaultPort), 24647);
    const uint16_t probes[] = {20551, 20807, 21063, 21319, 21575, 21831, 22087, 22343};
    for (uint16_t port = 0; port < kNetProbePorts; ++port)
    {
        EXPECT_EQ(UdpPortOf(kNetFirstProbePort + port), probes[port]);
    }
}

TEST(NetCatalogue, EveryValidDatagramIsTakenAndKeepsItsHeader)
{
    for (const NetMsgInfo& info : kNetMessages)
    {
        const Datagram datagram = ValidDatagram(info.type, 7, 3, MakeIpv4(1, 2, 3, 4));
        EXPECT_TRUE(IsWellFormedNetDatagram(datagram)) << info.name;
        const std::optional<NetPacketHeader> header = ReadNetHeader(datagram);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->type, static_cast<uint8_t>(info.type));
        EXPECT_EQ(datagram[1], 0) << info.name;
        EXPECT_EQ(header->target, 3);
        EXPECT_EQ(header->sender, 7);
    }
}

TEST(NetCatalogue, WritesTheJoinAnswerFieldByField)
{
    JoinAccept accept{4, MakeIpv4(192, 168, 0, 9), MakeIpv4(192, 168, 0, 1), 11, 5, 2, 1, 12, 3,
                      {}};
    accept.calendar.circuits.fill(-1);
    accept.calendar.circuits[0] = 17;
    accept.calendar.weather[17] = 2;
    accept.calendar.humidity[0] = 80;
    accept.calendar.temperature[1] = 21;
    accept.calendar.pressure[17] = 0x1234;
    Datagram out(152);
    ASSERT_EQ(WriteJoinAccept(out, {0, kNetAllSlots, 4}, accept), 152u);
    EXPECT_EQ(out[0], 21);
    EXPECT_EQ(LoadLe32(&out[4]), 4u);
    EXPECT_EQ(out[8], 192) << "addresses go in network order";
    EXPECT_EQ(out[11], 9);
    EXPECT_EQ(LoadLe32(&out[16]), 11u);
    EXPECT_EQ(LoadLe32(&out[36]), 3u);
    EXPECT_EQ(out[40 + 17], 2);
    EXPECT_EQ(out[58], 80);
    EXPECT_EQ(out[76 + 1], 21);
    EXPECT_EQ(LoadLe16(&out[94 + 34]), 0x1234);
    EXPECT_EQ(out[130], 17);
    EXPECT_EQ(out[131], 0xFF);
    EXPECT_EQ(out[149] | out[150] | out[151], 0);
    const std::optional<JoinAccept> back = ParseJoinAccept(out);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->calendar, accept.calendar);
    EXPECT_EQ(back->assignedSlot, 11u);
}

TEST(NetCatalogue, WritesTheRaceMessagesFieldByField)
{
    RaceLineup lineup;
    lineup.gridPlusOne[25] = 26;
    lineup.riderChoice[1] = 24;
    lineup.human[2] = 1;
    lineup.firstAid[3] = 1;
    lineup.thirdAid[4] = 1;
    lineup.secondAid[5] = 1;
    lineup.peers[6] = {MakeIpv4(10, 0, 0, 7), -2};
    lineup.raceStartTick = 4000;
    lineup.randomTable[259] = 0x7FFF;
    Datagram out(1520);
    WriteRaceLineup(out, {0, kNetAllSlots, 0}, lineup);
    EXPECT_EQ(out[4 + 25], 26);
    EXPECT_EQ(LoadLe32(&out[32 + 4]), 24u);
    EXPECT_EQ(out[136 + 2], 1);
    EXPECT_EQ(out[188 + 3], 1);
    EXPECT_EQ(out[214 + 4], 1);
    EXPECT_EQ(out[240 + 5], 1);
    EXPECT_EQ(out[268 + 48], 10);
    EXPECT_EQ(static_cast<int32_t>(LoadLe32(&out[268 + 52])), -2);
    EXPECT_EQ(LoadLe32(&out[476]), 4000u);
    EXPECT_EQ(LoadLe32(&out[480 + 4 * 259]), 0x7FFFu);

    RaceResult result{};
    result.riderAtPlace[0] = 12;
    result.sessionTimes[1] = 93.5f;
    result.sessionRanks[2] = -3;
    result.fourthValue[25] = 77;
    Datagram resultOut(368);
    WriteRaceResult(resultOut, {0, kNetAllSlots, 0}, result);
    EXPECT_EQ(LoadLe32(&resultOut[4]), 12u);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&resultOut[112])), 93.5f);
    EXPECT_EQ(static_cast<int16_t>(LoadLe16(&resultOut[216])), -3);
    EXPECT_EQ(LoadLe32(&resultOut[264 + 100]), 77u);

    const Datagram check = ValidDatagram(NetMsgType::MsgStateCheck, 0, kNetAllSlots, 0);
    const std::optional<StateCheckView> view = StateCheckView::Parse(check);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->Tick(), 8u);
    EXPECT_EQ(view->EntryCount(), 2u);
    EXPECT_EQ(view->Rider(1), 2u);
}

TEST(NetCatalogue, NamesEndWithinTheirField)
{
    EXPECT_EQ(NetName("A name far longer than twenty bytes").View(), "A name far longer t");
    Datagram datagram = ValidDatagram(NetMsgType::MsgPlayerName, 1, kNetAllSlots, 0);
    std::fill(datagram.begin() + 4, datagram.end(), uint8_t{'x'});
    const std::optional<NetName> name = ParsePlayerName(datagram);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->View(), std::string(19, 'x'));
}

struct RefusedCase
{
    std::string name;
    NetMsgType type;
    std::function<void(Datagram&)> damage;
};

void PrintTo(const RefusedCase& refused, std::ostream* out)
{
    *out << refused.name;
}

class RefusedDatagramTest : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedDatagramTest, IsNotTaken)
{
    Datagram datagram = ValidDatagram(GetParam().type, 1, kNetAllSlots, 0);
    ASSERT_TRUE(IsWellFormedNetDatagram(datagram));
    GetParam().damage(datagram);
    EXPECT_FALSE(IsWellFormedNetDatagram(datagram));
}

std::function<void(Datagram&)> Word(size_t offset, uint32_t value)
{
    return [=](Datagram& datagram) { StoreLe32(&datagram[offset], value); };
}

std::function<void(Datagram&)> Byte(size_t offset, uint8_t value)
{
    return [=](Datagram& datagram) { datagram[offset] = value; };
}

std::function<void(Datagram&)> Resize(int change)
{
    return [=](Datagram& datagram) { datagram.resize(datagram.size() + change); };
}

std::function<void(Datagram&)> NoEndMark(size_t offset)
{
    return [=](Datagram& datagram)
    { std::fill_n(datagram.begin() + static_cast<long>(offset), kNetCalendarEntries, 1); };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedDatagramTest,
    ::testing::Values(
        RefusedCase{"ShorterThanTheHeader", NetMsgType::MsgSessionClose, Resize(-1)},
        RefusedCase{"HeaderOnlyWithMore", NetMsgType::MsgSessionClose, Resize(1)},
        RefusedCase{"JoinRequestShort", NetMsgType::MsgJoinRequest, Resize(-1)},
        RefusedCase{"JoinRequestLong", NetMsgType::MsgJoinRequest, Resize(1)},
        RefusedCase{"JoinAcceptSlot26", NetMsgType::MsgJoinAccept, Word(16, 26)},
        RefusedCase{"JoinAcceptHostSlot26", NetMsgType::MsgJoinAccept, Word(4, 26)},
        RefusedCase{"JoinAcceptNoDelay", NetMsgType::MsgJoinAccept, Word(20, 0)},
        RefusedCase{"JoinAcceptDelayBeyondTheRing", NetMsgType::MsgJoinAccept, Word(20, 256)},
        RefusedCase{"JoinAcceptClass3", NetMsgType::MsgJoinAccept, Word(24, 3)},
        RefusedCase{"JoinAcceptStrength3", NetMsgType::MsgJoinAccept, Word(28, 3)},
        RefusedCase{"JoinAcceptCountdown4", NetMsgType::MsgJoinAccept, Word(36, 4)},
        RefusedCase{"JoinAcceptCircuit18", NetMsgType::MsgJoinAccept, Byte(130, 18)},
        RefusedCase{"JoinAcceptCalendarWithoutEnd", NetMsgType::MsgJoinAccept, NoEndMark(130)},
        RefusedCase{"JoinRejectReason2", NetMsgType::MsgJoinReject, Word(8, 2)},
        RefusedCase{"PlayerRosterState2", NetMsgType::MsgPlayerRoster, Byte(4, 2)},
        RefusedCase{"PlayerRosterStateMinus3", NetMsgType::MsgPlayerRoster, Byte(29, 0xFD)},
        RefusedCase{"SlotChangeTo26", NetMsgType::MsgSlotChangeRequest, Word(4, 26)},
        RefusedCase{"SlotGrantedMinus2", NetMsgType::MsgSlotChangeReply, Word(4, 0xFFFFFFFE)},
        RefusedCase{"RiderRosterOf27", NetMsgType::MsgRiderRoster, Word(8, 27)},
        RefusedCase{"EntryListOfAll", NetMsgType::MsgRaceEntryList, Word(8, 0xFFFFFFFF)},
        RefusedCase{"RiderChoice26", NetMsgType::MsgRiderChoice, Word(4, 26)},
        RefusedCase{"SessionReply2", NetMsgType::MsgSessionReply, Word(4, 2)},
        RefusedCase{"StateCheckCountNotItsLength", NetMsgType::MsgStateCheck, Word(8, 2)},
        RefusedCase{"StateCheckOf27", NetMsgType::MsgStateCheck, Word(8, 26)},
        RefusedCase{"StateCheckRider26", NetMsgType::MsgStateCheck, Word(12, 26)},
        RefusedCase{"StateCheckPartBlock", NetMsgType::MsgStateCheck, Resize(-4)},
        RefusedCase{"AllSetupsCountNotItsLength", NetMsgType::MsgAllBikeSetups, Word(4, 3)},
        RefusedCase{"AllSetupsSlot26", NetMsgType::MsgAllBikeSetups, Word(8, 26)},
        RefusedCase{"InputFramesNegative", NetMsgType::MsgInputFrames, Word(4, 0x80000000)},
        RefusedCase{"InputRequestNegative", NetMsgType::MsgInputResendRequest, Word(4, 0xFFFFFFFF)},
        RefusedCase{"ServerInfoState2", NetMsgType::MsgServerInfo, Word(4, 2)},
        RefusedCase{"ServerInfoClass7", NetMsgType::MsgServerInfo, Word(60, 7)},
        RefusedCase{"ServerInfoWeather5", NetMsgType::MsgServerInfo, Word(68, 5)},
        RefusedCase{"ServerInfo27Riders", NetMsgType::MsgServerInfo, Word(80, 27)},
        RefusedCase{"ServerInfoCalendarWithoutEnd", NetMsgType::MsgServerInfo, NoEndMark(84)},
        RefusedCase{"LineupGrid27", NetMsgType::MsgRaceLineup, Byte(4, 27)},
        RefusedCase{"LineupChoice26", NetMsgType::MsgRaceLineup, Word(32, 26)},
        RefusedCase{"LineupPeerState5", NetMsgType::MsgRaceLineup, Word(272, 5)},
        RefusedCase{"LineupRandomBeyondTheGenerator", NetMsgType::MsgRaceLineup, Word(480, 0x8000)},
        RefusedCase{"ResultRider26", NetMsgType::MsgRaceResult, Word(4, 26)}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });
}  // namespace
