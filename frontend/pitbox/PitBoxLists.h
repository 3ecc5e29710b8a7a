#pragma once

// The lists of the pit box as text rows: the live times of a weekend (general best times,
// personal lap times), the personal lap list of a test ride or ghost session, the
// classification of a practice session, the result of a race, the grid times of a weekend and
// the championship points. Built from the standings, the settings' weekend and championship
// tables and the riders' names; the menu draws them. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "race/RiderProfile.h"
#include "race/laps/LapFile.h"
#include "race/standings/RaceStandings.h"

inline constexpr size_t kListRowLimit = 26;

// rowFlags of the personal lap list.
inline constexpr uint8_t kLapFileValid = 1;
inline constexpr uint8_t kLapMayBeKept = 2;
inline constexpr uint8_t kLapSelected = 4;
inline constexpr uint8_t kLapIsGhost = 8;
// rowFlags of a classification: the row shows a status word instead of a time.
inline constexpr uint8_t kRowShowsStatus = 1;

struct ListRow
{
    int32_t rider = -1;  // rowRider: the rider, or the lap number on lap lists
    uint8_t flags = 0;   // rowFlags
    std::string name;
    std::array<std::string, 4> columns;
};

struct ResultList
{
    std::vector<ListRow> rows;  // at most kListRowLimit
    std::array<std::string, 6> headings;
    std::string title;        // empty: none shown
    bool holdsRiders = true;  // false: the rows are laps
    int32_t playerRow = -1;   // the local player's row, -1 when absent
};

// What the lists are built from.
struct ListSource
{
    Language language = Language::German;
    const RaceStandings* standings = nullptr;
    const MenuState* settings = nullptr;
    std::span<const RiderProfile> profiles;  // names, by rider
    uint32_t player = 0;
    uint32_t session = 0;  // the settings' session number of the weekend
    int32_t trackLengthMetres = 0;
    uint32_t raceLaps = 0;
    // RaceAi::EstimateGapMs; null shows no gaps.
    std::function<int32_t(uint32_t rider, uint32_t& ahead)> gapMs;
    // The state of a lap file of the session (CheckLapFile); null in a test ride.
    std::function<LapFileCheck(uint32_t lap)> lapFileState;
};

// "%c. %s" with the first name's initial, or the surname alone when there is no first name.
std::string ShortRiderName(const RiderProfile& profile);

// Text of a classification code below 0 (-1 .. -9), "" for -8 and any other code.
std::string StatusWord(Language language, int32_t code);
// "1 Runde", "%u Runden" for laps behind; "" for 0.
std::string LapsBehindText(Language language, uint32_t laps);

// The player's laps 1..25 with a time, fastest first; flags from the lap files.
ResultList BuildPersonalLaps(const ListSource& source);
// The riders in position order, a rider classified -8 left out. With onlyClassified set and the
// player classified -1 nothing is built: false.
bool BuildSessionClassification(const ListSource& source, bool onlyClassified, ResultList& list);
ResultList BuildRaceResults(const ListSource& source);
// Each rider's best time of the sessions up to the settings' session number, a practice time
// counting an hour more than a qualifying time.
ResultList BuildGridTimes(const ListSource& source);
// The field of the championship by points over circuits 0..lastCircuit.
ResultList BuildPointsStandings(const ListSource& source, size_t lastCircuit);

// The times page: day 0..2 and tab 0..3 name a session of the weekend (training, qualifying,
// warm-up, race); the running one is read from the standings, an earlier one from the weekend
// tables, a later one is empty.
uint32_t SessionOfTab(uint32_t day, uint32_t tab);
ResultList BuildBestTimesList(const ListSource& source, uint32_t day, uint32_t tab);
// The player's laps of the running session, fastest first, after the ideal lap: the best three
// sectors when all exist and their sum beats the best lap, else the best lap.
ResultList BuildLapTimesList(const ListSource& source);

// The points page and the series table: the points a place scores as text ("25" .. "1"), "-"
// for none; the circuits of the network series (its list up to the first negative entry) and
// the width of their columns, 540 / count, but 54 below 11 circuits.
std::string PlacePointsText(uint8_t place);
size_t SeriesCircuitCount(const MenuState& settings);
int32_t SeriesColumnWidth(size_t circuits);
