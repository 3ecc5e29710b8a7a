#include "race/standings/TimingServices.h"

#include <algorithm>

#include "race/BikeRecord.h"
#include "race/RaceSim.h"

TimingServices::TimingServices(RaceSim& sim, RaceStandings& standings, LapRecord& recording,
                               std::span<BikeRecord> bikes, const RacingLine& line)
    : sim_(sim),
      standings_(standings),
      recording_(recording),
      bikes_(bikes),
      line_(line),
      rollback_(std::make_unique<std::array<RaceStandings, kRollbackSlots>>())
{
}

TimingServices::~TimingServices() = default;

void TimingServices::SetGhost(LapRecord* ghost)
{
    ghost_ = ghost;
    standings_.SetGhost(ghost);
}

void TimingServices::PlayGhost(BikeRecord& ghost)
{
    if (ghost_ != nullptr && playerRider_ < bikes_.size())
    {
        ghost_->PlayGhost(ghost, bikes_[playerRider_], sim_.Channels());
    }
}

void TimingServices::AppendLapSample(const BikeRecord& player)
{
    recording_.AppendSample(player, sim_.RaceTime());
}

void TimingServices::UpdateRiders()
{
    standings_.Session().raceTime = sim_.RaceTime();
    const uint32_t riders = std::min<uint32_t>(riderCount_, static_cast<uint32_t>(bikes_.size()));
    for (uint32_t rider = riders; rider-- > 0;)
    {
        if (bikes_[rider].IsInactive())
        {
            continue;
        }
        standings_.CheckLineCrossing(rider);
        const uint32_t lap = bikes_[rider].timedLap;
        if (standings_.UpdateSectors(rider) == 1 && rider == playerRider_)
        {
            const size_t index = std::min<size_t>(lap, RaceStandings::kLapSlots - 1);
            LapTimes times{};
            for (size_t row = 0; row < times.size(); ++row)
            {
                times[row] = standings_.splitMs[rider][row][index];
            }
            recording_.FinishLap(lap, lapHeader_, times, line_);
        }
    }
    if (standings_.Session().isRace)
    {
        standings_.Resort(false);
    }
}

void TimingServices::RetireRider(uint32_t rider, bool showSmoke)
{
    standings_.RetireRider(rider, showSmoke);
}

void TimingServices::SetFinalStatus(uint32_t rider, int32_t status)
{
    standings_.SetFinalStatus(rider, static_cast<int16_t>(status));
}

void TimingServices::SaveRollbackState(size_t slot)
{
    (*rollback_)[slot % kRollbackSlots] = standings_;
    LapMarks& marks = lapMarks_[slot % kRollbackSlots];
    marks.sampleCount = recording_.sampleCount;
    marks.valid = recording_.valid;
    marks.lastStoredLap = recording_.lastStoredLap;
    if (ghost_ != nullptr)
    {
        marks.ghostAlpha = ghost_->alpha;
        marks.ghostFade = ghost_->fade;
        marks.ghostPlayIndex = ghost_->playIndex;
    }
}

void TimingServices::RestoreRollbackState(size_t slot)
{
    standings_ = (*rollback_)[slot % kRollbackSlots];
    const LapMarks& marks = lapMarks_[slot % kRollbackSlots];
    recording_.sampleCount = marks.sampleCount;
    recording_.valid = marks.valid;
    recording_.lastStoredLap = marks.lastStoredLap;
    if (ghost_ != nullptr)
    {
        ghost_->alpha = marks.ghostAlpha;
        ghost_->fade = marks.ghostFade;
        ghost_->playIndex = marks.ghostPlayIndex;
    }
}
