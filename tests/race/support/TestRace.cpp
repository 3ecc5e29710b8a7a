#include "tests/race/support/TestRace.h"

#include <cmath>
#include <cstring>

#include "core/util/RuntimeRandom.h"
#include "race/ground/GroundQuery.h"

std::vector<kit::TrackTriangle> TestGround(float width, float length, float cellSize)
{
    GridSpec spec{.columns = static_cast<uint32_t>(width / cellSize),
                  .rows = static_cast<uint32_t>(length / cellSize),
                  .cellSize = cellSize,
                  .originX = -width / 2,
                  .originZ = -length / 2};
    std::vector<kit::TrackTriangle> triangles = GridTriangles(spec);
    for (kit::TrackTriangle& triangle : triangles)
    {
        const float x = (triangle.corners[0] + triangle.corners[2] + triangle.corners[4]) / 3;
        const float z = (triangle.corners[1] + triangle.corners[3] + triangle.corners[5]) / 3;
        const bool edge = std::fabs(x) > width / 2 - 10 || std::fabs(z) > length / 2 - 10;
        triangle.surface = edge ? 3 : 4;
    }
    return triangles;
}

RaceParameters TestParameters()
{
    RaceParameters params;
    params.surfaces = {0.05f,
                       {0.9f, 0.95f, 0.000001f},
                       {1.23f, 0.8f, 0.00001f},
                       {1.2f, 1.2f, 0.0001f},
                       {6.0f, 0.5f},
                       {1.34f, 0.9f},
                       -0.0003f,
                       {13.0f, 0.3f},
                       {1.34f, 0.85f},
                       -0.003f};
    params.bumps = {{{6.0f, 6.1f, 6.0f, 6.1f, 0.01f, 0.01f},
                     {1.0f, 1.0f, 0.6f, 1.0f, 0.1f, 0.1f},
                     {1.0f, 1.0f, 0.6f, 1.0f, 0.1f, 0.1f},
                     {1.0f, 1.1f, 0.5f, 1.1f, 0.04f, 0.04f},
                     {4.0f, 4.1f, 1.0f, 1.1f, 0.009f, 0.009f},
                     {6.0f, 10.0f, 6.0f, 10.0f, 0.002f, 0.005f},
                     {6.0f, 6.1f, 6.0f, 6.1f, 0.001f, 0.001f},
                     {6.0f, 10.0f, 6.0f, 10.0f, 0.002f, 0.005f},
                     {5.0f, 6.0f, 6.0f, 6.0f, 0.005f, 0.009f},
                     {6.0f, 5.0f, 8.0f, 3.0f, 0.007f, 0.01f},
                     {4.0f, 3.0f, 8.0f, 3.0f, 0.01f, 0.012f},
                     {3.0f, 3.0f, 8.0f, 3.0f, 0.015f, 0.015f}}};
    params.trackAbrasion = 0.001f;
    params.minimumTyreGrip = 0.8f;
    params.airTemperature = 20.0f;
    return params;
}

namespace
{
void ClassTwoSetup(BikeSetup& s)
{
    s.steeringLock = 1.2f;
    s.steeringRate = 3.0f;
    s.mass = 250.0f;
    s.frontWheelMass = 12.0f;
    s.rearWheelMass = 15.0f;
    s.dragCoefficient = 0.6f;
    s.frontalArea = 0.5f;
    s.centreOfGravityHeight = 0.6f;
    s.referenceOffset = 0.0f;
    s.frontWheelBase = 0.7f;
    s.frontLoadArm = 0.7f;
    s.rearWheelBase = -0.7f;
    s.rearLoadArm = 0.7f;
    // Power rising to 130 kW at 12,500 rpm, falling after, negative from 15,000 rpm.
    for (size_t i = 0; i < s.baseEngineCurve.size(); ++i)
    {
        const float rpm = static_cast<float>(i) * 100.0f;
        s.baseEngineCurve[i] = rpm <= 12500.0f ? 20000.0f + 110000.0f * rpm / 12500.0f
                                               : 130000.0f - 52.0f * (rpm - 12500.0f);
        if (rpm >= 15000.0f)
        {
            s.baseEngineCurve[i] = -5000.0f * (rpm - 14900.0f) / 100.0f;
        }
    }
    s.idleRpm = 2000.0f;
    s.rpmScale = 13000.0f;
    s.coolingCoefficient = 0.0005f;
    s.ignitionA = s.ignitionB = s.ignitionC = 1.0f;
    s.idleFloor = 0.024f;
    s.freeRevvingRate = 10.0f;
    s.engineFriction = 2.0f;
    s.coolingOpening = 0.5f;
    s.heatCoefficient = 0.55f;
    s.overallRatio = {13.0f, 10.0f, 8.2f, 7.0f, 6.2f, 5.5f};
    s.frontTyreRadius = s.rearTyreRadius = 0.32f;
    s.frontRadiusGrowth = s.rearRadiusGrowth = 0.01f;
    s.frontRollingCoefficient = s.rearRollingCoefficient = 0.015f;
    s.frontSpringRate = 20000.0f;
    s.rearSpringRate = 25000.0f;
    s.frontTravel = 0.12f;
    s.rearTravel = 0.13f;
    s.frontOilFactor = s.rearOilFactor = -5.0f;
    s.frontCompression = s.rearCompression = 10.0f;
    s.frontOilValue = s.rearOilValue = 10.0f;
    s.frontRebound = s.rearRebound = 10.0f;
    s.frontBrakeFactor1 = 1500.0f;
    s.frontBrakeFactor2 = 1.0f;
    s.rearBrakeFactor1 = 800.0f;
    s.rearBrakeFactor2 = 1.0f;
    s.frontBrakeDrag = s.rearBrakeDrag = 50.0f;
    s.tuningValue1 = 0.3f;
    s.tuningValue2 = 0.2f;
    s.tuningValue3 = 0.5f;
    s.brakeValueA = 0.3f;
    s.brakeValueB = 0.2f;
}

uint32_t LookUp(const GroundMesh& ground, float x, float z, float& height)
{
    GroundQuery query;
    query.triangleList = &ground;
    query.x1 = x;
    query.z1 = z;
    GroundLookup(query);
    height = query.height;
    return query.cachedTriangle;
}
}  // namespace

