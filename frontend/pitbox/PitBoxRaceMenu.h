#pragma once

// The pit box as the race's pause menu: opened on the times page of the game's mode and
// session, hidden while the player watches the race, shown again on Esc, left on the player's
// choice. It keeps the menu fonts loaded while it is open. Main thread only.

#include <memory>

#include "frontend/pitbox/GhostFiles.h"
#include "frontend/pitbox/PitBoxMenu.h"
#include "view/race/InRaceMenu.h"

class PitBoxRaceMenu : public InRaceMenu
{
public:
    PitBoxRaceMenu() = default;
    ~PitBoxRaceMenu() override;
    PitBoxRaceMenu(const PitBoxRaceMenu&) = delete;
    PitBoxRaceMenu& operator=(const PitBoxRaceMenu&) = delete;

    bool Open() override;
    uint32_t Frame(float realSeconds) override;
    void Close() override;
    bool IsHidden() const override;
    void ShowAgain() override;

    // The menu while it is open, else null.
    const PitBoxMenu* Menu() const { return menu_.get(); }

private:
    LoadedGhost ghost_;
    std::unique_ptr<PitBoxMenu> menu_;
};
