// The drop-out schedule, its requests as the leader crosses the timing lines, the crash-out
// decision of a collision and the strength ranks of the field.

#include "race/standings/RaceAttrition.h"

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/BikeRecord.h"
#include "race/RaceAi.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceStandings.h"

namespace
{
// Statuses whose riders no collision takes out: in the pit box before the first exit, the
// player entering the pit lane.
bool ShelteredStatus(uint32_t status)
{
    return status == 2 || status == 14 || status == 16;
}

struct ScheduleShares
{
    float minimum;  // of the field: riders out at least
    float maximum;
    float failures;
    float crashes;
};

// Dry races lose few riders, wet ones many; crashes follow the temperature.
ScheduleShares SharesFor(float wetness, float temperature)
{
    if (wetness < 0.3f)
    {
        return {0.0f, 0.3f, 0.1f, 0.0075f * temperature};
    }
    if (wetness <= 0.7f)
    {
        return {0.3f, 0.6f, 0.4f, 0.0075f * (55.0f - temperature)};
    }
    return {0.1f, 0.4f, 0.2f, 0.005f * (50.0f - temperature)};
}

uint16_t Share(uint32_t riders, float share, float rounding)
{
    return static_cast<uint16_t>(
        std::max(TruncateToInt32(static_cast<float>(riders) * share + rounding), 0));
}

// failures / failureTarget >= crashes / crashTarget, with x / 0 infinite for x > 0 and 0 / 0 = 0.
bool FailuresAhead(uint32_t failures, uint32_t failureTarget, uint32_t crashes,
                   uint32_t crashTarget)
{
    if (failureTarget == 0 && failures > 0)
    {
        return true;
    }
    if (crashTarget == 0 && crashes > 0)
    {
        return false;
    }
    if (failureTarget == 0 || crashTarget == 0)
    {
        return failureTarget != 0 || crashes == 0 || crashTarget == 0;
    }
    return uint64_t{failures} * crashTarget >= uint64_t{crashes} * failureTarget;
}
}  // namespace

RaceAttrition::RaceAttrition(RaceStandings& standings, RaceAi& race, std::span<BikeRecord> bikes,
                             std::span<RiderProfile> profiles, IncidentRequests& requests)
    : standings_(standings), race_(race), bikes_(bikes), profiles_(profiles), requests_(requests)
{
}

uint32_t RaceAttrition::RandomWord() const
{
    const uint32_t index = step_ & 255;
    return index < randomTable_.size() ? randomTable_[index] : 0;
}

void RaceAttrition::SetUpAttrition()
{
    RaceStandings& s = standings_;
    const StandingsSession& session = s.Session();
    const ScheduleShares shares = SharesFor(settings_.trackWetness, settings_.airTemperature);
    if (!session.isRace)
    {
        s.sessionSections = 90;
    }
    else
    {
        s.sessionSections = static_cast<uint16_t>(session.laps > 5 ? 3 * session.laps : 15);
    }
    const uint32_t inRace = s.ridersInRace;
    const uint32_t notInRace = s.riderCount > inRace ? s.riderCount - inRace : 0;
    uint32_t minimum = Share(inRace, shares.minimum, 0.5f);
    uint32_t maximum = Share(inRace, shares.maximum, 1.5f);
    const uint32_t r = RandomWord();
    const uint32_t extra = r >= 21845 ? 2 : (r > 10922 ? 1 : 0);
    minimum += extra;
    maximum = std::min(maximum + extra, inRace);
    if (minimum >= maximum)
    {
        minimum = maximum <= 1 ? 0 : maximum - 1;
    }
    s.minDropOuts = static_cast<uint16_t>(minimum + notInRace);
    s.maxDropOuts = static_cast<uint16_t>(maximum + notInRace);
    s.failureTarget = Share(inRace, shares.failures, 0.5f);
    s.crashTarget = Share(inRace, shares.crashes, 0.5f);
    s.leaderCrossings = 0;
    s.failureCount = 0;
    s.crashCount = 0;
    s.requestCount = 0;
}

void RaceAttrition::RankStrengths()
{
    const uint32_t riders = std::min<uint32_t>(standings_.riderCount, profiles_.size());
    for (RiderProfile& profile : profiles_)
    {
        int32_t stronger = 0;
        for (uint32_t other = 0; other < riders; ++other)
        {
            if (standings_.Session().inRace[other] == 0)
            {
                continue;
            }
            const RiderProfile& rival = profiles_[other];
            if (rival.paceBase > profile.paceBase ||
                (rival.paceBase == profile.paceBase && rival.rangeBase > profile.rangeBase))
            {
                ++stronger;
            }
        }
        profile.paceRank = stronger;
    }
}

uint32_t RaceAttrition::RidersOut() const
{
    uint32_t out = 0;
    for (uint32_t rider = 0; rider < standings_.riderCount && rider < RaceStandings::kRiders;
         ++rider)
    {
        out += standings_.sessionRanks[rider] <= session_rank::kCrashedOut ? 1 : 0;
    }
    return out;
}

float RaceAttrition::Progress() const
{
    return standings_.sessionSections == 0 ? 0.0f
                                           : static_cast<float>(standings_.leaderCrossings) /
                                                 static_cast<float>(standings_.sessionSections);
}

