#include "race/standings/RaceStandings.h"

#include <algorithm>
#include <cmath>

#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/SimMath.h"
#include "race/laps/LapRecord.h"

namespace
{
constexpr uint32_t kStatusRetired = 7;
constexpr int32_t kWrongWayLimit = 501;  // line units ridden backwards before a rider is out
constexpr uint32_t kFirstPaceCounter = 14;

uint32_t TimingSideBit(size_t line)
{
    return ai_flags::kTimingSide0 << line;
}

StandingsHooks& NoHooks()
{
    static StandingsHooks hooks;
    return hooks;
}
}  // namespace

RaceStandings::RaceStandings() : hooks_(&NoHooks())
{
    head.Clear();
}

void RaceStandings::Attach(std::span<BikeRecord> bikes, const RacingLine& line,
                           LapRecord& recording)
{
    bikes_ = bikes;
    line_ = &line;
    recording_ = &recording;
}

void RaceStandings::SetHooks(StandingsHooks* hooks)
{
    hooks_ = hooks != nullptr ? hooks : &NoHooks();
}

bool RaceStandings::IsInRace(uint32_t rider) const
{
    return rider < kRiders && session_.inRace[rider] != 0;
}

int32_t RaceStandings::NowMs() const
{
    return static_cast<int32_t>((session_.raceTime + 0.0005f) * 1000.0f);
}

size_t RaceStandings::LapIndex(uint32_t rider) const
{
    // The tables end at lap 34; a longer race keeps its last laps there.
    return std::min<size_t>(bikes_[rider].timedLap, kLapSlots - 1);
}

void RaceStandings::ResetForRace(const StandingsSession& session)
{
    session_ = session;
    allFinished = 0;
    sessionOver = 0;
    display = StandingsDisplay{};
    paceCounter = kFirstPaceCounter;
    fastestLapMs = kNoFastestLap;
    fastestLapRider = kNoFastestRider;
    resortRequest = 0;
    newBestLap = 0;
    newBestSection = 0;
    failureCount = 0;
    crashCount = 0;
    requestCount = 0;
    leaderCrossings = 0;
    sessionSections = 0;
    fastestLapText = {};
    fastestLapTimeText = {};
    podiumTimeText = {};

    for (size_t k = 0; k < kLines; ++k)
    {
        const auto& x = head.lineX[k];
        const auto& z = head.lineZ[k];
        bestSectionMs[k] = kNoSection;
        lineForwardSide[k] = x[1] >= x[0] ? 1 : 0;
        lineMidX[k] = (x[0] + x[1]) * 0.5f;
        lineMidZ[k] = (z[0] + z[1]) * 0.5f;
        const float dx = x[1] - x[0];
        const float dz = z[1] - z[0];
        lineHalfLength[k] = sim::Sqrt(dx * dx + dz * dz) * 0.5f;
        firstCrossingMs[k].fill(-1);
        lastCrossingMs[k].fill(-1);
    }

    riderCount = std::min<uint16_t>(session.riderCount, kRiders);
    const StartSlots& slots = line_->startSlots;
    startNode = static_cast<uint16_t>(line_->CanonicalNode(slots.node[0]) + 1);
    finishCount = 0;
    ridersInRace = 0;
    finalCounter = 0;
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        if (IsInRace(rider))
        {
            ++ridersInRace;
            riderByte[rider] = static_cast<uint8_t>(std::max(gridOrder[rider] - 5, 0));
            if (session.isRace)
            {
                const size_t slot = std::clamp<size_t>(static_cast<size_t>(gridOrder[rider]), 0,
                                                       StartSlots::kMaxSlots - 1);
                int32_t key = line_->CanonicalNode(slots.node[slot]) - startNode;
                sortKey[rider] = key < 0 ? key + kLapNodes : key;
            }
            else
            {
                sortKey[rider] = 0;
                gridOrder[rider] = ridersInRace;
            }
        }
        else
        {
            if (!session.isRace)
            {
                gridOrder[rider] = static_cast<int32_t>(kRiders - finalCounter);
            }
            ++finalCounter;
            riderByte[rider] = 0;
            sortKey[rider] = kNotEnteredKey - static_cast<int32_t>(rider);
        }
        positionAtCrossing[rider] = static_cast<uint8_t>(std::max(gridOrder[rider], 0));

        riderValue[rider] = 102.0f + 0.387f * static_cast<float>(rider);
        sessionTimes[rider] = -1.0f;
        pitRuleFlag[rider] = session.practiceFlag[rider];
        sessionRanks[rider] = IsInRace(rider) ? session_rank::kRacing : session_rank::kNotEntered;
        trapSpeed[rider].fill(-1.0f);
        for (auto& row : splitMs[rider])
        {
            row.fill(-1);
        }
    }

    ridersEntered = ridersInRace;
    const bool humanRides =
        std::any_of(bikes_.begin(), bikes_.begin() + std::min<size_t>(riderCount, bikes_.size()),
                    [](const BikeRecord& bike) { return bike.raceStatus <= 1; });
    if (!humanRides)
    {
        difficulty = 0;
    }
    hooks_->SetUpAttrition();

    TablePlaces();
    hooks_->RankStrengths();
    podiumRider.fill(kNoPodiumRider);
}

