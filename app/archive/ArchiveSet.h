#pragma once

// The five archives the game reads its data from for the whole run. Loaders hand these slots
// to DAFile; a slot is null while its archive is not open. Main thread only.
//
// The objects and textures archives are large and may lie on the CD-ROM stand-in; their
// files stay closed outside race loads, so that the disc is free for the music.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

class CprArchive;

extern CprArchive* g_archiveMenu;  // "archives/deutsch/menu.cpr" or "archives/english/menu.cpr"
extern CprArchive* g_archiveData;
extern CprArchive* g_archivePatch;
extern CprArchive* g_archiveObjects;
extern CprArchive* g_archiveTextures;

// Mounts the menu archive of the language (none for a language other than 0 German and
// 1 English), the data and patch archives from the working directory, and the objects and
// textures archives from the working directory or else the first CD-ROM root that has them.
// Stops at the first failure with its message; the archives opened so far stay open.
bool OpenArchives(int language, std::span<const std::string> cdRomRoots);

// Closes every archive that is open and clears its slot.
void CloseArchives();

// Set by an OpenArchives that opened all five; closing leaves it as it is.
extern bool g_archivesOpen;

// 1 from BeginLoading to EndLoading.
extern uint32_t g_loadingActive;

// Stops the CD track and returns once the music worker has stopped playing, so that the disc
// is free for the archives. The music installs it; empty (nothing to stop) until then.
void SetCdTrackStop(std::function<void()> stop);

// Stops the CD track, then opens the files of the objects and textures archives for a race
// load; EndLoading closes them again once the race is ready to run.
void BeginLoading();
void EndLoading();
