#include "frontend/pitbox/PitBoxLists.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "core/util/FormatRaceTime.h"
#include "frontend/pitbox/PitBoxTexts.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"

namespace
{
constexpr const char* kNoValue = "-/-";
constexpr const char* kNoSpeed = "---";
constexpr uint32_t kPersonalLaps = 25;
constexpr size_t kLapRow = RaceStandings::kLapRow;

std::string TimeText(int32_t ms)
{
    return FormatRaceTime(ms).data();
}

// "-/-" for a missing time, as the live lists show it.
std::string TimeOrDash(int32_t ms)
{
    return ms > 0 ? TimeText(ms) : kNoValue;
}

std::string Format(const char* format, auto... values)
{
    char text[64];
    std::snprintf(text, sizeof(text), format, values...);
    return text;
}

std::string FieldText(std::span<const char> field)
{
    return std::string(field.data(), strnlen(field.data(), field.size()));
}

std::string NameOf(const ListSource& source, uint32_t rider)
{
    return rider < source.profiles.size() ? ShortRiderName(source.profiles[rider]) : "";
}

int32_t Split(const RaceStandings& standings, uint32_t rider, size_t row, size_t lap)
{
    return standings.splitMs[rider][row][lap];
}

// The rider's completed laps and their total; laps with a time only.
struct LapTotal
{
    uint32_t laps = 0;
    int64_t totalMs = 0;
};

LapTotal TotalOfLaps(const RaceStandings& standings, uint32_t rider)
{
    LapTotal total;
    for (size_t lap = 1; lap < RaceStandings::kLapSlots; ++lap)
    {
        const int32_t ms = Split(standings, rider, kLapRow, lap);
        if (ms > 0)
        {
            ++total.laps;
            total.totalMs += ms;
        }
    }
    return total;
}

int32_t ClampMs(int64_t ms)
{
    return static_cast<int32_t>(std::min<int64_t>(ms, INT32_MAX));
}

// The riders in position order: the position table up to its first empty entry.
std::vector<uint32_t> RidersInPositionOrder(const RaceStandings& standings)
{
    std::vector<uint32_t> riders;
    for (const int32_t rider : standings.positionTable)
    {
        if (rider < 0 || rider >= static_cast<int32_t>(RaceStandings::kRiders))
        {
            break;
        }
        riders.push_back(static_cast<uint32_t>(rider));
    }
    return riders;
}

void AddRow(ResultList& list, ListRow row, uint32_t player)
{
    if (list.rows.size() >= kListRowLimit)
    {
        return;
    }
    if (list.holdsRiders && row.rider == static_cast<int32_t>(player))
    {
        list.playerRow = static_cast<int32_t>(list.rows.size());
    }
    list.rows.push_back(std::move(row));
}

void TakeHeadings(ResultList& list, std::span<const std::string_view> headings, size_t first)
{
    for (size_t i = 0; i < headings.size() && first + i < list.headings.size(); ++i)
    {
        list.headings[first + i] = std::string(headings[i]);
    }
}

// The times of one rider in a stored session of the weekend; none when absent.
SessionTimes StoredTimes(const MenuState& settings, uint32_t session, uint32_t rider)
{
    for (size_t index = 0; index < MenuState::kRiders; ++index)
    {
        if (SessionOrderAt(settings, session, index) == rider)
        {
            return SessionTimesAt(settings, session, index);
        }
    }
    return {};
}

SessionTimes LiveTimes(const RaceStandings& standings, uint32_t rider)
{
    SessionTimes times;
    times.lapMs = Split(standings, rider, kLapRow, 0);
    for (size_t sector = 0; sector < times.sectorMs.size(); ++sector)
    {
        times.sectorMs[sector] = Split(standings, rider, sector, 0);
    }
    return times;
}

ListRow TimesRow(int32_t rider, std::string name, const SessionTimes& times)
{
    ListRow row;
    row.rider = rider;
    row.name = std::move(name);
    row.columns = {TimeOrDash(times.lapMs), TimeOrDash(times.sectorMs[0]),
                   TimeOrDash(times.sectorMs[1]), TimeOrDash(times.sectorMs[2])};
    return row;
}

bool FasterLap(int32_t a, int32_t b)
{
    const uint32_t keyA = a > 0 ? static_cast<uint32_t>(a) : UINT32_MAX;
    const uint32_t keyB = b > 0 ? static_cast<uint32_t>(b) : UINT32_MAX;
    return keyA < keyB;
}

// The player's laps 1..last with a lap time, fastest first (the earlier lap on ties).
std::vector<uint32_t> TimedLaps(const RaceStandings& standings, uint32_t player, uint32_t last)
{
    std::vector<uint32_t> laps;
    for (uint32_t lap = 1; lap <= last && lap < RaceStandings::kLapSlots; ++lap)
    {
        if (Split(standings, player, kLapRow, lap) > 0)
        {
            laps.push_back(lap);
        }
    }
    std::stable_sort(
        laps.begin(), laps.end(),
        [&](uint32_t a, uint32_t b)
        { return Split(standings, player, kLapRow, a) < Split(standings, player, kLapRow, b); });
    return laps;
}
}  // namespace

