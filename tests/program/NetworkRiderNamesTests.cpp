// The computer's names of a network session's slots: a slot a player leaves takes back the name
// its rider has in the class's rider profiles, on the host and on every other player's list.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/NetSettings.h"
#include "program/ClassRiderNames.h"
#include "race/RiderProfileFile.h"
#include "tests/net/NetTestWorld.h"
#include "tests/support/TestDirectory.h"

namespace
{
void SetName(std::array<char, RiderProfile::kNameSize>& field, const std::string& text)
{
    field.fill('\0');
    std::copy(text.begin(), text.end(), field.begin());
}

// The class's rider file with riders 0..2 named.
void WriteRiderFile(const TestDirectory& directory, BikeClass bikeClass)
{
    std::vector<RiderProfile> profiles(3);
    const std::array<std::pair<std::string, std::string>, 3> names = {
        {{"Bruno", "Haller"}, {"Anton", "Kiesel"}, {"Carla", "Brenner"}}};
    for (size_t rider = 0; rider < profiles.size(); ++rider)
    {
        SetName(profiles[rider].firstName, names[rider].first);
        SetName(profiles[rider].lastName, names[rider].second);
    }
    const std::vector<uint8_t> bytes = EncodeRiderProfiles(profiles);
    directory.WriteFile("Bikedaten/Fahrerdaten" + std::to_string(ToIndex(bikeClass)) + ".tst",
                        std::string(bytes.begin(), bytes.end()));
}

// The host's race with the game's names of the computer riders; the rest is the test machine's.
class ProfileNamedRace final : public ForwardingNetRace
{
public:
    explicit ProfileNamedRace(TestNetMachine& machine) : ForwardingNetRace(machine) {}

    NetName DefaultRiderName(uint32_t rider, BikeClass bikeClass) const override
    {
        return names_.Of(rider, bikeClass);
    }

private:
    ClassRiderNames names_;
};

bool Join(NetTestWorld::Machine& machine)
{
    const std::vector<LobbyServerRow> servers = machine.lobby.SearchServers();
    return !servers.empty() && machine.lobby.JoinServer(servers.front());
}
}  // namespace

TEST(NetworkRiderNames, ASlotItsPlayerLeftTakesItsRidersNameFromTheClassProfiles)
{
    TestDirectory directory;
    NetTestWorld world;
    NetTestWorld::Machine& host = world.Add(0, "Host");
    const BikeClass bikeClass = ReadNetSessionSettings(host.link.settings).bikeClass;
    WriteRiderFile(directory, bikeClass);
    ProfileNamedRace race(host.link);
    host.session.Attach(host.link, race, *host.network);
    ASSERT_TRUE(host.lobby.StartHosting());
    NetTestWorld::Machine& leaving = world.Add(1, "Client 1");
    NetTestWorld::Machine& staying = world.Add(2, "Client 2");
    ASSERT_TRUE(Join(leaving));
    ASSERT_TRUE(Join(staying));
    EXPECT_EQ(host.session.RiderName(1).View(), "Client 1");

    leaving.lobby.Leave();
    world.RunMs(100);
    ASSERT_TRUE(staying.lobby.Update());
    EXPECT_EQ(host.session.PeerState(1), NetPeerState::Empty);
    EXPECT_EQ(host.session.RiderName(1).View(), "Anton Kiesel");
    EXPECT_EQ(staying.lobby.Players()[1].name.View(), "Anton Kiesel");
    EXPECT_FALSE(staying.lobby.Players()[1].player);
    // A rider the class's file does not name has no name.
    EXPECT_EQ(host.session.RiderName(5).View(), "");
}

TEST(NetworkRiderNames, AClassWithoutRiderFileHasNoNames)
{
    const TestDirectory directory;
    const ClassRiderNames names;
    EXPECT_EQ(names.Of(1, BikeClass::Class125).View(), "");
    EXPECT_EQ(names.Of(26, BikeClass::Class125).View(), "");
}
