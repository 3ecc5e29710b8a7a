#include "kit/sound/DemoMovies.h"

#include <vector>

#include "core/files/FileSystem.h"
#include "kit/sound/MovieWriter.h"

namespace kit
{
bool WriteDemoMovies(const std::string& directory, std::string& error)
{
    const struct
    {
        const char* name;
        double toneHz;
    } kMovies[] = {{"Movies/Intro.mpg", 440.0}, {"Movies/racewon.mpg", 660.0}};
    if (!files::MakeDirectories(directory + "/Movies"))
    {
        error = "cannot create " + directory + "/Movies";
        return false;
    }
    for (const auto& movie : kMovies)
    {
        const std::vector<uint8_t> bytes = BuildMovie({.toneHz = movie.toneHz}, error);
        const std::string path = directory + "/" + movie.name;
        if (bytes.empty() || !files::ReplaceAtomically(path, bytes))
        {
            error = error.empty() ? "cannot write " + path : error;
            return false;
        }
    }
    return true;
}
}  // namespace kit
