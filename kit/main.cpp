// zarvo-kit: makes the data the game reads, since no original data may be used.

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "kit/ArchiveTool.h"
#include "kit/DemoInstallation.h"
#include "kit/picture/PictureCommand.h"

namespace
{
using Arguments = std::span<char* const>;

int Fail(std::string_view command, const std::string& error)
{
    std::fprintf(stderr, "zarvo-kit %.*s: %s\n", static_cast<int>(command.size()), command.data(),
                 error.c_str());
    return 1;
}

int Demo(Arguments args)
{
    std::string error;
    return kit::WriteDemoInstallation(args[0], error) ? 0 : Fail("demo", error);
}

int Picture(Arguments args)
{
    std::string error;
    return kit::DecodePictureToBmp(args[0], args[1], error) ? 0 : Fail("picture", error);
}

int CprPack(Arguments args)
{
    std::string error;
    return kit::PackDirectory(args[0], args[1], error) ? 0 : Fail("cpr pack", error);
}

int CprList(Arguments args)
{
    std::string error;
    const std::optional<std::string> listing = kit::ListArchive(args[0], error);
    if (!listing)
    {
        return Fail("cpr list", error);
    }
    std::fputs(listing->c_str(), stdout);
    return 0;
}

int CprExtract(Arguments args)
{
    std::string error;
    return kit::ExtractArchive(args[0], args[1], error) ? 0 : Fail("cpr extract", error);
}

struct Command
{
    std::string_view name;  // one word, or two separated by a space
    std::string_view usage;
    size_t argumentCount;
    int (*run)(Arguments);
};

constexpr Command kCommands[] = {
    {"demo", "demo DIR                 write a complete demo installation into DIR", 1, Demo},
    {"cpr pack", "cpr pack DIR ARCHIVE     pack every file below DIR into ARCHIVE", 2, CprPack},
    {"cpr list", "cpr list ARCHIVE         list the members of ARCHIVE", 1, CprList},
    {"cpr extract", "cpr extract ARCHIVE DIR  write every member of ARCHIVE below DIR", 2,
     CprExtract},
    {"picture", "picture IN OUT.bmp        decode IN as the game does, write it as a 24-bit BMP", 2,
     Picture},
};

// How many arguments the command's name takes up when they spell it, else 0.
size_t WordsMatched(std::string_view name, Arguments words)
{
    size_t matched = 0;
    while (!name.empty())
    {
        const size_t space = name.find(' ');
        if (matched == words.size() || name.substr(0, space) != words[matched])
        {
            return 0;
        }
        ++matched;
        name = space == std::string_view::npos ? std::string_view() : name.substr(space + 1);
    }
    return matched;
}

int Usage()
{
    std::fprintf(stderr, "usage: zarvo-kit COMMAND ...\n");
    for (const Command& command : kCommands)
    {
        std::fprintf(stderr, "  zarvo-kit %.*s\n", static_cast<int>(command.usage.size()),
                     command.usage.data());
    }
    return 2;
}
}  // namespace

int main(int argc, char** argv)
{
    const Arguments words = Arguments(argv, static_cast<size_t>(argc)).subspan(1);
    for (const Command& command : kCommands)
    {
        if (const size_t matched = WordsMatched(command.name, words); matched > 0)
        {
            const Arguments rest = words.subspan(matched);
            if (rest.size() != command.argumentCount)
            {
                return Usage();
            }
            return command.run(rest);
        }
    }
    return Usage();
}
