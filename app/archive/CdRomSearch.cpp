#include "app/archive/CdRomSearch.h"

#include <sstream>

#include "core/files/FileSystem.h"

namespace
{
constexpr std::string_view kOpticalFileSystems[] = {"iso9660", "udf"};

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The mount table writes space, tab, newline and backslash in paths as three octal digits.
std::string UnescapeMountPath(std::string_view escaped)
{
    std::string path;
    for (size_t i = 0; i < escaped.size(); ++i)
    {
        if (escaped[i] == '\\' && i + 3 < escaped.size() && IsOctalDigit(escaped[i + 1]) &&
            IsOctalDigit(escaped[i + 2]) && IsOctalDigit(escaped[i + 3]))
        {
            path += static_cast<char>((escaped[i + 1] - '0') * 64 + (escaped[i + 2] - '0') * 8 +
                                      (escaped[i + 3] - '0'));
            i += 3;
        }
        else
        {
            path += escaped[i];
        }
    }
    return path;
}

bool IsReadableFile(const std::string& path)
{
    return files::File(path, files::File::Mode::Read).IsOpen();
}
}  // namespace

std::vector<std::string> ParseCdRomRoots(std::string_view mountTable)
{
    std::vector<std::string> roots;
    std::istringstream lines{std::string(mountTable)};
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        std::string type;
        if (!(fields >> device >> mountPoint >> type))
        {
            continue;
        }
        for (const std::string_view optical : kOpticalFileSystems)
        {
            if (type == optical)
            {
                roots.push_back(UnescapeMountPath(mountPoint));
            }
        }
    }
    return roots;
}

std::vector<std::string> MountedCdRomRoots()
{
    const std::optional<std::vector<uint8_t>> table = files::ReadAll("/proc/mounts");
    if (!table)
    {
        return {};
    }
    return ParseCdRomRoots({reinterpret_cast<const char*>(table->data()), table->size()});
}

std::optional<std::string> LocateDataFile(std::string_view relativePath,
                                          std::span<const std::string> cdRomRoots)
{
    std::string path(relativePath);
    if (IsReadableFile(path))
    {
        return path;
    }
    for (const std::string& root : cdRomRoots)
    {
        path = root;
        if (!path.ends_with('/'))
        {
            path += '/';
        }
        path += relativePath;
        if (IsReadableFile(path))
        {
            return path;
        }
    }
    return std::nullopt;
}