std::string ShortRiderName(const RiderProfile& profile)
{
    const std::string first = FieldText(profile.firstName);
    const std::string last = FieldText(profile.lastName);
    if (first.empty())
    {
        return last;
    }
    return std::string(1, first[0]) + ". " + last;
}

std::string StatusWord(Language language, int32_t code)
{
    if (code >= 0 || code < -9)
    {
        return "";
    }
    return std::string(PitBoxTextsOf(language).statusWords[static_cast<size_t>(-code - 1)]);
}

std::string LapsBehindText(Language language, uint32_t laps)
{
    const PitBoxTexts& texts = PitBoxTextsOf(language);
    if (laps == 0)
    {
        return "";
    }
    if (laps == 1)
    {
        return std::string(texts.oneLapBehind);
    }
    return Format("%u %s", laps, std::string(texts.lapsWord).c_str());
}

ResultList BuildPersonalLaps(const ListSource& source)
{
    ResultList list;
    list.holdsRiders = false;
    TakeHeadings(list, PitBoxTextsOf(source.language).personalHeadings, 1);
    const RaceStandings& standings = *source.standings;
    const uint32_t player = std::min<uint32_t>(source.player, RaceStandings::kRiders - 1);
    for (const uint32_t lap : TimedLaps(standings, player, kPersonalLaps))
    {
        ListRow row;
        row.rider = static_cast<int32_t>(lap);
        row.flags = source.lapFileState ? static_cast<uint8_t>(source.lapFileState(lap))
                                        : static_cast<uint8_t>(LapFileCheck::Unusable);
        row.name = std::to_string(lap);
        row.columns = {TimeText(Split(standings, player, kLapRow, lap)),
                       TimeOrDash(Split(standings, player, 0, lap)),
                       TimeOrDash(Split(standings, player, 1, lap)),
                       TimeOrDash(Split(standings, player, 2, lap))};
        AddRow(list, std::move(row), player);
    }
    return list;
}

bool BuildSessionClassification(const ListSource& source, bool onlyClassified, ResultList& list)
{
    const RaceStandings& standings = *source.standings;
    const uint32_t player = std::min<uint32_t>(source.player, RaceStandings::kRiders - 1);
    if (onlyClassified && standings.sessionRanks[player] == session_rank::kRacing)
    {
        return false;
    }
    list = ResultList{};
    TakeHeadings(list, PitBoxTextsOf(source.language).classificationHeadings, 0);
    int64_t winnerMs = -1;
    for (const uint32_t rider : RidersInPositionOrder(standings))
    {
        const int16_t rank = standings.sessionRanks[rider];
        if (rank == session_rank::kNotEntered)
        {
            continue;
        }
        ListRow row;
        row.rider = static_cast<int32_t>(rider);
        row.name = NameOf(source, rider);
        if (rank < 0)
        {
            row.flags = kRowShowsStatus;
            row.columns[0] = StatusWord(source.language, rank);
            AddRow(list, std::move(row), player);
            continue;
        }
        const LapTotal total = TotalOfLaps(standings, rider);
        if (winnerMs < 0)
        {
            winnerMs = total.totalMs;
        }
        const uint32_t lapsBehind = static_cast<uint32_t>(rank);
        row.columns[0] = TimeText(ClampMs(total.totalMs));
        row.columns[1] = lapsBehind == 0 ? TimeText(ClampMs(total.totalMs - winnerMs))
                                         : LapsBehindText(source.language, lapsBehind);
        const int64_t lapsRidden = static_cast<int64_t>(source.raceLaps) - lapsBehind;
        row.columns[2] =
            total.totalMs > 0
                ? Format("%.2f", static_cast<double>(lapsRidden) * source.trackLengthMetres /
                                     static_cast<double>(total.totalMs) * 3600.0)
                : kNoSpeed;
        row.columns[3] = TimeOrDash(Split(standings, rider, kLapRow, 0));
        AddRow(list, std::move(row), player);
    }
    return true;
}

