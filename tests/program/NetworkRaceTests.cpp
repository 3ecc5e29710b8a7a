// The game's network race on a host alone in its session: it lines up, enters its field and
// starts at once, without waiting and without a datagram.

#include <gtest/gtest.h>

#include <memory>

#include "program/NetworkRace.h"
#include "race/RaceContext.h"
#include "tests/net/NetTestWorld.h"

namespace
{
constexpr uint32_t kPlayerAtControls = 0;
constexpr uint32_t kComputerRider = 8;

// The session hands the line-up and what comes in the race to the game's race, as the game's
// link does; set-ups stay the test machine's.
class RaceLink final : public NetRace
{
public:
    RaceLink(TestNetMachine& machine, NetworkRace& race) : machine_(machine), race_(race) {}

    NetName DefaultRiderName(uint32_t rider, BikeClass bikeClass) const override
    {
        return machine_.DefaultRiderName(rider, bikeClass);
    }
    void RetireRider(uint32_t rider) override { race_.RetireRider(rider); }
    bool IsRiderRacing(uint32_t rider) const override { return race_.IsRiderRacing(rider); }
    void TakeLineup(const RaceLineup& lineup) override { race_.TakeLineup(lineup); }
    void TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup) override
    {
        machine_.TakeBikeSetup(rider, setup);
    }
    void GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const override
    {
        machine_.GiveBikeSetup(rider, setup);
    }
    void TakeStateCheck(const StateCheckView& check) override { race_.TakeStateCheck(check); }
    void TakeRaceResult(const RaceResult& result) override { race_.TakeRaceResult(result); }

private:
    TestNetMachine& machine_;
    NetworkRace& race_;
};
}  // namespace

TEST(NetworkRace, AHostAloneLinesUpAndStartsAtOnceWithoutTraffic)
{
    NetTestWorld world;
    NetTestWorld::Machine& host = world.Add(0, "Host");
    host.link.settings.SetU32At(MenuState::kNetworkRiderCountOffset, 4);
    NetworkRace race(host.session, host.link);
    RaceLink link(host.link, race);
    host.session.Attach(host.link, link, *host.network);
    ASSERT_TRUE(host.lobby.StartHosting());
    ASSERT_TRUE(host.lobby.ConfirmRider());
    ASSERT_TRUE(host.lobby.StartSession());
    const uint64_t sent = world.Hub().DatagramsSent();
    const uint32_t now = world.NowMs();
    auto context = std::make_unique<RaceContext>();

    ASSERT_TRUE(race.LineUp(*context, 0));
    ASSERT_TRUE(race.Start());

    EXPECT_EQ(world.NowMs(), now) << "nothing waited";
    EXPECT_EQ(world.Hub().DatagramsSent(), sent) << "nothing sent";
    EXPECT_TRUE(host.session.RaceStarted());
    // The host's rider at its controls, the computer on the other three of the 4.
    EXPECT_EQ(context->current.riderCount, 4u);
    EXPECT_EQ(context->bikes[0].raceStatus, kPlayerAtControls);
    for (const uint32_t rider : {1u, 2u, 3u})
    {
        EXPECT_EQ(context->bikes[rider].raceStatus, kComputerRider) << rider;
        EXPECT_TRUE(race.IsRiderRacing(rider)) << rider;
    }
    EXPECT_TRUE(context->bikes[4].IsInactive());
    EXPECT_EQ(race.OtherPlayers(), 0u);
}
