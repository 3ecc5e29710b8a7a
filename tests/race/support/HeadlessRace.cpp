#include "tests/race/support/HeadlessRace.h"

#include <stdexcept>
#include <string>

#include "content/GroundPass.h"
#include "core/util/RuntimeRandom.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoRace.h"
#include "kit/race/DemoRiders.h"
#include "tests/race/ground/GridGround.h"
#include "tests/race/support/TestRace.h"

namespace
{
constexpr uint64_t kMix = 0x100000001B3ull;
}

HeadlessRace::HeadlessRace(const HeadlessRaceOptions& options)
    : options_(options),
      race_(std::make_unique<RaceContext>("headless-records.cpr")),
      sim_(std::make_unique<RaceSim>())
{
    std::string error;
    std::optional<kit::GeneratedCircuit> circuit = kit::GenerateCircuit(
        options.shape.value_or(kit::DemoCircuitShape()), options.bikeClass, error);
    if (!circuit)
    {
        throw std::runtime_error("no circuit: " + error);
    }
    circuit_ = std::move(*circuit);
    ground_ = std::make_unique<BoundGround>(circuit_.ground);
    Restart();
}

HeadlessRace::~HeadlessRace() = default;

const GroundMesh& HeadlessRace::Ground() const
{
    return ground_->Mesh();
}

float HeadlessRace::RaceSeconds() const
{
    return sim_->RaceTime();
}

void HeadlessRace::Restart()
{
    RaceContext& race = *race_;
    const uint32_t riders = std::min<uint32_t>(options_.riders, kRiderCount);
    static_cast<RacingLine&>(race.race) = *circuit_.line;
    race.standings.head = circuit_.head;
    race.current.bikeClass = options_.bikeClass;
    race.current.difficulty = options_.difficulty;
    race.current.weather = Weather::Fine;
    race.current.gameMode = GameMode::Race;
    race.current.riderCount = riders;
    race.current.viewedRider = riders - 1;  // from the back of the grid, with the field ahead
    const uint32_t player = options_.player ? options_.player->rider : kRiderCount;
    race.playerRider.store(player, std::memory_order_relaxed);
    race.race.riderCount = static_cast<uint16_t>(riders);
    race.race.totalLaps = static_cast<uint16_t>(options_.laps);
    race.race.inRace.fill(0);

    const std::vector<RiderProfile> profiles = kit::DemoRiderProfiles(options_.bikeClass);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        bike = BikeRecord{};
        bike.setup = kit::ClassStandardSetup(options_.bikeClass);
        bike.soundSlot = -1;
        if (rider < riders)
        {
            race.riderProfiles[rider].CopyFrom(profiles[rider % profiles.size()],
                                               options_.bikeClass);
            race.race.inRace[rider] = 1;
            bike.raceStatus = rider == player ? 0 : 9;
            if (rider == player)
            {
                bike.autoGearbox = options_.player->automaticGearbox ? 1 : 0;
                bike.furtherAid = 1;
                bike.steeringAid = 1;
            }
        }
        else
        {
            bike.flags = bike_flags::kInactive;
        }
    }

    StandingsSession session;
    session.isRace = true;
    session.laps = options_.laps;
    session.playerRider = player;
    session.viewedRider = riders - 1;
    session.riderCount = static_cast<uint16_t>(riders);
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        session.inRace[rider] = 1;
        race.standings.gridOrder[rider] = static_cast<int32_t>(rider + 1);
    }
    RuntimeSeed(options_.randomSeed);
    race.randomTable.Fill();
    race.attrition.SetStep(0);
    race.attrition.SetSettings({0.0f, 20.0f, false});
    race.standings.SetHooks(options_.fallsAndAttrition ? &race.attrition : nullptr);
    race.standings.ResetForRace(session);

    race.race.PrepareGridStart();
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        bike.InitPhysics(static_cast<uint16_t>(rider), race.current);
        content::PlaceOnGround(bike, ground_->Mesh(), race.race);
    }

    RaceParameters params = TestParameters();
    params.trackAbrasion = race.race.trackAbrasion;
    params.minimumTyreGrip = race.race.minimumTyreGrip;
    params.fallsEnabled = params.slideFallsEnabled = options_.fallsAndAttrition;
    params.engineDamage = options_.engineFailure;
    params.airTemperature = options_.airTemperature;

    sim_->ResetForRace();
    sim_->SetParameters(params);
    sim_->SetGround(&ground_->Mesh());
    sim_->SetRacingLine(&race.race);
    sim_->SetRandomTable(race.randomTable.words);
    sim_->SetRace(&race);
    sim_->SetPlayerRider(player);
    playerInputs_.Clear();
    if (player < kRiderCount)
    {
        sim_->SetInputRing(player, &playerInputs_);
    }
    CollisionManager& collisions = sim_->Collisions();
    collisions.Attach(race.bikes, sim_->Channels(), sim_->Events());
    collisions.ResetForRace(riders);
    collisions.BuildSweepLists();
    clock_ = {};
    clock_.raceStartTick = kStartLightSteps;
    clock_.startLightsBegun = true;
    checksum_ = 0;
    stepChecksums_.clear();
}

void HeadlessRace::Step()
{
    const uint32_t done = sim_->TicksDone();
    if (options_.player)
    {
        playerInputs_.Publish(done, options_.player->inputs);
    }
    // One step due: the first call of a race runs its one step by itself.
    clock_.frameClockMs = done * 40 + (done == 0 ? 0 : 40);
    sim_->Tick(race_->bikes, options_.riders, options_.difficulty,
               static_cast<uint32_t>(ToIndex(options_.bikeClass)), clock_);
    uint32_t sum = 0;
    for (uint32_t rider = 0; rider < options_.riders; ++rider)
    {
        sum = sum * 31u + race_->bikes[rider].StateChecksum();
    }
    checksum_ = (checksum_ ^ sum) * kMix;
    if (keepStepChecksums_)
    {
        stepChecksums_.push_back(sum);
    }
}

bool HeadlessRace::AllDone() const
{
    const RaceStandings& standings = race_->standings;
    for (uint32_t rider = 0; rider < options_.riders; ++rider)
    {
        const BikeRecord& bike = race_->bikes[rider];
        const bool out = standings.sessionRanks[rider] != session_rank::kRacing;
        if (!out && bike.timedLap <= options_.laps)
        {
            return false;
        }
    }
    return true;
}

uint32_t HeadlessRace::RidersOut() const
{
    const RaceStandings& standings = race_->standings;
    uint32_t out = 0;
    for (uint32_t rider = 0; rider < options_.riders; ++rider)
    {
        out += standings.sessionRanks[rider] < session_rank::kRacing ? 1 : 0;
    }
    return out;
}

bool HeadlessRace::RunToEnd(uint32_t maxSteps)
{
    while (sim_->TicksDone() < maxSteps)
    {
        Step();
        if (AllDone())
        {
            return true;
        }
    }
    return false;
}
