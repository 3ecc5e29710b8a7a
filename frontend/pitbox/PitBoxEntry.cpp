#include "frontend/pitbox/PitBoxEntry.h"

#include "app/settings/MenuState.h"
#include "app/window/FrameTime.h"
#include "app/window/OutputWindow.h"
#include "net/NetSession.h"
#include "race/RaceContext.h"

PitBoxContext GamePitBoxContext(LoadedGhost& ghost)
{
    return {.race = &g_raceContext, .settings = &g_menuState, .ghost = &ghost};
}

int32_t RunPitBoxPage(PitBoxMenu& menu, int32_t page, const SessionWords& words)
{
    menu.SetSessionWords(words);
    menu.EnterPage(page);
    while (PumpMessages() && !g_net.IsAborted())
    {
        StepFrameTime();
        const int32_t result = menu.Frame(g_realFrameDt);
        if (result != PitBoxMenu::kStay)
        {
            return result;
        }
    }
    return PitBoxMenu::kStay;
}
