#include "race/RaceSim.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/LockstepState.h"
#include "race/PlayerInputState.h"
#include "race/RaceContext.h"
#include "race/RaceRollback.h"
#include "race/RacingLine.h"
#include "race/SimMath.h"

namespace
{
constexpr uint32_t kStepMs = 40;
constexpr float kDt = 0.04f;
constexpr std::array<uint32_t, RaceSim::kRandomTableWords> kNoRandomTable{};

// Races without a racing line (tests, the menus' preview) read an empty one.
const RacingLine& EmptyLine()
{
    static const RacingLine line;
    return line;
}

RaceServices& NoServices()
{
    static RaceServices services;
    return services;
}

float ClassFactor(uint32_t bikeClass)
{
    return bikeClass == 0 ? 0.6f : (bikeClass == 1 ? 0.5f : 0.35f);
}
}  // namespace

RaceSim::RaceSim()
    : rollback_(std::make_unique<RaceRollback>()),
      randomTable_(kNoRandomTable),
      services_(&NoServices())
{
    collisions_.SetRandomTable(randomTable_);
}

RaceSim::~RaceSim() = default;

void RaceSim::SetGround(const GroundMesh* ground)
{
    groundQuery_.triangleList = ground;
    collisions_.SetGround(ground);
}

void RaceSim::SetRacingLine(const RacingLine* line)
{
    line_ = line;
    collisions_.SetRacingLine(line);
}

void RaceSim::SetRandomTable(std::span<const uint32_t, kRandomTableWords> table)
{
    randomTable_ = table;
    collisions_.SetRandomTable(table);
}

void RaceSim::SetPlayerRider(uint32_t rider)
{
    playerRider_ = rider;
    collisions_.SetPlayerRider(rider);
}

void RaceSim::SetRace(RaceContext* race)
{
    race_ = race;
    collisions_.SetCrashOutCheck(race != nullptr ? &race->attrition : nullptr);
}

void RaceSim::SetServices(RaceServices* services)
{
    services_ = services != nullptr ? services : &NoServices();
}

void RaceSim::ResetForRace()
{
    ticksDone_ = 0;
    raceTime_ = 0.0f;
    snapCountdown_ = 0;
    skippedRollbacks_ = 0;
    groundQuery_.fallbackCount = 0;
    pairDistances_ = {};
    channels_.Clear();
    skidMarks_.Clear();
    events_.Clear();
    events_.forceFeedback = {};
}

uint32_t RaceSim::RandomWord(uint32_t step, uint32_t offset) const
{
    return randomTable_[(step & 255) + offset];
}

void RaceSim::Tick(std::span<BikeRecord> records, uint32_t riderCount, uint32_t difficulty,
                   uint32_t bikeClass, RaceClockWords& clock)
{
    riderCount = std::min(
        {riderCount, static_cast<uint32_t>(records.size()), static_cast<uint32_t>(kRiderCount)});
    difficulty &= 0xFFFF;
    int64_t due = int64_t{clock.frameClockMs / kStepMs} - int64_t{ticksDone_};
    if (ticksDone_ == 0)
    {
        // The first call of a race always runs one step.
        clock.frameClockMs += kStepMs;
        clock.raceClockMs = clock.frameClockMs;
        clock.inputTick = clock.frameClockMs / kStepMs;
        ++due;
    }
    collisions_.Attach(records, channels_, events_);
    while (due > 0)
    {
        // Snapped before anything reads the records, so that the frame's interpolation of
        // the record's own channels never reaches a snapshot or a step.
        SnapChannels(channels_);
        channels_.Clear();
        if (lockstep_ != nullptr)
        {
            if ((ticksDone_ & 3) == 0)
            {
                SnapshotState(records, riderCount);
            }
            const int32_t divergence = lockstep_->divergenceStep.load(std::memory_order_relaxed);
            if (divergence != kNoDivergence)
            {
                due += Resynchronise(records, riderCount, static_cast<uint32_t>(divergence));
            }
        }
        RunStep(records, riderCount, difficulty, bikeClass, clock);
        ++ticksDone_;
        --due;
    }
    for (; snapCountdown_ > 0; --snapCountdown_)
    {
        SnapChannels(channels_);
        channels_.Clear();
    }
    RunFrameEffects(records, riderCount);
}