void RaceAttrition::UpdateAttrition()
{
    RaceStandings& s = standings_;
    const StandingsSession& session = s.Session();
    if (session.isNetwork)
    {
        requests_.any = false;
        return;
    }
    ++s.leaderCrossings;
    const float progress = Progress();
    const uint32_t out = RidersOut();
    const auto due = static_cast<uint32_t>(std::max(
        TruncateToInt32(static_cast<float>(2 * s.minDropOuts + s.maxDropOuts) * 0.333f * progress +
                        0.5f),
        0));
    if (out < due && session.isRace)
    {
        if (FailuresAhead(s.failureCount, s.failureTarget, s.crashCount, s.crashTarget))
        {
            requests_.crash = true;
        }
        else
        {
            requests_.technicalFailure = true;
        }
        requests_.any = true;
        s.requestCount = static_cast<uint16_t>(s.requestCount + 2);
    }
    else if (s.requestCount < s.leaderCrossings)
    {
        requests_.fall = true;
        requests_.any = true;
        s.requestCount = static_cast<uint16_t>(s.requestCount + 1);
    }
    if (s.difficulty != 2)
    {
        return;
    }
    // Humans at the back meet a faster rider now and then.
    uint32_t remaining = 0;
    for (uint32_t rider = 0; rider < s.riderCount && rider < RaceStandings::kRiders; ++rider)
    {
        remaining += session.inRace[rider] != 0 && s.sessionRanks[rider] == session_rank::kRacing;
    }
    const int32_t backPlaces =
        std::max(static_cast<int32_t>(remaining - std::min(remaining / 4, 4u)), 8);
    for (uint32_t rider = 0; rider < s.riderCount && rider < bikes_.size(); ++rider)
    {
        if (bikes_[rider].raceStatus == 0 && s.gridOrder[rider] >= backPlaces)
        {
            requests_.backMarker = (RandomWord() & 48) == 0;
            requests_.any = true;
        }
    }
}

void RaceAttrition::OnPositionGained(uint32_t rider, uint32_t passedRider)
{
    race_.OnPositionGained(rider, passedRider);
}

bool RaceAttrition::CheckCrashOut(uint32_t rider, uint32_t other)
{
    RaceStandings& s = standings_;
    const StandingsSession& session = s.Session();
    if (session.isReplay || session.isNetwork || s.firstCrossingMs[0][1] == -1 ||
        rider >= bikes_.size() || other >= bikes_.size())
    {
        return false;
    }
    const BikeRecord& bike = bikes_[rider];
    if (ShelteredStatus(bike.raceStatus) || ShelteredStatus(bikes_[other].raceStatus) ||
        (bike.raceStatus == 0 && !settings_.humansCrashOut))
    {
        return false;
    }
    const uint32_t out = RidersOut();
    if (static_cast<int32_t>(out) >= static_cast<int32_t>(s.maxDropOuts) - 1)
    {
        return false;
    }
    const float progress = Progress();
    if (static_cast<float>(s.minDropOuts) * progress > static_cast<float>(out))
    {
        return TakeOut(rider);
    }
    if (!OnMainLine(bike) || !OnMainLine(bikes_[other]))
    {
        return false;
    }
    // The closer a human rides behind, the likelier the rider falls in his way.
    const int32_t gap = NearestHumanBehind(rider);
    const float scale = static_cast<float>(s.maxDropOuts) * progress;
    if (gap < 0 || !(scale > 0.0f))
    {
        return false;
    }
    const float closeness = 1.0f - static_cast<float>(gap) / kNoGap;
    if (2.0f * static_cast<float>(out) / scale >= closeness * closeness)
    {
        return false;
    }
    return TakeOut(rider);
}

bool RaceAttrition::TakeOut(uint32_t rider)
{
    if (hazardZones_ != nullptr && !hazardZones_->OpenHazardZone(rider))
    {
        return false;
    }
    standings_.SetFinalStatus(rider, session_rank::kCrashedOut);
    return true;
}

uint32_t RaceAttrition::MainLineCount() const
{
    return race_.pitLaneFirstNode;
}

bool RaceAttrition::OnMainLine(const BikeRecord& bike) const
{
    return bike.aiTargetNode < MainLineCount();
}

// The node gap to the nearest human within kNoGap nodes behind the rider; -1 for none.
int32_t RaceAttrition::NearestHumanBehind(uint32_t rider) const
{
    const auto count = static_cast<int32_t>(MainLineCount());
    const auto node = static_cast<int32_t>(bikes_[rider].aiLineNode);
    int32_t nearest = -1;
    for (uint32_t human = 0; human < standings_.riderCount && human < bikes_.size(); ++human)
    {
        if (human == rider || bikes_[human].raceStatus != 0 ||
            standings_.Session().inRace[human] == 0)
        {
            continue;
        }
        int32_t gap = node - static_cast<int32_t>(bikes_[human].aiLineNode);
        if (gap < 0)
        {
            gap += count;
        }
        if (gap >= 0 && gap < static_cast<int32_t>(kNoGap) && (nearest < 0 || gap < nearest))
        {
            nearest = gap;
        }
    }
    return nearest;
}

int32_t RaceAttrition::Position(uint32_t rider) const
{
    return standings_.gridOrder[rider];
}
