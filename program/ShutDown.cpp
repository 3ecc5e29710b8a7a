// The main routine as a whole, and its shutdown: every service taken down in order. Each step
// does nothing for a service that never started, so the shutdown also ends a failed start-up.

#include "app/archive/ArchiveSet.h"
#include "app/config/ConfigFile.h"
#include "app/device/RenderDevice.h"
#include "core/util/SineTable.h"
#include "frontend/MenuResources.h"
#include "net/NetSession.h"
#include "program/GameWindow.h"
#include "sound/CdMusic.h"
#include "sound/SoundManager.h"

uint32_t GameWindow::Run()
{
    const SineTable sineTable;
    const bool started = StartUp();
    if (started)
    {
        RunSessionLoop();
    }
    const bool saved = ShutDown(started);
    if (!started)
    {
        return kStartUpFailed;
    }
    return screenFailed_ || !saved ? kRunFailed : kRunEnded;
}

bool GameWindow::ShutDown(bool saveConfig)
{
    // After a failed start-up the set-up file stays as the player left it.
    const bool saved = !saveConfig || SaveConfig();
    if (g_net.IsActive())
    {
        g_net.Shutdown();
    }
    CircuitInfoScreen::Close();
    FreeMenuTexts();
    FreeMenuBackground();
    FreeRaceFonts();
    g_renderDevice.ShotDown();
    StopCdMusic();
    timerTick_.SetWaveOutput(nullptr);
    g_soundManager.StopOutput();
    CloseArchives();
    return saved;
}
