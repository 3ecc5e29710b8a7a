#include "race/RaceAiSystem.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/files/FileSystem.h"

RaceAiSystem::RaceAiSystem(std::string recordFilePath) : recordFilePath_(std::move(recordFilePath))
{
    const std::optional<std::vector<uint8_t>> bytes = files::ReadAll(recordFilePath_);
    if (bytes)
    {
        records = CircuitRecords::Decode(*bytes);
    }
}

RaceAiSystem::~RaceAiSystem()
{
    if (recordsDirty)
    {
        SaveRecords();
    }
}

bool RaceAiSystem::OfferLapRecord(BikeClass bikeClass, CircuitId circuit, uint32_t rider,
                                  int32_t lapMs)
{
    const bool taken = records.Offer(bikeClass, circuit, rider, lapMs);
    recordsDirty = recordsDirty || taken;
    return taken;
}

bool RaceAiSystem::SaveRecords()
{
    const size_t slash = recordFilePath_.rfind('/');
    const bool folderReady =
        slash == std::string::npos || files::MakeDirectories(recordFilePath_.substr(0, slash));
    if (!folderReady || !files::ReplaceAtomically(recordFilePath_, records.Encode()))
    {
        return false;
    }
    recordsDirty = false;
    return true;
}
