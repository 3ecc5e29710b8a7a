#pragma once

// Plain-file access for the whole game. The data was made on a system whose file names
// ignore case and use backslashes, so every path given here is a game path: '\' is taken
// as '/', and each component is matched case-insensitively ('A'-'Z' and the Windows-1252
// umlauts fold as in the game's own collation) against what exists. Relative paths are
// taken from the working directory, which is never changed. Game paths are Windows-1252
// bytes; names on disk are UTF-8.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace files
{

// The host path (UTF-8) that a game path names: the existing spelling of every component that
// exists, the given spelling (slashes turned) for the rest. A file created at the result
// lands inside an existing folder of another case rather than beside it.
std::string Resolve(std::string_view gamePath);

bool Exists(std::string_view gamePath);  // file or directory
bool IsFile(std::string_view gamePath);
bool IsDirectory(std::string_view gamePath);

// Creates every missing folder of the path (an existing folder of another case is reused).
bool MakeDirectories(std::string_view gamePath);

struct DirectoryEntry
{
    std::string name;  // as on disk, in Windows-1252 where the code page can spell it
    bool isDirectory = false;
};
// Entries of a folder sorted by name, without "." and ".."; empty when it does not exist.
std::vector<DirectoryEntry> List(std::string_view gamePath);

std::optional<std::vector<uint8_t>> ReadAll(std::string_view gamePath);

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames
// it over the target, so that the old file stays whole until the new one is complete. The new
// file keeps the old one's permissions; where the target is a symbolic link, the file it leads
// to is replaced and the link stays. A temporary file that an interrupted save of the same
// target left behind is removed. A save that fails leaves the old file as it was and says why
// on stderr.
bool ReplaceAtomically(std::string_view gamePath, std::span<const uint8_t> bytes);

bool Remove(std::string_view gamePath);

// An open plain file. Closes itself.
class File
{
public:
    enum class Mode
    {
        Read,      // existing file, from its start
        Write,     // created or truncated
        Append,    // created if missing, writes at the end
        ReadWrite  // existing file, read and write
    };

    File() = default;
    File(std::string_view gamePath, Mode mode);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool IsOpen() const { return handle_ != nullptr; }
    explicit operator bool() const { return IsOpen(); }

    size_t Read(void* buffer, size_t count);  // bytes read; short at the end or on error
    size_t Write(const void* buffer, size_t count);
    bool Seek(uint64_t position);
    uint64_t Tell() const;
    uint64_t Size() const;
    bool Flush();
    bool Close();  // false when buffered data could not be written

private:
    std::FILE* handle_ = nullptr;
};

}  // namespace files
