#include "frontend/toolkit/MenuTexts.h"

#include <optional>
#include <string_view>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "core/archive/DAFile.h"

namespace
{
constexpr std::string_view kMenuDataName = "MainMenu/MenuDaten.txt";
constexpr std::string_view kCircuitTextName = "MainMenu/streckendaten.txt";

CircuitTextTable DefaultCircuitTexts()
{
    CircuitTextTable records;
    records.fill(DefaultCircuitText());
    return records;
}

// The texts point into these buffers.
struct MenuTextFiles
{
    std::vector<char> menuData;
    std::vector<char> circuitTexts;
    std::vector<MenuDataSection> sections;
    CircuitTextTable records = DefaultCircuitTexts();
};

MenuTextFiles g_menuTexts;

// The whole file with a zero byte after it; nothing when it is missing or cannot be read.
std::optional<std::vector<char>> ReadWholeFile(std::string_view name)
{
    DAFile file(g_archiveData);
    if (!file.Exists(name) || !file.Open(name))
    {
        return std::nullopt;
    }
    const int32_t length = file.GetLength();
    if (length < 0)
    {
        return std::nullopt;
    }
    std::vector<char> bytes(static_cast<size_t>(length) + 1, '\0');
    if (file.Read(bytes.data(), static_cast<uint32_t>(length)) != static_cast<uint32_t>(length))
    {
        return std::nullopt;
    }
    return bytes;
}

// The lines of a buffer that holds the file and the zero byte after it.
char* FileEnd(std::vector<char>& bytes)
{
    return bytes.data() + bytes.size() - 1;
}
}  // namespace

void ReadMenuTexts()
{
    FreeMenuTexts();
    if (std::optional<std::vector<char>> menuData = ReadWholeFile(kMenuDataName))
    {
        g_menuTexts.menuData = std::move(*menuData);
        g_menuTexts.sections =
            ParseMenuDataSections(g_menuTexts.menuData.data(), FileEnd(g_menuTexts.menuData));
    }
    if (std::optional<std::vector<char>> circuitTexts = ReadWholeFile(kCircuitTextName))
    {
        g_menuTexts.circuitTexts = std::move(*circuitTexts);
        ParseCircuitTexts(g_menuTexts.circuitTexts.data(), FileEnd(g_menuTexts.circuitTexts),
                          g_menuTexts.records);
    }
}

void FreeMenuTexts()
{
    g_menuTexts = MenuTextFiles();
}

std::span<CircuitTextRecord, kCircuitCount> CircuitTexts()
{
    return g_menuTexts.records;
}

std::span<const MenuDataSection> MenuDataSections()
{
    return g_menuTexts.sections;
}