void PrepareBike(BikeRecord& bike, uint32_t rider, float x, float z, float heading,
                 const GroundMesh& ground)
{
    std::memset(&bike, 0, sizeof bike);
    ClassTwoSetup(bike.setup);
    const BikeSetup& s = bike.setup;
    for (size_t i = 0; i < bike.engineCurve.size(); ++i)
    {
        bike.engineCurve[i] = s.baseEngineCurve[i];
        if (bike.engineCurve[i] > bike.engineCurve[static_cast<size_t>(bike.peakTorqueRpm / 100)])
        {
            bike.peakTorqueRpm = static_cast<float>(i) * 100.0f;
        }
    }
    bike.gearWear.fill(10.0f);
    bike.gear = 1;
    bike.crashRequest = -1;
    bike.inverseMass = 1.0f / s.mass;
    bike.weight = s.mass * 9.81f;
    const float arms = s.frontLoadArm + s.rearLoadArm;
    bike.frontStaticLoad = s.rearLoadArm * bike.weight / arms;
    bike.rearStaticLoad = s.frontLoadArm * bike.weight / arms;
    bike.inverseRpmScale = 1.0f / s.rpmScale;
    bike.dragFactor = s.frontalArea * s.dragCoefficient * 0.625f;
    bike.coolingRate = 2e-5f + s.coolingOpening * s.coolingCoefficient * 0.8f;
    bike.heatFactor = s.heatCoefficient;
    bike.frontContactOffset = s.frontWheelBase + s.referenceOffset;
    bike.rearContactOffset = s.rearWheelBase + s.referenceOffset;
    bike.referenceFraction =
        bike.frontContactOffset / (bike.frontContactOffset - bike.rearContactOffset);
    bike.engineSpeedSq = s.idleFloor;
    bike.engineRpm = bike.soundRpm = s.idleRpm;
    bike.engineTemperature = 60.0f;
    bike.speed = 0.01f;
    bike.frontTyreHeatBase = bike.rearTyreHeatBase = 1.0f;
    bike.frontHeatingFactor = bike.rearHeatingFactor = 0.1f;
    bike.frontWearRate = bike.rearWearRate = 0.01f;
    bike.frontTyreHeat = bike.rearTyreHeat = 1.0f;
    bike.frontGripWear = bike.rearGripWear = 1.0f;
    bike.frontSurface = bike.rearSurface = {4, 1.0f, 1.0f, 0.0f};
    bike.surfaceGripFactor = 1.0f;
    bike.frontLoad = bike.frontVerticalForce = bike.frontStaticLoad;
    bike.rearLoad = bike.rearVerticalForce = bike.rearStaticLoad;
    bike.frontRollingRadius = s.frontTyreRadius;
    bike.rearRollingRadius = s.rearTyreRadius;
    bike.frontCompression = std::min(bike.frontStaticLoad / s.frontSpringRate, s.frontTravel);
    bike.rearCompression = std::min(bike.rearStaticLoad / s.rearSpringRate, s.rearTravel);
    bike.frontWheelExtension = bike.frontLiftState.height = s.frontTravel - bike.frontCompression;
    bike.rearWheelExtension = bike.rearLiftState.height = s.rearTravel - bike.rearCompression;
    bike.heading = bike.course = heading;
    bike.bumpLength = 1.0f;
    bike.bumpGap = 1.0f;
    bike.skidMarkClass = -1;
    bike.aiSteerRadius = 10000.0f;
    bike.wobbleReferenceSpeed = 30.0f;
    bike.roadFlag = 1;
    bike.slipstreamFactor = 1.0f;
    bike.slipstreamRider = static_cast<int32_t>(rider);
    bike.enginePowerFactor = 1.0f;
    bike.positionX = x;
    bike.positionZ = z;
    bike.frontContactX = x + bike.frontContactOffset * std::sin(heading);
    bike.frontContactZ = z + bike.frontContactOffset * std::cos(heading);
    bike.rearContactX = x + bike.rearContactOffset * std::sin(heading);
    bike.rearContactZ = z + bike.rearContactOffset * std::cos(heading);
    bike.frontTriangle =
        LookUp(ground, bike.frontContactX, bike.frontContactZ, bike.frontGroundHeight);
    bike.rearTriangle = LookUp(ground, bike.rearContactX, bike.rearContactZ, bike.rearGroundHeight);
}

