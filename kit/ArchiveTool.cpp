#include "kit/ArchiveTool.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "core/files/Windows1252.h"
#include "core/util/PathUtils.h"
#include "kit/CprWriter.h"

namespace kit
{
namespace
{
std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.ends_with('/') ? folder + name : folder + "/" + name;
}

bool AddTree(const std::string& root, const std::string& relative, CprWriter& writer,
             std::string& error)
{
    for (const files::DirectoryEntry& entry : files::List(JoinPath(root, relative)))
    {
        const std::string name = relative.empty() ? entry.name : relative + "/" + entry.name;
        if (entry.isDirectory)
        {
            if (!AddTree(root, name, writer, error))
            {
                return false;
            }
            continue;
        }
        const std::optional<std::vector<uint8_t>> bytes = files::ReadAll(JoinPath(root, name));
        if (!bytes)
        {
            error = "cannot read " + JoinPath(root, name);
            return false;
        }
        if (!writer.Add(name, *bytes, MemberStorage::Smaller, error))
        {
            return false;
        }
    }
    return true;
}

bool MountArchive(CprArchive& archive, const std::string& archivePath, std::string& error)
{
    if (!archive.Open(archivePath, false))
    {
        error = archivePath + " is missing or not a valid archive";
        return false;
    }
    return true;
}

std::optional<std::vector<uint8_t>> ReadMember(CprArchive& archive, const std::string& name)
{
    DAFile file(&archive);
    if (!file.Open(name))
    {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(file.GetLength()));
    if (file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
    {
        return std::nullopt;
    }
    return bytes;
}

// The directory keeps names lower-cased for lookup; the tools list and write them as stored.
std::optional<std::string> StoredName(CprArchive& archive, const CprEntry& entry)
{
    constexpr uint32_t kNameOffset = 16;  // after offset, size, flags and length
    std::vector<uint8_t> name(entry.nameLength);
    if (archive.ReadAt(name.data(), entry.recordPosition + kNameOffset, entry.nameLength) !=
        entry.nameLength)
    {
        return std::nullopt;
    }
    ScrambleCprName(name);
    return std::string(name.begin(), name.end());
}

// Relative, and without a component that is empty or leads up or stays put.
bool StaysInside(std::string name)
{
    ToForwardSlashes(name);
    size_t start = 0;
    while (true)
    {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string_view component = std::string_view(name).substr(start, end - start);
        if (component.empty() || component == "." || component == "..")
        {
            return false;
        }
        if (end == name.size())
        {
            return true;
        }
        start = end + 1;
    }
}

std::string ParentOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}  // namespace

bool PackDirectory(const std::string& directory, const std::string& archivePath, std::string& error)
{
    if (!files::IsDirectory(directory))
    {
        error = directory + " is not a folder";
        return false;
    }
    CprWriter writer;
    if (!AddTree(directory, "", writer, error))
    {
        return false;
    }
    if (!files::ReplaceAtomically(archivePath, writer.Build()))
    {
        error = "cannot write " + archivePath;
        return false;
    }
    return true;
}

std::optional<std::string> ListArchive(const std::string& archivePath, std::string& error)
{
    CprArchive archive;
    if (!MountArchive(archive, archivePath, error))
    {
        return std::nullopt;
    }
    std::string listing;
    for (const CprEntry& entry : archive.GetEntryList())
    {
        DAFile file(&archive);
        const std::string size = file.Open(entry.name) ? std::to_string(file.GetLength()) : "bad";
        char line[64];
        std::snprintf(line, sizeof line, "%10s %10" PRIu32 " %-6s ", size.c_str(), entry.storedSize,
                      entry.packed != 0 ? "packed" : "stored");
        listing += line + Windows1252ToUtf8(StoredName(archive, entry).value_or(entry.name)) + "\n";
    }
    return listing;
}

bool ExtractArchive(const std::string& archivePath, const std::string& directory,
                    std::string& error)
{
    CprArchive archive;
    if (!MountArchive(archive, archivePath, error))
    {
        return false;
    }
    for (const CprEntry& entry : archive.GetEntryList())
    {
        const std::optional<std::string> name = StoredName(archive, entry);
        if (!name || !StaysInside(*name))
        {
            error = "refusing member name " + Windows1252ToUtf8(name.value_or(entry.name));
            return false;
        }
        const std::optional<std::vector<uint8_t>> bytes = ReadMember(archive, entry.name);
        if (!bytes)
        {
            error = "damaged member " + Windows1252ToUtf8(*name);
            return false;
        }
        const std::string target = JoinPath(directory, *name);
        if (!files::MakeDirectories(ParentOf(target)) || !files::ReplaceAtomically(target, *bytes))
        {
            error = "cannot write " + target;
            return false;
        }
    }
    return true;
}
}  // namespace kit