ResultList BuildRaceResults(const ListSource& source)
{
    ResultList list;
    const RaceStandings& standings = *source.standings;
    const PitBoxTexts& texts = PitBoxTextsOf(source.language);
    TakeHeadings(list, texts.raceResultHeadings, 0);
    const uint32_t player = std::min<uint32_t>(source.player, RaceStandings::kRiders - 1);
    const std::vector<uint32_t> order = RidersInPositionOrder(standings);
    const uint32_t leaderLaps = order.empty() ? 0 : TotalOfLaps(standings, order.front()).laps;
    list.title =
        Format("%s %u/%u", std::string(texts.lapWord).c_str(), leaderLaps, source.raceLaps);
    uint32_t ahead = order.empty() ? 0 : order.front();
    for (const uint32_t rider : order)
    {
        const int16_t rank = standings.sessionRanks[rider];
        if (rank == session_rank::kNotEntered)
        {
            break;
        }
        ListRow row;
        row.rider = static_cast<int32_t>(rider);
        row.name = NameOf(source, rider);
        const LapTotal total = TotalOfLaps(standings, rider);
        const int32_t gap = source.gapMs ? source.gapMs(rider, ahead) : -1;
        if (total.laps == 0)
        {
            row.columns = {TimeText(-1), TimeText(-1), kNoSpeed, TimeText(gap)};
        }
        else
        {
            row.columns[1] = TimeText(Split(standings, rider, kLapRow, 0));
            row.columns[2] = Format("%.1f", static_cast<double>(source.trackLengthMetres) * 3600.0 *
                                                total.laps / static_cast<double>(total.totalMs));
            row.columns[3] = TimeText(gap);
            row.columns[0] = TimeText(ClampMs(total.totalMs));
        }
        if (rank == session_rank::kDisqualified)
        {
            row.columns[0] = StatusWord(source.language, rank);
            row.flags = kRowShowsStatus;
        }
        else if (rank < session_rank::kRacing)
        {
            row.columns[0] = TimeText(-1);
        }
        AddRow(list, std::move(row), player);
    }
    return list;
}

ResultList BuildGridTimes(const ListSource& source)
{
    ResultList list;
    TakeHeadings(list, PitBoxTextsOf(source.language).gridHeadings, 0);
    const MenuState& settings = *source.settings;
    const uint32_t fieldMask = settings.U32At(MenuState::kFieldMaskOffset);
    const uint32_t lastSession = std::min(source.session, kTimedSessions - 1);

    struct Entry
    {
        uint32_t rider = 0;
        uint32_t value = UINT32_MAX;  // the best time, practice an hour more
        int32_t bestMs = -1;
    };
    std::vector<Entry> entries;
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        if ((fieldMask >> rider & 1u) == 0)
        {
            continue;
        }
        Entry entry{.rider = rider, .value = UINT32_MAX, .bestMs = -1};
        for (uint32_t session = 0; session <= lastSession; ++session)
        {
            const int32_t lapMs = StoredTimes(settings, session, rider).lapMs;
            if (lapMs <= 0)
            {
                continue;
            }
            const uint32_t value =
                static_cast<uint32_t>(lapMs) + (session % 2 == 0 ? kPracticePenaltyMs : 0);
            if (value < entry.value)
            {
                entry.value = value;
                entry.bestMs = lapMs;
            }
        }
        entries.push_back(entry);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.value < b.value; });
    for (const Entry& entry : entries)
    {
        ListRow row;
        row.rider = static_cast<int32_t>(entry.rider);
        row.name = NameOf(source, entry.rider);
        row.columns = {TimeOrDash(entry.bestMs),
                       TimeOrDash(StoredTimes(settings, 1, entry.rider).lapMs),
                       TimeOrDash(StoredTimes(settings, 3, entry.rider).lapMs),
                       TimeOrDash(StoredTimes(settings, lastSession, entry.rider).lapMs)};
        AddRow(list, std::move(row), source.player);
    }
    return list;
}

ResultList BuildPointsStandings(const ListSource& source, size_t lastCircuit)
{
    ResultList list;
    const MenuState& settings = *source.settings;
    const uint32_t fieldMask = settings.U32At(MenuState::kFieldMaskOffset);
    const size_t last = std::min(lastCircuit, MenuState::kChampionshipCircuits - 1);

    struct Entry
    {
        uint32_t rider = 0;
        ChampionshipScore score;
    };
    std::vector<Entry> entries;
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        if ((fieldMask >> rider & 1u) == 0)
        {
            continue;
        }
        Entry entry{.rider = rider, .score = {}};
        for (size_t circuit = 0; circuit <= last; ++circuit)
        {
            const uint8_t place = ChampionshipPlace(settings, rider, circuit);
            entry.score.points += PointsOfPlace(place);
            entry.score.bestPlace = std::min(entry.score.bestPlace, place);
        }
        entry.score.currentPlace = ChampionshipPlace(settings, rider, last);
        entries.push_back(entry);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return RanksBefore(a.score, b.score); });
    const std::string format(PitBoxTextsOf(source.language).pointsFormat);
    for (const Entry& entry : entries)
    {
        ListRow row;
        row.rider = static_cast<int32_t>(entry.rider);
        row.name = NameOf(source, entry.rider);
        row.columns[0] = Format(format.c_str(), static_cast<int>(entry.score.points));
        AddRow(list, std::move(row), source.player);
    }
    return list;
}

