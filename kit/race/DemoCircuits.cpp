#include "kit/race/DemoCircuits.h"

#include <array>

#include "kit/race/DemoRace.h"

namespace kit
{
namespace
{
CircuitShape Shape(int32_t bends, float bendRadius, float lapLength)
{
    CircuitShape shape;
    shape.bends = bends;
    shape.bendRadiusMetres = bendRadius;
    shape.lapLengthMetres = lapLength;
    shape.nodeSpacingMetres = 8.0f;
    return shape;
}

const std::array<DemoCircuit, 18> kCircuits = {{
    {kDemoRaceCircuitName, DemoCircuitShape()},
    {"Suzuka", Shape(4, 40.0f, 1400.0f)},
    {"Jerez", Shape(3, 35.0f, 1100.0f)},
    {"Mugello", Shape(2, 50.0f, 1300.0f)},
    {"A1Ring", Shape(3, 55.0f, 1250.0f)},
    {"Frankreich", Shape(5, 30.0f, 1400.0f)},
    {"Drenthe", Shape(4, 28.0f, 1200.0f)},
    {"Imola", Shape(3, 45.0f, 1350.0f)},
    {"Nuerburgring", Shape(5, 40.0f, 1600.0f)},
    {"Brasilien", Shape(2, 35.0f, 1000.0f)},
    {"Donington", Shape(4, 50.0f, 1500.0f)},
    {"Bruenn", Shape(3, 60.0f, 1500.0f)},
    {"Catalunya", Shape(4, 35.0f, 1300.0f)},
    {"Sentul", Shape(2, 60.0f, 1200.0f)},
    {"PI", Shape(5, 50.0f, 1800.0f)},
    {"Netz1", Shape(2, 30.0f, 900.0f)},
    {"Netz2", Shape(3, 30.0f, 1000.0f)},
    {"Netz3", Shape(4, 30.0f, 1100.0f)},
}};
}  // namespace

std::span<const DemoCircuit> DemoCircuits()
{
    return kCircuits;
}
}  // namespace kit
