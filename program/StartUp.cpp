// The main routine's start-up: every service of the game in the order each one needs the
// ones before it. A service that cannot start ends the start-up after the player has been
// told why; what started before it is taken down by the shutdown.

#include <string>

#include "app/archive/ArchiveSet.h"
#include "app/archive/CdRomSearch.h"
#include "app/config/ConfigFile.h"
#include "app/config/RaceScreenMode.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/game/RiderLiveries.h"
#include "core/util/Message.h"
#include "frontend/MenuFiles.h"
#include "frontend/MenuResources.h"
#include "frontend/settings/MenuStateFile.h"
#include "platform/Platform.h"
#include "program/GameWindow.h"
#include "program/StartupMessages.h"
#include "setup/PlayerSetupFile.h"
#include "sound/CdMusic.h"
#include "sound/MoviePlayer.h"
#include "sound/SoundManager.h"

namespace
{
constexpr uint32_t kWindowWidth = 640;
constexpr uint32_t kWindowHeight = 480;
constexpr ScreenMode kGameScreenMode = {640, 480, 16, 60, 0};
constexpr const char* kIntroMovie = "Movies/Intro.mpg";
constexpr uint32_t kStartingRiderCount = 25;

// The library named in "config.dat", bound and with its board started.
bool StartRenderLibrary()
{
    const std::string_view libraryName = g_config.RenderLibraryName();
    if (g_renderDevice.InitHardware(libraryName))
    {
        return true;
    }
    ShowMessage(RenderLibraryFailedMessage(g_language, libraryName));
    return false;
}

// The render library's screen in the window, in the game's mode.
bool OpenScreen(const RenderWindow* window)
{
    g_displayMode = kGameScreenMode;
    const std::string displayText(g_config.DisplayText());
    if (g_renderDevice.InitScreen(window, g_config.U8At(ConfigBlock::kDisplayOptionOffset),
                                  displayText.c_str(), &g_displayMode) != 0)
    {
        return true;
    }
    ShowMessage(ResolutionFailedMessage(g_language));
    return false;
}
}  // namespace

bool GameWindow::StartUp()
{
    MakeDirectoryPath("tempdaten");
    FillDefaultLiveries();
    StartCdMusic();
    StopCdTrack();
    SetCdTrackStop(StopCdTrack);
    joystickOption_ = inputStep_.SetJoystickDefaults(joystickOption_);
    LoadMenuState();
    inputStep_.SetControlMap(g_menuState.Controls());

    const int language = static_cast<int>(g_language);
    if (!LoadConfig(language))
    {
        return false;
    }
    g_soundEnabled.store(g_config.U8At(ConfigBlock::kSoundOffOffset) == 0,
                         std::memory_order_relaxed);
    if (!StartRenderLibrary() || !OpenArchives(language, MountedCdRomRoots()))
    {
        return false;
    }
    g_renderDevice.SetArchive(g_archiveMenu);
    ReadMenuTexts();
    g_riderCount = kStartingRiderCount;
    DeleteLapFiles();

    if (!Create(kWindowWidth, kWindowHeight))
    {
        return false;
    }
    CurrentPlatform().CaptureMouse(true);
    mouseCaptured_ = true;
    CurrentPlatform().ShowCursor(false);

    g_raceContext.LoadClassBikeSetups(g_archiveMenu, g_bikeClass);
    SerializeBikeSetup(false);
    if (g_soundManager.StartOutput())
    {
        timerTick_.SetWaveOutput(&g_soundManager.Output());
    }
    TakeRaceScreenMode(g_config);
    if (!OpenScreen(RenderTarget()))
    {
        return false;
    }
    if (g_menuState.U8At(MenuState::kIntroOffset) == 0)
    {
        PlayMovie(kIntroMovie, *this, g_config.U8At(ConfigBlock::kDisplayOptionOffset) != 0);
    }
    timerTick_.Start();
    LoadRaceFonts();
    g_demoRace = false;
    return true;
}
