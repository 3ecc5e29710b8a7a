#include "frontend/season/WeekendSessions.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
constexpr int32_t kNoTimeKey = 0x3FFFFFFF;
constexpr size_t kTables = MenuState::kSessionTimeTables;
constexpr size_t kRiders = MenuState::kRiders;

size_t OrderOffset(uint32_t session, size_t index)
{
    return MenuState::kSessionOrderOffset + session * kRiders + index;
}

// Table 0 the lap times, 1..3 the sectors.
size_t TimeOffset(uint32_t session, size_t table, size_t index)
{
    return MenuState::kSessionTimesOffset + ((session * kTables + table) * kRiders + index) * 4;
}

size_t BestOffset(uint32_t rider)
{
    return MenuState::kWeekendBestOffset + rider * 4;
}

bool IsPractice(uint32_t session)
{
    return session % 2 == 0;
}

void OfferWeekendBest(MenuState& settings, uint32_t session, uint32_t rider, int32_t lapMs)
{
    const uint32_t candidate =
        static_cast<uint32_t>(lapMs) + (IsPractice(session) ? kPracticePenaltyMs : 0);
    if (candidate < WeekendBest(settings, rider))
    {
        settings.SetU32At(BestOffset(rider), candidate);
    }
}

void SetTimes(MenuState& settings, uint32_t session, size_t index, const SessionTimes& times)
{
    settings.SetI32At(TimeOffset(session, 0, index), times.lapMs);
    for (size_t sector = 0; sector < times.sectorMs.size(); ++sector)
    {
        settings.SetI32At(TimeOffset(session, sector + 1, index), times.sectorMs[sector]);
    }
}

void SwapEntries(MenuState& settings, uint32_t session, size_t a, size_t b)
{
    const uint8_t order = settings.U8At(OrderOffset(session, a));
    settings.SetU8At(OrderOffset(session, a), settings.U8At(OrderOffset(session, b)));
    settings.SetU8At(OrderOffset(session, b), order);
    for (size_t table = 0; table < kTables; ++table)
    {
        const int32_t time = settings.I32At(TimeOffset(session, table, a));
        settings.SetI32At(TimeOffset(session, table, a),
                          settings.I32At(TimeOffset(session, table, b)));
        settings.SetI32At(TimeOffset(session, table, b), time);
    }
}

double SessionFactor(uint32_t session)
{
    constexpr std::array<double, kTimedSessions> kFactors = {1.04, 1.0, 1.02, 1.0, 1.05};
    return session < kFactors.size() ? kFactors[session] : 1.0;
}

double WeatherFactor(Weather weather)
{
    switch (weather)
    {
        case Weather::Rain:
            return 1.08;
        case Weather::Dull:
            return 1.05;
        case Weather::Fine:
            break;
    }
    return 1.0;
}

double DifficultyFactor(uint32_t difficulty)
{
    return difficulty == 0 ? 0.995 : difficulty == 1 ? 1.003 : 1.012;
}
}  // namespace

uint8_t SessionOrderAt(const MenuState& settings, uint32_t session, size_t index)
{
    return settings.U8At(OrderOffset(session, index));
}

SessionTimes SessionTimesAt(const MenuState& settings, uint32_t session, size_t index)
{
    SessionTimes times;
    times.lapMs = settings.I32At(TimeOffset(session, 0, index));
    for (size_t sector = 0; sector < times.sectorMs.size(); ++sector)
    {
        times.sectorMs[sector] = settings.I32At(TimeOffset(session, sector + 1, index));
    }
    return times;
}

uint32_t WeekendBest(const MenuState& settings, uint32_t rider)
{
    return settings.U32At(BestOffset(rider));
}

void ClearWeekend(MenuState& settings)
{
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        settings.SetU32At(BestOffset(rider), MenuState::kNoTime);
    }
    for (uint32_t session = 0; session < kTimedSessions; ++session)
    {
        for (size_t index = 0; index < kRiders; ++index)
        {
            settings.SetU8At(OrderOffset(session, index), MenuState::kNoEntry);
            SetTimes(settings, session, index, SessionTimes{});
        }
    }
}

