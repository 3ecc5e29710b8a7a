#include "race/laps/LapFile.h"

#include <bit>
#include <cstdio>
#include <type_traits>

#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"

namespace
{
constexpr std::string_view kGhostFolder = "save/ghost";

// Every per-sample array in file order.
template <class Record, class Visit>
void ForEachSampleArray(Record& record, Visit&& visit)
{
    visit(record.node);
    for (auto* floats :
         {&record.groundX, &record.groundZ, &record.raceTime, &record.suspensionFront,
          &record.suspensionRear, &record.acceleration, &record.tyreFront, &record.tyreRear})
    {
        visit(*floats);
    }
    for (auto* words : {&record.power, &record.brake, &record.speed, &record.rpm, &record.throttle,
                        &record.steering})
    {
        visit(*words);
    }
    visit(record.gear);
    visit(record.temperature);
    for (auto& channel : record.pose)
    {
        visit(channel);
    }
}

template <class T>
void Put(uint8_t*& at, T value)
{
    if constexpr (sizeof(T) == 1)
    {
        *at = static_cast<uint8_t>(value);
    }
    else if constexpr (sizeof(T) == 2)
    {
        StoreLe16(at, static_cast<uint16_t>(value));
    }
    else
    {
        StoreLe32(at, std::bit_cast<uint32_t>(value));
    }
    at += sizeof(T);
}

template <class T>
T Take(const uint8_t*& at)
{
    T value;
    if constexpr (sizeof(T) == 1)
    {
        value = static_cast<T>(*at);
    }
    else if constexpr (sizeof(T) == 2)
    {
        value = static_cast<T>(LoadLe16(at));
    }
    else
    {
        value = std::bit_cast<T>(LoadLe32(at));
    }
    at += sizeof(T);
    return value;
}

// n from a head, when the head is whole and n fits a record.
std::optional<size_t> HeadSampleCount(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kLapFileHeadSize)
    {
        return std::nullopt;
    }
    const uint32_t count = LoadLe32(bytes.data());
    if (count > static_cast<uint32_t>(LapRecord::kMaxSamples))
    {
        return std::nullopt;
    }
    return count;
}

struct LapHead
{
    int32_t sampleCount;
    LapHeader header;
    uint32_t valid;
    LapTimes times;
};

LapHead TakeHead(const uint8_t* at)
{
    LapHead head;
    head.sampleCount = Take<int32_t>(at);
    for (uint16_t& word : head.header)
    {
        word = Take<uint16_t>(at);
    }
    head.valid = Take<uint32_t>(at);
    for (int32_t& time : head.times)
    {
        time = Take<int32_t>(at);
    }
    return head;
}

void ApplyHead(const LapHead& head, LapRecord& record)
{
    record.sampleCount = head.sampleCount;
    record.header = head.header;
    record.valid = head.valid;
    record.times = head.times;
}

// A name that stays inside the ghost folder.
bool IsGhostName(std::string_view name)
{
    return name.find_first_of("/\\") == std::string_view::npos && name != "." && name != "..";
}
}  // namespace

std::vector<uint8_t> StoreLapFile(const LapRecord& record)
{
    const size_t count = static_cast<size_t>(record.sampleCount);
    std::vector<uint8_t> bytes(LapFileSize(count));
    uint8_t* at = bytes.data();
    Put(at, record.sampleCount);
    for (const uint16_t word : record.header)
    {
        Put(at, word);
    }
    Put(at, record.valid);
    for (const int32_t time : record.times)
    {
        Put(at, time);
    }
    ForEachSampleArray(record,
                       [&](const auto& array)
                       {
                           for (size_t i = 0; i < count; ++i)
                           {
                               Put(at, array[i]);
                           }
                       });
    return bytes;
}

bool LoadLapFile(std::span<const uint8_t> bytes, LapRecord& record)
{
    const std::optional<size_t> count = HeadSampleCount(bytes);
    if (!count || bytes.size() < LapFileSize(*count))
    {
        return false;
    }
    ApplyHead(TakeHead(bytes.data()), record);
    const uint8_t* at = bytes.data() + kLapFileHeadSize;
    ForEachSampleArray(record,
                       [&](auto& array)
                       {
                           using Value =
                               typename std::remove_reference_t<decltype(array)>::value_type;
                           for (size_t i = 0; i < *count; ++i)
                           {
                               array[i] = Take<Value>(at);
                           }
                       });
    record.SetGhostStart();
    return true;
}

bool LoadLapFileHead(std::span<const uint8_t> bytes, LapRecord& record)
{
    if (!HeadSampleCount(bytes))
    {
        return false;
    }
    ApplyHead(TakeHead(bytes.data()), record);
    return true;
}

bool WriteLapFile(std::string_view path, const LapRecord& record)
{
    return files::ReplaceAtomically(path, StoreLapFile(record));
}

bool ReadLapFile(std::string_view path, LapRecord& record)
{
    const std::optional<std::vector<uint8_t>> bytes = files::ReadAll(path);
    return bytes && LoadLapFile(*bytes, record);
}

std::string SessionLapPath(uint32_t lap)
{
    char path[48];
    std::snprintf(path, sizeof(path), "Tempdaten/Daten_Runde%u.fhr", lap);
    return path;
}

LapFileCheck CheckLapFile(uint32_t lap, const LapRecord* ghost)
{
    const std::string path = SessionLapPath(lap);
    files::File file(path, files::File::Mode::Read);
    uint8_t head[kLapFileHeadSize];
    if (!file || file.Read(head, sizeof(head)) != sizeof(head))
    {
        return LapFileCheck::Unusable;
    }
    const std::optional<size_t> count = HeadSampleCount(head);
    if (!count || file.Size() < LapFileSize(*count))
    {
        return LapFileCheck::Unusable;
    }
    const LapHead stored = TakeHead(head);
    constexpr int32_t kLongestLapMs = 216000;
    if (stored.times[static_cast<size_t>(LapTime::Lap)] > kLongestLapMs || stored.valid == 0)
    {
        return LapFileCheck::Unusable;
    }
    const size_t rider = static_cast<size_t>(LapHeaderWord::Rider);
    const bool isGhost = ghost != nullptr && ghost->sampleCount == stored.sampleCount &&
                         ghost->header[rider] == stored.header[rider] &&
                         ghost->times == stored.times;
    return isGhost ? LapFileCheck::LoadedGhost : LapFileCheck::Usable;
}

std::optional<std::string> FreeGhostPath(std::string_view ghostName)
{
    if (!IsGhostName(ghostName))
    {
        return std::nullopt;
    }
    for (uint32_t number = 0; number < kGhostFileNumbers; ++number)
    {
        std::string path = std::string(kGhostFolder) + "/" + std::string(ghostName) +
                           std::to_string(number) + ".fhr";
        if (!files::Exists(path))
        {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<std::string> SaveAsGhost(const LapRecord& record, std::string_view ghostName)
{
    if (record.valid == 0 || !files::MakeDirectories(kGhostFolder))
    {
        return std::nullopt;
    }
    std::optional<std::string> path = FreeGhostPath(ghostName);
    if (!path || !WriteLapFile(*path, record))
    {
        return std::nullopt;
    }
    return path;
}
