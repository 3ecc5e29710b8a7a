#include "frontend/pitbox/PitBoxRaceMenu.h"

#include <new>

#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "frontend/pitbox/PitBoxEntry.h"
#include "frontend/toolkit/MenuFonts.h"

PitBoxRaceMenu::~PitBoxRaceMenu()
{
    Close();
}

bool PitBoxRaceMenu::Open()
{
    if (menu_ != nullptr)
    {
        return true;
    }
    menu_.reset(new (std::nothrow) PitBoxMenu(GamePitBoxContext(ghost_)));
    if (menu_ == nullptr)
    {
        return false;
    }
    LoadMenuFonts();
    g_pitMenuHidden = 0;
    menu_->SetSessionWords(InRaceWords(g_gameMode, g_menuState.U32At(MenuState::kSessionOffset)));
    menu_->EnterPage(PitBoxMenu::kTimesPage);
    return true;
}

uint32_t PitBoxRaceMenu::Frame(float realSeconds)
{
    if (menu_ == nullptr)
    {
        return kResume;
    }
    return static_cast<uint32_t>(menu_->Frame(realSeconds));
}

void PitBoxRaceMenu::Close()
{
    if (menu_ == nullptr)
    {
        return;
    }
    // The race's render state comes back through the shown menu's swap.
    if (g_pitMenuHidden != 0)
    {
        menu_->Activate(0);
    }
    menu_->Leave();
    menu_.reset();
    g_pitMenuHidden = 0;
    FreeMenuFonts();
}

bool PitBoxRaceMenu::IsHidden() const
{
    return menu_ != nullptr && g_pitMenuHidden != 0;
}

void PitBoxRaceMenu::ShowAgain()
{
    // The menu's next frame shows it with its own render state and sounds.
    g_pitMenuHidden = 0;
}
