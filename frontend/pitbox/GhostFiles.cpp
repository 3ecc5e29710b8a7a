#include "frontend/pitbox/GhostFiles.h"

#include <algorithm>

#include "core/files/FileSystem.h"
#include "core/util/FormatRaceTime.h"
#include "frontend/pitbox/PitBoxTexts.h"
#include "frontend/season/SessionField.h"
#include "race/RaceAi.h"
#include "race/laps/LapFile.h"

namespace
{
constexpr std::string_view kGhostExtension = ".fhr";
constexpr uint32_t kGhostLaps = 1;

uint16_t Word(const LapHeader& header, LapHeaderWord word)
{
    return header[static_cast<size_t>(word)];
}

// The lap head of a ghost file: its first bytes only.
bool ReadGhostHead(std::string_view path, LapRecord& head)
{
    files::File file(path, files::File::Mode::Read);
    uint8_t bytes[kLapFileHeadSize];
    return file && file.Read(bytes, sizeof(bytes)) == sizeof(bytes) && LoadLapFileHead(bytes, head);
}

std::string Words(std::string_view word)
{
    return std::string(word);
}
}  // namespace

bool IsUsableGhostHeader(const LapHeader& header)
{
    return Word(header, LapHeaderWord::Circuit) < kCircuitCount &&
           Word(header, LapHeaderWord::BikeClass) < kBikeClassCount &&
           Word(header, LapHeaderWord::Level) <= 2 &&
           Word(header, LapHeaderWord::Weather) < kWeatherCount;
}

int32_t GhostSortKey(const LapHeader& header)
{
    return Word(header, LapHeaderWord::Weather) +
           (Word(header, LapHeaderWord::Circuit) * 4 - Word(header, LapHeaderWord::Level)) * 4 + 8;
}

std::optional<GhostListEntry> DescribeGhost(const LapRecord& head, std::string fileTitle,
                                            const GhostWords& words)
{
    if (head.valid == 0 || !IsUsableGhostHeader(head.header))
    {
        return std::nullopt;
    }
    const PitBoxTexts& texts = PitBoxTextsOf(words.language);
    GhostListEntry entry;
    entry.key = GhostSortKey(head.header);
    entry.fileTitle = std::move(fileTitle);
    std::string lapTime = FormatRaceTime(head.times[static_cast<size_t>(LapTime::Lap)]).data();
    if (lapTime.front() == '0')
    {
        lapTime.front() = ' ';
    }
    entry.lapTime = lapTime;
    entry.difficulty = Words(texts.difficultyWords[Word(head.header, LapHeaderWord::Level)]);
    entry.weather = Words(texts.weatherWords[Word(head.header, LapHeaderWord::Weather)]);
    const auto circuit = static_cast<CircuitId>(Word(head.header, LapHeaderWord::Circuit));
    entry.circuit = words.circuitTitle ? words.circuitTitle(circuit) : "";
    const auto bikeClass = static_cast<BikeClass>(Word(head.header, LapHeaderWord::BikeClass));
    entry.rider =
        words.riderName ? words.riderName(bikeClass, Word(head.header, LapHeaderWord::Rider)) : "";
    return entry;
}

GhostListEntry NoGhostEntry(const MenuState& settings, const GhostWords& words)
{
    const PitBoxTexts& texts = PitBoxTextsOf(words.language);
    GhostListEntry entry;
    entry.fileTitle = Words(texts.noGhostTitle);
    entry.rider = Words(texts.noGhostRider);
    entry.difficulty =
        Words(texts.difficultyWords[std::min<size_t>(settings.U8At(MenuState::kLevelOffset), 2)]);
    entry.weather =
        Words(texts.weatherWords[std::min<size_t>(settings.U8At(MenuState::kWeatherOffset), 2)]);
    const auto circuit = static_cast<CircuitId>(
        std::min<uint32_t>(settings.U32At(MenuState::kCircuitOffset), kCircuitCount - 1));
    entry.circuit = words.circuitTitle ? words.circuitTitle(circuit) : "";
    return entry;
}

std::vector<GhostListEntry> ListGhosts(BikeClass bikeClass, const MenuState& settings,
                                       const GhostWords& words)
{
    std::vector<GhostListEntry> list{NoGhostEntry(settings, words)};
    const auto head = std::make_unique<LapRecord>();
    for (const files::DirectoryEntry& file : files::List(kGhostDirectory))
    {
        const std::string_view name = file.name;
        if (file.isDirectory || name.size() <= kGhostExtension.size() ||
            !name.ends_with(kGhostExtension))
        {
            continue;
        }
        const std::string title(name.substr(0, name.size() - kGhostExtension.size()));
        if (!ReadGhostHead(GhostFilePath(title), *head) ||
            Word(head->header, LapHeaderWord::BikeClass) != static_cast<uint16_t>(bikeClass))
        {
            continue;
        }
        if (std::optional<GhostListEntry> entry = DescribeGhost(*head, title, words))
        {
            list.push_back(std::move(*entry));
        }
    }
    std::stable_sort(list.begin() + 1, list.end(),
                     [](const GhostListEntry& a, const GhostListEntry& b)
                     { return a.key < b.key; });
    return list;
}

std::string GhostFilePath(std::string_view fileTitle)
{
    return std::string(kGhostDirectory) + "/" + std::string(fileTitle) +
           std::string(kGhostExtension);
}

std::optional<std::string> KeepLapAsGhost(uint32_t lap, std::string_view ghostName)
{
    if (!files::MakeDirectories(kGhostDirectory))
    {
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> bytes = files::ReadAll(SessionLapPath(lap));
    if (!bytes)
    {
        return std::nullopt;
    }
    bytes->resize(std::min(bytes->size(), LapRecord::kSize));
    std::optional<std::string> path = FreeGhostPath(ghostName);
    if (!path || !files::ReplaceAtomically(*path, *bytes))
    {
        return std::nullopt;
    }
    return path;
}

bool DeleteGhostFile(const GhostListEntry& entry)
{
    return files::IsFile(GhostFilePath(entry.fileTitle)) &&
           files::Remove(GhostFilePath(entry.fileTitle));
}

bool LoadedGhost::Load(std::string_view path, RaceAi& race, MenuState& settings,
                       BikeClass& bikeClass)
{
    auto record = std::make_unique<LapRecord>();
    if (!ReadLapFile(path, *record) || record->valid == 0 || !IsUsableGhostHeader(record->header))
    {
        return false;
    }
    MenuState session = settings;
    BikeClass lapClass = bikeClass;
    if (!TakeGhostSession(record->header, session, lapClass))
    {
        return false;
    }
    record_ = std::move(record);
    settings = session;
    bikeClass = lapClass;
    race.ghostRecord = record_.get();
    race.ghostTag = kGhostLaps;
    return true;
}

void LoadedGhost::Clear(RaceAi& race)
{
    race.ghostRecord = nullptr;
    race.ghostTag = RaceAi::kNoGhost;
    record_.reset();
}
