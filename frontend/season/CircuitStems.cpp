#include "frontend/season/CircuitStems.h"

#include <array>
#include <cstdint>

namespace
{
constexpr std::array<std::string_view, kCircuitCount> kStems = {
    "ShahAlam",  "Suzuka", "Jerez",        "Mugello",   "A1Ring",    "Frankreich",
    "Drenthe",   "Imola",  "Nuerburgring", "Brasilien", "Donington", "Bruenn",
    "Catalunya", "Sentul", "PI",           "Netz1",     "Netz2",     "Netz3"};
}

std::string_view CircuitStem(CircuitId circuit)
{
    return ToIndex(circuit) < kStems.size() ? kStems[ToIndex(circuit)] : kStems[0];
}

CircuitId CircuitOrChosen(int32_t circuit, CircuitId otherwise)
{
    return circuit >= 0 && static_cast<size_t>(circuit) < kCircuitCount
               ? static_cast<CircuitId>(circuit)
               : otherwise;
}
