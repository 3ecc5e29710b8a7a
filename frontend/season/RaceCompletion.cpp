#include "frontend/season/RaceCompletion.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <vector>

namespace
{
constexpr size_t kRiders = RaceStandings::kRiders;
constexpr size_t kLapRow = RaceStandings::kLapRow;
constexpr int32_t kStandingStartMs = 3000;
constexpr int32_t kNetworkStartStepMs = 103;
constexpr int32_t kLapDownKey = 600000;
constexpr int32_t kClassifiedKeyBase = 0x3FFFFFFF;
constexpr int32_t kProjectedLapKey = 20000;
constexpr int32_t kProjectedKeyBase = 19900;
constexpr double kLeastProjectedSeconds = 15.0;

constexpr std::array<float, kBikeClassCount> kSpeedRise = {1.2f, 1.7f, 2.25f};
constexpr std::array<float, kBikeClassCount> kSpeedCap = {60.0f, 72.0f, 82.0f};

bool IsLapTime(int32_t ms)
{
    return ms > 0 && ms < RaceStandings::kNoSection;
}

uint32_t LapsRidden(const RaceStandings& standings, size_t rider, uint32_t laps)
{
    uint32_t ridden = 0;
    const auto& row = standings.splitMs[rider][kLapRow];
    while (ridden < laps && ridden + 1 < row.size() && IsLapTime(row[ridden + 1]))
    {
        ++ridden;
    }
    return ridden;
}

int64_t TotalOfLaps(const RaceStandings& standings, size_t rider, uint32_t laps)
{
    int64_t total = 0;
    for (uint32_t lap = 1; lap <= laps; ++lap)
    {
        total += standings.splitMs[rider][kLapRow][lap];
    }
    return total;
}

void RecordLap(RaceStandings& standings, size_t rider, uint32_t lap, int32_t ms)
{
    auto& row = standings.splitMs[rider][kLapRow];
    if (lap < row.size())
    {
        row[lap] = ms;
    }
    if (!IsLapTime(row[0]) || ms < row[0])
    {
        row[0] = ms;
    }
}

bool At(std::span<const bool> flags, size_t rider)
{
    return rider < flags.size() && flags[rider];
}

// The riders without a classification below the lowest classified key, one step each, in the
// order they held.
void KeysBelowClassified(RaceStandings& standings, std::span<const bool> classified)
{
    int32_t lowest = std::numeric_limits<int32_t>::max();
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (classified[rider])
        {
            lowest = std::min(lowest, standings.sortKey[rider]);
        }
    }
    if (lowest == std::numeric_limits<int32_t>::max())
    {
        lowest = 0;
    }
    std::vector<size_t> others;
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (!classified[rider])
        {
            others.push_back(rider);
        }
    }
    std::ranges::stable_sort(others, [&standings](size_t a, size_t b)
                             { return standings.sortKey[a] > standings.sortKey[b]; });
    for (size_t step = 0; step < others.size(); ++step)
    {
        standings.sortKey[others[step]] = lowest - 1 - static_cast<int32_t>(step);
    }
}

// The race order by the keys, highest first, equal keys keeping their order; the positions
// follow the new order.
void OrderByKeys(RaceStandings& standings)
{
    const size_t racing = std::min<size_t>(standings.ridersInRace, kRiders);
    std::vector<int32_t> order(standings.positionTable.begin(),
                               standings.positionTable.begin() + static_cast<ptrdiff_t>(racing));
    std::array<bool, kRiders> seen{};
    for (const int32_t rider : order)
    {
        if (rider < 0 || rider >= static_cast<int32_t>(kRiders) || seen[static_cast<size_t>(rider)])
        {
            std::iota(order.begin(), order.end(), 0);
            break;
        }
        seen[static_cast<size_t>(rider)] = true;
    }
    std::ranges::stable_sort(order,
                             [&standings](int32_t a, int32_t b) {
                                 return standings.sortKey[static_cast<size_t>(a)] >
                                        standings.sortKey[static_cast<size_t>(b)];
                             });
    for (size_t place = 0; place < order.size(); ++place)
    {
        standings.positionTable[place] = order[place];
        standings.gridOrder[static_cast<size_t>(order[place])] = static_cast<int32_t>(place + 1);
    }
}
}  // namespace

