#include "frontend/netlobby/NetLobbyPages.h"

#include <algorithm>

#include "core/game/GameEnums.h"
#include "frontend/netlobby/LobbyPageLayout.h"
#include "frontend/netlobby/LobbySettings.h"
#include "frontend/toolkit/MenuBackground.h"

namespace
{
constexpr const char* kServerBackground = "mainmenu/ServerScreen.jpg";
constexpr const char* kPlayerBackground = "mainmenu/ClientScreen.jpg";
constexpr const char* kCalendarBackground = "strecken/uebersicht.jpg";
constexpr const char* kStartBackground = "mainmenu/startscreen.jpg";
constexpr std::array<const char*, 3> kOverviewBackgrounds = {
    "mainmenu/overview125.jpg", "mainmenu/overview250.jpg", "mainmenu/overview500.jpg"};

constexpr int32_t kEditServerName = 0;
constexpr int32_t kTogglePort = 1;
constexpr int32_t kOpenCalendar = 12;
constexpr int32_t kBack = 13;
constexpr int32_t kStartHosting = 14;
constexpr int32_t kEditServerNameToo = 23;
constexpr int32_t kEditPort = 24;

bool IsSettingStep(int32_t command)
{
    return command == 4 || command == 5 || command == 8 || command == 11 ||
           (command >= 15 && command <= 22);
}
}  // namespace

NetLobbyPages::NetLobbyPages(NetLobby& lobby, NetSession& session, MenuState& settings,
                             DirtyRectList& first, DirtyRectList& second)
    : lobby_(lobby), session_(session), settings_(settings), first_(first), second_(second)
{
}

void NetLobbyPages::OpenServerPage()
{
    host_ = true;
    sessionStarted_ = false;
    port_.SetText(PortTextOf(settings_.I32At(MenuState::kNetworkChoiceOffset)));
    ShowPage(kServerPage, kServerBackground);
}

void NetLobbyPages::OpenPlayerPage()
{
    host_ = false;
    sessionStarted_ = false;
    confirmed_ = false;
    servers_.clear();
    chosenServer_.reset();
    port_.SetText(PortTextOf(settings_.I32At(MenuState::kNetworkChoiceOffset)));
    ShowPage(kPlayerPage, kPlayerBackground);
}

void NetLobbyPages::ShowPage(int32_t page, const char* background)
{
    serverName_.EndEditing();
    port_.EndEditing();
    playerName_.EndEditing();
    page_ = page;
    SetMenuBackground(background);
    RepaintAll();
}

void NetLobbyPages::Repaint(const ScreenRect& area)
{
    first_.AddRect(area);
    second_.AddRect(area);
}

void NetLobbyPages::RepaintAll()
{
    Repaint({0, 0, 640, 480});
}

uint32_t NetLobbyPages::RidersOfClass() const
{
    return ::RidersOfClass(static_cast<BikeClass>(
        std::min<uint32_t>(settings_.U32At(MenuState::kNetworkClassOffset), 2)));
}

void NetLobbyPages::Click(int32_t x, int32_t y)
{
    switch (page_)
    {
        case kServerPage:
            ClickServerPage(x, y);
            break;
        case kPlayerPage:
            ClickPlayerPage(x, y);
            break;
        case kRiderChoicePage:
            ClickRiderChoicePage(x, y);
            break;
        case kCalendarPage:
            ClickCalendarPage(x, y);
            break;
        default:
            break;
    }
}

void NetLobbyPages::ClickServerPage(int32_t x, int32_t y)
{
    for (int32_t command = 0; command < static_cast<int32_t>(kServerCommandCount); ++command)
    {
        if (Contains(ServerCommandArea(command), x, y))
        {
            ServerPageCommand(command);
            return;
        }
    }
}

void NetLobbyPages::ServerPageCommand(int32_t command)
{
    const int32_t portChoice = settings_.I32At(MenuState::kNetworkChoiceOffset);
    if (IsSettingStep(command))
    {
        StepLobbySetting(settings_, static_cast<LobbySetting>(command));
    }
    else if (command == kEditServerName || command == kEditServerNameToo)
    {
        port_.EndEditing();
        serverName_.BeginEditing(settings_.ServerName());
    }
    else if (command == kTogglePort || command == kEditPort)
    {
        const bool automatic = portChoice == kAutomaticPort;
        if (automatic || command == kTogglePort)
        {
            settings_.SetI32At(
                MenuState::kNetworkChoiceOffset,
                automatic ? ParsePortText(port_.Text(), kAutomaticPort) : kAutomaticPort);
        }
        if (command == kEditPort)
        {
            serverName_.EndEditing();
            port_.BeginEditing(port_.Text());
        }
    }
    else if (command == kOpenCalendar)
    {
        ShowPage(kCalendarPage, kCalendarBackground);
        return;
    }
    else if (command == kBack)
    {
        session_.Shutdown();
        ShowPage(kStartPage, kStartBackground);
        return;
    }
    else if (command == kStartHosting)
    {
        StartHosting();
        return;
    }
    Repaint(ServerRowArea(command));
}