void RaceSim::RunStep(std::span<BikeRecord> records, uint32_t riderCount, uint32_t difficulty,
                      uint32_t bikeClass, const RaceClockWords& clock)
{
    raceTime_ = static_cast<float>(ticksDone_) * kDt;
    collisions_.SetStep(ticksDone_);
    if (race_ != nullptr)
    {
        // Whoever drives the race's systems gives the tick the race's own bikes.
        assert(records.data() == race_->bikes.data());
        race_->attrition.SetStep(ticksDone_);
    }
    DynamicsContext context{params_,
                            line_ != nullptr ? *line_ : EmptyLine(),
                            groundQuery_,
                            records.first(riderCount),
                            pairDistances_,
                            inputRings_,
                            channels_,
                            skidMarks_,
                            events_,
                            race_ != nullptr ? &race_->standings : nullptr,
                            race_ != nullptr ? &race_->lapRecord : nullptr,
                            ticksDone_,
                            clock.raceStartTick,
                            raceTime_,
                            ClassFactor(bikeClass),
                            0.7f + 0.15f * static_cast<float>(std::min(difficulty, 2u)),
                            bikeClass,
                            RandomWord(ticksDone_, 0),
                            RandomWord(ticksDone_, 1),
                            playerRider_,
                            cameraMode_};
    StepRiders(context, riderCount);
    collisions_.SimulateFallenRiders(riderCount, kDt);
    for (int pass = 0; pass < 5; ++pass)
    {
        if (!TrackEdgePass(context, riderCount))
        {
            break;
        }
    }
    DispatchFalls(records, riderCount);
    if (playerRider_ < riderCount && records[playerRider_].raceStatus == 0)
    {
        ComputeForceFeedback(records[playerRider_]);
    }
    ComputePairDistances(records, riderCount);
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        if (!IsInactive(records[rider]))
        {
            services_->AnimateRider(rider, kDt);
        }
    }
    if (race_ != nullptr)
    {
        if (ticksDone_ < clock.raceStartTick)
        {
            race_->race.HoldStartRevs(clock.startLightsBegun);
        }
        else
        {
            race_->race.UpdateRiders(*this, riderCount);
        }
    }
    collisions_.AdvanceStep(kDt);
    collisions_.UpdateTrackObjects(kDt);
    if (playerState_ != nullptr && playerRider_ < riderCount)
    {
        const BikeRecord& player = records[playerRider_];
        playerState_->Publish(player.speed, player.setup.steeringRate);
    }
}

void RaceSim::StepRiders(DynamicsContext& context, uint32_t riderCount)
{
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        BikeRecord& bike = context.records[rider];
        if (rider == ghostRider_)
        {
            PlayGhost(bike);
        }
        else if (IsUprightAndActive(bike))
        {
            StepBike(context, rider);
        }
        else if (!IsInactive(bike))
        {
            IdleBike(bike);
        }
    }
}

void RaceSim::PlayGhost(BikeRecord& ghost)
{
    LapRecord* record = race_ != nullptr ? race_->race.ghostRecord : nullptr;
    if (record != nullptr && playerRider_ < kRiderCount)
    {
        record->PlayGhost(ghost, race_->bikes[playerRider_], channels_);
    }
}

void RaceSim::DispatchFalls(std::span<BikeRecord> records, uint32_t riderCount)
{
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        BikeRecord& bike = records[rider];
        if (!IsUprightAndActive(bike) || bike.crashRequest == -1)
        {
            continue;
        }
        if (params_.fallsEnabled)
        {
            collisions_.ReactToCrashRequest(rider, bike.crashRequest);
        }
        bike.crashRequest = -1;
    }
}

void RaceSim::ComputeForceFeedback(const BikeRecord& player)
{
    ForceFeedback& feedback = events_.forceFeedback;
    feedback.active = true;
    feedback.longitudinal = player.acceleration * 1200.0f;
    if (feedback.longitudinal < 0.0f)
    {
        feedback.longitudinal *= 2.0f;
    }
    feedback.lateral = (3000.0f + 126.0f * player.speed) * player.steer;
    feedback.speed = player.speed;
    feedback.frontSurface = player.frontSurface.surfaceClass;
}

void RaceSim::ComputePairDistances(std::span<BikeRecord> records, uint32_t riderCount)
{
    collisions_.SweepAndPrune();
    for (uint32_t i = 0; i < riderCount; ++i)
    {
        BikeRecord& bike = records[i];
        if (!IsUprightAndActive(bike))
        {
            continue;
        }
        bike.contactWords = {0, 0};
        pairDistances_[i][i] = 0.0f;
        for (uint32_t j = i + 1; j < riderCount; ++j)
        {
            const BikeRecord& other = records[j];
            if (!IsUprightAndActive(other))
            {
                continue;
            }
            const float dx = bike.positionX - other.positionX;
            const float dz = bike.positionZ - other.positionZ;
            pairDistances_[i][j] = pairDistances_[j][i] = dx * dx + dz * dz;
        }
    }
}
