#include "frontend/season/SimulatedRace.h"

#include <algorithm>
#include <numeric>

#include "race/standings/RaceStandings.h"

namespace
{
constexpr int32_t kStandingStartMs = 3000;
}

int32_t BaseLapMs(int32_t referenceLapMs, Weather weather, float rating)
{
    const double weatherFactor = weather == Weather::Rain   ? 1.16
                                 : weather == Weather::Dull ? 1.08
                                                            : 1.0;
    const double usableRating = rating > 0.0f ? rating : 1.0;
    return static_cast<int32_t>(referenceLapMs * weatherFactor / usableRating);
}

SimulatedRaceResult SimulateRace(const SimulatedRaceInputs& inputs, const RandomSource& random)
{
    SimulatedRaceResult result;
    result.totalMs.fill(-1);
    result.ranks.fill(session_rank::kNotEntered);
    const size_t riders = std::min(MenuState::kRiders, inputs.rating.size());
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        if (((inputs.fieldMask >> rider) & 1) == 0)
        {
            continue;
        }
        const int32_t base = BaseLapMs(inputs.referenceLapMs, inputs.weather, inputs.rating[rider]);
        int32_t total = 0;
        for (uint32_t lap = 0; lap < inputs.laps; ++lap)
        {
            total += base + (random() & 0x3FF);
            if (lap == 0)
            {
                total += kStandingStartMs + (random() & 0x7FF);
            }
        }
        result.totalMs[rider] = total;
        result.ranks[rider] = 0;
    }

    // Classified riders by their totals (the lower number first on a tie), then the others in
    // rider order.
    std::array<uint32_t, MenuState::kRiders> order{};
    std::iota(order.begin(), order.end(), 0u);
    std::ranges::stable_sort(order,
                             [&result](uint32_t a, uint32_t b)
                             {
                                 const bool aPlaced = result.ranks[a] >= 0;
                                 const bool bPlaced = result.ranks[b] >= 0;
                                 if (aPlaced != bPlaced)
                                 {
                                     return aPlaced;
                                 }
                                 return aPlaced && result.totalMs[a] < result.totalMs[b];
                             });
    for (size_t place = 0; place < order.size(); ++place)
    {
        result.positions[order[place]] = static_cast<int32_t>(place) + 1;
    }
    return result;
}
