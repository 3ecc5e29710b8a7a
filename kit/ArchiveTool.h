#pragma once

// The kit's archive commands: a folder tree into an archive, an archive's members listed, and
// an archive back into a folder tree. Member names are the files' relative paths with '/',
// byte for byte (the game's names are Windows-1252).

#include <optional>
#include <string>

namespace kit
{
// Every file below the folder becomes a member, packed where that makes it smaller.
bool PackDirectory(const std::string& directory, const std::string& archivePath,
                   std::string& error);

// One line per member in directory order: size, stored size, "packed" or "stored", name.
std::optional<std::string> ListArchive(const std::string& archivePath, std::string& error);

// Writes every member below the folder; a name that would lead outside it is refused.
bool ExtractArchive(const std::string& archivePath, const std::string& directory,
                    std::string& error);
}  // namespace kit
