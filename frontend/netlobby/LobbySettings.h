#pragma once

// What the lobby pages change in the settings record: the server page's session settings
// stepped by its buttons, and the network circuit calendar. Every value read from the record
// is kept in its range first, so that a damaged settings file cannot step out of it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/MenuState.h"

// The server page's commands that step a setting (the numbers of its buttons).
enum class LobbySetting : int32_t
{
    BikeClass = 4,
    Level = 5,
    Weather = 8,
    GridOrder = 11,
    InputDelayDown = 15,
    InputDelayUp = 16,
    LapsDown = 17,
    LapsUp = 18,
    CountdownDown = 19,
    CountdownUp = 20,
    RiderCountDown = 21,
    RiderCountUp = 22,
};

// Steps the setting; a new class also lowers the rider count to that class's riders.
void StepLobbySetting(MenuState& settings, LobbySetting setting);

// The six ride-aid bytes of the player page (0 = on): auto gear, engine tuning, time penalty,
// auto braking, auto clutch, steering aid.
inline constexpr std::array<size_t, 6> kRideAidOffsets = {
    MenuState::kAutoGearOffset,    MenuState::kEngineTuningOffset, MenuState::kTimePenaltyOffset,
    MenuState::kAutoBrakingOffset, MenuState::kAutoClutchOffset,   MenuState::kSteeringAidOffset};

// The seconds of the countdown indices 0..3.
int32_t CountdownSeconds(uint32_t index);

inline constexpr int32_t kAutomaticPort = -1;
// The typed port text of a port choice ("%.4x"); an automatic choice shows 0x8080.
std::string PortTextOf(int32_t portChoice);

// The network calendar: up to 18 circuits in race order, ended by a negative entry. An entry
// that names no circuit ends it as the end mark does.
inline constexpr uint32_t kMaxCalendarRaces = 18;
uint32_t CalendarLength(const MenuState& settings);
int8_t CalendarAt(const MenuState& settings, uint32_t race);
// The circuit's race number from 0, or nothing when it is not in the calendar.
std::optional<uint32_t> CalendarPlaceOf(const MenuState& settings, uint32_t circuit);
// A circuit in the calendar leaves it and the later ones move up; one that is not joins at
// the end.
void ToggleCalendarCircuit(MenuState& settings, uint32_t circuit);