void NetLobbyPages::StartHosting()
{
    if (calendarWeather_)
    {
        calendarWeather_(settings_);
    }
    if (lobby_.StartHosting())
    {
        confirmed_ = false;
        // The host's own slot carries the player's name from the start.
        lobby_.SubmitPlayerName();
        ShowPage(kPlayerPage, kPlayerBackground);
    }
}

int32_t NetLobbyPages::KeyInput(uint32_t kind, uint32_t key)
{
    LobbyTextField* field = serverName_.IsEditing()   ? &serverName_
                            : port_.IsEditing()       ? &port_
                            : playerName_.IsEditing() ? &playerName_
                                                      : nullptr;
    if (field == nullptr)
    {
        // Shift is followed while nothing is edited, for the first letter typed later.
        serverName_.OnKey(kind, key);
        playerName_.OnKey(kind, key);
        return 0;
    }
    const bool entered = field->OnKey(kind, key);
    if (field == &serverName_)
    {
        settings_.SetServerName(serverName_.Text());
        Repaint(ServerRowArea(kEditServerName));
    }
    else if (field == &port_)
    {
        if (entered)
        {
            TakePortText();
        }
        Repaint(ServerRowArea(kEditPort));
    }
    else
    {
        settings_.SetPlayerName(playerName_.Text());
        if (entered)
        {
            TakePlayerName();
        }
        Repaint(kPlayerNameArea);
    }
    return 1;
}

void NetLobbyPages::TakePortText()
{
    const int32_t previous = settings_.I32At(MenuState::kNetworkChoiceOffset);
    settings_.SetI32At(MenuState::kNetworkChoiceOffset, ParsePortText(port_.Text(), previous));
    port_.SetText(PortTextOf(settings_.I32At(MenuState::kNetworkChoiceOffset)));
}

void NetLobbyPages::TakePlayerName()
{
    if (session_.IsActive())
    {
        lobby_.SubmitPlayerName();
    }
}

void NetLobbyPages::Update(uint32_t frameCounter)
{
    const bool blinked = ((frameCounter ^ frameCounter_) & 0x40) != 0;
    frameCounter_ = frameCounter;
    if (page_ == kServerPage && blinked)
    {
        if (serverName_.IsEditing())
        {
            Repaint(ServerRowArea(kEditServerName));
        }
        if (port_.IsEditing())
        {
            Repaint(ServerRowArea(kEditPort));
        }
    }
    if (page_ != kPlayerPage && page_ != kRiderChoicePage)
    {
        return;
    }
    if (playerName_.IsEditing() && blinked)
    {
        Repaint(kPlayerNameArea);
    }
    if (!session_.IsActive())
    {
        return;  // a client that has not joined yet
    }
    if (!lobby_.Update())
    {
        // The host closed the session, dropped this machine, or was lost.
        ShowPage(host_ ? kServerPage : kStartPage, host_ ? kServerBackground : kStartBackground);
        return;
    }
    if (!host_ && session_.SessionState() == NetSessionState::Running)
    {
        sessionStarted_ = true;
    }
    const uint32_t rosters = session_.RostersReceived();
    const uint32_t riderLists = session_.RiderListsReceived();
    // The host's own list changes with every player that joins, renames or moves.
    if (host_ || rosters != rostersSeen_ || riderLists != riderListsSeen_)
    {
        rostersSeen_ = rosters;
        riderListsSeen_ = riderLists;
        Repaint(kWaitingFrameArea);
    }
}

