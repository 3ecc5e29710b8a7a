#include "core/files/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <utility>

#include "core/files/CaseFold.h"
#include "core/files/Windows1252.h"

namespace files
{
namespace
{
struct DirectoryCloser
{
    void operator()(DIR* directory) const { ::closedir(directory); }
};
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

struct FileCloser
{
    void operator()(std::FILE* handle) const { std::fclose(handle); }
};

DirectoryHandle OpenDirectory(const std::string& hostPath)
{
    return DirectoryHandle(::opendir(hostPath.empty() ? "." : hostPath.c_str()));
}

bool IsDotEntry(std::string_view name)
{
    return name == "." || name == "..";
}

bool FoldsEqual(std::string_view a, std::string_view b)
{
    return std::ranges::equal(
        a, b,
        [](char x, char y)
        { return FoldCase(static_cast<uint8_t>(x)) == FoldCase(static_cast<uint8_t>(y)); });
}

// Names on disk are UTF-8; the game spells them in Windows-1252. A name the code page cannot
// spell is taken byte for byte.
std::string GameName(std::string_view hostName)
{
    return Utf8ToWindows1252(hostName).value_or(std::string(hostName));
}

// An entry of that name exists in its folder, whatever it is (a dangling link included).
bool EntryExists(const std::string& hostPath)
{
    struct stat info;
    return ::lstat(hostPath.c_str(), &info) == 0;
}

bool StatHost(const std::string& hostPath, struct stat& info)
{
    return ::stat(hostPath.empty() ? "." : hostPath.c_str(), &info) == 0;
}

bool IsHostDirectory(const std::string& hostPath)
{
    struct stat info;
    return StatHost(hostPath, info) && S_ISDIR(info.st_mode);
}

// The entry of the folder whose name folds equal to name; the first in byte order when
// several do, so that the choice does not depend on the order the folder is read in.
std::optional<std::string> FindFoldedEntry(const std::string& folder, std::string_view name)
{
    const DirectoryHandle directory = OpenDirectory(folder);
    if (!directory)
    {
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(directory.get()))
    {
        const std::string_view candidate = entry->d_name;
        if (FoldsEqual(GameName(candidate), name) && (!best || candidate < *best))
        {
            best = candidate;
        }
    }
    return best;
}

std::string JoinHost(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
    {
        path += '/';
    }
    path += name;
    return path;
}

const char* FopenMode(File::Mode mode)
{
    switch (mode)
    {
        case File::Mode::Read:
            return "rbe";
        case File::Mode::Write:
            return "wbe";
        case File::Mode::Append:
            return "abe";
        case File::Mode::ReadWrite:
            return "r+be";
    }
    return "rbe";
}

// A folder opens for reading on this system; as a game file it is simply not there.
std::FILE* OpenHostFile(const std::string& hostPath, File::Mode mode)
{
    std::FILE* handle = std::fopen(hostPath.c_str(), FopenMode(mode));
    if (handle == nullptr)
    {
        return nullptr;
    }
    struct stat info;
    if (::fstat(::fileno(handle), &info) != 0 || S_ISDIR(info.st_mode))
    {
        std::fclose(handle);
        return nullptr;
    }
    return handle;
}

bool WriteAll(int descriptor, std::span<const uint8_t> bytes)
{
    while (!bytes.empty())
    {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<size_t>(written));
    }
    return true;
}

constexpr std::string_view kTemporaryNameCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr size_t kTemporarySuffixLength = 8;

// Whether the name is one CreateTemporaryBeside gives for the base name.
bool IsTemporaryNameOf(std::string_view name, std::string_view baseName)
{
    const size_t prefixLength = baseName.size() + 2;
    if (name.size() != prefixLength + kTemporarySuffixLength || name[0] != '.' ||
        name.substr(1, baseName.size()) != baseName || name[prefixLength - 1] != '.')
    {
        return false;
    }
    return name.substr(prefixLength).find_first_not_of(kTemporaryNameCharacters) ==
           std::string_view::npos;
}

// A save that was killed between creating its temporary file and renaming it left that file
// behind; the next save of the same file takes it away.
void RemoveStaleTemporaries(const std::string& folder, const std::string& baseName)
{
    const DirectoryHandle directory(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!directory)
    {
        return;
    }
    while (const dirent* entry = ::readdir(directory.get()))
    {
        if (IsTemporaryNameOf(entry->d_name, baseName))
        {
            ::unlink(JoinHost(folder, entry->d_name).c_str());
        }
    }
}

// The file a symbolic link leads to, through any number of links up to the system's limit;
// the path itself when it is no link.
std::string FollowLinks(std::string path)
{
    constexpr int kMostLinks = 40;
    for (int hop = 0; hop < kMostLinks; ++hop)
    {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size())
        {
            return path;
        }
        target.resize(static_cast<size_t>(length));
        const size_t slash = path.rfind('/');
        path = target.front() == '/' || slash == std::string::npos
                   ? target
                   : path.substr(0, slash + 1) + target;
    }
    return path;
}

