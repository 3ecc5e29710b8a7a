#pragma once

// The player's ghosts: laps of a session kept as files "save/ghost/<name><n>.fhr" (n 0..199,
// a byte copy of the session's lap file), listed for the class being ridden, loaded into the
// race for a ghost session and deleted. Ghost files come from anywhere: one whose head is
// damaged or names no class, circuit, level or weather is left out of the list and never
// loaded, not even in part. Main thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "race/laps/LapRecord.h"

class RaceAi;

inline constexpr std::string_view kGhostDirectory = "save/ghost";
inline constexpr size_t kGhostTitleShown = 48;

struct GhostListEntry
{
    int32_t key = 0;
    // The file's name without folder and ".fhr", whole: loading and deleting use it all, the
    // page shows ShownTitle.
    std::string fileTitle;
    std::string lapTime;
    std::string difficulty;
    std::string weather;
    std::string circuit;
    std::string rider;

    std::string ShownTitle() const { return fileTitle.substr(0, kGhostTitleShown); }
};

// What the list shows of a class, circuit and rider.
struct GhostWords
{
    Language language = Language::German;
    std::function<std::string(CircuitId)> circuitTitle;
    std::function<std::string(BikeClass, uint32_t rider)> riderName;
};

// A head that names a class, circuit, level and weather the game knows.
bool IsUsableGhostHeader(const LapHeader& header);
// weather + (circuit x 4 - level) x 4 + 8: by circuit, then the harder level, then weather.
int32_t GhostSortKey(const LapHeader& header);

// The entry of a lap head, or nothing for a head that is not valid or not usable.
std::optional<GhostListEntry> DescribeGhost(const LapRecord& head, std::string fileTitle,
                                            const GhostWords& words);
// The first entry: riding without a ghost, with the settings' level, weather and circuit.
GhostListEntry NoGhostEntry(const MenuState& settings, const GhostWords& words);

// The no-ghost entry, then the ghosts of the class by key (equal keys in folder order).
std::vector<GhostListEntry> ListGhosts(BikeClass bikeClass, const MenuState& settings,
                                       const GhostWords& words);

std::string GhostFilePath(std::string_view fileTitle);

// Copies the session's lap file of the lap to the first free ghost file of the name; the path
// written, or nothing when the lap file cannot be read, the folder cannot be made, all 200
// numbers are taken or the write fails.
std::optional<std::string> KeepLapAsGhost(uint32_t lap, std::string_view ghostName);

bool DeleteGhostFile(const GhostListEntry& entry);

// The ghost of the ghost session: the lap the race plays back beside the player, owned here
// and lent to the race object.
class LoadedGhost
{
public:
    // Reads the whole file; only a complete, valid file with a usable head replaces the ghost,
    // and its session goes into the settings (ghost race, circuit, level, weather and air).
    // The lap's class comes back through bikeClass. A file that is refused changes nothing.
    bool Load(std::string_view path, RaceAi& race, MenuState& settings, BikeClass& bikeClass);
    // No ghost any more.
    void Clear(RaceAi& race);
    const LapRecord* Record() const { return record_.get(); }

private:
    std::unique_ptr<LapRecord> record_;
};
