#include "view/tv/TvDirector.h"

#include <cmath>
#include <cstdio>

#include "race/BikeRecord.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudFrame.h"
#include "view/hud/HudHooks.h"

namespace
{
constexpr float kShotMinimum = 2.0f;  // s a TV camera's shot runs before a cut
constexpr float kBattleRadius = 10.0f;
constexpr float kBattleLookAhead = 10.0f;
constexpr float kBattleAheadRadius = 9.5f;
constexpr float kBusyRadius = 15.0f;
constexpr float kCloseShotLimit = 120.0f;

float DistanceSq(float x1, float z1, float x2, float z2)
{
    const float dx = x1 - x2;
    const float dz = z1 - z2;
    return dx * dx + dz * dz;
}
}  // namespace

TvDirector::TvDirector(DirectorRandom random) : random_(random) {}

void TvDirector::Reset(uint16_t lapsOfRace)
{
    lapsOfRace_ = lapsOfRace;
    standingsTimer_ = kStandingsInterval;
    lapsToGoTimer_ = kLapsToGoInterval;
    cutTimer_ = 0;
    lastLapShown_ = 1;
    currentLap_ = 0;
    lapsToGo_ = 0;
    crowdCount_ = 0;
    riderA_ = 0;
    riderB_ = 0;
    pageClock_ = 0;
    rowClock_ = 0;
    wipeState_ = 0;
    page_ = TvPage::NameBand;
    ResetPageState();
    caption_[0] = '\0';
}

bool TvDirector::IsRunning(const HudFrame& frame, uint32_t rider) const
{
    return frame.standings->sessionRanks[rider] >= session_rank::kRacing &&
           !frame.bikes[rider].IsInactive();
}

void TvDirector::ResetPageState()
{
    rowsShown_ = 0;
    firstRow_ = 0;
    pageClock_ = 0;
    wipeState_ = 2;
}

void TvDirector::SetLapCaption()
{
    std::snprintf(caption_.data(), caption_.size(), "Lap %d of %d", currentLap_, lapsOfRace_);
}

uint32_t TvDirector::CollectRidersNear(const HudFrame& frame, float x, float z, float radius,
                                       uint32_t max)
{
    uint32_t found = 0;
    for (uint32_t place = 1; place <= places_.Count() && found < max; ++place)
    {
        const BikeRecord& bike = frame.bikes[places_.RiderAt(static_cast<int32_t>(place))];
        if (DistanceSq(bike.positionX, bike.positionZ, x, z) < radius * radius)
        {
            ++found;
        }
    }
    return found;
}

bool TvDirector::FindBattle(const HudFrame& frame)
{
    const uint32_t front = std::min<uint32_t>(places_.Count(), 8);
    for (uint32_t place = 1; place <= front; ++place)
    {
        const uint8_t a = places_.RiderAt(static_cast<int32_t>(place));
        const BikeRecord& chaser = frame.bikes[a];
        const float speed = std::sqrt(chaser.velocity[0] * chaser.velocity[0] +
                                      chaser.velocity[2] * chaser.velocity[2]);
        if (speed < 2.0f ||
            CollectRidersNear(frame, chaser.positionX, chaser.positionZ, kBattleRadius, 3) != 1)
        {
            continue;
        }
        const float aheadX = chaser.positionX + chaser.velocity[0] / speed * kBattleLookAhead;
        const float aheadZ = chaser.positionZ + chaser.velocity[2] / speed * kBattleLookAhead;
        uint32_t collected = 0;
        for (uint32_t other = 1; other <= places_.Count() && collected < 2; ++other)
        {
            const uint8_t b = places_.RiderAt(static_cast<int32_t>(other));
            const BikeRecord& bike = frame.bikes[b];
            if (DistanceSq(bike.positionX, bike.positionZ, aheadX, aheadZ) >=
                kBattleAheadRadius * kBattleAheadRadius)
            {
                continue;
            }
            ++collected;
            if (b != a)
            {
                riderA_ = a;
                riderB_ = b;
                return true;
            }
        }
    }
    return false;
}

int32_t TvDirector::PickRandomRider(const HudFrame& frame)
{
    const uint32_t count = places_.Count();
    if (count == 0)
    {
        return -1;  // no place to start from
    }
    uint32_t place = static_cast<uint32_t>(random_()) % count + 1;
    for (uint32_t step = 0; step < count; ++step)
    {
        if (IsRunning(frame, places_.RiderAt(static_cast<int32_t>(place))))
        {
            break;
        }
        place = place % count + 1;
    }
    return places_.RiderAt(static_cast<int32_t>(place));
}

int32_t TvDirector::PickBusyRider(const HudFrame& frame)
{
    const uint32_t count = places_.Count();
    if (count == 0)
    {
        return -1;
    }
    const uint32_t start = static_cast<uint32_t>(random_()) % count;
    int32_t best = -1;
    int32_t bestCount = 0;
    for (uint32_t step = 0; step < count; ++step)
    {
        const uint8_t rider = places_.RiderAt(static_cast<int32_t>((start + step) % count + 1));
        if (!IsRunning(frame, rider))
        {
            continue;
        }
        const BikeRecord& bike = frame.bikes[rider];
        const auto near = static_cast<int32_t>(
            CollectRidersNear(frame, bike.positionX, bike.positionZ, kBusyRadius, 8));
        if (near > bestCount)
        {
            best = rider;
            bestCount = near;
        }
    }
    if (best < 0)
    {
        return PickRandomRider(frame);
    }
    crowdCount_ = bestCount;
    return best;
}