void NetLobbyPages::ClickPlayerPage(int32_t x, int32_t y)
{
    const bool inSession = session_.IsActive();
    if (Contains(kPlayerNameArea, x, y))
    {
        playerName_.BeginEditing(settings_.PlayerName());
        Repaint(kPlayerNameArea);
    }
    else if (Contains(kRiderChoiceArea, x, y) && !confirmed_)
    {
        // The host hears the name before the rider is chosen.
        if (inSession)
        {
            lobby_.SubmitPlayerName();
        }
        ShowPage(kRiderChoicePage, kOverviewBackgrounds[std::min<uint32_t>(
                                       settings_.U32At(MenuState::kNetworkClassOffset), 2)]);
    }
    else if (Contains(kRideAidArea, x, y) && !confirmed_)
    {
        // All six aids on, or all off.
        const bool anyOn = std::any_of(kRideAidOffsets.begin(), kRideAidOffsets.end(),
                                       [&](size_t offset) { return settings_.U8At(offset) == 0; });
        for (const size_t offset : kRideAidOffsets)
        {
            settings_.SetU8At(offset, anyOn ? 1 : 0);
        }
        Repaint(kRideAidArea);
    }
    else if (Contains(kLeaveArea, x, y))
    {
        Leave();
    }
    else if (!inSession)
    {
        if (Contains(kSearchArea, x, y))
        {
            SearchServers();
        }
        else if (Contains(kJoinArea, x, y))
        {
            JoinChosenServer();
        }
        for (size_t row = 0; row < servers_.size(); ++row)
        {
            if (Contains(ServerRowAt(static_cast<uint32_t>(row)), x, y))
            {
                chosenServer_ = row;
                Repaint(kServerFrameArea);
                Repaint(kServerInfoArea);
            }
        }
    }
    else if (Contains(kConfirmArea, x, y))
    {
        ConfirmRider(true);
    }
    else if (Contains(kWithdrawArea, x, y))
    {
        ConfirmRider(false);
    }
    else if (Contains(kStartArea, x, y) && host_ && confirmed_)
    {
        StartSession();
    }
    else if (confirmed_ && Contains(kWaitingFrameArea, x, y))
    {
        for (uint32_t slot = 0; slot < RidersOfClass(); ++slot)
        {
            if (Contains(PlayerRowAt(slot), x, y) && lobby_.ChangeSlot(slot))
            {
                settings_.SetU32At(MenuState::kNetworkSlotOffset, slot);
                Repaint(kWaitingFrameArea);
            }
        }
    }
}

void NetLobbyPages::SearchServers()
{
    servers_.clear();
    chosenServer_.reset();
    servers_ = lobby_.SearchServers();
    Repaint(kServerFrameArea);
    Repaint(kServerInfoArea);
}

void NetLobbyPages::JoinChosenServer()
{
    if (!chosenServer_ || *chosenServer_ >= servers_.size())
    {
        return;
    }
    if (lobby_.JoinServer(servers_[*chosenServer_]))
    {
        confirmed_ = false;
        RepaintAll();
    }
}

void NetLobbyPages::ConfirmRider(bool confirm)
{
    const bool done = confirm ? lobby_.ConfirmRider() : lobby_.WithdrawRider();
    if (done)
    {
        confirmed_ = confirm;
    }
    RepaintAll();
}

void NetLobbyPages::StartSession()
{
    if (lobby_.StartSession())
    {
        sessionStarted_ = true;
    }
}

void NetLobbyPages::Leave()
{
    lobby_.Leave();
    confirmed_ = false;
    if (host_)
    {
        ShowPage(kServerPage, kServerBackground);
    }
    else
    {
        ShowPage(kStartPage, kStartBackground);
    }
}

void NetLobbyPages::ClickRiderChoicePage(int32_t x, int32_t y)
{
    const uint32_t riders = RidersOfClass();
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        if (Contains(RiderCellArea(rider, riders), x, y))
        {
            settings_.SetU32At(MenuState::kNetworkRiderChoiceOffset, rider);
            ShowPage(kPlayerPage, kPlayerBackground);
            return;
        }
    }
}

void NetLobbyPages::ClickCalendarPage(int32_t x, int32_t y)
{
    if (Contains(kCalendarReturnArea, x, y))
    {
        if (CalendarLength(settings_) > 0)
        {
            ShowPage(kServerPage, kServerBackground);
        }
        return;
    }
    for (uint32_t circuit = 0; circuit < kMaxCalendarRaces; ++circuit)
    {
        if (Contains(CalendarCellArea(circuit), x, y))
        {
            ToggleCalendarCircuit(settings_, circuit);
            // Every later race number moves.
            for (uint32_t other = 0; other < kMaxCalendarRaces; ++other)
            {
                Repaint(CalendarCellArea(other));
            }
            return;
        }
    }
}
