#include "app/archive/ArchiveSet.h"

#include <string_view>
#include <utility>

#include "app/archive/CdRomSearch.h"
#include "core/archive/CprArchive.h"
#include "core/util/Message.h"
#include "platform/Platform.h"

CprArchive* g_archiveMenu = nullptr;
CprArchive* g_archiveData = nullptr;
CprArchive* g_archivePatch = nullptr;
CprArchive* g_archiveObjects = nullptr;
CprArchive* g_archiveTextures = nullptr;
uint32_t g_loadingActive = 0;
bool g_archivesOpen = false;

namespace
{
struct MountedArchives
{
    CprArchive menu;
    CprArchive data;
    CprArchive patch;
    CprArchive objects;
    CprArchive textures;
};

MountedArchives g_mounted;
std::function<void()> g_stopCdTrack;

struct MenuArchive
{
    std::string_view path;
    std::string_view failure;  // the doubled extension is the message as it always read
};

constexpr MenuArchive kMenuArchives[] = {
    {"archives/deutsch/menu.cpr",
     "Kann archives/deutsch/menu.cpr.cpr nicht \xF6"
     "ffnen"},
    {"archives/english/menu.cpr",
     "Kann archives/english/menu.cpr nicht \xF6"
     "ffnen"},
};

bool OpenInto(CprArchive& archive, CprArchive*& slot, std::string_view path)
{
    if (!archive.Open(path, false))
    {
        return false;
    }
    slot = &archive;
    return true;
}

bool OpenFromWorkingDirectory(CprArchive& archive, CprArchive*& slot, std::string_view path,
                              std::string_view failure)
{
    if (!OpenInto(archive, slot, path))
    {
        ShowMessage(failure);
        return false;
    }
    return true;
}

bool OpenFromAnyDrive(CprArchive& archive, CprArchive*& slot, std::string_view relativePath,
                      std::span<const std::string> cdRomRoots)
{
    const std::optional<std::string> located = LocateDataFile(relativePath, cdRomRoots);
    if (!located || !OpenInto(archive, slot, *located))
    {
        ShowMessage("Unable to find Zarvo - CD\n" + std::string(relativePath));
        return false;
    }
    return true;
}

void ResumeIfOpen(CprArchive* archive)
{
    // A failed resume shows up as the message of the first read that needs the archive.
    if (archive != nullptr)
    {
        archive->Resume();
    }
}

void SuspendIfOpen(CprArchive* archive)
{
    if (archive != nullptr)
    {
        archive->Suspend();
    }
}
}  // namespace

bool OpenArchives(int language, std::span<const std::string> cdRomRoots)
{
    g_archivesOpen = false;
    if (language == 0 || language == 1)
    {
        const MenuArchive& menu = kMenuArchives[language];
        if (!OpenFromWorkingDirectory(g_mounted.menu, g_archiveMenu, menu.path, menu.failure))
        {
            return false;
        }
    }
    if (!OpenFromWorkingDirectory(g_mounted.data, g_archiveData, "archives/data.cpr",
                                  "Kann data.cpr nicht \xF6"
                                  "ffnen") ||
        !OpenFromWorkingDirectory(g_mounted.patch, g_archivePatch, "archives/patch.cpr",
                                  "Kann patch.cpr nicht \xF6"
                                  "ffnen") ||
        !OpenFromAnyDrive(g_mounted.objects, g_archiveObjects, "archives/objects.cpr",
                          cdRomRoots) ||
        !OpenFromAnyDrive(g_mounted.textures, g_archiveTextures, "archives/textures.cpr",
                          cdRomRoots))
    {
        return false;
    }
    g_archivesOpen = true;
    g_mounted.objects.Suspend();
    g_mounted.textures.Suspend();
    return true;
}

void CloseArchives()
{
    for (CprArchive** slot :
         {&g_archiveObjects, &g_archiveTextures, &g_archiveMenu, &g_archiveData, &g_archivePatch})
    {
        if (*slot != nullptr)
        {
            (*slot)->Close();
            *slot = nullptr;
        }
    }
}

void SetCdTrackStop(std::function<void()> stop)
{
    g_stopCdTrack = std::move(stop);
}

void BeginLoading()
{
    if (g_stopCdTrack)
    {
        g_stopCdTrack();
    }
    g_loadingActive = 1;
    ResumeIfOpen(g_archiveObjects);
    ResumeIfOpen(g_archiveTextures);
}

void EndLoading()
{
    SuspendIfOpen(g_archiveObjects);
    SuspendIfOpen(g_archiveTextures);
    g_loadingActive = 0;
}
