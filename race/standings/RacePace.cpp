// The computer riders' working riding parameters: pace (P3), range (P2) and angle (P1) of the
// profile, set from its stored pace base, range base and base angle. Outside races they ride
// up to speed over the session; at level 0 they ride by position; at level 2 they are held
// on a rubber band to the human riders.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/BikeRecord.h"
#include "race/RaceAi.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceAttrition.h"
#include "race/standings/RaceStandings.h"

namespace
{
constexpr uint32_t kHuman = 0;  // race status of a player racing
constexpr float kWarmUpSeconds = 960.0f;
constexpr float kFreeRange = 100.0f;
constexpr float kHumanRange = 50.0f;
}  // namespace

void RaceAttrition::AdjustPace(uint32_t rider, PaceAdjustment kind)
{
    if (rider >= bikes_.size() || rider >= profiles_.size())
    {
        return;
    }
    switch (kind)
    {
        case PaceAdjustment::Practice:
            PacePractice(rider);
            break;
        case PaceAdjustment::Normal:
            PaceNormal(rider);
            break;
        case PaceAdjustment::Hard:
            PaceHard(rider);
            break;
    }
}

void RaceAttrition::PacePractice(uint32_t rider)
{
    RiderProfile& profile = profiles_[rider];
    const StandingsSession& session = standings_.Session();
    const float s = std::min(session.raceTime / kWarmUpSeconds, 1.0f);
    const float f = (s + 4.0f) * 0.2f;
    const int32_t position = Position(rider);
    const int32_t riders = standings_.ridersInRace;
    float r = 0.0f;
    if (position >= 5 && riders >= 6)
    {
        r = static_cast<float>(position - 5) / static_cast<float>(riders - 5);
    }
    float pace = profile.paceBase;
    if (standings_.difficulty == 1)
    {
        pace = (1.0f - 0.1f * r) * profile.paceBase;
    }
    else if (standings_.difficulty == 2)
    {
        pace = 1.0f - 0.25f * r;
    }
    profile.pace = std::min(pace * f, session.isQualifying ? 1.01f : 0.98f);
    profile.activeAngle = profile.baseAngle * f;
    profile.activeRange = std::max(0.5f, (s + 1.0f) * profile.rangeBase * 0.5f);
}

void RaceAttrition::PaceNormal(uint32_t rider)
{
    RiderProfile& profile = profiles_[rider];
    const BikeRecord& bike = bikes_[rider];
    const float base = profile.paceBase;
    if (!OnMainLine(bike))
    {
        profile.pace = std::max(base, 1.0f);
        profile.activeRange = profile.rangeBase;
        return;
    }
    const RacingLineNode& node = race_.nodes[bike.aiTargetNode];
    const bool rising =
        node.next < race_.nodeCount && race_.nodes[node.next].speedFactor > node.speedFactor;
    if (!rising)
    {
        return;
    }
    uint32_t& counter = standings_.paceCounter;
    counter = (counter + 1) % RaceStandings::kRiders;
    float pace = base;
    if (counter == rider)
    {
        pace = bike.raceStatus != kHuman ? base - 0.1f : base;
    }
    else if (const int32_t position = Position(rider); position >= 3)
    {
        pace = base + 0.05f - 0.01f * static_cast<float>(counter % 8);
    }
    else if (position == 2)
    {
        pace = 1.0f;
    }
    profile.pace = std::clamp(pace, 0.89f, 1.01f);
    if (bike.raceStatus == kHuman)
    {
        profile.pace = 1.0f;
        profile.activeRange = kHumanRange;
        profile.activeAngle = profile.baseAngle;
        return;
    }
    const uint32_t laps = std::max<uint32_t>(standings_.Session().laps, 1);
    const float done = static_cast<float>(bike.lapsStarted) / static_cast<float>(laps);
    profile.activeRange = std::max(4.0f, 4.0f * done + profile.rangeBase);
    profile.activeAngle = profile.baseAngle * (0.8f + 0.4f * done);
}

void RaceAttrition::PaceHard(uint32_t rider)
{
    RiderProfile& profile = profiles_[rider];
    if (bikes_[rider].raceStatus == kHuman)
    {
        return;
    }
    if (race_.startPhase != 0)
    {
        profile.pace = 1.0f;
        return;
    }
    const Reference reference = ChooseReference(rider);
    if (reference.rider < 0)
    {
        profile.pace = profile.paceBase;
        profile.activeRange = kFreeRange;
        return;
    }
    const int32_t riders = standings_.ridersInRace;
    float f = 0.0f;
    if (riders > 3)
    {
        f = static_cast<float>(reference.position < 2 ? 0 : reference.position) /
            static_cast<float>(riders);
    }
    float target = 0.925f - 0.25f * f;
    const float spread = 7.5f - 7.5f * f * f + 3.0f;
    const int32_t position = Position(rider);
    const BikeRecord& human = bikes_[static_cast<uint32_t>(reference.rider)];
    if (reference.position > position)
    {
        // A human behind with riding aids is given more room.
        if (human.steeringAid != 0)
        {
            target *= 0.925f;
        }
        else if (human.furtherAid != 0)
        {
            target *= 0.95f;
        }
    }
    if (position <= reference.position)
    {
        PaceAheadOfReference(rider, reference, target, spread);
        return;
    }
    const int32_t places = position - reference.position;
    int32_t gap =
        static_cast<int32_t>(human.aiLineNode) - static_cast<int32_t>(bikes_[rider].aiLineNode);
    if (gap < 0)
    {
        gap += static_cast<int32_t>(MainLineCount());
    }
    if (places > 1 && 12 * places >= gap)
    {
        profile.activeRange = spread;
        return;
    }
    profile.pace = 1.0f;
    profile.activeRange = kFreeRange;
}