void RaceStandings::CheckLineCrossing(uint32_t rider)
{
    if (sessionRanks[rider] != session_rank::kRacing)
    {
        return;
    }
    const BikeRecord& bike = bikes_[rider];
    const size_t lap = LapIndex(rider);
    uint32_t node = bike.aiTargetNode;
    const auto beside = [&]
    { return line_->CanonicalNode(static_cast<uint16_t>(std::min<uint32_t>(node, 0xFFFF))); };
    if (node >= line_->pitLaneFirstNode && node < line_->pitLaneEndNode)
    {
        // In the pit lane: a rider that has not yet passed the first split of its lap counts
        // as at the rejoin point, else as beside its node.
        node = splitMs[rider][1][lap] == -1 ? session_.rejoinNode : beside();
    }
    else if (node >= line_->pitLaneEndNode)
    {
        // A branch or passing lane runs beside the main line: the rider is where it rides,
        // not back at the rejoin point.
        node = beside();
    }
    int32_t distance = static_cast<int32_t>(node) - startNode;
    if (distance < -1)
    {
        distance += kLapNodes;
    }
    else if (distance < 2 && !(bike.timedLap >= 1 && splitMs[rider][2][lap] == -1))
    {
        // Just short of the line at the end of a lap rather than just past it.
        distance += kLapNodes;
    }
    const int32_t key = distance + static_cast<int32_t>(bike.timedLap) * kLapKey;
    if (key == sortKey[rider])
    {
        return;
    }
    ++resortRequest;
    sortKey[rider] = key;
    if (difficulty == 2)
    {
        hooks_->AdjustPace(rider, PaceAdjustment::Hard);
    }
    else if (difficulty == 0)
    {
        hooks_->AdjustPace(rider, PaceAdjustment::Normal);
    }
}

void RaceStandings::SetFinalStatus(uint32_t rider, int16_t code)
{
    if (rider >= kRiders || sessionRanks[rider] != session_rank::kRacing)
    {
        return;
    }
    const bool playerMayTake = code == session_rank::kDisqualified ||
                               code == session_rank::kNotEntered ||
                               code == session_rank::kRetiredByNetwork;
    if (rider == session_.playerRider && !playerMayTake)
    {
        return;
    }
    sessionRanks[rider] = code;
    sortKey[rider] = static_cast<int32_t>(finalCounter);
    ++finalCounter;
}

void RaceStandings::RetireRider(uint32_t rider, bool withRetirementFlag)
{
    if (rider >= riderCount || !IsInRace(rider))
    {
        return;
    }
    BikeRecord& bike = bikes_[rider];
    if (withRetirementFlag)
    {
        bike.retirementFlag = 1;
        sessionRanks[rider] = session_rank::kRetired;
    }
    else
    {
        sessionRanks[rider] = session_rank::kDroppedOut;
    }
    ++failureCount;
    bike.raceStatus = kStatusRetired;
    if (rider == session_.viewedRider)
    {
        const uint16_t node = line_->CanonicalNode(static_cast<uint16_t>(bike.aiLineNode));
        if (node < line_->tvCameraByNode.size() &&
            line_->tvCameraByNode[node] < line_->tvCameraCount)
        {
            hooks_->SetTvView(line_->tvCameraByNode[node]);
        }
    }
}

int16_t RaceStandings::IsStartLineAhead(uint32_t rider)
{
    BikeRecord& bike = bikes_[rider];
    const bool side = bike.positionZ < head.lineSlope[0] * bike.positionX + head.lineOffset[0];
    if (side)
    {
        bike.aiFlags |= TimingSideBit(0);
    }
    return side == (head.lineX[0][1] >= head.lineX[0][0]) ? 1 : 0;
}

uint32_t RaceStandings::IsPlayerRacing() const
{
    const uint32_t player = session_.playerRider;
    const int16_t rank = sessionRanks[player];
    if (session_.isReplay || session_.isObservation || rank == session_rank::kRetired ||
        rank == session_rank::kDisqualified || rank == session_rank::kDroppedOut)
    {
        return 0;
    }
    return bikes_[player].wrongWayDistance < kWrongWayLimit ? 1 : 0;
}

void RaceStandings::AllFinishedCheck()
{
    for (uint32_t rider = kRiders; rider-- > 0;)
    {
        const int16_t rank = sessionRanks[rider];
        if (IsInRace(rider) && rank >= session_rank::kDroppedOut && rank <= session_rank::kRacing)
        {
            return;
        }
    }
    allFinished = 1;
}
