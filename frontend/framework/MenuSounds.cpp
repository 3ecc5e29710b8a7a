#include "frontend/framework/MenuSounds.h"

#include "frontend/toolkit/Gadget.h"
#include "sound/SoundManager.h"

void PlayMenuSound(uint32_t event, int32_t variant)
{
    g_soundManager.PlayMenuSound(event, variant != 0);
}

void PlayGadgetSound(const Gadget& gadget, int32_t variant)
{
    PlayMenuSound(gadget.soundEvent, variant);
}
