#include "frontend/SessionChoices.h"

void RollWeatherConditions(MenuState& /*settings*/) {}

void SetCurrentCircuit(int32_t /*circuit*/) {}

void StartSessionCountdown() {}
