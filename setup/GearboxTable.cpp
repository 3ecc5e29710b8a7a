#include "setup/GearboxTable.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

namespace
{
// km/h per rpm of the rear wheel and metre of wheel radius: 2 pi / 60 x 3.6.
constexpr float kTopSpeedFactor = 0.37699115f;

int8_t ClampByte(int8_t value, uint8_t low, uint8_t high)
{
    return static_cast<int8_t>(std::clamp<int>(value, low, high));
}
}  // namespace

std::array<int8_t, BikeSetup::kGears + 2> GearingBytes(const BikeSetup& setup)
{
    std::array<int8_t, BikeSetup::kGears + 2> bytes{};
    std::copy(setup.gearChoice.begin(), setup.gearChoice.end(), bytes.begin());
    bytes[BikeSetup::kGears] = setup.rearSprocket;
    bytes[BikeSetup::kGears + 1] = setup.frontSprocket;
    return bytes;
}

GearboxTable::GearboxTable()
{
    FillClassDefaults(BikeClass::Class125);
}

void GearboxTable::FillClassDefaults(BikeClass bikeClass)
{
    m_gearing = &ClassGearingOf(bikeClass);
    uint8_t first = 0;
    for (size_t gear = 0; gear < kGears; ++gear)
    {
        m_firstChoice[gear] = first;
        first = static_cast<uint8_t>(first + m_gearing->pairsPerGear[gear]);
        m_lastChoice[gear] = static_cast<uint8_t>(first - 1);
    }
}

void GearboxTable::Init(BikeClass bikeClass, float speedTarget, float rpmTarget)
{
    FillClassDefaults(bikeClass);
    m_player = nullptr;
    m_speedFactor = speedTarget / m_gearing->classReferenceSpeed;
    m_rpmFactor = rpmTarget * 0.0125f;
}

void GearboxTable::InitForPlayer(BikeClass bikeClass, BikeSetup& player, float topSpeedReference)
{
    FillClassDefaults(bikeClass);
    m_speedFactor = 1.0f;
    m_rpmFactor = 1.0f;
    m_player = &player;
    m_topSpeedReference = topSpeedReference;
    ApplyGearing(player);
    SaveGearing();
    FormatRatios(player);
    ClassifyTopSpeed();
}

float GearboxTable::GearRatio(int choice) const
{
    const GearPair& pair = m_gearing->pairs[static_cast<size_t>(choice)];
    return static_cast<float>(pair.wheelTeeth) / static_cast<float>(pair.pinionTeeth);
}

void GearboxTable::ApplyGearing(BikeSetup& setup) const
{
    const ClassGearing& g = *m_gearing;
    setup.rearSprocket = ClampByte(setup.rearSprocket, g.rearSprocketMin, g.rearSprocketMax);
    setup.frontSprocket = ClampByte(setup.frontSprocket, g.frontSprocketMin, g.frontSprocketMax);
    const float drive = static_cast<float>(setup.rearSprocket) /
                        static_cast<float>(setup.frontSprocket) /
                        static_cast<float>(g.primaryDriving) * static_cast<float>(g.primaryDriven);
    for (size_t gear = 0; gear < kGears; ++gear)
    {
        int8_t& choice = setup.gearChoice[gear];
        choice = ClampByte(choice, m_firstChoice[gear], m_lastChoice[gear]);
        const GearPair& pair = g.pairs[static_cast<size_t>(choice)];
        setup.overallRatio[gear] =
            drive / static_cast<float>(pair.pinionTeeth) * static_cast<float>(pair.wheelTeeth);
    }
}

void GearboxTable::FormatRatios(const BikeSetup& setup)
{
    for (size_t gear = 0; gear < kGears; ++gear)
    {
        const int choice =
            std::clamp<int>(setup.gearChoice[gear], m_firstChoice[gear], m_lastChoice[gear]);
        std::snprintf(m_ratioText[gear].data(), m_ratioText[gear].size(), "%.3f:1",
                      static_cast<double>(GearRatio(choice)));
    }
}

