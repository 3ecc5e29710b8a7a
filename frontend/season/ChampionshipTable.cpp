#include "frontend/season/ChampionshipTable.h"

#include <algorithm>

#include "app/game/CurrentRace.h"

namespace
{
constexpr std::array<uint8_t, 15> kPointsTable = {25, 20, 16, 13, 11, 10, 9, 8,
                                                  7,  6,  5,  4,  3,  2,  1};

size_t PlaceOffset(uint32_t rider, size_t circuit)
{
    return MenuState::kChampionshipOffset + rider * MenuState::kChampionshipCircuits + circuit;
}

size_t NetworkRaceIndex(const MenuState& settings)
{
    return std::min<size_t>(settings.U32At(MenuState::kNetworkRaceIndexOffset),
                            MenuState::kNetworkRaces);
}
}  // namespace

uint32_t PointsOfPlace(uint8_t place)
{
    return place < kPointsTable.size() ? kPointsTable[place] : 0;
}

uint8_t ChampionshipPlace(const MenuState& settings, uint32_t rider, size_t circuit)
{
    return settings.U8At(PlaceOffset(rider, circuit));
}

void SetChampionshipPlace(MenuState& settings, uint32_t rider, size_t circuit, uint8_t place)
{
    settings.SetU8At(PlaceOffset(rider, circuit), place);
}

void ClearChampionship(MenuState& settings)
{
    const auto table = settings.Bytes().subspan(
        MenuState::kChampionshipOffset, MenuState::kRiders * MenuState::kChampionshipCircuits);
    std::ranges::fill(table, kNotRaced);
}

ChampionshipScore ScoreOfRider(const MenuState& settings, uint32_t rider, size_t currentCircuit)
{
    ChampionshipScore score;
    for (size_t circuit = 0; circuit < MenuState::kChampionshipCircuits; ++circuit)
    {
        const uint8_t place = ChampionshipPlace(settings, rider, circuit);
        score.points += PointsOfPlace(place);
        score.bestPlace = std::min(score.bestPlace, place);
    }
    if (currentCircuit < MenuState::kChampionshipCircuits)
    {
        score.currentPlace = ChampionshipPlace(settings, rider, currentCircuit);
    }
    return score;
}

bool RanksBefore(const ChampionshipScore& a, const ChampionshipScore& b)
{
    if (a.points != b.points)
    {
        return a.points > b.points;
    }
    if (a.bestPlace != b.bestPlace)
    {
        return a.bestPlace < b.bestPlace;
    }
    return a.currentPlace < b.currentPlace;
}

uint32_t ChampionshipLeader(const MenuState& settings, size_t currentCircuit)
{
    uint32_t leader = 0;
    ChampionshipScore leading = ScoreOfRider(settings, 0, currentCircuit);
    for (uint32_t rider = 1; rider < MenuState::kRiders; ++rider)
    {
        const ChampionshipScore score = ScoreOfRider(settings, rider, currentCircuit);
        if (RanksBefore(score, leading))
        {
            leader = rider;
            leading = score;
        }
    }
    return leader;
}

void EnterRacePlaces(MenuState& settings, size_t circuit, uint32_t ridersOfClass,
                     std::span<const int32_t> positions, std::span<const int16_t> ranks,
                     std::span<const bool> tookPart)
{
    if (circuit >= MenuState::kChampionshipCircuits)
    {
        return;
    }
    const uint32_t riders = std::min<uint32_t>(
        {ridersOfClass, static_cast<uint32_t>(MenuState::kRiders),
         static_cast<uint32_t>(positions.size()), static_cast<uint32_t>(ranks.size()),
         static_cast<uint32_t>(tookPart.size())});
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        const int32_t position = positions[rider];
        const bool placed = tookPart[rider] && ranks[rider] >= 0 && position >= 1 &&
                            position <= static_cast<int32_t>(MenuState::kRiders);
        SetChampionshipPlace(settings, rider, circuit,
                             placed ? static_cast<uint8_t>(position - 1) : kUnplaced);
    }
}

void EnterNetworkPlaces(MenuState& settings, size_t circuit, std::span<const int32_t> positionTable,
                        std::span<const int16_t> ranks)
{
    if (circuit >= MenuState::kChampionshipCircuits)
    {
        return;
    }
    const size_t places = std::min(positionTable.size(), MenuState::kRiders);
    for (size_t place = 0; place < places; ++place)
    {
        const int32_t rider = positionTable[place];
        if (rider < 0 || static_cast<size_t>(rider) >= ranks.size() ||
            static_cast<size_t>(rider) >= MenuState::kRiders || ranks[rider] < 0)
        {
            return;
        }
        SetChampionshipPlace(settings, rider, circuit, static_cast<uint8_t>(place));
    }
}

bool IsLastNetworkRace(const MenuState& settings)
{
    const size_t current = NetworkRaceIndex(settings);
    return current >= MenuState::kNetworkRaces ||
           settings.I8At(MenuState::kNetworkCircuitsOffset + current + 1) < 0;
}

bool IsChampionshipWon(const MenuState& settings, GameMode mode, size_t currentCircuit,
                       uint32_t playerRider)
{
    switch (mode)
    {
        case GameMode::Championship:
        case GameMode::ChampionshipSeries:
            if (currentCircuit < kLastChampionshipRound)
            {
                return false;
            }
            break;
        case GameMode::NetworkRace:
            if (!IsLastNetworkRace(settings))
            {
                return false;
            }
            break;
        default:
            return false;
    }
    return ChampionshipLeader(settings, currentCircuit) == playerRider;
}

bool IsChampionshipWon()
{
    size_t circuit = ToIndex(g_circuitIndex);
    if (g_gameMode == GameMode::NetworkRace)
    {
        const int8_t entry =
            g_menuState.I8At(MenuState::kNetworkCircuitsOffset + NetworkRaceIndex(g_menuState));
        circuit = entry < 0 ? MenuState::kChampionshipCircuits : static_cast<size_t>(entry);
    }
    return IsChampionshipWon(g_menuState, g_gameMode, circuit, g_playerRider.load());
}
