// The physics set-up of a bike record: the reset before a race, the derived constants, the
// engine curve and the moves of the rider's body.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/world/Region.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/CurrentRace.h"

namespace
{
// A machine with round figures: 200 kg, load arms 0.6 / 0.4, wheel bases 0.7 / -0.7 behind a
// reference offset of 0.1, and a power curve that rises to its peak at 12,000 rpm and turns
// negative at 15,000 rpm.
BikeSetup RoundSetup()
{
    BikeSetup setup{};
    setup.mass = 200.0f;
    setup.frontLoadArm = 0.6f;
    setup.rearLoadArm = 0.4f;
    setup.referenceOffset = 0.1f;
    setup.frontWheelBase = 0.7f;
    setup.rearWheelBase = -0.7f;
    setup.rpmScale = 12500.0f;
    setup.idleRpm = 2000.0f;
    setup.idleFloor = 0.03f;
    setup.frontalArea = 0.5f;
    setup.dragCoefficient = 0.6f;
    setup.coolingOpening = 0.5f;
    setup.coolingCoefficient = 0.0005f;
    setup.heatCoefficient = 0.5f;
    setup.ignitionA = 1.0f;
    setup.ignitionB = 1.0f;
    setup.ignitionC = 1.0f;
    setup.frontSpringRate = 20000.0f;
    setup.rearSpringRate = 5000.0f;
    setup.frontTravel = 0.12f;
    setup.rearTravel = 0.13f;
    setup.frontTyreRadius = 0.3f;
    setup.rearTyreRadius = 0.31f;
    setup.frontBaseTyreHeat = 1.3f;
    setup.rearBaseTyreHeat = 1.35f;
    for (size_t i = 0; i < BikeSetup::kEngineCurvePoints; ++i)
    {
        const float rise = static_cast<float>(i) * 1000.0f;
        setup.baseEngineCurve[i] = i <= 120  ? rise
                                   : i < 150 ? 120000.0f - 500.0f * (i - 120)
                                             : -1.0f;
    }
    return setup;
}

std::unique_ptr<BikeRecord> RoundBike()
{
    auto bike = std::make_unique<BikeRecord>();
    std::memset(bike.get(), 0, sizeof(BikeRecord));
    bike->setup = RoundSetup();
    return bike;
}

struct DerivedCase
{
    const char* name;
    float BikeRecord::*field;
    float expected;
};

class InitPhysicsTest : public ::testing::TestWithParam<DerivedCase>
{
};

TEST_P(InitPhysicsTest, DerivesTheFigureFromTheSetup)
{
    const auto bike = RoundBike();
    bike->course = 1.25f;
    EXPECT_EQ(bike->InitPhysics(7, CurrentRace{}), 0);
    EXPECT_NEAR((*bike).*GetParam().field, GetParam().expected,
                std::fabs(GetParam().expected) * 1e-6f + 1e-7f);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, InitPhysicsTest,
    ::testing::Values(DerivedCase{"InverseMass", &BikeRecord::inverseMass, 0.005f},
                      DerivedCase{"Weight", &BikeRecord::weight, 1962.0f},
                      DerivedCase{"FrontStaticLoad", &BikeRecord::frontStaticLoad, 784.8f},
                      DerivedCase{"RearStaticLoad", &BikeRecord::rearStaticLoad, 1177.2f},
                      DerivedCase{"InverseRpmScale", &BikeRecord::inverseRpmScale, 8e-5f},
                      DerivedCase{"DragFactor", &BikeRecord::dragFactor, 0.1875f},
                      DerivedCase{"CoolingRate", &BikeRecord::coolingRate, 0.00022f},
                      DerivedCase{"HeatFactor", &BikeRecord::heatFactor, 0.5f},
                      DerivedCase{"FrontContactOffset", &BikeRecord::frontContactOffset, 0.8f},
                      DerivedCase{"RearContactOffset", &BikeRecord::rearContactOffset, -0.6f},
                      DerivedCase{"ReferenceFraction", &BikeRecord::referenceFraction, 0.8f / 1.4f},
                      DerivedCase{"Speed", &BikeRecord::speed, 0.01f},
                      DerivedCase{"EngineSpeedSq", &BikeRecord::engineSpeedSq, 0.03f},
                      DerivedCase{"EngineRpm", &BikeRecord::engineRpm, 2000.0f},
                      DerivedCase{"SoundRpm", &BikeRecord::soundRpm, 2000.0f},
                      DerivedCase{"EngineTemperature", &BikeRecord::engineTemperature, 60.0f},
                      DerivedCase{"Heading", &BikeRecord::heading, 1.25f},
                      DerivedCase{"FrontTyreHeat", &BikeRecord::frontTyreHeat, 1.3f},
                      DerivedCase{"RearTyreHeat", &BikeRecord::rearTyreHeat, 1.35f},
                      DerivedCase{"FrontGripWear", &BikeRecord::frontGripWear, 1.0f},
                      DerivedCase{"FrontLoad", &BikeRecord::frontLoad, 784.8f},
                      DerivedCase{"RearVerticalForce", &BikeRecord::rearVerticalForce, 1177.2f},
                      DerivedCase{"RearRollingRadius", &BikeRecord::rearRollingRadius, 0.31f},
                      // 784.8 / 20000 is within the fork's travel; the rear is not.
                      DerivedCase{"FrontCompression", &BikeRecord::frontCompression, 0.03924f},
                      DerivedCase{"FrontWheelExtension", &BikeRecord::frontWheelExtension,
                                  0.12f - 0.03924f},
                      DerivedCase{"RearCompression", &BikeRecord::rearCompression, 0.13f},
                      DerivedCase{"RearWheelExtension", &BikeRecord::rearWheelExtension, 0.0f},
                      DerivedCase{"TargetTurnRadius", &BikeRecord::aiSteerRadius, 10000.0f},
                      DerivedCase{"WobbleReferenceSpeed", &BikeRecord::wobbleReferenceSpeed, 30.0f},
                      DerivedCase{"SlipstreamFactor", &BikeRecord::slipstreamFactor, 1.0f},
                      DerivedCase{"BumpLength", &BikeRecord::bumpLength, 1.0f},
                      DerivedCase{"BumpGap", &BikeRecord::bumpGap, 1.0f},
                      DerivedCase{"PeakTorqueRpm", &BikeRecord::peakTorqueRpm, 12000.0f}),
    [](const ::testing::TestParamInfo<DerivedCase>& info) { return info.param.name; });

TEST(InitPhysicsStateTest, StartsFromZeroButKeepsWhatTheSessionSetBeforeIt)
{
    const auto bike = RoundBike();
    // Left by a previous race.
    bike->flags = bike_flags::kDown | bike_flags::kFalling;
    bike->crashSpinRate = 3.0f;
    bike->holdTime = 4.0f;
    bike->groundTrail[5].x = 9.0f;
    bike->kineticEnergy = 12345.0f;
    bike->freeWords[2] = 77;
    bike->links.hip = RegionRef<WorldObject>::FromOffset(4096);
    bike->figureSwapFlag = 1;
    bike->liftButton = 1;
    bike->throttle = 0.8f;
    bike->gear = 5;
    // Set by the session start, the placement, the machine preparation and the loader.
    bike->soundSlot = -1;
    bike->gearWear = {45, 60, 75, 90, 120, 150};
    bike->aiTargetNode = 321;
    bike->lapsStarted = 1;
    bike->aiPitSlot = BikeRecord::kNoPitSlot;
    bike->raceStatus = 9;
    bike->positionX = 12.5f;
    bike->positionZ = -3.0f;
    bike->frontTyreHeatBase = 1.4f;
    bike->rearHeatingFactor = 0.2f;
    bike->frontWearRate = 1e-6f;
    bike->enginePowerFactor = 0.72f;
    bike->autoGearbox = 1;
    bike->steeringAidMode = 2;
    bike->keyboardFlag = 1;
    bike->lobbyChoices = {1, 2, 3, 4};
    bike->wheelFrameBase = 3;

    bike->InitPhysics(4, CurrentRace{});

    EXPECT_EQ(bike->flags, 0u);
    EXPECT_EQ(bike->crashSpinRate, 0.0f);
    EXPECT_EQ(bike->holdTime, 0.0f);
    EXPECT_EQ(bike->groundTrail[5].x, 0.0f);
    EXPECT_EQ(bike->kineticEnergy, 0.0f);
    EXPECT_EQ(bike->freeWords[2], 0u);
    EXPECT_FALSE(bike->links.hip);
    EXPECT_EQ(bike->figureSwapFlag, 0);
    EXPECT_EQ(bike->liftButton, 0);
    EXPECT_EQ(bike->throttle, 0.0f);
    EXPECT_EQ(bike->gear, 1);
    EXPECT_EQ(bike->crashRequest, BikeRecord::kNoCrash);
    EXPECT_EQ(bike->skidMarkClass, -1);
    EXPECT_EQ(bike->roadFlag, 1);
    EXPECT_EQ(bike->slipstreamRider, 4);
    EXPECT_EQ(bike->poseFadeCopy, 128);

    EXPECT_EQ(bike->soundSlot, -1);
    EXPECT_EQ(bike->gearWear[5], 150.0f);
    EXPECT_EQ(bike->aiTargetNode, 321u);
    EXPECT_EQ(bike->lapsStarted, 1);
    EXPECT_EQ(bike->aiPitSlot, BikeRecord::kNoPitSlot);
    EXPECT_EQ(bike->raceStatus, 9u);
    EXPECT_EQ(bike->positionX, 12.5f);
    EXPECT_EQ(bike->positionZ, -3.0f);
    EXPECT_EQ(bike->frontTyreHeatBase, 1.4f);
    EXPECT_EQ(bike->rearHeatingFactor, 0.2f);
    EXPECT_EQ(bike->frontWearRate, 1e-6f);
    EXPECT_EQ(bike->enginePowerFactor, 0.72f);
    EXPECT_EQ(bike->autoGearbox, 1);
    EXPECT_EQ(bike->steeringAidMode, 2);
    EXPECT_EQ(bike->keyboardFlag, 1);
    EXPECT_EQ(bike->lobbyChoices[3], 4);
    EXPECT_EQ(bike->wheelFrameBase, 3);
}

// The engine curve, figured independently in double precision.
struct CurveCase
{
    const char* name;
    uint32_t engineConditions;
    RaceConditions air;
    float ignitionA, ignitionB, ignitionC;  // third, second, first carburation
    uint32_t raceStatus;
    BikeClass bikeClass;
    bool baseTurnsNegative;
};

double DensityRatio(const RaceConditions& air)
{
    const double w = air.wetBulbTemperature;
    const double saturation =
        4.6033 + w * (0.31766 + w * (0.01286 + w * (8.6772e-5 + w * 4.6478e-6)));
    const double vapour = saturation - 0.00066225167 * air.pressureMmHg * (air.airTemperature - w);
    return std::sqrt((air.airTemperature + 273.0) / 293.0) * 749.0 / (air.pressureMmHg - vapour);
}

class TorqueCurveTest : public ::testing::TestWithParam<CurveCase>
{
};

TEST_P(TorqueCurveTest, FollowsTheBaseCurveCarburationAndAir)
{
    const CurveCase& c = GetParam();
    const auto bike = RoundBike();
    if (!c.baseTurnsNegative)
    {
        bike->setup.baseEngineCurve.fill(50000.0f);
    }
    bike->setup.ignitionA = c.ignitionA;
    bike->setup.ignitionB = c.ignitionB;
    bike->setup.ignitionC = c.ignitionC;
    bike->raceStatus = c.raceStatus;
    CurrentRace race;
    race.engineConditions = c.engineConditions;
    race.conditions = c.air;
    race.bikeClass = c.bikeClass;
    bike->ComputeTorqueCurve(race);

    double c1 = c.ignitionC, c2 = c.ignitionB, c3 = c.ignitionA;
    const double heat = 0.5 * (2 - c3) * (2 - c1) * (2 - c2);
    double stretch = 1.0, scale = 1.0;
    if (c.engineConditions == 1)
    {
        const double k = DensityRatio(c.air);
        if (c.raceStatus > 2)
        {
            c2 = std::clamp(2.0 - k, 0.95, 1.05);
            c1 = c3 = 2.0 - c2;
        }
        double g = 1.0 / (std::fabs(k + c2 - 2) + std::fabs(k - c3) + 1);
        if (std::fabs(c1 - c3) > 0.05)
        {
            g *= 1 - (std::fabs(c1 - c3) - 0.05);
        }
        const double m = c1 - c3 + 1;
        stretch = m <= 1 ? m : m > 1.05 ? 2.1 - m : m;
        scale = m <= 1 ? g * std::sqrt(1 / (1 + 0.5 * (1 - m))) : g / m;
    }
    EXPECT_NEAR(bike->heatFactor, heat, 1e-6);
    EXPECT_NEAR(bike->setup.ignitionB, c2, 1e-6);
    EXPECT_NEAR(bike->setup.ignitionC, c1, 1e-6);
    EXPECT_NEAR(bike->setup.ignitionA, c3, 1e-6);

    // Points from the base curve until one is negative or the base curve runs out, then the
    // tail.
    std::vector<double> expected;
    for (size_t i = 0; i < 200; ++i)
    {
        const auto source = static_cast<size_t>(i / stretch);
        const double value = source < 200 ? bike->setup.baseEngineCurve[source] * scale : -1.0;
        if (value < 0)
        {
            break;
        }
        expected.push_back(value);
    }
    const size_t tail = expected.size();
    const double step = c.bikeClass == BikeClass::Class125 ? -8500.0 : -5000.0;
    while (expected.size() < 200)
    {
        expected.push_back(step * static_cast<double>(expected.size() - tail + 1));
    }
    for (size_t i = 0; i < 200; ++i)
    {
        ASSERT_NEAR(bike->engineCurve[i], expected[i], std::fabs(expected[i]) * 1e-5)
            << "point " << i;
    }
    const auto peak = std::max_element(expected.begin(), expected.begin() + tail);
    EXPECT_EQ(bike->peakTorqueRpm, static_cast<float>((peak - expected.begin()) * 100));
}

constexpr RaceConditions kStandardAir{20.0f, 16.0f, 65.0f, 760.0f};
constexpr RaceConditions kHotThinAir{35.0f, 25.0f, 40.0f, 700.0f};

INSTANTIATE_TEST_SUITE_P(
    Cases, TorqueCurveTest,
    ::testing::Values(CurveCase{"CopiedWithoutAirCorrection", 0, kHotThinAir, 1.0f, 1.0f, 1.0f, 0,
                                BikeClass::Class125, true},
                      CurveCase{"TailOfTheBigClasses", 0, kHotThinAir, 1.0f, 1.0f, 1.0f, 0,
                                BikeClass::Class500, true},
                      CurveCase{"StandardAirNominalCarburation", 1, kStandardAir, 1.0f, 1.0f, 1.0f,
                                0, BikeClass::Class250, true},
                      CurveCase{"ComputerRiderSetsItsCarburation", 1, kHotThinAir, 1.0f, 1.0f, 1.0f,
                                9, BikeClass::Class250, true},
                      CurveCase{"PlayerKeepsHisCarburation", 1, kHotThinAir, 1.0f, 1.0f, 1.0f, 0,
                                BikeClass::Class250, true},
                      CurveCase{"FirstFarAboveThirdCompressesLess", 1, kStandardAir, 0.962f, 1.0f,
                                1.043f, 0, BikeClass::Class125, true},
                      CurveCase{"FirstBelowThirdStretches", 1, kStandardAir, 1.037f, 1.0f, 0.963f,
                                0, BikeClass::Class125, true},
                      CurveCase{"FirstAboveThirdCompresses", 1, kStandardAir, 0.982f, 1.02f,
                                1.0137f, 0, BikeClass::Class500, true},
                      CurveCase{"NeverNegativeEndsAtTheLastPoint", 0, kStandardAir, 1.0f, 1.0f,
                                1.0f, 0, BikeClass::Class125, false},
                      CurveCase{"StretchedPastTheBaseCurveGetsATail", 1, kStandardAir, 1.037f, 1.0f,
                                0.963f, 0, BikeClass::Class250, false}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return info.param.name; });

TEST(TorqueCurveFigureTest, StandardAirIsAlmostTheBaseCurve)
{
    const auto bike = RoundBike();
    CurrentRace race;
    race.engineConditions = 1;
    race.conditions = kStandardAir;
    bike->ComputeTorqueCurve(race);
    // k = 1.000835 under the standard air: g = 1 / (1 + 2 x 0.000835).
    EXPECT_NEAR(bike->engineCurve[100], 100000.0f * 0.998334f, 1.0f);
    EXPECT_EQ(bike->engineCurve[150], -8500.0f);
    EXPECT_EQ(bike->engineCurve[151], -17000.0f);
    EXPECT_EQ(bike->engineCurve[199], -8500.0f * 50);
}

// The rider's body between the bike's seat and the shared figure.
class FigureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(region::Reserve());
        for (WorldObject** node : {&seat_, &hip_, &shared_, &other_})
        {
            const uint32_t offset = region::Allocate(sizeof(WorldObject));
            ASSERT_NE(offset, 0u);
            *node = reinterpret_cast<WorldObject*>(region::Address(offset));
            std::memset(*node, 0, sizeof(WorldObject));
        }
        AttachToList(*other_, *seat_, 0, 0, 0, kAttachChild, 1);
        AttachToList(*hip_, *seat_, 0.0f, 0.7f, 0.0f, kAttachChild, 2);
        bike_->links.hip.set(hip_);
        bike_->links.seat.set(seat_);
    }
    void TearDown() override
    {
        for (WorldObject* node : {seat_, hip_, shared_, other_})
        {
            region::Free(region::OffsetOf(node));
        }
    }

    std::unique_ptr<BikeRecord> bike_ = RoundBike();
    WorldObject* seat_ = nullptr;
    WorldObject* hip_ = nullptr;
    WorldObject* shared_ = nullptr;
    WorldObject* other_ = nullptr;
};