InputFrame ScriptedInputs(uint32_t step)
{
    InputFrame frame;
    frame.clutch = 127;
    if (step < 500)
    {
        // Full throttle, a gear up every 80 steps.
        frame.throttleBrake = 127;
        frame.buttons = step % 80 == 79 && step < 450 ? InputFrame::kShiftUp : 0;
    }
    else if (step < 560)
    {
        frame.throttleBrake = -127;  // hard on the brakes
    }
    else if (step < 700)
    {
        frame.throttleBrake = 80;  // leaning right through a long bend
        frame.steer = 90;
    }
    else
    {
        frame.throttleBrake = 127;  // wide and into the edge
        frame.steer = 20;
    }
    return frame;
}

TestRace::TestRace(uint32_t riders, float cellSize, bool falls)
    : riders_(riders),
      falls_(falls),
      ground_(TestGround(kGroundWidth, kGroundLength, cellSize)),
      inputs_(std::make_unique<InputRing>()),
      sim_(std::make_unique<RaceSim>())
{
    RuntimeSeed(1);
    for (size_t i = 0; i < 256; ++i)
    {
        randomTable_[i] = static_cast<uint32_t>(RuntimeRand());
    }
    for (size_t i = 0; i < 4; ++i)
    {
        randomTable_[256 + i] = randomTable_[i];
    }
    Restart();
}

void TestRace::PrepareRiders()
{
    // The player from near the south edge, northwards (off the mesh's grid lines, along which
    // a walk finds no edge to cross); the others on circles.
    PrepareBike(bikes_[0], 0, -147.3f, -950.0f, 0.0f, ground_.Mesh());
    for (uint32_t rider = 1; rider < riders_; ++rider)
    {
        const float angle = static_cast<float>(rider) * 0.24f;
        BikeRecord& bike = bikes_[rider];
        PrepareBike(bike, rider, 100.0f * std::sin(angle), 100.0f * std::cos(angle),
                    angle + 1.5707964f, ground_.Mesh());
        bike.raceStatus = 8;
        bike.aiSteerRadius = 100.0f;
        bike.throttle = 0.5f + 0.02f * static_cast<float>(rider);
        bike.clutch = 1.0f;
        bike.gear = 2 + static_cast<int32_t>(rider % 3);
    }
}

void TestRace::Restart()
{
    PrepareRiders();
    inputs_->Clear();
    for (uint32_t step = 0; step < 256; ++step)
    {
        inputs_->Publish(step, script_(step));
    }
    sim_->ResetForRace();
    RaceParameters params = TestParameters();
    params.fallsEnabled = params.slideFallsEnabled = falls_;
    sim_->SetParameters(params);
    sim_->SetGround(&ground_.Mesh());
    sim_->SetRandomTable(randomTable_);
    sim_->SetInputRing(0, inputs_.get());
    sim_->SetPlayerRider(0);
    CollisionManager& collisions = sim_->Collisions();
    collisions.Attach(bikes_, sim_->Channels(), sim_->Events());
    crashOut_.Reset(riders_);
    collisions.SetCrashOutCheck(falls_ ? &crashOut_ : nullptr);
    collisions.ResetForRace(riders_);
    collisions.BuildSweepLists();
    clock_ = {};
}

void TestRace::TickSteps(uint32_t steps)
{
    // The input step stays a little ahead of the simulation, as the timer's does.
    const uint32_t done = sim_->TicksDone();
    for (uint32_t step = done; step < done + steps + 2; ++step)
    {
        inputs_->Publish(step, script_(step));
    }
    clock_.frameClockMs = (done + steps) * 40;
    if (done == 0 && steps > 0)
    {
        clock_.frameClockMs -= 40;  // the first call runs one step more by itself
    }
    sim_->Tick(std::span(bikes_), riders_, 1, 2, clock_);
}

void TestRace::RunTo(uint32_t steps, uint32_t stepsPerCall)
{
    while (sim_->TicksDone() < steps)
    {
        TickSteps(std::min(stepsPerCall, steps - sim_->TicksDone()));
    }
}
