// Ghost files as the pit box lists and loads them: the head for the list, the whole file for
// the ghost session. A refused file must leave the loaded ghost and the settings as they were.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "frontend/pitbox/GhostFiles.h"
#include "fuzz/support/FuzzInputFile.h"
#include "race/RaceAi.h"
#include "race/laps/LapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile file("ghost.fhr");
    static const auto head = std::make_unique<LapRecord>();
    static RaceAi race;
    static const GhostWords words{
        .language = Language::German,
        .circuitTitle = [](CircuitId) { return std::string("circuit"); },
        .riderName = [](BikeClass, uint32_t) { return std::string("rider"); }};

    if (LoadLapFileHead(std::span<const uint8_t>(data, size), *head))
    {
        const std::optional<GhostListEntry> entry = DescribeGhost(*head, "ghost", words);
        if (entry && !IsUsableGhostHeader(head->header))
        {
            std::abort();
        }
    }

    file.Hold(data, size);
    LoadedGhost ghost;
    MenuState settings;
    const MenuState before = settings;
    BikeClass bikeClass = BikeClass::Class125;
    if (!ghost.Load(file.Path(), race, settings, bikeClass))
    {
        if (ghost.Record() != nullptr || !(settings == before) || bikeClass != BikeClass::Class125)
        {
            std::abort();
        }
    }
    else if (race.ghostRecord != ghost.Record() || ghost.Record()->sampleCount < 0 ||
             ghost.Record()->sampleCount > LapRecord::kMaxSamples)
    {
        std::abort();
    }
    ghost.Clear(race);
    return 0;
}