void TvDirector::StartBand(TvPage page, int32_t cutMs)
{
    page_ = page;
    cutTimer_ = cutMs;
    rowClock_ = 0;
    pageClock_ = 1000;
    wipeState_ = 1;
}

bool TvDirector::Direct(const HudFrame& frame, HudHooks& hooks)
{
    cutTimer_ -= frame.realFrameMs;
    standingsTimer_ -= frame.realFrameMs;
    lapsToGoTimer_ -= frame.realFrameMs;

    const bool tvCamera = frame.cameraMode == CameraMode::CameraTv;
    if ((tvCamera ? frame.cameraShotClock < kShotMinimum : !frame.cameraTimerExpired) ||
        cutTimer_ >= 0)
    {
        return false;
    }

    places_.Build(*frame.standings, frame.bikes, frame.riderCount);
    const uint8_t leader = places_.RiderAt(1);
    if (leader == PlaceTable::kEnd)
    {
        return false;
    }
    const int32_t sinceLeaderLapMs =
        static_cast<int32_t>((frame.raceTime + 0.0005f) * 1000.0f) - places_.LapStartMs(leader);
    const uint32_t checkPlace = places_.Count() < 6 ? places_.Count() : 5;
    const uint8_t checkRider = places_.RiderAt(static_cast<int32_t>(checkPlace));
    const int roll = random_();

    if (places_.Laps(leader) > lapsOfRace_)
    {
        hooks.SetViewedRider(leader);
        hooks.SetTvView();
        return true;
    }
    if (places_.Laps(leader) > lastLapShown_ && places_.Laps(checkRider) == places_.Laps(leader))
    {
        ResetPageState();
        lastLapShown_ = currentLap_ = places_.Laps(leader);
        page_ = TvPage::LapChart;
        cutTimer_ = 20000;
        rowClock_ = 1000;
        places_.Sort();
        SetLapCaption();
        if (!tvCamera)
        {
            hooks.SetTvView();
        }
        return false;
    }
    if ((roll & 3) < 2)
    {
        CutToBusyRider(frame, hooks, roll);
    }
    else
    {
        ChoosePage(frame, hooks, roll, sinceLeaderLapMs);
    }
    return false;
}

void TvDirector::CutToBusyRider(const HudFrame& frame, HudHooks& hooks, int roll)
{
    page_ = TvPage::None;
    const int32_t rider = PickBusyRider(frame);
    if (rider < 0)
    {
        return;
    }
    const auto viewed = static_cast<uint32_t>(rider);
    switch (roll % 5)
    {
        case 0:
        case 1:
            if (frame.cameraMode == CameraMode::CameraTv)
            {
                hooks.SetTvAutoSwitch();
                cutTimer_ = 1000;
                return;
            }
            cutTimer_ = 6000;
            hooks.SetViewedRider(viewed);
            hooks.SetTvView();
            break;
        case 2:
            if (frame.cameraMode == CameraMode::CameraTrail)
            {
                hooks.SetTvAutoSwitch();
                cutTimer_ = 1000;
                return;
            }
            cutTimer_ = 6000;
            hooks.SetViewedRider(viewed);
            hooks.SetTrailView();
            break;
        default:
            if (frame.cameraMode == CameraMode::CameraClose)
            {
                cutTimer_ = 6000;
                hooks.SetViewedRider(viewed);
                hooks.SetTvView();
                return;
            }
            if (frame.raceTime / closeViewCounter_ >= kCloseShotLimit ||
                frame.weather == Weather::Rain)
            {
                return;
            }
            cutTimer_ = 10000;
            closeViewCounter_ += 1.0f;
            hooks.SetViewedRider(viewed);
            hooks.SetCloseView();
            break;
    }
    if (crowdCount_ <= 3)
    {
        places_.Build(*frame.standings, frame.bikes, frame.riderCount);
        StartBand(TvPage::NameBand, 15000);
    }
}

void TvDirector::ChoosePage(const HudFrame& frame, HudHooks& hooks, int roll,
                            int32_t sinceLeaderLapMs)
{
    const uint8_t leader = places_.RiderAt(1);
    if (standingsTimer_ < 0 && sinceLeaderLapMs < 60000)
    {
        ResetPageState();
        page_ = TvPage::Standings;
        cutTimer_ = 20000;
        rowClock_ = 1000;
        currentLap_ = places_.Laps(leader);
        SetLapCaption();
        if (frame.cameraMode != CameraMode::CameraTv)
        {
            hooks.SetTvView();
        }
        return;
    }
    if (lapsToGoTimer_ < 0 && sinceLeaderLapMs < 60000 && currentLap_ != 0 &&
        lapsOfRace_ - currentLap_ > 0)
    {
        currentLap_ = places_.Laps(leader);
        cutTimer_ = 6000;
        pageClock_ = 1000;
        wipeState_ = 1;
        lapsToGo_ = lapsOfRace_ - currentLap_;
        page_ = TvPage::LapsToGo;
        std::snprintf(caption_.data(), caption_.size(), "%d", lapsToGo_);
        return;
    }
    const bool battleUp = page_ == TvPage::Battle || page_ == TvPage::RiderBand;
    if (!battleUp && !FindBattle(frame))
    {
        return;
    }
    hooks.SetViewedRider(static_cast<uint32_t>(riderA_));
    hooks.SetOnBoardView();
    StartBand(roll % 50 < 25 ? TvPage::Battle : TvPage::RiderBand, roll % 50 < 25 ? 15000 : 6000);
}
