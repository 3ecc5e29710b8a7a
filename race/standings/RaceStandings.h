#pragma once

// Timing and classification of the running session (g_standings): the crossings of the
// circuit's three timing lines, section and lap times, the fastest lap, the speed trap, the
// finish and each rider's status, and the order of the riders: by progress along the racing
// line in a race, by best lap in the other sessions.
//
// The computer-rider update drives it once per rider and 40 ms step; the head-up display, the
// camera, the pit box, the session bookkeeping and the network exchange read its tables, which
// only its member functions write. What it asks of the computer riders, the rider profiles, the
// attrition schedule and the camera goes through StandingsHooks. Times are signed milliseconds
// of race time, -1 = not yet. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "race/StandingsHeadRecord.h"
#include "race/standings/StandingsHooks.h"
#include "race/standings/StandingsSession.h"

struct BikeRecord;
struct LapRecord;
class RacingLine;

// g_sessionRanks: a rider's status in the session.
namespace session_rank
{
inline constexpr int16_t kRacing = -1;  // no final status yet; >= 0: finished, laps down
inline constexpr int16_t kCrashedOut = -2;
inline constexpr int16_t kRetired = -3;  // dropped out with the retirement flag
inline constexpr int16_t kDisqualified = -5;
inline constexpr int16_t kDroppedOut = -7;  // mechanical
inline constexpr int16_t kNotEntered = -8;
inline constexpr int16_t kRetiredByNetwork = -9;
}  // namespace session_rank

// What the head-up display shows of the viewed rider's timing; it counts the timers down.
struct StandingsDisplay
{
    float gapTimer = 0.0f;  // s the section or lap time stays up
    int32_t sectionMs = 0;  // the section or lap time shown
    int32_t deltaMs = 0;    // against the best, the ghost or the leader
    float displayTimer = 0.0f;
};

class RaceStandings
{
public:
    static constexpr size_t kRiders = 26;
    static constexpr size_t kLines = StandingsHeadRecord::kLines;
    static constexpr size_t kLapSlots = 35;  // lap 0 (entry 0 of a row: the best) .. 34
    static constexpr size_t kLapRow = 3;     // the row of lap times beside the three sections
    static constexpr int32_t kNoSection = 0x0FFFFFFF;
    static constexpr float kNoSessionEnd = 3.0e38f;  // a race ends by its laps
    static constexpr uint32_t kNoFastestLap = 0xFFFFFFFF;
    static constexpr uint32_t kNoFastestRider = 0xFFFFF;
    static constexpr int32_t kLapKey = 20000;   // sort key of one lap
    static constexpr int32_t kLapNodes = 9500;  // wraps a node distance behind the start line
    static constexpr int32_t kNotEnteredKey = -100000000;
    static constexpr uint32_t kNoPodiumRider = 255;

    // The timing lines are cleared; the level is 2 until the session sets its own.
    RaceStandings();

    // The riders, the racing line and the player's lap recording the standings work on; they
    // outlive the standings. Attached once, before the first reset.
    void Attach(std::span<BikeRecord> bikes, const RacingLine& line, LapRecord& recording);
    // What the standings ask of the parts around them; null for nothing.
    void SetHooks(StandingsHooks* hooks);
    // The ghost of a ghost session, or null.
    void SetGhost(LapRecord* ghost) { ghost_ = ghost; }

    // Before each race: everything but the timing lines, the session times and the grid
    // order is set from the session. The grid order must hold the riders' start positions.
    void ResetForRace(const StandingsSession& session);
    // The session's values that change during the race (the viewed rider, the race time).
    StandingsSession& Session() { return session_; }

    // Per rider and step, from the computer-rider update.
    void CheckLineCrossing(uint32_t rider);
    uint32_t UpdateSectors(uint32_t rider);  // CompleteLap's result on line 0, else 0

    void AllFinishedCheck();
    void RankRiders();
    void Resort(bool force);
    uint32_t ResolveFinishTies(uint32_t rider);
    void BuildPositionTable();
    void SetFinalStatus(uint32_t rider, int16_t code);
    void RetireRider(uint32_t rider, bool withRetirementFlag);
    int16_t IsStartLineAhead(uint32_t rider);
    uint32_t IsPlayerRacing() const;
    int32_t GetPosition(uint32_t rider) const { return gridOrder[rider]; }

    // The derived line data, set at reset.
    StandingsHeadRecord head;
    std::array<uint32_t, kLines> lineForwardSide{};  // 1 when the second end's x >= the first's
    std::array<float, kLines> lineMidX{};
    std::array<float, kLines> lineMidZ{};
    std::array<float, kLines> lineHalfLength{};