// The human the rider is held to: the one ahead, or the one behind when he is the nearer.
RaceAttrition::Reference RaceAttrition::ChooseReference(uint32_t rider) const
{
    const int32_t position = Position(rider);
    const StandingsSession& session = standings_.Session();
    Reference ahead;
    Reference behind;
    if (session.isNetwork)
    {
        for (int32_t place = position - 1; place >= 1 && ahead.rider < 0; --place)
        {
            const int32_t other = standings_.positionTable[static_cast<size_t>(place - 1)];
            if (other >= 0 && session.inRace[static_cast<size_t>(other)] != 0 &&
                bikes_[static_cast<size_t>(other)].raceStatus == kHuman)
            {
                ahead = {other, place};
            }
        }
        for (int32_t place = position + 1; place <= standings_.ridersInRace; ++place)
        {
            const int32_t other = standings_.positionTable[static_cast<size_t>(place - 1)];
            if (other < 0 || session.inRace[static_cast<size_t>(other)] == 0)
            {
                break;
            }
            const BikeRecord& bike = bikes_[static_cast<size_t>(other)];
            if (bike.raceStatus == kHuman && bike.speed > 16.0f)
            {
                behind = {other, place};
                break;
            }
        }
    }
    else
    {
        const uint32_t player = session.playerRider;
        const int32_t playerPosition = Position(player);
        if (playerPosition >= position)
        {
            if (bikes_[player].speed >= 2.0f)
            {
                behind = {static_cast<int32_t>(player), playerPosition};
            }
        }
        else
        {
            ahead = {static_cast<int32_t>(player), playerPosition};
        }
    }
    if (behind.rider < 0 || (ahead.rider >= 0 && position == ahead.position + 1))
    {
        return ahead;
    }
    if (ahead.rider >= 0 && behind.position != position + 1 &&
        behind.position - position > position - ahead.position)
    {
        return ahead;
    }
    return behind;
}

void RaceAttrition::PaceAheadOfReference(uint32_t rider, const Reference& reference, float target,
                                         float spread)
{
    RiderProfile& profile = profiles_[rider];
    const BikeRecord& bike = bikes_[rider];
    if (bike.speed < 1.0f)
    {
        profile.pace = 1.0f;
        profile.activeRange = kFreeRange;
        return;
    }
    const BikeRecord& human = bikes_[static_cast<uint32_t>(reference.rider)];
    int32_t gap = static_cast<int32_t>(bike.aiLineNode) - static_cast<int32_t>(human.aiLineNode);
    if (gap < -20)
    {
        gap += static_cast<int32_t>(MainLineCount());
    }
    else if (gap < 0)
    {
        gap = 3;
    }
    const int32_t between = std::abs(reference.position - Position(rider));
    const int32_t near = TruncateToInt32(static_cast<float>(30 * between + 50) * nodeScale_);
    const int32_t far = near + TruncateToInt32(150.0f * nodeScale_);
    const int32_t step = TruncateToInt32(200.0f * nodeScale_) + 1;
    float& pace = profile.pace;
    float& range = profile.activeRange;
    if (gap >= far + step)
    {
        // Far ahead: slowed hard, but never below a floor that rises as he keeps away.
        pace *= 0.95f;
        range *= 0.96f;
        const int32_t x = gap - far - step;
        const float share =
            x <= step ? 0.9f - 0.8f * static_cast<float>(x) / static_cast<float>(step) : 0.1f;
        const float floor = share * target;
        pace = std::max(pace, floor);
        range = spread;
    }
    else if (gap >= far)
    {
        pace *= 0.99f;
        range *= 0.99f;
        const float floor =
            (10.0f - static_cast<float>(gap - far) / static_cast<float>(step)) * 0.1f * target;
        pace = std::max(pace, floor);
        range = spread;
    }
    else if (gap >= near)
    {
        pace = std::min(pace * 1.0025f, target);
        range = spread;
    }
    else if (gap >= near / 2)
    {
        pace = std::min(pace * 1.01f, 1.0f);
        range = spread;
    }
    else
    {
        pace = 1.0f - (1.0f - target) / static_cast<float>(between | 1);
        range = kFreeRange;
    }
}
