// The order of the riders in RaceStandings: by progress in a race, by best lap in the other
// sessions, with the finishers of one lap group ordered by their times.

#include <algorithm>
#include <numeric>

#include "race/BikeRecord.h"
#include "race/standings/RaceStandings.h"

namespace
{
constexpr uint32_t kStatusFinished = 10;
}  // namespace

void RaceStandings::RankRiders()
{
    const auto bestLap = [this](size_t rider) { return splitMs[rider][kLapRow][0]; };
    const auto entered = [this](size_t rider)
    { return sessionRanks[rider] != session_rank::kNotEntered; };
    int32_t timedRiders = 0;
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        timedRiders += entered(rider) && bestLap(rider) > 0 ? 1 : 0;
    }
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (!entered(rider))
        {
            continue;
        }
        int32_t ahead = 0;
        const int32_t best = bestLap(rider);
        for (size_t other = 0; other < kRiders; ++other)
        {
            if (other == rider || !entered(other))
            {
                continue;
            }
            const int32_t otherBest = bestLap(other);
            if (best > 0)
            {
                ahead +=
                    otherBest > 0 && (otherBest < best || (otherBest == best && other < rider));
            }
            else
            {
                // Behind every timed rider and the untimed ones of lower number.
                ahead += otherBest <= 0 && other < rider;
            }
        }
        gridOrder[rider] = 1 + ahead + (best > 0 ? 0 : timedRiders);
    }
    TablePlaces();
}

void RaceStandings::Resort(bool force)
{
    if (!force && resortRequest == 0)
    {
        return;
    }
    resortRequest = 0;
    const std::array<int32_t, kRiders> oldPositions = gridOrder;
    // A rider that left the race keeps a place in the order, behind those still in it.
    const size_t racing = std::min<size_t>(ridersEntered, kRiders);

    // Positions follow the table as it stands; a table that names a rider twice, or no rider,
    // is replaced by the riders in number order.
    gridOrder.fill(-1);
    for (size_t place = 0; place < racing; ++place)
    {
        const int32_t rider = positionTable[place];
        if (rider < 0 || rider >= static_cast<int32_t>(kRiders) ||
            gridOrder[static_cast<size_t>(rider)] != -1)
        {
            std::iota(positionTable.begin(), positionTable.end(), 0);
            gridOrder.fill(-1);
            for (size_t p = 0; p < racing; ++p)
            {
                gridOrder[p] = static_cast<int32_t>(p + 1);
            }
            break;
        }
        gridOrder[static_cast<size_t>(rider)] = static_cast<int32_t>(place + 1);
    }

    // Highest key first, by a two-way bubble sort that keeps equal keys in their order.
    const auto behind = [this](size_t a, size_t b)
    {
        return sortKey[static_cast<size_t>(positionTable[a])] <
               sortKey[static_cast<size_t>(positionTable[b])];
    };
    size_t low = 0;
    size_t high = racing > 0 ? racing - 1 : 0;
    while (low < high)
    {
        size_t lastSwap = low;
        for (size_t i = low; i < high; ++i)
        {
            if (behind(i, i + 1))
            {
                std::swap(positionTable[i], positionTable[i + 1]);
                lastSwap = i;
            }
        }
        high = lastSwap;
        lastSwap = high;
        for (size_t i = high; i > low; --i)
        {
            if (behind(i - 1, i))
            {
                std::swap(positionTable[i - 1], positionTable[i]);
                lastSwap = i;
            }
        }
        low = lastSwap;
    }

    if (session_.noOvertakingEvents)
    {
        return;
    }
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        const int32_t now = gridOrder[rider];
        if (!IsInRace(static_cast<uint32_t>(rider)) || now < 1 || now >= oldPositions[rider] ||
            positionAtCrossing[rider] <= now)
        {
            continue;
        }
        // The first rider from the new place on that was not behind before has been passed.
        for (size_t place = static_cast<size_t>(now); place < racing; ++place)
        {
            const int32_t other = positionTable[place];
            if (other >= 0 && other != static_cast<int32_t>(rider) &&
                oldPositions[static_cast<size_t>(other)] <= oldPositions[rider])
            {
                hooks_->OnPositionGained(static_cast<uint32_t>(rider),
                                         static_cast<uint32_t>(other));
                break;
            }
        }
    }
}

uint32_t RaceStandings::ResolveFinishTies(uint32_t rider)
{
    const int16_t group = sessionRanks[rider];
    if (group < 0 || bikes_[rider].raceStatus != kStatusFinished)
    {
        return 0;
    }
    std::array<size_t, kRiders> members{};
    size_t count = 0;
    for (size_t r = 0; r < std::min<size_t>(riderCount, kRiders); ++r)
    {
        if (bikes_[r].raceStatus == kStatusFinished && sessionRanks[r] == group)
        {
            members[count++] = r;
            sortKey[r] =
                static_cast<int32_t>(session_.laps + 1 - static_cast<uint32_t>(group)) * kLapKey;
        }
    }
    for (size_t i = 0; i < count; ++i)
    {
        for (size_t j = i + 1; j < count; ++j)
        {
            // The later finisher loses a point; on equal times the higher rider number.
            const size_t a = members[i];
            const size_t b = members[j];
            --sortKey[sessionTimes[b] >= sessionTimes[a] ? b : a];
        }
    }
    return 1;
}

void RaceStandings::TablePlaces()
{
    positionTable.fill(-1);
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        const int32_t position = gridOrder[rider];
        if (position >= 1 && position <= static_cast<int32_t>(kRiders) &&
            positionTable[static_cast<size_t>(position - 1)] == -1)
        {
            positionTable[static_cast<size_t>(position - 1)] = static_cast<int32_t>(rider);
        }
    }
}

void RaceStandings::BuildPositionTable()
{
    positionTable.fill(-1);
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        const int32_t position = gridOrder[rider];
        if (IsInRace(static_cast<uint32_t>(rider)) && position > 0 &&
            position <= static_cast<int32_t>(kRiders))
        {
            positionTable[static_cast<size_t>(position - 1)] = static_cast<int32_t>(rider);
        }
    }
}
