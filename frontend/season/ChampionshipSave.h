#pragma once

// Championship saves below "save/wm/": the whole settings record, which carries the
// championship's standing, and the local player's bike set-up, little-endian:
//
//   offset  bytes  content
//   0       4      record size: 5360 (5348 in the older form)
//   4       4      format version: 2 (1 in the older form)
//   8       512    zero, not read
//   520     5360   the settings record (5348 in the older form, without the control map)
//   5880    67     the local player's set-up stream (5868 in the older form)
//
// Only the current form is written; both are read. Main thread only.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/settings/MenuState.h"
#include "race/BikeSetup.h"

inline constexpr std::string_view kChampionshipSaveFolder = "save/wm/";
inline constexpr size_t kChampionshipSaveHeadSize = 520;

std::vector<uint8_t> EncodeChampionshipSave(const MenuState& settings, const BikeSetup& setup);

// The settings a save brings to this machine: the save's record with this machine's own
// choices kept (intro, volume, CD music, view distance, model detail, control device and the
// first nine controls), and its set-up stream. A save whose head is of neither form, that ends
// before its set-up stream ends, or whose record holds a value out of its range gives nothing.
struct ChampionshipSaveContents
{
    MenuState settings;
    std::span<const uint8_t> setupStream;  // within the bytes decoded
};
std::optional<ChampionshipSaveContents> DecodeChampionshipSave(std::span<const uint8_t> bytes,
                                                               const MenuState& machine);

// Replaces the file at the game path with g_menuState and the set-up of the local player's
// bike; false when it cannot be written, the old file then staying as it was.
bool SaveChampionship(std::string_view path);

// Takes the save at the game path over into g_menuState, applies it and loads its set-up into
// the local player's bike. A save that cannot be read or is damaged changes nothing: false.
bool LoadChampionship(std::string_view path);
