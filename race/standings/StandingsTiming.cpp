// The timing-line crossings of RaceStandings: section times, the speed trap, lap completion and
// the finish.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/util/FormatRaceTime.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/SimMath.h"
#include "race/laps/LapRecord.h"
#include "race/standings/RaceStandings.h"

namespace
{
constexpr float kStepSeconds = 0.04f;
constexpr float kShowSeconds = 5.0f;  // a new section or lap time stays up this long
constexpr float kFinishDisplaySeconds = 600.0f;
constexpr uint32_t kStatusFinished = 10;
constexpr uint32_t kStatusPitStop = 9;
constexpr uint32_t kStatusOvertaken = 2;
constexpr uint8_t kLeaderFinishedByte = 4;
constexpr int32_t kProfileMsMask = 0x3DF;
constexpr float kCutPenaltySeconds = 10.0f;
constexpr int32_t kCutPenaltyMs = 10000;
constexpr int32_t kFirstCrossingBehindMs = 10000;
constexpr size_t kPodiumPlaces = 3;
constexpr size_t kPodiumRebuildPlaces = 5;

// Captions of the fastest lap, German and English.
constexpr const char* kFastestLapCaption[] = {"Schnellste Runde", "Best Lap"};

uint32_t TimingSideBit(size_t line)
{
    return ai_flags::kTimingSide0 << line;
}

// Seconds since the bike crossed the line: its way back to the line along its heading, at its
// speed. Along the line there is no way back to speak of.
float CrossingLag(const BikeRecord& bike, float slope, float offset)
{
    const float across = sim::Cos(bike.heading) - slope * sim::Sin(bike.heading);
    if (across == 0.0f || !(bike.speed > 0.0f))
    {
        return 0.0f;
    }
    const float back = (slope * bike.positionX + offset - bike.positionZ) / across;
    const float lag = std::fabs(back) / bike.speed;
    return lag >= kStepSeconds ? 0.95f * kStepSeconds : lag;
}

// A time text with its leading zero shown as a blank.
template <size_t N>
void CopyTimeText(std::array<char, N>& out, int32_t ms)
{
    static_assert(N >= sizeof(RaceTimeText));
    const RaceTimeText text = FormatRaceTime(ms);
    out = {};
    std::copy(text.begin(), text.end(), out.begin());
    if (out[0] == '0')
    {
        out[0] = ' ';
    }
}
}  // namespace

uint32_t RaceStandings::UpdateSectors(uint32_t rider)
{
    BikeRecord& bike = bikes_[rider];
    const float x = bike.positionX;
    const float z = bike.positionZ;
    for (uint32_t k = 0; k < kLines; ++k)
    {
        const bool side = z < head.lineSlope[k] * x + head.lineOffset[k];
        const uint32_t bit = TimingSideBit(k);
        if (((bike.aiFlags & bit) != 0) == side)
        {
            continue;
        }
        bike.aiFlags ^= bit;
        // Only between the line's ends: the infinite line cuts the circuit elsewhere too.
        if (!(std::fabs(x - lineMidX[k]) < lineHalfLength[k] &&
              std::fabs(z - lineMidZ[k]) < lineHalfLength[k]))
        {
            return 0;
        }
        if (side == (lineForwardSide[k] != 0))
        {
            const Crossing crossing = UpdateSplits(rider, k);
            if (!session_.isRace && bike.raceStatus == kStatusPitStop)
            {
                hooks_->CheckPitRule(rider, k);
            }
            if (k == 0)
            {
                hooks_->OnStartLine(rider);
                return CompleteLap(rider, crossing);
            }
            if (k == 2 && session_.isRace && (finishCount > 0 || bike.lapsStarted >= session_.laps))
            {
                bike.lastLapFlag = 1;
            }
        }
        else if (k == 0 && bike.timedLap == bike.lapsStarted && bike.timedLap != 0)
        {
            // Backing over the start line takes the lap back.
            --bike.timedLap;
            if (ghost_ != nullptr && rider == session_.playerRider)
            {
                ghost_->RestartGhost(true);
            }
        }
        return 0;
    }
    return 0;
}

