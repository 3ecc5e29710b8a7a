// The game's network race on a host alone in its session: it lines up, enters its field and
// starts at once, without waiting and without a datagram, and from input rings of its own.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "kit/race/ClassSetups.h"
#include "program/NetworkRace.h"
#include "race/BikeSetupImage.h"
#include "race/RaceContext.h"
#include "tests/net/NetTestWorld.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr uint32_t kPlayerAtControls = 0;
constexpr uint32_t kComputerRider = 8;

// The session hands the line-up and what comes in the race to the game's race, as the game's
// link does; set-ups stay the test machine's.
class RaceLink final : public ForwardingNetRace
{
public:
    RaceLink(TestNetMachine& machine, NetworkRace& race) : ForwardingNetRace(machine), race_(race)
    {
    }

    void RetireRider(uint32_t rider) override { race_.RetireRider(rider); }
    bool IsRiderRacing(uint32_t rider) const override { return race_.IsRiderRacing(rider); }
    void TakeLineup(const RaceLineup& lineup) override { race_.TakeLineup(lineup); }
    void TakeStateCheck(const StateCheckView& check) override { race_.TakeStateCheck(check); }
    void TakeRaceResult(const RaceResult& result) override { race_.TakeRaceResult(result); }

private:
    NetworkRace& race_;
};
// A host alone in a running session of 4 riders, with the game's race.
class LoneHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The field's set-ups come with the line-up.
        const BikeSetupImage standard =
            EncodeBikeSetup(kit::ClassStandardSetup(BikeClass::Class125));
        directory_.WriteFile("Raddaten/125Std.rdf", std::string(standard.begin(), standard.end()));
        host_.link.settings.SetU32At(MenuState::kNetworkRiderCountOffset, 4);
        host_.session.Attach(host_.link, link_, *host_.network);
        ASSERT_TRUE(host_.lobby.StartHosting());
        ASSERT_TRUE(host_.lobby.ConfirmRider());
        ASSERT_TRUE(host_.lobby.StartSession());
    }

    TestDirectory directory_;
    NetTestWorld world_;
    NetTestWorld::Machine& host_ = world_.Add(0, "Host");
    NetworkRace race_{host_.session, host_.link};
    RaceLink link_{host_.link, race_};
    std::unique_ptr<RaceContext> context_ = std::make_unique<RaceContext>();
};
}  // namespace

TEST_F(LoneHostTest, LinesUpAndStartsAtOnceWithoutTraffic)
{
    const uint64_t sent = world_.Hub().DatagramsSent();
    const uint32_t now = world_.NowMs();

    ASSERT_TRUE(race_.LineUp(*context_, 0));
    ASSERT_TRUE(race_.Start());

    EXPECT_EQ(world_.NowMs(), now) << "nothing waited";
    EXPECT_EQ(world_.Hub().DatagramsSent(), sent) << "nothing sent";
    EXPECT_TRUE(host_.session.RaceStarted());
    // The host's rider at its controls, the computer on the other three of the 4.
    EXPECT_EQ(context_->current.riderCount, 4u);
    EXPECT_EQ(context_->bikes[0].raceStatus, kPlayerAtControls);
    for (const uint32_t rider : {1u, 2u, 3u})
    {
        EXPECT_EQ(context_->bikes[rider].raceStatus, kComputerRider) << rider;
        EXPECT_TRUE(race_.IsRiderRacing(rider)) << rider;
    }
    EXPECT_TRUE(context_->bikes[4].IsInactive());
    EXPECT_EQ(race_.OtherPlayers(), 0u);
}

TEST_F(LoneHostTest, InputsOfTheLastRaceStandInNoFrameOfTheNext)
{
    // A player's inputs of the last race's step 1563 came after it ended: their ring entry is
    // the one of step 27 (1563 modulo 256), which a newer step's would never replace.
    InputRing& ring = host_.session.InputRingOf(1);
    ring.Publish(1563, InputFrame{});

    ASSERT_TRUE(race_.LineUp(*context_, 0));

    EXPECT_EQ(ring.HeldStep(27), InputRing::kEmpty);
    EXPECT_TRUE(ring.Read(0).has_value()) << "the first steps primed";
}
