#include "tests/race/collision/CollisionRig.h"

#include <cmath>

#include "tests/race/support/TestRace.h"

CollisionRig::CollisionRig() : ground_(TestGround(2 * kHalfField, 2 * kHalfField, 10.0f))
{
    manager_->Attach(bikes_, *channels_, events_);
    manager_->SetGround(&ground_.Mesh());
    manager_->SetRandomTable(random_);
    manager_->SetCrashOutCheck(&crashOut_);
    manager_->SetPlayerRider(25);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        bikes_[rider].flags = bike_flags::kInactive;
    }
    manager_->ResetForRace(riders_);
}

BikeRecord& CollisionRig::Place(uint32_t rider, float x, float z, float heading, float speed)
{
    BikeRecord& bike = bikes_[rider];
    PrepareBike(bike, rider, x, z, heading, ground_.Mesh());
    bike.speed = speed;
    bike.course = heading;
    bike.velocity = {speed * std::sin(heading), 0.0f, speed * std::cos(heading)};
    bike.kineticEnergy = 0.5f * bike.setup.mass * speed * speed;
    bike.raceStatus = 9;
    return bike;
}

void CollisionRig::RunSteps(uint32_t steps)
{
    for (uint32_t i = 0; i < steps; ++i, ++step_)
    {
        SnapChannels(*channels_);
        channels_->Clear();
        manager_->SetStep(step_);
        manager_->SimulateFallenRiders(riders_, 0.04f);
        manager_->SweepAndPrune();
        manager_->AdvanceStep(0.04f);
        manager_->UpdateTrackObjects(0.04f);
    }
}

uint32_t CollisionRig::SoundCount(RaceSound sound) const
{
    uint32_t count = 0;
    for (uint32_t i = 0; i < events_.SoundCount(); ++i)
    {
        count += events_.Sound(i).sound == sound ? 1 : 0;
    }
    return count;
}