TEST_F(FigureTest, TheHipMovesToTheSharedFigureAndBack)
{
    bike_->AttachSharedFigure(*shared_, 1.0f, 2.0f, 3.0f);
    EXPECT_EQ(bike_->figureSwapFlag, 1);
    EXPECT_EQ(shared_->firstSubObject.get(), hip_);
    EXPECT_EQ(hip_->parent.get(), shared_);
    EXPECT_EQ(hip_->placement.z, 3.0f);
    EXPECT_EQ(hip_->groupRadius, 2.0f);
    EXPECT_EQ(seat_->firstChild.get(), other_) << "the seat keeps its other children";

    bike_->AttachOwnFigure(*shared_);
    EXPECT_EQ(bike_->figureSwapFlag, 0);
    EXPECT_FALSE(shared_->firstSubObject);
    EXPECT_EQ(seat_->firstChild.get(), hip_);
    EXPECT_EQ(hip_->placement.y, 0.7f);
    EXPECT_EQ(hip_->placement.z, 0.0f);
}

TEST_F(FigureTest, EachMoveNeedsTheHipWhereItExpectsIt)
{
    bike_->AttachOwnFigure(*shared_);
    EXPECT_EQ(bike_->figureSwapFlag, 0) << "not swapped: nothing to take back";
    EXPECT_EQ(hip_->parent.get(), seat_);

    bike_->AttachSharedFigure(*shared_, 1.0f, 2.0f, 3.0f);
    bike_->AttachSharedFigure(*shared_, 4.0f, 5.0f, 6.0f);
    EXPECT_EQ(hip_->placement.x, 1.0f) << "attached once";
    EXPECT_EQ(hip_->nextSibling.get(), nullptr);

    // A hip taken off the shared figure by someone else is left alone.
    DetachFromList(*hip_, *shared_, kAttachSubObject);
    bike_->AttachOwnFigure(*shared_);
    EXPECT_EQ(bike_->figureSwapFlag, 1);
    EXPECT_FALSE(hip_->parent);
}
}  // namespace
