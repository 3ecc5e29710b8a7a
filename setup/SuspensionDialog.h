#pragma once

// The suspension dialog of one machine: damping clicks on four sliders, spring rate and damper
// oil as five steps per wheel. The model turns record fields into control positions and back
// by class; the dialog puts them on its host's controls.

#include <array>
#include <cstdint>

#include "core/game/GameEnums.h"
#include "race/BikeSetup.h"
#include "setup/DialogHost.h"

struct SuspensionDialogState
{
    static constexpr int32_t kSliderMaximum = 20;
    static constexpr int32_t kSteps = 5;  // radio buttons of a spring or oil group

    // Front compression, front rebound, rear compression, rear rebound.
    std::array<int32_t, 4> clicks{};
    std::array<int32_t, 2> springIndex{};  // front, rear: "sehr weich" .. "sehr hart"
    std::array<int32_t, 2> oilIndex{};     // "sehr dünnflüssig" .. "sehr zähflüssig"
};

// The controls as the record stands. Every index lies within the five steps, whatever the
// record holds.
SuspensionDialogState ReadSuspension(const BikeSetup& setup, BikeClass bikeClass);
// Writes the controls into the record: clicks within 1..19, spring rate and oil value of the
// chosen steps, and the oil factor of each wheel (-0.5 x its oil value).
void WriteSuspension(const SuspensionDialogState& state, BikeSetup& setup, BikeClass bikeClass);

class SuspensionDialog
{
public:
    // Control ids of the dialog's template.
    static constexpr std::array<int32_t, 4> kClickSliders = {1017, 1018, 1027, 1028};
    static constexpr std::array<int32_t, 5> kFrontSpring = {1020, 1029, 1030, 1031, 1032};
    static constexpr std::array<int32_t, 5> kRearSpring = {1022, 1033, 1034, 1035, 1036};
    static constexpr std::array<int32_t, 5> kFrontOil = {1025, 1026, 1040, 1038, 1039};
    static constexpr std::array<int32_t, 5> kRearOil = {1041, 1042, 1043, 1044, 1045};

    SuspensionDialog(BikeSetup& setup, BikeClass bikeClass) : m_setup(setup), m_bikeClass(bikeClass)
    {
    }

    void OnInitDialog(DialogHost& host) const;
    void OnOK(DialogHost& host);
    void OnCancel(DialogHost& host) const { host.End(DialogResult::Cancel); }

private:
    BikeSetup& m_setup;
    BikeClass m_bikeClass;
};