// A fresh file beside the target, created exclusively with the permissions a plain create
// would give it; a replacement then takes the old file's.
int CreateTemporaryBeside(const std::string& folder, const std::string& baseName,
                          std::string& temporaryPath)
{
    constexpr int kAttempts = 32;
    std::random_device entropy;
    std::uniform_int_distribution<size_t> pick(0, kTemporaryNameCharacters.size() - 1);
    for (int attempt = 0; attempt < kAttempts; ++attempt)
    {
        // Leading dot and a suffix after the name: never mistaken for a game file by a
        // folder scan that filters by extension.
        std::string name = "." + baseName + ".";
        for (size_t i = 0; i < kTemporarySuffixLength; ++i)
        {
            name += kTemporaryNameCharacters[pick(entropy)];
        }
        temporaryPath = JoinHost(folder, name);
        const int descriptor =
            ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
        {
            return descriptor;
        }
    }
    return -1;
}

// Makes the rename itself durable. Some file systems refuse to sync a folder; the new file
// is in place by then, so that is no reason to report a failure.
void SyncFolder(const std::string& folder)
{
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0)
    {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

// Replaces the host file through a temporary beside it: 0, or the error that stopped it, the
// target then left as it was.
int Replace(const std::string& target, std::span<const uint8_t> bytes)
{
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string baseName = target.substr(folder.size());
    if (baseName.empty())
    {
        return target.empty() ? ENOENT : EISDIR;
    }
    const auto lastError = [] { return errno != 0 ? errno : EIO; };
    RemoveStaleTemporaries(folder, baseName);
    std::string temporaryPath;
    const int descriptor = CreateTemporaryBeside(folder, baseName, temporaryPath);
    if (descriptor < 0)
    {
        return lastError();
    }
    // The new file keeps the old one's permissions; a new file gets the usual ones.
    struct stat old;
    const bool keptMode = ::stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode) ||
                          ::fchmod(descriptor, old.st_mode & 07777) == 0;
    int error = keptMode && WriteAll(descriptor, bytes) && ::fsync(descriptor) == 0 ? 0
                                                                                     : lastError();
    if (::close(descriptor) != 0 && error == 0)
    {
        error = lastError();
    }
    if (error == 0 && ::rename(temporaryPath.c_str(), target.c_str()) != 0)
    {
        error = lastError();
    }
    if (error != 0)
    {
        ::unlink(temporaryPath.c_str());
        return error;
    }
    SyncFolder(folder);
    return 0;
}
}  // namespace

std::string Resolve(std::string_view gamePath)
{
    std::string path(gamePath);
    std::ranges::replace(path, '\\', '/');
    if (std::string hostPath = Windows1252ToUtf8(path); path.empty() || EntryExists(hostPath))
    {
        return hostPath;
    }

    std::string resolved = path.starts_with('/') ? "/" : "";
    bool matching = true;
    size_t start = 0;
    while (start <= path.size())
    {
        const size_t end = std::min(path.find('/', start), path.size());
        std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty())
        {
            continue;
        }
        std::string hostComponent = Windows1252ToUtf8(component);
        if (matching && !IsDotEntry(component) && !EntryExists(JoinHost(resolved, hostComponent)))
        {
            if (std::optional<std::string> existing = FindFoldedEntry(resolved, component))
            {
                hostComponent = std::move(*existing);
            }
            else
            {
                matching = false;  // nothing below a missing component can exist
            }
        }
        resolved = JoinHost(resolved, hostComponent);
    }
    return resolved;
}

bool Exists(std::string_view gamePath)
{
    struct stat info;
    return StatHost(Resolve(gamePath), info);
}

bool IsFile(std::string_view gamePath)
{
    struct stat info;
    return StatHost(Resolve(gamePath), info) && S_ISREG(info.st_mode);
}

bool IsDirectory(std::string_view gamePath)
{
    return IsHostDirectory(Resolve(gamePath));
}