RaceStandings::Crossing RaceStandings::UpdateSplits(uint32_t rider, uint32_t line)
{
    const auto isOut = [this](uint32_t r)
    { return IsInRace(r) && sessionRanks[r] <= session_rank::kCrashedOut; };
    uint32_t out = 0;
    for (uint32_t r = 0; r < riderCount; ++r)
    {
        out += isOut(r) ? 1 : 0;
    }
    hooks_->SetRidersOut(std::min<uint32_t>(out, riderCount > 0 ? riderCount - 1u : 0u));

    BikeRecord& bike = bikes_[rider];
    const int32_t now = NowMs();
    if (bike.raceStatus == kStatusFinished)
    {
        hooks_->DeriveParameters(rider, now & kProfileMsMask, 0.0f);
        return {now, 0.0f};
    }
    if (bike.timedLap == 0)
    {
        int32_t& count = lastCrossingMs[line][0];
        count = count < 0 ? 0 : count + 1;
        hooks_->DeriveSecondParameters(rider, count);
        if (!session_.isRace)
        {
            // The flying lap starts here: its first section too, not only its lap time.
            bike.aiRunStartMs = now;
        }
        return {now, 0.0f};
    }

    const float lag = CrossingLag(bike, head.lineSlope[line], head.lineOffset[line]);
    const int32_t crossingMs = now - static_cast<int32_t>(lag * 1000.0f);
    const int32_t sectionMs = crossingMs - bike.aiRunStartMs;
    bike.aiRunStartMs = crossingMs;
    const size_t lap = LapIndex(rider);
    int32_t& entry = splitMs[rider][line][lap];
    const bool newEntry = entry == -1;
    if (newEntry)
    {
        entry = sectionMs;
    }
    if (line == head.speedTrapLine)
    {
        trapSpeed[rider][lap] = bike.speed;
        trapSpeed[rider][0] = std::max(trapSpeed[rider][0], bike.speed);
    }

    const bool first = firstCrossingMs[line][lap] == -1;
    int32_t gapMs = 0;
    if (first)
    {
        firstCrossingMs[line][lap] = crossingMs;
        hooks_->UpdateAttrition();
    }
    else
    {
        gapMs = crossingMs - firstCrossingMs[line][lap];
    }
    positionAtCrossing[rider] = static_cast<uint8_t>(std::clamp(gridOrder[rider], 0, 255));

    if (!session_.isRace)
    {
        hooks_->AdjustPace(rider, PaceAdjustment::Practice);
    }
    else
    {
        if (first && (ridersInRace == 1 || rider == session_.playerRider))
        {
            hooks_->SetWorkingParameters(rider, 10000.0f, 1.0f);
        }
        else if (rider == session_.viewedRider && !session_.isNetwork)
        {
            // Off the network only: the viewed rider differs between machines.
            hooks_->SetWorkingParameters(rider, 10.0f, 1.0f);
        }
        if (difficulty == 1)
        {
            hooks_->DeriveThirdParameters(
                rider, gapMs,
                first ? kFirstCrossingBehindMs : crossingMs - lastCrossingMs[line][lap]);
        }
    }
    lastCrossingMs[line][lap] = crossingMs;
    if (newEntry)
    {
        RecordSectionTime(rider, line, crossingMs, sectionMs, gapMs);
    }
    return {crossingMs, lag};
}

void RaceStandings::RecordSectionTime(uint32_t rider, uint32_t line, int32_t crossingMs,
                                      int32_t sectionMs, int32_t gapMs)
{
    int32_t& ownBest = splitMs[rider][line][0];
    const uint32_t viewed = session_.viewedRider;
    if (rider == viewed)
    {
        display.gapTimer = kShowSeconds;
        if (!session_.isRace)
        {
            int32_t reference = ownBest >= 0 ? ownBest : 0;
            if (session_.isQualifying)
            {
                reference = bestSectionMs[line] != kNoSection ? bestSectionMs[line] : 0;
            }
            else if (session_.isGhostSession && ghost_ != nullptr && ghost_->times[line] > 0)
            {
                reference = ghost_->times[line];
            }
            display.sectionMs = sectionMs;
            display.deltaMs = sectionMs - reference;
        }
        else
        {
            display.deltaMs = gapMs;
            display.sectionMs = crossingMs - bikes_[rider].aiLapStartMs;
        }
    }
    else if (session_.isRace && bikes_[rider].raceStatus == kStatusOvertaken &&
             bikes_[viewed].raceStatus < kStatusOvertaken && display.gapTimer > 0.01f &&
             sessionRanks[viewed] == session_rank::kRacing)
    {
        display.deltaMs = -gapMs;
        display.gapTimer = kShowSeconds;
    }
    if (ownBest == -1 || sectionMs < ownBest)
    {
        ownBest = sectionMs;
        if (rider == viewed)
        {
            newBestSection = 1;
        }
    }
    bestSectionMs[line] = std::min(bestSectionMs[line], sectionMs);
}

