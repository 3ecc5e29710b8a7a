#include "frontend/SessionChoices.h"

#include "app/clock/RaceClock.h"
#include "app/game/CurrentRace.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/netlobby/LobbySettings.h"
#include "frontend/season/CircuitStems.h"
#include "frontend/season/SessionCountdown.h"
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

void StartSessionCountdown()
{
    if (IsSessionCountdownShown(g_menuState, g_gameMode))
    {
        g_menuDelayMs.store(
            CountdownSeconds(g_menuState.U32At(MenuState::kTimeLimitIndexOffset)) * 1000,
            std::memory_order_relaxed);
    }
}