void CompleteRaceBySimulation(RaceStandings& standings, const RaceCompletionInputs& inputs,
                              const RandomSource& random)
{
    const uint32_t laps = std::min<uint32_t>(inputs.laps, RaceStandings::kLapSlots - 1);
    auto& ranks = standings.sessionRanks;
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (ranks[rider] == session_rank::kRacing && At(inputs.stopped, rider))
        {
            ranks[rider] = session_rank::kNotEntered;
        }
    }

    std::array<int64_t, kRiders> total{};
    int64_t largestReal = 0;
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (ranks[rider] >= 0)
        {
            total[rider] = TotalOfLaps(standings, rider, LapsRidden(standings, rider, laps));
            largestReal = std::max(largestReal, total[rider]);
        }
    }

    std::array<bool, kRiders> completed{};
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (ranks[rider] != session_rank::kRacing || !At(inputs.inField, rider))
        {
            continue;
        }
        const int32_t base = rider < inputs.baseLapMs.size() ? inputs.baseLapMs[rider] : 0;
        const uint32_t ridden = LapsRidden(standings, rider, laps);
        for (uint32_t lap = ridden + 1; lap <= laps; ++lap)
        {
            int32_t ms = base + (random() & 0x3FF);
            if (lap == 1)
            {
                ms += inputs.networkStart
                          ? (kNetworkStartStepMs + (random() & 0xFF)) * standings.gridOrder[rider]
                          : kStandingStartMs + (random() & 0x7FF);
            }
            RecordLap(standings, rider, lap, ms);
        }
        total[rider] = TotalOfLaps(standings, rider, laps);
        // Never ahead of a rider who really finished; a draw of 0 still moves on.
        while (total[rider] <= largestReal)
        {
            total[rider] += std::max(random() & 0x1FF, 1);
        }
        ranks[rider] = 0;
        completed[rider] = true;
    }

    int64_t smallest = std::numeric_limits<int64_t>::max();
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (ranks[rider] >= 0)
        {
            smallest = std::min(smallest, total[rider]);
        }
    }
    std::array<bool, kRiders> classified{};
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        if (completed[rider])
        {
            // Lapped: a lap down for every last lap the gap to the winner covers.
            int64_t gap = total[rider] - smallest;
            int16_t lapsDown = 0;
            for (uint32_t lap = laps; lap >= 1 && gap > standings.splitMs[rider][kLapRow][lap];
                 --lap)
            {
                gap -= standings.splitMs[rider][kLapRow][lap];
                ++lapsDown;
            }
            ranks[rider] = lapsDown;
        }
        classified[rider] = ranks[rider] >= 0;
        if (classified[rider])
        {
            standings.sessionTimes[rider] = static_cast<float>(total[rider] * 0.001);
            standings.sortKey[rider] = static_cast<int32_t>(int64_t{ranks[rider]} * -kLapDownKey +
                                                            kClassifiedKeyBase - total[rider]);
        }
        else
        {
            standings.sessionTimes[rider] = -1.0f;
        }
    }
    KeysBelowClassified(standings, classified);
    OrderByKeys(standings);
    if (inputs.player < kRiders && ranks[inputs.player] == session_rank::kNotEntered)
    {
        ranks[inputs.player] = session_rank::kRacing;
    }
}

double ProjectedSecondsToFinish(const RacingLine& line, uint16_t fromNode, uint16_t finishNode,
                                float speed, BikeClass bikeClass, float riderSpeedFactor)
{
    const uint16_t count = line.nodeCount;
    if (count == 0 || fromNode >= count || finishNode >= count)
    {
        return 0.0;
    }
    const size_t classIndex = ToIndex(bikeClass);
    double seconds = 0.0;
    for (uint32_t node = fromNode; node != finishNode; node = (node + 1) % count)
    {
        const RacingLineNode& at = line.nodes[node];
        speed += kSpeedRise[classIndex];
        speed = std::min(speed, std::min(at.speedFactor, kSpeedCap[classIndex]) * riderSpeedFactor);
        if (speed > 0.0f)
        {
            seconds += at.stepLength / static_cast<double>(speed);
        }
    }
    return seconds;
}

void ProjectRunningRiders(RaceStandings& standings, const RaceProjectionInputs& inputs,
                          const RandomSource& random)
{
    auto& ranks = standings.sessionRanks;
    double latest = kLeastProjectedSeconds;
    for (const float seconds : standings.sessionTimes)
    {
        latest = std::max(latest, static_cast<double>(seconds));
    }
    std::array<bool, kRiders> projected{};
    for (size_t rider = 0; rider < kRiders && rider < inputs.bikes.size(); ++rider)
    {
        const BikeRecord& bike = inputs.bikes[rider];
        if (!At(inputs.inField, rider) || ranks[rider] != session_rank::kRacing ||
            standings.sessionTimes[rider] >= 0.0f || (bike.raceStatus != 8 && bike.raceStatus != 9))
        {
            continue;
        }
        if (inputs.line == nullptr || bike.aiLineNode >= inputs.line->nodeCount)
        {
            ranks[rider] = session_rank::kRetired;
            continue;
        }
        const double seconds =
            latest + random() * 0.001 +
            ProjectedSecondsToFinish(*inputs.line, static_cast<uint16_t>(bike.aiLineNode),
                                     inputs.finishNode, bike.speed, inputs.bikeClass,
                                     bike.aiPerformanceRoot);
        standings.sessionTimes[rider] = static_cast<float>(seconds);
        const int32_t lapsLeft = static_cast<int32_t>(inputs.laps) - bike.lapsStarted;
        ranks[rider] = static_cast<int16_t>(std::max(lapsLeft, 0));
        if (bike.lapsStarted == 1)
        {
            standings.splitMs[rider][kLapRow][1] = static_cast<int32_t>(seconds * 1000.0);
        }
        projected[rider] = true;
    }
    std::array<bool, kRiders> classified{};
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        classified[rider] = ranks[rider] >= 0;
        if (!projected[rider])
        {
            continue;
        }
        int32_t faster = 0;
        for (size_t other = 0; other < kRiders; ++other)
        {
            faster +=
                projected[other] && standings.sessionTimes[other] < standings.sessionTimes[rider];
        }
        standings.sortKey[rider] =
            (static_cast<int32_t>(inputs.laps) - ranks[rider]) * kProjectedLapKey - faster +
            kProjectedKeyBase;
    }
    KeysBelowClassified(standings, classified);
    OrderByKeys(standings);
}
