// The lobby pages' drawing: texts over the page's background picture, in the places the
// pictures were made for.

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/game/CurrentRace.h"
#include "core/game/GameEnums.h"
#include "frontend/netlobby/LobbyPageLayout.h"
#include "frontend/netlobby/LobbySettings.h"
#include "frontend/netlobby/LobbyTexts.h"
#include "frontend/netlobby/NetLobbyPages.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"

namespace
{
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kBlue = 0xFF8040;
constexpr uint32_t kGrey = 0x909090;

const LobbyTexts& Texts()
{
    return LobbyTextsFor(g_language);
}

template <typename... Values>
std::string Format(const char* format, Values... values)
{
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), format, values...);
    return text.data();
}

void Text(int32_t x, int32_t y, const std::string& text, uint32_t colour = kWhite,
          int32_t alignment = kAlignLeft)
{
    DrawColorTextClipped(x, y, colour, text.c_str(), alignment);
}

// A name in two lines, split at its first blank, right-aligned at x.
void TwoLines(int32_t x, int32_t y, std::string_view name, uint32_t colour)
{
    const size_t blank = name.find(' ');
    Text(x, y, std::string(name.substr(0, blank)), colour, kAlignRight);
    if (blank != std::string_view::npos)
    {
        Text(x, y + 12, std::string(name.substr(blank + 1)), colour, kAlignRight);
    }
}

const char* Pick(const auto& table, uint32_t index)
{
    return table[std::min<size_t>(index, table.size() - 1)];
}

std::string CircuitCodes(const std::array<int8_t, kNetCalendarEntries>& circuits)
{
    std::string codes;
    for (size_t race = 0; race < kNetCalendarRaces && circuits[race] >= 0 &&
                          circuits[race] < static_cast<int8_t>(kNetCalendarRaces);
         ++race)
    {
        codes += std::string(race == 0 ? "" : " ") +
                 Texts().circuitCodes[static_cast<size_t>(circuits[race])];
    }
    return codes;
}
}  // namespace

void NetLobbyPages::Draw() const
{
    g_menuBackground.Draw();
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    switch (page_)
    {
        case kServerPage:
            DrawServerPage();
            break;
        case kPlayerPage:
            DrawPlayerPage();
            break;
        case kRiderChoicePage:
            DrawRiderChoicePage();
            break;
        case kCalendarPage:
            DrawCalendarPage();
            break;
        default:
            break;
    }
}

void NetLobbyPages::DrawField(int32_t x, int32_t y, const std::string& text, bool edited) const
{
    const bool underline = edited && (frameCounter_ & 0x40) != 0;
    Text(x, y, underline ? text + "_" : text);
}

void NetLobbyPages::DrawServerPage() const
{
    const LobbyTexts& texts = Texts();
    const MenuState& s = settings_;
    DrawField(282, 91, std::string(s.ServerName()), serverName_.IsEditing());
    if (s.I32At(MenuState::kNetworkChoiceOffset) == kAutomaticPort && !port_.IsEditing())
    {
        Text(282, 114, texts.automatic);
    }
    else
    {
        DrawField(282, 114, "0x" + port_.Text(), port_.IsEditing());
    }
    Text(335, 138, Format("%.1d", s.U32At(MenuState::kNetworkRiderCountOffset)));
    Text(335, 160, Format("%.1d", s.U32At(MenuState::kNetworkInputDelayOffset)));
    Text(282, 196, Pick(texts.classes, s.U32At(MenuState::kNetworkClassOffset)));
    Text(282, 219, Pick(texts.levels, s.U32At(MenuState::kNetworkLevelOffset)));
    Text(282, 288, Pick(texts.weather, s.U32At(MenuState::kNetworkWeatherChoiceOffset)));
    Text(335, 325, Format("%.2d", s.U32At(MenuState::kNetworkLapsOffset)));
    Text(335, 348, Format("%ds", CountdownSeconds(s.U32At(MenuState::kTimeLimitIndexOffset))));
    Text(282, 371, Pick(texts.gridOrders, s.U32At(MenuState::kNetworkGridOrderOffset)));
    for (uint32_t race = 0; race < CalendarLength(settings_); ++race)
    {
        const int32_t x = 282 + static_cast<int32_t>(race % 9) * 32;
        const int32_t y = 401 + static_cast<int32_t>(race / 9) * 23;
        const char* code = texts.circuitCodes[static_cast<size_t>(CalendarAt(settings_, race))];
        Text(x + 1, y + 1, code, kBlack);
        Text(x, y, code);
    }
}

void NetLobbyPages::DrawCalendarPage() const
{
    const auto circuits = CircuitTexts();
    for (uint32_t circuit = 0; circuit < kMaxCalendarRaces; ++circuit)
    {
        const ScreenRect cell = CalendarCellArea(circuit);
        const std::optional<uint32_t> place = CalendarPlaceOf(settings_, circuit);
        const char* name = circuits[circuit].names[static_cast<size_t>(g_language)];
        TwoLines(cell.right - 4, cell.top + 4, name != nullptr ? name : "",
                 place ? kYellow : kWhite);
        if (place)
        {
            Text(cell.left + 4, cell.top + 36, Format("%.2d", *place + 1), kYellow);
        }
    }
}