uint32_t RaceStandings::CompleteLap(uint32_t rider, const Crossing& crossing)
{
    BikeRecord& bike = bikes_[rider];
    if (bike.raceStatus == kStatusFinished)
    {
        return 0;  // a finished rider is not timed again
    }
    const int32_t lapMs = crossing.ms - bike.aiLapStartMs;
    if (!(session_.isRace && bike.timedLap == 0))
    {
        bike.aiLapStartMs = crossing.ms;
    }
    const uint32_t previousLap = bike.timedLap;
    const bool startedOnMainLine = session_.isRace || pitRuleFlag[rider] != 0;
    const bool timed = previousLap >= 1 && previousLap <= session_.laps &&
                       bike.lapsStarted <= previousLap && startedOnMainLine;
    const size_t lap = std::min<size_t>(previousLap, kLapSlots - 1);
    if (timed)
    {
        ShowLapTime(rider, lap, lapMs);
    }
    if (session_.isRace)
    {
        FinishInRace(rider, crossing, previousLap);
        return 0;
    }
    // Lap 0 is the way to the line: nothing of it to take back.
    CompletePracticeLap(rider, startedOnMainLine || previousLap == 0);
    return timed ? 1 : 0;
}

void RaceStandings::ShowLapTime(uint32_t rider, size_t lap, int32_t lapMs)
{
    int32_t& best = splitMs[rider][kLapRow][0];
    if (rider == session_.viewedRider)
    {
        int32_t reference = best >= 0 ? best : 0;
        if (session_.isQualifying)
        {
            reference = fastestLapMs != kNoFastestLap ? static_cast<int32_t>(fastestLapMs) : 0;
        }
        else if (session_.isGhostSession && ghost_ != nullptr && ghost_->times[kLapRow] > 0)
        {
            reference = ghost_->times[kLapRow];
        }
        display.sectionMs = lapMs;
        display.deltaMs = lapMs - reference;
        display.gapTimer = kShowSeconds;
    }
    if (static_cast<uint32_t>(lapMs) < fastestLapMs)
    {
        fastestLapMs = static_cast<uint32_t>(lapMs);
        fastestLapRider = rider;
        const std::string name(hooks_->ShownName(rider));
        std::snprintf(fastestLapText.data(), fastestLapText.size(), "%s %s",
                      kFastestLapCaption[session_.language != 0 ? 1 : 0], name.c_str());
        CopyTimeText(fastestLapTimeText, lapMs);
    }
    if (splitMs[rider][kLapRow][lap] == -1)
    {
        splitMs[rider][kLapRow][lap] = lapMs;
    }
    if (best == -1 || best > lapMs)
    {
        best = lapMs;
        newBestLap = 1;
    }
}

void RaceStandings::FinishInRace(uint32_t rider, const Crossing& crossing, uint32_t previousLap)
{
    BikeRecord& bike = bikes_[rider];
    const uint32_t laps = session_.laps;
    const size_t finalLap = std::min<size_t>(laps, kLapSlots - 1);
    if (firstCrossingMs[0][finalLap] != -1)
    {
        // The leader has taken the flag: whoever crosses now finishes.
        bike.timedLap = static_cast<uint16_t>(laps + 1);
        bike.lapsStarted = static_cast<uint16_t>(laps);
    }
    else
    {
        if (bike.lapsStarted <= bike.timedLap)
        {
            ++bike.lapsStarted;
        }
        bike.timedLap = bike.lapsStarted;
    }
    if (bike.timedLap <= laps)
    {
        return;
    }

    if (bike.raceStatus == 0 && positionTable[0] >= 0)
    {
        riderByte[static_cast<size_t>(positionTable[0])] = kLeaderFinishedByte;
    }
    hooks_->OnRiderFinished(rider);
    if ((bike.aiFlags & ai_flags::kDisqualified) == 0)
    {
        bike.raceStatus = kStatusFinished;
    }
    const std::array<uint32_t, kPodiumPlaces> podiumBefore = podiumRider;
    if (sessionRanks[rider] == session_rank::kRacing)
    {
        sessionTimes[rider] = session_.raceTime - crossing.lag - sessionStartTime;
        bool disqualified = false;
        if (!session_.isNetwork && (bike.aiFlags & ai_flags::kPenaltyPending) != 0)
        {
            // A cut inside the penalty range costs time; anywhere else the race.
            const uint16_t node = line_->CanonicalNode(static_cast<uint16_t>(bike.aiLineNode));
            disqualified = node < session_.penaltyFirstNode || node > session_.penaltyLastNode;
            if (!disqualified)
            {
                sessionTimes[rider] += kCutPenaltySeconds;
                int32_t& lapTime =
                    splitMs[rider][kLapRow][std::min<size_t>(previousLap, kLapSlots - 1)];
                lapTime += lapTime >= 0 ? kCutPenaltyMs : 0;
            }
        }
        if (disqualified)
        {
            SetFinalStatus(rider, session_rank::kDisqualified);
            bike.aiFlags |= ai_flags::kDisqualified;
        }
        else
        {
            sessionRanks[rider] = static_cast<int16_t>(laps - previousLap);
            sortKey[rider] = static_cast<int32_t>(previousLap + 1) * kLapKey - finishCount;
        }
        ++finishCount;
        if (!disqualified)
        {
            ResolveFinishTies(rider);
        }
        Resort(true);
    }
    if (rider == session_.playerRider)
    {
        hooks_->OnPlayerFinished(session_.raceTime);
        display.displayTimer = kFinishDisplaySeconds;
        if (!session_.isReplay)
        {
            hooks_->SetFinishView(rider);
        }
    }
    const bool topThreeChanged =
        !std::equal(podiumBefore.begin(), podiumBefore.end(), positionTable.begin(),
                    [](uint32_t a, int32_t b) { return static_cast<int32_t>(a) == b; });
    if (gridOrder[rider] <= static_cast<int32_t>(kPodiumRebuildPlaces) || topThreeChanged)
    {
        RebuildPodium();
    }

    const bool anyoneRacing = std::any_of(
        bikes_.begin(), bikes_.begin() + riderCount,
        [this, laps](const BikeRecord& other)
        {
            const size_t r = static_cast<size_t>(&other - bikes_.data());
            return IsInRace(static_cast<uint32_t>(r)) && sessionRanks[r] == session_rank::kRacing &&
                   other.timedLap <= laps && !other.IsInactive();
        });
    if (!anyoneRacing)
    {
        sessionOver = 1;
    }
}

