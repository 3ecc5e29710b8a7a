#include "frontend/SessionChoices.h"

#include "app/game/CurrentRace.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/season/CircuitStems.h"
#include "frontend/season/SessionWeather.h"
#include "frontend/toolkit/MenuTexts.h"

void RollWeatherConditions(MenuState& settings)
{
    const CircuitId circuit = CircuitOrChosen(
        static_cast<int32_t>(settings.U32At(MenuState::kCircuitOffset)), CircuitId::ShahAlam);
    RollWeatherConditions(settings, CircuitTexts()[ToIndex(circuit)].climate, RuntimeRand);
}

void SetCurrentCircuit(int32_t circuit)
{
    const CircuitId chosen = CircuitOrChosen(
        static_cast<int32_t>(g_menuState.U32At(MenuState::kCircuitOffset)), CircuitId::ShahAlam);
    g_circuitIndex = CircuitOrChosen(circuit, chosen);
    g_circuitName = CircuitStem(g_circuitIndex);
}

void StartSessionCountdown() {}
