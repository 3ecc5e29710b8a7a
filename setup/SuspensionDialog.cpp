#include "setup/SuspensionDialog.h"

#include <algorithm>
#include <cmath>

namespace
{
struct SpringScale
{
    double base;  // rate of the softest step
    double step;  // rate between steps
};

// The spring steps by class. Steps and control positions are worked out in double: in single
// precision 12500 x 0.0004 falls just short of 1 and a step would read back one softer.
constexpr std::array<SpringScale, kBikeClassCount> kSpringScales = {{
    {10000.0, 2500.0},
    {15000.0, 4000.0},
    {20000.0, 4000.0},
}};

// Oil values 40, 60 .. 120 for every class. The control is read back with the same scale, so
// that a value the dialog wrote shows as the step it came from in every class.
constexpr double kOilBase = 40.0;
constexpr double kOilStep = 20.0;

int32_t StepIndex(float value, double base, double step)
{
    if (!std::isfinite(value))
    {
        return 0;
    }
    const double index = std::trunc((static_cast<double>(value) - base) / step);
    return static_cast<int32_t>(std::clamp(index, 0.0, SuspensionDialogState::kSteps - 1.0));
}

int32_t Clicks(float value)
{
    if (!std::isfinite(value))
    {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(std::trunc(static_cast<double>(value)), 0.0,
                                           double{SuspensionDialogState::kSliderMaximum}));
}

float StepValue(int32_t index, double base, double step)
{
    const int32_t clamped = std::clamp(index, 0, SuspensionDialogState::kSteps - 1);
    return static_cast<float>(base + step * clamped);
}
}  // namespace

SuspensionDialogState ReadSuspension(const BikeSetup& setup, BikeClass bikeClass)
{
    const SpringScale& spring = kSpringScales[ToIndex(bikeClass)];
    SuspensionDialogState state;
    state.clicks = {Clicks(setup.frontCompression), Clicks(setup.frontRebound),
                    Clicks(setup.rearCompression), Clicks(setup.rearRebound)};
    state.springIndex = {StepIndex(setup.frontSpringRate, spring.base, spring.step),
                         StepIndex(setup.rearSpringRate, spring.base, spring.step)};
    state.oilIndex = {StepIndex(setup.frontOilValue, kOilBase, kOilStep),
                      StepIndex(setup.rearOilValue, kOilBase, kOilStep)};
    return state;
}

void WriteSuspension(const SuspensionDialogState& state, BikeSetup& setup, BikeClass bikeClass)
{
    // The screens keep damping within 1..19 clicks; the sliders reach 0 and 20.
    const auto clicks = [&](size_t slider)
    { return static_cast<float>(std::clamp(state.clicks[slider], 1, 19)); };
    setup.frontCompression = clicks(0);
    setup.frontRebound = clicks(1);
    setup.rearCompression = clicks(2);
    setup.rearRebound = clicks(3);

    const SpringScale& spring = kSpringScales[ToIndex(bikeClass)];
    setup.frontSpringRate = StepValue(state.springIndex[0], spring.base, spring.step);
    setup.rearSpringRate = StepValue(state.springIndex[1], spring.base, spring.step);
    setup.frontOilValue = StepValue(state.oilIndex[0], kOilBase, kOilStep);
    setup.rearOilValue = StepValue(state.oilIndex[1], kOilBase, kOilStep);
    setup.frontOilFactor = -0.5f * setup.frontOilValue;
    setup.rearOilFactor = -0.5f * setup.rearOilValue;
}

void SuspensionDialog::OnInitDialog(DialogHost& host) const
{
    const SuspensionDialogState state = ReadSuspension(m_setup, m_bikeClass);
    for (size_t slider = 0; slider < kClickSliders.size(); ++slider)
    {
        host.SetRange(kClickSliders[slider], 0, SuspensionDialogState::kSliderMaximum);
        host.SetPos(kClickSliders[slider], state.clicks[slider]);
    }
    host.SetRadio(kFrontSpring[0], state.springIndex[0]);
    host.SetRadio(kRearSpring[0], state.springIndex[1]);
    host.SetRadio(kFrontOil[0], state.oilIndex[0]);
    host.SetRadio(kRearOil[0], state.oilIndex[1]);
}

void SuspensionDialog::OnOK(DialogHost& host)
{
    SuspensionDialogState state;
    for (size_t slider = 0; slider < kClickSliders.size(); ++slider)
    {
        state.clicks[slider] = host.GetPos(kClickSliders[slider]);
    }
    state.springIndex = {host.GetRadio(kFrontSpring[0]), host.GetRadio(kRearSpring[0])};
    state.oilIndex = {host.GetRadio(kFrontOil[0]), host.GetRadio(kRearOil[0])};
    WriteSuspension(state, m_setup, m_bikeClass);
    host.End(DialogResult::Ok);
}