void RaceStandings::RebuildPodium()
{
    podiumNameWidth = 0;
    for (size_t place = 0; place < kPodiumPlaces; ++place)
    {
        const int32_t rider = positionTable[place];
        podiumTimeText[place] = {};
        // A place nobody has finished in yet shows nothing.
        if (rider < 0 || sessionTimes[static_cast<size_t>(rider)] < 0.0f ||
            sessionRanks[static_cast<size_t>(rider)] < 0)
        {
            podiumRider[place] = kNoPodiumRider;
            continue;
        }
        podiumRider[place] = static_cast<uint32_t>(rider);
        podiumNameWidth =
            std::max(podiumNameWidth,
                     hooks_->NameWidth(hooks_->ShownName(static_cast<uint32_t>(rider))) / 2);
        CopyTimeText(podiumTimeText[place],
                     static_cast<int32_t>(1000.0f * sessionTimes[static_cast<size_t>(rider)]));
    }
}

void RaceStandings::CompletePracticeLap(uint32_t rider, bool lapCounts)
{
    BikeRecord& bike = bikes_[rider];
    RankRiders();
    const size_t lapBefore = LapIndex(rider);
    uint32_t next = std::min<uint32_t>(bike.timedLap + 1u, kLapSlots - 1);
    if (session_.lapLimit)
    {
        next = std::min(next, session_.laps + 1);
    }
    bike.timedLap = static_cast<uint16_t>(next);
    bike.lapsStarted = static_cast<uint16_t>(next);
    if (!lapCounts)
    {
        // The lap began in the pits or off the main line: nothing of it counts.
        for (auto& row : splitMs[rider])
        {
            row[lapBefore] = -1;
        }
        if (rider == session_.playerRider)
        {
            recording_->Reset();
            if (ghost_ != nullptr)
            {
                ghost_->RestartGhost(false);
            }
        }
    }
    pitRuleFlag[rider] = bike.aiTargetNode < line_->pitLaneFirstNode ? 1 : 0;

    const bool timeUp = session_.raceTime > sessionEndTime;
    const bool lapsDone = session_.lapLimit && bike.timedLap > session_.laps;
    if (timeUp || lapsDone)
    {
        bike.raceStatus = kStatusFinished;
        const bool anyoneRiding =
            std::any_of(bikes_.begin(), bikes_.begin() + riderCount,
                        [this](const BikeRecord& other)
                        {
                            const size_t r = static_cast<size_t>(&other - bikes_.data());
                            return IsInRace(static_cast<uint32_t>(r)) &&
                                   (other.raceStatus == 0 || other.raceStatus == kStatusPitStop) &&
                                   !other.IsInactive();
                        });
        if (!anyoneRiding)
        {
            sessionOver = 1;
        }
    }
}