void GearboxTable::AutoSelectGearing(BikeSetup& setup) const
{
    const ClassGearing& g = *m_gearing;
    const float p =
        static_cast<float>(setup.frontSprocket) / static_cast<float>(setup.rearSprocket);
    const float target = m_speedFactor * p;
    int bestFront = setup.frontSprocket;
    int bestRear = setup.rearSprocket;
    float bestDistance = std::fabs(p - target);
    for (int rear = g.rearSprocketMin; rear <= g.rearSprocketMax; ++rear)
    {
        for (int front = g.frontSprocketMin; front <= g.frontSprocketMax; ++front)
        {
            const float distance =
                std::fabs(static_cast<float>(front) / static_cast<float>(rear) - target);
            if (distance < bestDistance)
            {
                bestDistance = distance;
                bestFront = front;
                bestRear = rear;
            }
        }
    }
    setup.frontSprocket = static_cast<int8_t>(bestFront);
    setup.rearSprocket = static_cast<int8_t>(bestRear);

    const float m = p * static_cast<float>(bestRear) / static_cast<float>(bestFront) * m_rpmFactor;
    for (size_t gear = 0; gear < kGears; ++gear)
    {
        const int current =
            std::clamp<int>(setup.gearChoice[gear], m_firstChoice[gear], m_lastChoice[gear]);
        const float x = (m - static_cast<float>(gear) * 0.2f * (m - 1.0f)) / GearRatio(current);
        if (!(x > 0.0f))
        {
            continue;  // no gear ratio lies nearer a target that is no ratio
        }
        float bestMismatch = 1000.0f;
        int best = current;
        for (int choice = m_lastChoice[gear]; choice >= m_firstChoice[gear]; --choice)
        {
            const float inverse = 1.0f / GearRatio(choice);
            const float mismatch = inverse > x ? inverse / x : x / inverse;
            if (mismatch < bestMismatch)
            {
                bestMismatch = mismatch;
                best = choice;
            }
        }
        setup.gearChoice[gear] = static_cast<int8_t>(best);
    }
    ApplyGearing(setup);
}

void GearboxTable::SaveGearing()
{
    assert(m_player != nullptr);
    m_savedGearing = GearingBytes(*m_player);
}

void GearboxTable::RestoreGearing()
{
    assert(m_player != nullptr);
    std::copy_n(m_savedGearing.begin(), kGears, m_player->gearChoice.begin());
    m_player->rearSprocket = m_savedGearing[kGears];
    m_player->frontSprocket = m_savedGearing[kGears + 1];
    ApplyGearing(*m_player);
}

void GearboxTable::StepGearShorter(int gear)
{
    assert(m_player != nullptr);
    int8_t& choice = m_player->gearChoice[static_cast<size_t>(gear)];
    if (choice > m_firstChoice[static_cast<size_t>(gear)])
    {
        --choice;
        ReapplyGearing();
    }
}

void GearboxTable::StepGearLonger(int gear)
{
    assert(m_player != nullptr);
    int8_t& choice = m_player->gearChoice[static_cast<size_t>(gear)];
    if (choice < m_lastChoice[static_cast<size_t>(gear)])
    {
        ++choice;
        ReapplyGearing();
    }
}

void GearboxTable::StepSecondaryUp()
{
    StepSecondary(true);
}

void GearboxTable::StepSecondaryDown()
{
    StepSecondary(false);
}

void GearboxTable::StepSecondary(bool up)
{
    assert(m_player != nullptr);
    const ClassGearing& g = *m_gearing;
    const float current =
        static_cast<float>(m_player->rearSprocket) / static_cast<float>(m_player->frontSprocket);
    bool found = false;
    float bestRatio = 0.0f;
    for (int front = g.frontSprocketMin; front <= g.frontSprocketMax; ++front)
    {
        for (int rear = g.rearSprocketMin; rear <= g.rearSprocketMax; ++rear)
        {
            const float ratio = static_cast<float>(rear) / static_cast<float>(front);
            const bool beyond = up ? ratio > current : ratio < current;
            const bool nearer = !found || (up ? ratio < bestRatio : ratio > bestRatio);
            if (beyond && nearer)
            {
                found = true;
                bestRatio = ratio;
                m_player->frontSprocket = static_cast<int8_t>(front);
                m_player->rearSprocket = static_cast<int8_t>(rear);
            }
        }
    }
    ApplyGearing(*m_player);
    FormatRatios(*m_player);
    ClassifyTopSpeed();
}

void GearboxTable::ReapplyGearing()
{
    assert(m_player != nullptr);
    ApplyGearing(*m_player);
    FormatRatios(*m_player);
}

TopSpeedState GearboxTable::ClassifyTopSpeed()
{
    if (m_player == nullptr)
    {
        return m_topSpeedState;  // no machine yet
    }
    // The tyre's radius is the wheel factor: the rolling radius grows with lean and speed only
    // in the race.
    const float topSpeed = m_player->maxEngineSpeed * kTopSpeedFactor /
                           m_player->overallRatio[kGears - 1] * m_player->rearTyreRadius;
    if (topSpeed - 4.0f > m_topSpeedReference)
    {
        m_topSpeedState = TopSpeedState::Long;
    }
    else if (topSpeed * 1.06f >= m_topSpeedReference)
    {
        m_topSpeedState = TopSpeedState::Normal;
    }
    else
    {
        m_topSpeedState = TopSpeedState::Short;
    }
    return m_topSpeedState;
}
