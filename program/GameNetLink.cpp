#include "program/GameNetLink.h"

#include <cstring>

#include "app/clock/RaceClock.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "frontend/settings/MenuStateFile.h"
#include "net/NetSession.h"
#include "net/NetSettings.h"
#include "platform/VirtualKeys.h"
#include "program/GameWindow.h"
#include "race/BikeRecord.h"

GameNetLink::GameNetLink(GameWindow& window) : window_(window), race_(g_net, *this) {}

uint32_t GameNetLink::TimerMs() const
{
    return g_timerMs.load(std::memory_order_relaxed);
}

uint32_t GameNetLink::TicksDone() const
{
    return g_ticksDone.load(std::memory_order_relaxed);
}

uint32_t GameNetLink::RaceClockMs() const
{
    return g_raceClockMs.load(std::memory_order_relaxed);
}

uint32_t GameNetLink::InputTick() const
{
    return g_inputTick.load(std::memory_order_relaxed);
}

uint32_t GameNetLink::PlayerRider() const
{
    return g_playerRider.load(std::memory_order_relaxed);
}

void GameNetLink::SetPlayerRider(uint32_t rider)
{
    g_playerRider.store(rider, std::memory_order_relaxed);
}

void GameNetLink::SetClockHold(bool held)
{
    g_clockHold.store(held, std::memory_order_relaxed);
}

void GameNetLink::PumpMessages()
{
    window_.PumpMessages();
}

bool GameNetLink::IsQuitting() const
{
    return window_.IsQuitting();
}

bool GameNetLink::TakeEscape()
{
    const bool escape = ReadKey(vk::Escape) != 0;
    ClearKey(vk::Escape);
    return escape;
}

void GameNetLink::ClearEscape()
{
    ClearKey(vk::Escape);
}

MenuState& GameNetLink::Settings()
{
    return g_menuState;
}

void GameNetLink::TakeSessionSettings(const NetSessionSettings& settings)
{
    g_bikeClass = settings.bikeClass;
    g_difficulty = settings.Strength();
    race_.SetLaps(settings.laps);
    // The changeable and the random weather are rolled per race by the session start.
    if (settings.weather < kWeatherCount)
    {
        g_weather = static_cast<Weather>(settings.weather);
    }
}

void GameNetLink::ResetRaceClock(uint32_t ms)
{
    window_.ResetRaceClock(ms);
}

NetName GameNetLink::DefaultRiderName(uint32_t rider, BikeClass bikeClass) const
{
    return riderNames_.Of(rider, bikeClass);
}

void GameNetLink::RetireRider(uint32_t rider)
{
    race_.RetireRider(rider);
}

bool GameNetLink::IsRiderRacing(uint32_t rider) const
{
    return race_.IsRiderRacing(rider);
}

void GameNetLink::TakeLineup(const RaceLineup& lineup)
{
    race_.TakeLineup(lineup);
}

void GameNetLink::TakeBikeSetup(uint32_t rider, std::span<const uint8_t, kBikeSetupBytes> setup)
{
    static_assert(sizeof(BikeSetup) == kBikeSetupBytes);
    std::memcpy(&g_bikes[rider].setup, setup.data(), setup.size());
}

void GameNetLink::GiveBikeSetup(uint32_t rider, std::span<uint8_t, kBikeSetupBytes> setup) const
{
    std::memcpy(setup.data(), &g_bikes[rider].setup, setup.size());
}

void GameNetLink::TakeStateCheck(const StateCheckView& check)
{
    race_.TakeStateCheck(check);
}

void GameNetLink::TakeRaceResult(const RaceResult& result)
{
    race_.TakeRaceResult(result);
}