void StoreRiderTimes(MenuState& settings, uint32_t session, uint32_t rider,
                     const SessionTimes& times)
{
    if (session >= kTimedSessions || rider >= kRiders)
    {
        return;
    }
    const bool hasLap = times.lapMs > 0;
    settings.SetU8At(OrderOffset(session, rider),
                     hasLap ? static_cast<uint8_t>(rider) : MenuState::kNoEntry);
    SetTimes(settings, session, rider, times);
    if (hasLap)
    {
        OfferWeekendBest(settings, session, rider, times.lapMs);
    }
}

bool RidesSimulatedSession(uint32_t raceStatus)
{
    switch (raceStatus)
    {
        case 3:
        case 6:
            return true;
        case 10:
        case 11:
        case 14:
        case 16:
            return false;
        default:
            return raceStatus >= 8;
    }
}

void SimulateTimedSession(MenuState& settings, uint32_t session,
                          const SimulatedSessionInputs& inputs, bool keepBest,
                          const std::function<int()>& random)
{
    if (session >= kTimedSessions)
    {
        return;
    }
    const double conditions = SessionFactor(session) * WeatherFactor(inputs.weather) *
                              DifficultyFactor(inputs.difficulty);
    const size_t riders = std::min({kRiders, inputs.raceStatus.size(), inputs.rating.size()});
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        if (!RidesSimulatedSession(inputs.raceStatus[rider]))
        {
            continue;
        }
        const float rating = inputs.rating[rider];
        const double usableRating = rating > 0.0f ? std::min(rating, 1.0f) : 1.0;
        const double riderFactor = 1.0 / usableRating + (random() & 0x7F) * 0.0001;
        SessionTimes times;
        times.lapMs = 0;
        for (size_t sector = 0; sector < times.sectorMs.size(); ++sector)
        {
            const double scaled = inputs.referenceSectorMs[sector] * conditions * riderFactor;
            times.sectorMs[sector] = static_cast<int32_t>(scaled) + (random() & 0xFF);
            times.lapMs += times.sectorMs[sector];
        }
        times.lapMs += random() & 0xFF;
        if (keepBest && SessionOrderAt(settings, session, rider) == rider)
        {
            const SessionTimes stored = SessionTimesAt(settings, session, rider);
            if (stored.lapMs > 0 && stored.lapMs < times.lapMs)
            {
                times = stored;
            }
        }
        StoreRiderTimes(settings, session, rider, times);
    }
    SortStoredSession(settings, session);
}

void SortStoredSession(MenuState& settings, uint32_t session)
{
    if (session >= kTimedSessions)
    {
        return;
    }
    std::array<int32_t, kRiders> keys{};
    for (size_t index = 0; index < kRiders; ++index)
    {
        const int32_t lap = settings.I32At(TimeOffset(session, 0, index));
        if (SessionOrderAt(settings, session, index) >= kRiders)
        {
            settings.SetU8At(OrderOffset(session, index), MenuState::kNoEntry);
            keys[index] = kNoTimeKey;
        }
        else
        {
            keys[index] = lap < 0 ? kNoTimeKey : lap;
        }
    }
    for (size_t place = 0; place + 1 < kRiders; ++place)
    {
        size_t fastest = place;
        for (size_t index = place + 1; index < kRiders; ++index)
        {
            if (keys[index] < keys[fastest])
            {
                fastest = index;
            }
        }
        if (fastest != place)
        {
            std::swap(keys[place], keys[fastest]);
            SwapEntries(settings, session, place, fastest);
        }
    }
    for (size_t index = 0; index < kRiders; ++index)
    {
        if (keys[index] == kNoTimeKey)
        {
            SetTimes(settings, session, index, SessionTimes{});
        }
    }
}

void GridFromWeekendBest(const MenuState& settings, uint32_t fieldMask,
                         std::span<int32_t, MenuState::kRiders> positions)
{
    const auto inField = [fieldMask](uint32_t rider) { return ((fieldMask >> rider) & 1) != 0; };
    int32_t fieldSize = 0;
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        if (!inField(rider))
        {
            continue;
        }
        ++fieldSize;
        const uint32_t best = WeekendBest(settings, rider);
        int32_t position = 1;
        for (uint32_t other = 0; other < kRiders; ++other)
        {
            const uint32_t otherBest = WeekendBest(settings, other);
            if (inField(other) && (otherBest < best || (otherBest == best && other < rider)))
            {
                ++position;
            }
        }
        positions[rider] = position;
    }
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        if (!inField(rider))
        {
            positions[rider] = ++fieldSize;
        }
    }
}
