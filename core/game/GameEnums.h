#pragma once

// The enumerations that every game subsystem shares. Each is stored as a number in the
// settings, the saves and the network messages, so every value is fixed.

#include <cstddef>
#include <cstdint>
#include <type_traits>

enum class BikeClass : uint32_t
{
    Class125 = 0,
    Class250 = 1,
    Class500 = 2,
};
inline constexpr size_t kBikeClassCount = 3;

// Riders in the field of a class.
constexpr uint32_t RidersOfClass(BikeClass bikeClass)
{
    return bikeClass == BikeClass::Class250 ? 26 : 25;
}

// The circuits in the order of every per-circuit table; the last three are raced only on the
// network.
enum class CircuitId : uint32_t
{
    ShahAlam = 0,
    Suzuka = 1,
    Jerez = 2,
    Mugello = 3,
    A1Ring = 4,
    Frankreich = 5,
    Drenthe = 6,
    Imola = 7,
    Nuerburgring = 8,
    Brasilien = 9,
    Donington = 10,
    Bruenn = 11,
    Catalunya = 12,
    Sentul = 13,
    Pi = 14,
    Netz1 = 15,
    Netz2 = 16,
    Netz3 = 17,
};
inline constexpr size_t kCircuitCount = 18;

enum class Weather : uint32_t
{
    Fine = 0,
    Dull = 1,
    Rain = 2,
};
inline constexpr size_t kWeatherCount = 3;

enum class GameMode : uint32_t
{
    TestRide = 0,
    Race = 1,
    GrandPrix = 2,
    Championship = 3,
    ChampionshipSeries = 4,  // runs as a championship
    NetworkRace = 5,
    GhostRace = 6,
};
inline constexpr size_t kGameModeCount = 7;

// Selects the column of every text table and the menu archive.
enum class Language : uint32_t
{
    German = 0,
    English = 1,
};
inline constexpr size_t kLanguageCount = 2;

// The race camera's modes; the values between them do nothing.
enum class CameraMode : uint32_t
{
    CameraChase = 0,
    CameraOnBoard = 1,
    CameraTrackChase = 2,
    CameraTv = 3,
    CameraStartSweep = 5,
    CameraClose = 6,
    CameraTrail = 7,
    CameraFallenRider = 10,
    CameraPresetShot = 11,
    CameraFinish = 12,
};

// The number an enumeration value is stored and indexed as.
template <typename Enum>
requires std::is_enum_v<Enum>
constexpr size_t ToIndex(Enum value)
{
    return static_cast<size_t>(value);
}