bool MakeDirectories(std::string_view gamePath)
{
    const std::string target = Resolve(gamePath);
    if (target.empty())
    {
        return true;  // the working directory
    }
    // The resolved path already carries the existing spelling of every folder that exists,
    // so only the missing tail is created.
    size_t end = target.find('/', 1);
    while (true)
    {
        const std::string prefix = target.substr(0, end);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
        {
            return false;
        }
        if (end == std::string::npos)
        {
            break;
        }
        end = target.find('/', end + 1);
    }
    return IsHostDirectory(target);
}

std::vector<DirectoryEntry> List(std::string_view gamePath)
{
    const std::string folder = Resolve(gamePath);
    std::vector<DirectoryEntry> entries;
    const DirectoryHandle directory = OpenDirectory(folder);
    if (!directory)
    {
        return entries;
    }
    while (const dirent* entry = ::readdir(directory.get()))
    {
        const std::string_view name = entry->d_name;
        if (IsDotEntry(name))
        {
            continue;
        }
        const bool knownType = entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK;
        const bool isDirectory =
            knownType ? entry->d_type == DT_DIR : IsHostDirectory(JoinHost(folder, name));
        entries.push_back({GameName(name), isDirectory});
    }
    std::ranges::sort(entries, {}, &DirectoryEntry::name);
    return entries;
}

std::optional<std::vector<uint8_t>> ReadAll(std::string_view gamePath)
{
    const std::unique_ptr<std::FILE, FileCloser> handle(
        OpenHostFile(Resolve(gamePath), File::Mode::Read));
    if (!handle)
    {
        return std::nullopt;
    }
    // One byte more than the size, so that a file that does not grow meanwhile is read in
    // one go and its end seen at once.
    struct stat info;
    const size_t expected =
        ::fstat(::fileno(handle.get()), &info) == 0 ? static_cast<size_t>(info.st_size) : 0;
    std::vector<uint8_t> bytes(expected + 1);
    size_t used = 0;
    while (true)
    {
        used += std::fread(bytes.data() + used, 1, bytes.size() - used, handle.get());
        if (used < bytes.size())
        {
            break;
        }
        bytes.resize(bytes.size() * 2);
    }
    if (std::ferror(handle.get()))
    {
        return std::nullopt;
    }
    bytes.resize(used);
    return bytes;
}

bool ReplaceAtomically(std::string_view gamePath, std::span<const uint8_t> bytes)
{
    // A link stays a link: the file it leads to is the one replaced.
    const int error = Replace(FollowLinks(Resolve(gamePath)), bytes);
    if (error != 0)
    {
        std::fprintf(stderr, "Zarvo: cannot save %s: %s\n", Windows1252ToUtf8(gamePath).c_str(),
                     std::strerror(error));
    }
    return error == 0;
}

bool Remove(std::string_view gamePath)
{
    return std::remove(Resolve(gamePath).c_str()) == 0;
}

File::File(std::string_view gamePath, Mode mode) : handle_(OpenHostFile(Resolve(gamePath), mode)) {}

File::~File()
{
    Close();
}

File::File(File&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other)
    {
        Close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

size_t File::Read(void* buffer, size_t count)
{
    return handle_ != nullptr ? std::fread(buffer, 1, count, handle_) : 0;
}

size_t File::Write(const void* buffer, size_t count)
{
    return handle_ != nullptr ? std::fwrite(buffer, 1, count, handle_) : 0;
}

bool File::Seek(uint64_t position)
{
    return handle_ != nullptr &&
           position <= static_cast<uint64_t>(std::numeric_limits<off_t>::max()) &&
           ::fseeko(handle_, static_cast<off_t>(position), SEEK_SET) == 0;
}

uint64_t File::Tell() const
{
    const off_t position = handle_ != nullptr ? ::ftello(handle_) : -1;
    return position < 0 ? 0 : static_cast<uint64_t>(position);
}

// Measured through the stream, so that bytes still in its buffer count.
uint64_t File::Size() const
{
    if (handle_ == nullptr)
    {
        return 0;
    }
    const off_t position = ::ftello(handle_);
    if (position < 0 || ::fseeko(handle_, 0, SEEK_END) != 0)
    {
        return 0;
    }
    const off_t end = ::ftello(handle_);
    ::fseeko(handle_, position, SEEK_SET);
    return end < 0 ? 0 : static_cast<uint64_t>(end);
}

bool File::Flush()
{
    return handle_ != nullptr && std::fflush(handle_) == 0;
}

bool File::Close()
{
    if (handle_ == nullptr)
    {
        return true;
    }
    return std::fclose(std::exchange(handle_, nullptr)) == 0;
}

}  // namespace files
