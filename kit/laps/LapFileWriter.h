#pragma once

// Lap files (".fhr") from a list of samples, written field by field at the offsets of the format:
// the game's recordings and ghosts are checked against these bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "race/laps/LapRecord.h"

namespace kit
{
struct LapFileContent
{
    LapHeader header{};
    uint32_t valid = 1;
    LapTimes times{-1, -1, -1, -1};
    std::vector<LapSample> samples;
};

std::vector<uint8_t> LapFileBytes(const LapFileContent& lap);

// The lap as the file at the path, folders created.
bool WriteLapFile(const std::string& path, const LapFileContent& lap, std::string& error);
}  // namespace kit
