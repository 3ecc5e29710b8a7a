// The lobby pages driving sessions on an in-process network: a host sets up its session on
// the server page and the calendar, a client searches, joins, chooses a rider and waits, the
// host starts; the pages' frames on the game's screen.

#include <gtest/gtest.h>

#include <memory>

#include "app/device/RenderDevice.h"
#include "app/window/KeyListeners.h"
#include "frontend/netlobby/LobbyPageLayout.h"
#include "frontend/netlobby/LobbySettings.h"
#include "frontend/netlobby/NetLobbyPages.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "tests/frontend/toolkit/ToolkitScreen.h"
#include "tests/net/NetTestWorld.h"

namespace
{
using Machine = NetTestWorld::Machine;

// The pages of one machine, with their repaint lists.
struct Pages
{
    explicit Pages(Machine& machine)
        : pages(machine.lobby, machine.session, machine.link.settings, first, second)
    {
    }
    void ClickIn(const ScreenRect& area)
    {
        pages.Click((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    }
    void Command(int32_t command) { ClickIn(ServerCommandArea(command)); }
    void Type(std::initializer_list<uint32_t> keys)
    {
        for (const uint32_t key : keys)
        {
            pages.KeyInput(kKeyWentDown, key);
            pages.KeyInput(kKeyWentUp, key);
        }
    }

    DirtyRectList first;
    DirtyRectList second;
    NetLobbyPages pages;
};

constexpr uint32_t Letter(char c)
{
    return vk::LetterA + static_cast<uint32_t>(c - 'A');
}

class NetLobbyPagesTest : public ToolkitScreen
{
protected:
    // The host on the server page and a client on the player page.
    void OpenLobby()
    {
        host_ = std::make_unique<Pages>(world_.Add(0, "Host"));
        client_ = std::make_unique<Pages>(world_.Add(1, "Gast"));
        host_->pages.OpenServerPage();
        client_->pages.OpenPlayerPage();
    }

    // The host sets its session up and opens it; the client finds and joins it.
    void HostAndJoin()
    {
        Pages& host = *host_;
        MenuState& settings = world_.At(0).link.settings;
        host.Command(23);
        host.Type({vk::Back, vk::Back, vk::Back, vk::Back, vk::Back, vk::Back, vk::Back});
        host.pages.KeyInput(kKeyWentDown, vk::Shift);
        host.Type({Letter('R')});
        host.pages.KeyInput(kKeyWentUp, vk::Shift);
        host.Type({Letter('E'), Letter('N'), Letter('N'), Letter('E'), Letter('N'), vk::Return});
        EXPECT_EQ(settings.ServerName(), "Rennen");
        host.Command(18);  // laps 3 -> 4
        host.Command(8);   // sunny -> cloudy
        host.Command(12);
        ASSERT_EQ(host.pages.CurrentPage(), NetLobbyPages::kCalendarPage);
        host.ClickIn(CalendarCellArea(7));
        host.ClickIn(CalendarCellArea(2));
        host.ClickIn(kCalendarReturnArea);
        ASSERT_EQ(host.pages.CurrentPage(), NetLobbyPages::kServerPage);
        host.Command(14);
        ASSERT_EQ(host.pages.CurrentPage(), NetLobbyPages::kPlayerPage);
        ASSERT_TRUE(world_.At(0).session.IsActive());

        Pages& client = *client_;
        client.ClickIn(kSearchArea);
        ASSERT_EQ(client.pages.Servers().size(), 1u);
        EXPECT_EQ(client.pages.Servers()[0].name.View(), "Rennen");
        EXPECT_EQ(client.pages.Servers()[0].settings.laps, 4u);
        client.ClickIn(kJoinArea);
        EXPECT_FALSE(world_.At(1).session.IsActive()) << "no server chosen yet";
        client.ClickIn(ServerRowAt(0));
        EXPECT_EQ(client.pages.ChosenServer(), 0u);
        client.ClickIn(kJoinArea);
        ASSERT_TRUE(world_.At(1).session.IsActive());
        EXPECT_EQ(world_.At(1).session.OwnSlot(), 1u);
    }

    void DrawFrame(Pages& pages)
    {
        // The rosters sent meanwhile have arrived.
        world_.RunMs(100);
        pages.pages.Update(0);
        DirtyRectList all;
        all.AddRect({0, 0, kScreenWidth, kScreenHeight});
        SetActiveRectList(&all);
        FillRectClipped(0, 0, kScreenWidth, kScreenHeight, 0x402018);
        pages.pages.Draw();
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
    }

    NetTestWorld world_;
    std::unique_ptr<Pages> host_;
    std::unique_ptr<Pages> client_;
};
}  // namespace

TEST_F(NetLobbyPagesTest, AHostSetsUpItsSessionAndAClientJoinsChoosesAndIsStarted)
{
    OpenLobby();
    MenuState& hostSettings = world_.At(0).link.settings;
    hostSettings.SetU32At(MenuState::kNetworkRiderCountOffset, 25);
    host_->Command(4);  // 250 ccm -> 500 ccm
    EXPECT_EQ(hostSettings.U32At(MenuState::kNetworkClassOffset), 2u);
    host_->Command(4);  // -> 125 ccm
    host_->Command(4);  // -> 250 ccm
    host_->Command(22);
    EXPECT_EQ(hostSettings.U32At(MenuState::kNetworkRiderCountOffset), 26u);
    host_->Command(4);  // -> 500 ccm: 25 riders at most
    EXPECT_EQ(hostSettings.U32At(MenuState::kNetworkRiderCountOffset), 25u);
    host_->Command(4);
    host_->Command(4);  // back to 250 ccm

    // The calendar may not be left empty.
    host_->Command(12);
    ToggleCalendarCircuit(hostSettings, 0);
    host_->ClickIn(kCalendarReturnArea);
    EXPECT_EQ(host_->pages.CurrentPage(), NetLobbyPages::kCalendarPage);
    host_->ClickIn(CalendarCellArea(0));
    host_->ClickIn(kCalendarReturnArea);
    EXPECT_EQ(host_->pages.CurrentPage(), NetLobbyPages::kServerPage);

    HostAndJoin();
    EXPECT_EQ(CalendarLength(hostSettings), 3u);
    EXPECT_EQ(CalendarAt(hostSettings, 1), 7);

    // The client chooses rider 5 and confirms; the host may start only once it has too.
    client_->ClickIn(kRiderChoiceArea);
    ASSERT_EQ(client_->pages.CurrentPage(), NetLobbyPages::kRiderChoicePage);
    client_->ClickIn(RiderCellArea(5, 26));
    EXPECT_EQ(client_->pages.CurrentPage(), NetLobbyPages::kPlayerPage);
    EXPECT_EQ(world_.At(1).link.settings.U32At(MenuState::kNetworkRiderChoiceOffset), 5u);
    client_->ClickIn(kConfirmArea);
    EXPECT_TRUE(client_->pages.IsConfirmed());
    EXPECT_TRUE(world_.At(0).session.IsPeerReady(1));
    host_->ClickIn(kStartArea);
    EXPECT_FALSE(host_->pages.SessionStarted()) << "the host has not confirmed";
    host_->ClickIn(kConfirmArea);
    host_->ClickIn(kStartArea);
    EXPECT_TRUE(host_->pages.SessionStarted());
    EXPECT_EQ(world_.At(0).session.SessionState(), NetSessionState::Running);
}

TEST_F(NetLobbyPagesTest, APlayerMovesSlotsAndTheClientLeavesWhenTheHostCloses)
{
    OpenLobby();
    HostAndJoin();
    client_->ClickIn(kConfirmArea);
    ASSERT_TRUE(client_->pages.IsConfirmed());
    client_->ClickIn(kWithdrawArea);
    EXPECT_FALSE(client_->pages.IsConfirmed());
    EXPECT_FALSE(world_.At(0).session.IsPeerReady(1));

    // Players move by choosing a row of the waiting frame; the host's row is taken.
    client_->ClickIn(kConfirmArea);
    client_->ClickIn(PlayerRowAt(0));
    EXPECT_EQ(world_.At(1).session.OwnSlot(), 1u);
    client_->ClickIn(PlayerRowAt(14));
    EXPECT_EQ(world_.At(1).session.OwnSlot(), 14u);

    // The host leaves: its lobby goes back to the server page, the client's to the start.
    host_->ClickIn(kLeaveArea);
    EXPECT_EQ(host_->pages.CurrentPage(), NetLobbyPages::kServerPage);
    EXPECT_FALSE(world_.At(0).session.IsActive());
    ASSERT_TRUE(world_.RunUntil(
        [&]
        {
            client_->pages.Update(0);
            return client_->pages.CurrentPage() == NetLobbyPages::kStartPage;
        },
        5000));
    EXPECT_FALSE(world_.At(1).session.IsActive());
}

TEST_F(NetLobbyPagesTest, ThePagesAsTheyAreDrawn)
{
    OpenScreen();
    LoadMenuFonts();
    ASSERT_EQ(g_renderDevice.BeginDraw(), 1);
    OpenLobby();
    host_->Command(24);  // the port, typed
    host_->Type({vk::Back, vk::Back, vk::Back, vk::Back, vk::Digit0 + 4, vk::Digit0 + 7,
                 vk::Digit0 + 5, vk::Digit0 + 1, vk::Return});
    EXPECT_EQ(world_.At(0).link.settings.I32At(MenuState::kNetworkChoiceOffset), 0x4751);
    HostAndJoin();

    DrawFrame(*host_);  // the player page of the host, before confirming
    host_->pages.OpenServerPage();
    DrawFrame(*host_);
    host_->Command(12);
    DrawFrame(*host_);

    // A second client looks at the server list.
    Pages other(world_.Add(2, "Dritter"));
    other.pages.OpenPlayerPage();
    other.ClickIn(kSearchArea);
    other.ClickIn(ServerRowAt(0));
    DrawFrame(other);
    client_->ClickIn(kRiderChoiceArea);
    DrawFrame(*client_);
    client_->ClickIn(RiderCellArea(3, 26));
    client_->ClickIn(kConfirmArea);
    DrawFrame(*client_);
    g_renderDevice.EndDraw();

    ExpectGolden("lobby_host_players", 0, kScreenWidth, kScreenHeight, 0xC567AB2528276375);
    ExpectGolden("lobby_server", 1, kScreenWidth, kScreenHeight, 0x2C2BA4E506E57025);
    ExpectGolden("lobby_calendar", 2, kScreenWidth, kScreenHeight, 0x2243CD7461CB2EDD);
    ExpectGolden("lobby_server_info", 3, kScreenWidth, kScreenHeight, 0x934C88009647EDA9);
    ExpectGolden("lobby_rider_choice", 4, kScreenWidth, kScreenHeight, 0xF8A7C52905A915CD);
    ExpectGolden("lobby_waiting", 5, kScreenWidth, kScreenHeight, 0x7B1A8F09D5C5E7AD);
}
