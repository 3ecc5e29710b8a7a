// zarvo-kit: makes the data the game reads, since no original data may be used.

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "kit/DemoInstallation.h"

namespace
{
using Arguments = std::span<char* const>;

int Demo(Arguments args)
{
    std::string error;
    if (!kit::WriteDemoInstallation(args[0], error))
    {
        std::fprintf(stderr, "zarvo-kit demo: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

struct Command
{
    std::string_view name;
    std::string_view usage;
    size_t argumentCount;
    int (*run)(Arguments);
};

constexpr Command kCommands[] = {
    {"demo", "demo DIR            write a complete demo installation into DIR", 1, Demo},
};

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
    const Arguments all(argv, static_cast<size_t>(argc));
    if (all.size() < 2)
    {
        return Usage();
    }
    for (const Command& command : kCommands)
    {
        if (command.name == all[1])
        {
            const Arguments rest = all.subspan(2);
            if (rest.size() != command.argumentCount)
            {
                return Usage();
            }
            return command.run(rest);
        }
    }
    return Usage();
}
