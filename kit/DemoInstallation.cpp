#include "kit/DemoInstallation.h"

#include <string_view>

#include "core/files/FileSystem.h"
#include "kit/ConfigWriter.h"
#include "kit/anim/DemoAnimations.h"
#include "kit/content/DemoContent.h"
#include "kit/font/DemoFonts.h"
#include "kit/hud/HudPictures.h"
#include "kit/laps/DemoGhost.h"
#include "kit/menu/DemoMenu.h"
#include "kit/motion/DemoMotions.h"
#include "kit/race/DemoRace.h"
#include "kit/season/PreRacePictures.h"
#include "kit/setup/DemoTelemetry.h"
#include "kit/setup/SetupPictures.h"
#include "kit/sound/DemoMovies.h"
#include "kit/sound/DemoMusic.h"
#include "kit/sound/DemoSounds.h"
#include "kit/startup/StartScreen.h"
#include "kit/world/DemoObjects.h"

namespace kit
{
namespace
{
// Each subsystem's demo content adds its members here.
bool FillArchives(DemoArchives& archives, std::string& error)
{
    return AddDemoSounds(archives.menu, error) && AddDemoMenuSounds(archives.menu, error) &&
           AddDemoFonts(archives, error) && AddDemoAnimations(archives.menu, error) &&
           AddStartScreen(archives.menu, error) && AddDemoObjects(archives.objects, error) &&
           AddDemoMenu(archives, error) && AddDemoMotions(archives.menu, error) &&
           AddDemoContent(archives, error) && AddDemoHudPictures(archives, error) &&
           AddDemoTelemetry(archives, error) && AddSetupPictures(archives, error) &&
           AddPreRacePictures(archives.menu, error);
}

bool WriteArchive(const std::string& path, const CprWriter& archive, std::string& error)
{
    if (!files::MakeDirectories(path.substr(0, path.rfind('/'))) ||
        !files::ReplaceAtomically(path, archive.Build()))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WriteArchives(const std::string& directory, const DemoArchives& archives, std::string& error)
{
    const struct
    {
        std::string_view path;
        const CprWriter& archive;
    } kFiles[] = {
        {"archives/data.cpr", archives.data},
        {"archives/patch.cpr", archives.patch},
        {"archives/objects.cpr", archives.objects},
        {"archives/textures.cpr", archives.textures},
        {"archives/deutsch/menu.cpr", archives.menu},
        {"archives/english/menu.cpr", archives.englishMenu},
    };
    for (const auto& file : kFiles)
    {
        if (!WriteArchive(directory + "/" + std::string(file.path), file.archive, error))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

bool WriteDemoInstallation(const std::string& directory, std::string& error)
{
    // The game writes screenshots into "graps/" but never creates it.
    if (!files::MakeDirectories(directory + "/graps"))
    {
        error = "cannot create " + directory + "/graps";
        return false;
    }
    DemoArchives archives;
    return WriteConfig(directory + "/config.dat", DemoConfig(), error) &&
           FillArchives(archives, error) && AddDemoRace(archives, directory, error) &&
           AddDemoGhost(directory, error) &&
           archives.englishMenu.AddMissingFrom(archives.menu, error) &&
           WriteArchives(directory, archives, error) && WriteDemoMusic(directory, error) &&
           WriteDemoMovies(directory, error);
}
}  // namespace kit
