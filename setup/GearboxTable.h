#pragma once

// The gearing of one machine of the current class: turns the gearing bytes of a set-up (gear
// choices and sprockets) into the six overall ratios the race physics uses, formats the gear
// ratios, steps the player's gearing on the set-up screen, picks a gearing for a computer rider
// and tells whether the reachable top speed suits the circuit. Main thread only.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/game/GameEnums.h"
#include "race/BikeSetup.h"
#include "setup/GearboxTables.h"

enum class TopSpeedState : int32_t
{
    Short = 0,
    Normal = 1,
    Long = 2,
};

class GearboxTable
{
public:
    static constexpr size_t kGears = BikeSetup::kGears;
    static constexpr float kNoReferenceSpeed = 200.0f;  // until a racing line sets one

    GearboxTable();

    // The class's tables and the targets a computer rider's gearing aims at: the circuit's
    // top-speed reference and the racing line's engine-speed value.
    void Init(BikeClass bikeClass, float speedTarget, float rpmTarget);
    // The class's tables for the player's machine, whose gearing the step, restore and classify
    // operations then work on: applies and keeps its gearing (for RestoreGearing), formats the
    // ratios and classifies the top speed against the circuit's reference speed.
    void InitForPlayer(BikeClass bikeClass, BikeSetup& player, float topSpeedReference);

    // Brings the sprockets and gear choices into the class's ranges and sets the overall
    // ratios from them.
    void ApplyGearing(BikeSetup& setup) const;
    void FormatRatios(const BikeSetup& setup);
    void AutoSelectGearing(BikeSetup& setup) const;

    void SaveGearing();
    void RestoreGearing();
    // One pair shorter or longer within the gear's own pairs; nothing at either end.
    void StepGearShorter(int gear);
    void StepGearLonger(int gear);
    // The next secondary ratio over every sprocket pair of the class; nothing past either end.
    void StepSecondaryUp();
    void StepSecondaryDown();
    void ReapplyGearing();
    TopSpeedState ClassifyTopSpeed();

    // "%.3f:1" of gear 0..5 as last formatted.
    std::string_view RatioText(int gear) const { return m_ratioText[gear].data(); }
    TopSpeedState topSpeedState() const { return m_topSpeedState; }
    uint8_t FirstChoice(int gear) const { return m_firstChoice[gear]; }
    uint8_t LastChoice(int gear) const { return m_lastChoice[gear]; }
    float SpeedFactor() const { return m_speedFactor; }
    float RpmFactor() const { return m_rpmFactor; }

private:
    using Gearing = std::array<int8_t, kGears + 2>;  // gear choices, rear and front sprocket

    void FillClassDefaults(BikeClass bikeClass);
    void StepSecondary(bool up);
    float GearRatio(int choice) const;

    std::array<std::array<char, 16>, kGears> m_ratioText{};
    TopSpeedState m_topSpeedState = TopSpeedState::Normal;
    const ClassGearing* m_gearing;
    std::array<uint8_t, kGears> m_firstChoice{};
    std::array<uint8_t, kGears> m_lastChoice{};
    float m_speedFactor = 1.0f;
    float m_rpmFactor = 1.0f;
    Gearing m_savedGearing{};
    BikeSetup* m_player = nullptr;
    float m_topSpeedReference = kNoReferenceSpeed;
};

// Gearing bytes of a set-up in the order the set-up stream carries them.
std::array<int8_t, BikeSetup::kGears + 2> GearingBytes(const BikeSetup& setup);
