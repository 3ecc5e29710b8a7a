#pragma once

// What the rows of the realism and options panels do to the settings record and the 3D set-up
// record. The panels edit copies; these rules only change the record they are given.

#include <cstddef>
#include <cstdint>

class ConfigBlock;
class MenuState;

// The riding-aids panel: nine option rows and "all". A row's byte is 0 for on, 1 for off.
inline constexpr size_t kRideAidOptionRows = 9;
inline constexpr size_t kRideAidAllRow = 9;
size_t RideAidOffset(size_t row);

// Toggles the row's byte and pulls the aids that depend on it along: no auto clutch without
// auto gear, no steering aid without auto gear and auto braking.
void ToggleRideAid(MenuState& settings, size_t row);

// Bit n set: riding-aid row n is locked by the level.
using RowMask = uint32_t;
// The aids the settings' level takes away are switched off; returns their rows.
RowMask ApplyLevelAidLocks(MenuState& settings);
// Every row that is not locked takes the value.
void SetEveryRideAid(MenuState& settings, RowMask locked, uint8_t value);

// The damage panel: five option rows and "all".
inline constexpr size_t kDamageAllRow = 5;
void ToggleDamage(MenuState& settings, size_t row);
void SetEveryDamage(MenuState& settings, uint8_t value);

// 0 becomes 1 and anything else 0.
void ToggleByte(MenuState& settings, size_t offset);
// Steps the byte through 0 .. count - 1.
void CycleByte(MenuState& settings, size_t offset, uint8_t count);

// The weather chosen for the weekend: the next one, for all four sessions, from the first
// session on, with conditions rolled afresh.
void CycleMenuWeather(MenuState& settings);

// Opponents and start position of a single race for the settings' class: the opponents
// within 4 .. riders - 1, the start position within 1 .. opponents + 1.
int32_t RidersOfSettingsClass(const MenuState& settings);
void ClampRaceField(MenuState& settings);

// The sound panel's rows of the 3D set-up record.
void CycleSampleRate(ConfigBlock& config);
void CycleBufferSize(ConfigBlock& config);
void CycleVoices(ConfigBlock& config);
void ToggleInterpolation(ConfigBlock& config);
int32_t SampleRateOf(const ConfigBlock& config);
int32_t BufferSizeOf(const ConfigBlock& config);
int32_t VoicesShownOf(const ConfigBlock& config);
// True when the output must be restarted to follow the new record.
bool SoundOutputDiffers(const ConfigBlock& before, const ConfigBlock& after);

// The sound panel's music switches: music off in the menus also turns it off in the race;
// the race's switch follows only while the menus play music.
void ToggleMenuMusic(MenuState& settings);
void ToggleRaceMusic(MenuState& settings);