uint32_t SessionOfTab(uint32_t day, uint32_t tab)
{
    if (day >= 2)
    {
        return tab >= 3 ? kRaceSession : kTimedSessions - 1;
    }
    return day * 2 + (tab == 1 ? 1 : 0);
}

ResultList BuildBestTimesList(const ListSource& source, uint32_t day, uint32_t tab)
{
    ResultList list;
    const PitBoxTexts& texts = PitBoxTextsOf(source.language);
    TakeHeadings(list, texts.timesHeadings, 1);
    const uint32_t session = SessionOfTab(day, tab);
    if (session == source.session)
    {
        const RaceStandings& standings = *source.standings;
        const uint32_t riders = std::min<uint32_t>(standings.riderCount, RaceStandings::kRiders);
        std::vector<uint32_t> order;
        for (uint32_t rider = 0; rider < riders; ++rider)
        {
            if (standings.sessionRanks[rider] != session_rank::kNotEntered)
            {
                order.push_back(rider);
            }
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](uint32_t a, uint32_t b) {
                             return FasterLap(Split(standings, a, kLapRow, 0),
                                              Split(standings, b, kLapRow, 0));
                         });
        for (const uint32_t rider : order)
        {
            AddRow(list,
                   TimesRow(static_cast<int32_t>(rider), NameOf(source, rider),
                            LiveTimes(standings, rider)),
                   source.player);
        }
    }
    else if (session < source.session && session < kTimedSessions)
    {
        const MenuState& settings = *source.settings;
        for (size_t index = 0; index < MenuState::kRiders; ++index)
        {
            const uint8_t rider = SessionOrderAt(settings, session, index);
            if (rider >= MenuState::kRiders)
            {
                continue;
            }
            AddRow(list,
                   TimesRow(rider, NameOf(source, rider), SessionTimesAt(settings, session, index)),
                   source.player);
        }
    }
    return list;
}

ResultList BuildLapTimesList(const ListSource& source)
{
    ResultList list;
    list.holdsRiders = false;
    const PitBoxTexts& texts = PitBoxTextsOf(source.language);
    TakeHeadings(list, texts.timesHeadings, 1);
    list.headings[1] = std::string(texts.lapWord);
    const RaceStandings& standings = *source.standings;
    const uint32_t player = std::min<uint32_t>(source.player, RaceStandings::kRiders - 1);
    const std::vector<uint32_t> laps = TimedLaps(standings, player, RaceStandings::kLapSlots - 1);
    if (laps.empty())
    {
        return list;
    }
    SessionTimes ideal = LiveTimes(standings, player);
    const bool allSectors = std::all_of(ideal.sectorMs.begin(), ideal.sectorMs.end(),
                                        [](int32_t ms) { return ms > 0; });
    const int64_t sectorSum =
        std::accumulate(ideal.sectorMs.begin(), ideal.sectorMs.end(), int64_t{0});
    ListRow idealRow;
    idealRow.rider = 0;
    if (allSectors && sectorSum < ideal.lapMs)
    {
        ideal.lapMs = static_cast<int32_t>(sectorSum);
        idealRow = TimesRow(0, std::string(texts.theoretical), ideal);
    }
    else
    {
        const uint32_t best = laps.front();
        idealRow = TimesRow(0, std::string(texts.theoretical),
                            {Split(standings, player, kLapRow, best),
                             {Split(standings, player, 0, best), Split(standings, player, 1, best),
                              Split(standings, player, 2, best)}});
    }
    AddRow(list, std::move(idealRow), player);
    for (const uint32_t lap : laps)
    {
        AddRow(list,
               TimesRow(static_cast<int32_t>(lap),
                        Format("%s %u", std::string(texts.lapWord).c_str(), lap),
                        {Split(standings, player, kLapRow, lap),
                         {Split(standings, player, 0, lap), Split(standings, player, 1, lap),
                          Split(standings, player, 2, lap)}}),
               player);
    }
    return list;
}

std::string PlacePointsText(uint8_t place)
{
    const uint32_t points = PointsOfPlace(place);
    return points > 0 ? std::to_string(points) : "-";
}

size_t SeriesCircuitCount(const MenuState& settings)
{
    size_t count = 0;
    while (count < MenuState::kNetworkCircuitEntries &&
           settings.I8At(MenuState::kNetworkCircuitsOffset + count) >= 0)
    {
        ++count;
    }
    return count;
}

int32_t SeriesColumnWidth(size_t circuits)
{
    constexpr size_t kWideBelow = 11;
    return circuits < kWideBelow ? 54 : static_cast<int32_t>(540 / circuits);
}
