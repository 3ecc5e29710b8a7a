#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/files/CaseFold.h"
#include "core/files/Windows1252.h"

namespace dynlib
{
namespace
{
constexpr std::string_view kWindowsSuffix = ".dll";
constexpr std::string_view kLinuxSuffix = ".so";

bool HasWindowsSuffix(std::string_view name)
{
    return name.size() >= kWindowsSuffix.size() &&
           std::equal(
               kWindowsSuffix.begin(), kWindowsSuffix.end(), name.end() - kWindowsSuffix.size(),
               [](char wanted, char given)
               { return FoldCase(static_cast<uint8_t>(given)) == static_cast<uint8_t>(wanted); });
}

std::string ExecutableDirectory()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.parent_path().string();
}

// The paths to try, in order: the name itself, then its ".so" twin; a bare name in the working
// directory first and beside the executable second.
std::vector<std::string> CandidatePaths(std::string_view name)
{
    std::vector<std::string> names{std::string(name)};
    if (HasWindowsSuffix(name))
    {
        names.push_back(std::string(name.substr(0, name.size() - kWindowsSuffix.size())) +
                        std::string(kLinuxSuffix));
    }
    const std::string executableDirectory = ExecutableDirectory();
    std::vector<std::string> paths;
    for (const std::string& candidate : names)
    {
        if (candidate.find('/') != std::string::npos)
        {
            paths.push_back(candidate);
            continue;
        }
        paths.push_back("./" + candidate);
        if (!executableDirectory.empty())
        {
            paths.push_back(executableDirectory + "/" + candidate);
        }
    }
    return paths;
}
}  // namespace

void* Open(std::string_view name)
{
    if (!name.empty())
    {
        for (const std::string& path : CandidatePaths(name))
        {
            // A missing candidate is the normal case of the search, not worth a line.
            if (access(path.c_str(), F_OK) != 0)
            {
                continue;
            }
            if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            {
                return library;
            }
            std::fprintf(stderr, "Zarvo: %s\n", dlerror());
        }
    }
    std::fprintf(stderr, "Zarvo: no loadable library named \"%s\"\n",
                 Windows1252ToUtf8(name).c_str());
    return nullptr;
}

void* Symbol(void* library, const char* name)
{
    return library != nullptr ? dlsym(library, name) : nullptr;
}

void Close(void* library)
{
    if (library != nullptr)
    {
        dlclose(library);
    }
}
}  // namespace dynlib