void NetLobbyPages::DrawRiderChoicePage() const
{
    const uint32_t riders = RidersOfClass();
    const uint32_t chosen = settings_.U32At(MenuState::kNetworkRiderChoiceOffset);
    const auto& players = lobby_.Players();
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        const ScreenRect cell = RiderCellArea(rider, riders);
        const uint32_t colour = rider == chosen                                   ? kBlue
                                : rider < players.size() && players[rider].player ? kWhite
                                                                                  : kGrey;
        TwoLines(cell.right, cell.top, session_.RiderName(rider).View(), colour);
    }
}

void NetLobbyPages::DrawPlayerPage() const
{
    const LobbyTexts& texts = Texts();
    DrawField(300, 106, std::string(settings_.PlayerName()), playerName_.IsEditing());
    const uint32_t ownSlot =
        session_.IsActive() ? session_.OwnSlot() : settings_.U32At(MenuState::kNetworkSlotOffset);
    Text(300, 152, std::string(session_.RiderName(ownSlot).View()));
    const bool anyAidOn = std::any_of(kRideAidOffsets.begin(), kRideAidOffsets.end(),
                                      [&](size_t offset) { return settings_.U8At(offset) == 0; });
    if (confirmed_)
    {
        DrawWaitingFrame();
        return;
    }
    Text(300, 302,
         std::string(
             session_.RiderName(settings_.U32At(MenuState::kNetworkRiderChoiceOffset)).View()));
    Text(300, 340, anyAidOn ? texts.on : texts.off);
    if (!session_.IsActive())
    {
        DrawServerFrame();
    }
}

void NetLobbyPages::DrawServerFrame() const
{
    const LobbyTexts& texts = Texts();
    const bool automatic = settings_.I32At(MenuState::kNetworkChoiceOffset) == kAutomaticPort;
    Text(kServerFrameArea.left + 4, kServerFrameArea.top + 4, texts.portHeading);
    Text(kServerFrameArea.left + 60, kServerFrameArea.top + 4,
         automatic ? std::string(texts.automatic) : "0x" + port_.Text());
    for (size_t row = 0; row < servers_.size(); ++row)
    {
        const ScreenRect area = ServerRowAt(static_cast<uint32_t>(row));
        const uint32_t colour = chosenServer_ == row ? kYellow : kWhite;
        Text(area.left + 4, area.top, std::string(servers_[row].name.View()), colour);
        Text(area.right - 4, area.top, servers_[row].running ? texts.busy : texts.vacant, colour,
             kAlignRight);
    }
    if (chosenServer_ && *chosenServer_ < servers_.size())
    {
        DrawServerInfo(servers_[*chosenServer_]);
    }
}

void NetLobbyPages::DrawServerInfo(const LobbyServerRow& server) const
{
    const LobbyTexts& texts = Texts();
    const ServerSettings& s = server.settings;
    const std::string name(server.name.View());
    const std::array<std::pair<std::string, std::string>, 10> lines = {{
        {Format(texts.serverOnPort, name.c_str(), static_cast<unsigned>(server.port)), ""},
        {texts.status, server.running ? texts.busy : texts.vacant},
        {texts.latency, Format("%d", static_cast<int>(s.inputDelaySetting))},
        {texts.bikeClass, Pick(texts.classes, s.bikeClass)},
        {texts.level, Pick(texts.levels, s.difficulty)},
        {texts.weatherLabel, Pick(texts.weather, s.weather)},
        {texts.laps, Format("%d", static_cast<int>(s.laps))},
        {texts.grid, Pick(texts.gridOrders, s.gridOrder)},
        {texts.riderCount, Format("%d", static_cast<int>(s.riderCount))},
        {texts.tracks, CircuitCodes(server.circuits)},
    }};
    int32_t y = kServerInfoArea.top + 4;
    for (const auto& [label, value] : lines)
    {
        Text(kServerInfoArea.left + 4, y, label);
        Text(kServerInfoArea.left + 140, y, value);
        y += 16;
    }
}

void NetLobbyPages::DrawWaitingFrame() const
{
    const LobbyTexts& texts = Texts();
    const LobbyRoster& riders = lobby_.Riders();
    for (uint32_t slot = 0; slot < RidersOfClass(); ++slot)
    {
        const ScreenRect row = PlayerRowAt(slot);
        const bool player = host_ ? session_.PeerState(slot) == NetPeerState::Player
                                  : lobby_.Players()[slot].player;
        const NetName name = host_ ? session_.RiderName(slot) : lobby_.Players()[slot].name;
        const bool ready = host_ ? session_.IsPeerReady(slot)
                                 : slot < riders.count && riders.entries[slot].ready != 0;
        const uint32_t colour = player ? kWhite : kGrey;
        Text(row.left, row.top, Format("%.2d:", static_cast<int>(slot + 1)), colour);
        Text(row.left + 28, row.top, std::string(name.View()), colour);
        if (player)
        {
            Text(row.right, row.top, ready ? texts.playerReady : texts.playerBusy, colour,
                 kAlignRight);
        }
    }
}