    std::array<std::array<int32_t, kLapSlots>, kLines> lastCrossingMs{};  // the latest rider's
    std::array<int32_t, kLines> bestSectionMs{};  // of any rider, kNoSection = none
    uint32_t paceCounter = 0;
    uint16_t startNode = 0;    // racing-line node of the start line
    uint16_t finishCount = 0;  // riders that have taken the flag
    std::array<uint8_t, kRiders> positionAtCrossing{};
    uint32_t finalCounter = 0;  // handed to each final status in turn
    uint32_t resortRequest = 0;

    // The attrition schedule's counters.
    uint16_t minDropOuts = 0;
    uint16_t maxDropOuts = 0;
    uint16_t leaderCrossings = 0;
    uint16_t sessionSections = 0;
    uint16_t failureTarget = 0;
    uint16_t crashTarget = 0;

    uint16_t riderCount = 0;
    uint16_t ridersInRace = 0;
    // The riders the session started with: the race order keeps them all, those out too.
    uint16_t ridersEntered = 0;
    uint32_t allFinished = 0;
    uint32_t sessionOver = 0;
    uint32_t newBestLap = 0;      // the viewed rider's; the display clears it
    uint16_t newBestSection = 0;  // likewise

    uint32_t fastestLapMs = kNoFastestLap;
    uint32_t fastestLapRider = kNoFastestRider;
    std::array<std::array<int32_t, kLapSlots>, kLines> firstCrossingMs{};  // the leader's

    // Per rider, rows 0..2 the section that ended at line 0, 1, 2 on each lap, row 3 the lap
    // times; entry 0 of every row is the rider's best of that row.
    std::array<std::array<std::array<int32_t, kLapSlots>, 4>, kRiders> splitMs{};
    std::array<int32_t, kRiders> sortKey{};  // progress; the race order is highest first
    std::array<std::array<float, kLapSlots>, kRiders> trapSpeed{};  // entry 0 the highest
    std::array<float, kRiders> riderValue{};                        // 102 + 0.387 rider
    std::array<float, kRiders> sessionTimes{};     // g_sessionTimes: s from the start, -1 = none
    float sessionEndTime = kNoSessionEnd;          // race time at which a timed session ends
    float sessionStartTime = 0.0f;                 // both set by the session start
    std::array<int16_t, kRiders> sessionRanks{};   // g_sessionRanks
    std::array<int32_t, kRiders> gridOrder{};      // g_gridOrder: the position, from 1
    std::array<uint8_t, kRiders> riderByte{};      // max(position - 5, 0) at reset
    std::array<int32_t, kRiders> positionTable{};  // position - 1 -> rider, -1 = empty
    std::array<uint32_t, kRiders> pitRuleFlag{};

    uint16_t difficulty = 2;  // g_difficulty: 0, 1 or 2; 0 once no player rides
    uint16_t failureCount = 0;
    uint16_t crashCount = 0;
    uint16_t requestCount = 0;

    std::array<char, 128> fastestLapText{};  // "caption name"
    std::array<char, 12> fastestLapTimeText{};
    std::array<std::array<char, 16>, 3> podiumTimeText{};
    std::array<uint32_t, 3> podiumRider{};
    int32_t podiumNameWidth = 0;

    StandingsDisplay display;

private:
    struct Crossing
    {
        int32_t ms;  // when the line was crossed
        float lag;   // s since
    };

    int32_t NowMs() const;
    size_t LapIndex(uint32_t rider) const;
    Crossing UpdateSplits(uint32_t rider, uint32_t line);
    uint32_t CompleteLap(uint32_t rider, const Crossing& crossing);
    void RecordSectionTime(uint32_t rider, uint32_t line, int32_t crossingMs, int32_t sectionMs,
                           int32_t gapMs);
    void ShowLapTime(uint32_t rider, size_t lap, int32_t lapMs);
    void FinishInRace(uint32_t rider, const Crossing& crossing, uint32_t previousLap);
    void CompletePracticeLap(uint32_t rider, bool lapCounts);
    void RebuildPodium();
    // The position table from the places, the lowest rider number taking a shared place.
    void TablePlaces();
    bool IsInRace(uint32_t rider) const;

    std::span<BikeRecord> bikes_;
    const RacingLine* line_ = nullptr;
    LapRecord* recording_ = nullptr;
    LapRecord* ghost_ = nullptr;
    StandingsHooks* hooks_;
    StandingsSession session_;
};
