#include "frontend/season/SessionCountdown.h"

#include <cstdio>

#include "app/clock/RaceClock.h"
#include "app/game/CurrentRace.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuFonts.h"

namespace
{
constexpr int32_t kCountdownX = 568;
constexpr int32_t kCountdownY = 21;
}  // namespace

bool IsSessionCountdownShown(const MenuState& settings, GameMode mode)
{
    if (mode != GameMode::NetworkRace || settings.U8At(MenuState::kTimeLimitOnOffset) == 0)
    {
        return false;
    }
    const uint32_t entry = settings.U32At(MenuState::kNetworkRaceIndexOffset);
    return entry < MenuState::kNetworkCircuitEntries &&
           settings.U8At(MenuState::kNetworkCircuitsOffset + entry) < kCircuitCount;
}

bool HasSessionCountdownRunOut()
{
    return IsSessionCountdownShown(g_menuState, g_gameMode) &&
           g_menuDelayMs.load(std::memory_order_relaxed) <= 0;
}

void DrawSessionCountdown()
{
    if (!IsSessionCountdownShown(g_menuState, g_gameMode))
    {
        return;
    }
    char seconds[16];
    std::snprintf(seconds, sizeof(seconds), "%d",
                  g_menuDelayMs.load(std::memory_order_relaxed) / 1000);
    SetTextFont(GetRaceFont(RaceFont::BigDigits));
    DrawTextClipped(kCountdownX, kCountdownY, seconds, kAlignCentre);
}
