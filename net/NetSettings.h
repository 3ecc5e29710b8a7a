#pragma once

// The settings a network session runs with, as the settings record holds them. The session
// takes a copy on the main thread when it starts, so that the receive loop never reads the
// record while the menus change it; a client writes what the host announced back into its
// record when it has joined.

#include <array>
#include <cstdint>
#include <optional>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "net/NetLobbyMessages.h"

inline constexpr uint16_t kNetDefaultPort = 0x4760;
inline constexpr uint16_t kNetFirstProbePort = 0x4750;
inline constexpr size_t kNetProbePorts = 8;

// The UDP port of a port value: its two bytes exchanged (0x4760 is UDP port 24647).
constexpr uint16_t UdpPortOf(uint16_t portValue)
{
    return static_cast<uint16_t>(portValue << 8 | portValue >> 8);
}

struct NetSessionSettings
{
    NetName serverName;
    uint32_t inputDelaySetting = 1;  // 1..3; the session's delay is this + 2 input steps
    BikeClass bikeClass = BikeClass::Class250;
    uint32_t difficulty = 0;  // 0 beginner .. 2 professional
    uint32_t weather = 0;     // 0..2 fixed, 3 changeable, 4 random
    uint32_t laps = 3;
    uint32_t gridOrder = 0;    // 0 by points, 1 random
    uint32_t riderCount = 25;  // also the most players a session takes
    uint32_t countdownIndex = 2;
    NetCalendar calendar;

    // 2 - difficulty: the computer riders' strength the clients race against.
    uint32_t Strength() const { return 2 - difficulty; }
    ServerSettings Announced() const;

    bool operator==(const NetSessionSettings&) const = default;
};

// The record's network settings; a value out of its range is taken at the nearest end, and
// an unusable circuit list counts as empty.
NetSessionSettings ReadNetSessionSettings(const MenuState& record);

// What a joined client takes over from the host: its class (also the chosen class), level,
// laps, input delay, time limit and the circuit list with its conditions.
void WriteJoinedSettings(MenuState& record, const JoinAccept& accept);

// The port value the settings name, or nothing when every probe port is to be tried.
std::optional<uint16_t> ChosenPort(const MenuState& record);

// The three ride aids a player races with: automatic gears, automatic braking and the
// steering aid; on while their option byte is 0.
std::array<bool, 3> RideAidsOn(const MenuState& record);
