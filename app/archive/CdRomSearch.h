#pragma once

// Where the large archives are looked for when the working directory lacks them: the game
// once shipped them on its CD-ROM. Here the stand-in for a CD-ROM drive is a mounted optical
// medium (an ISO 9660 or UDF file system).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Mount points of the optical media in a mount table ("/proc/mounts" format), in its order.
std::vector<std::string> ParseCdRomRoots(std::string_view mountTable);

// Mount points of the optical media mounted now; none when the table cannot be read.
std::vector<std::string> MountedCdRomRoots();

// The path to open for a data file: the relative path when it is readable in the working
// directory, else the first CD-ROM root (in order) that holds it readable, else nothing.
std::optional<std::string> LocateDataFile(std::string_view relativePath,
                                          std::span<const std::string> cdRomRoots);
