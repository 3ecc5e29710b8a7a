#pragma once

// The menus' waving flag: the nation flag of the chosen circuit in the top right corner, a
// cloth in a 3D world of its own, which the bike preview of the rider page shares. The screen
// that finds no flag creates one and destroys it when it leaves; the main menu's goes when the
// main routine leaves the menu. Main thread only.

#include <cstdint>

#include "view/race/MarshalFlags.h"

struct WorldObject;

class MenuFlag
{
public:
    static constexpr int32_t kNoNation = -1;
    static constexpr int32_t kNationCount = 16;
    static constexpr int32_t kFlagTexture = 120;
    // The area the flag waves in, repainted every frame while it shows.
    static constexpr int32_t kLeft = 485;
    static constexpr int32_t kTop = 0;
    static constexpr int32_t kRight = 640;
    static constexpr int32_t kBottom = 88;

    // The flag's world becomes the current one, the flag showing the nation of the settings'
    // circuit; false when no world can be made.
    bool Create();
    void Destroy();
    bool Exists() const { return cloth_ != nullptr; }
    bool Visible() const { return Exists() && nation_ != kNoNation; }
    int32_t Nation() const { return nation_; }
    // The camera node of the flag's world, where the menus hang their 3D objects.
    WorldObject* Root() const { return root_; }
    void Wave(float dt);
    // Loads the flag of the circuit's nation unless it already shows.
    void ShowNationOf(uint32_t circuit);

private:
    WorldObject* root_ = nullptr;
    WorldObject* cloth_ = nullptr;
    FlagWave wave_;
    int32_t nation_ = kNoNation;
};

extern MenuFlag g_menuFlag;

int32_t NationOfCircuit(uint32_t circuit);
bool HasMenuFlag();
void DestroyMenuFlag();
// The flag's world, when there is one, with everything hanging in it; not clipped to the
// repaint rectangles, which hold the flag's and the preview's areas every frame.
void DrawMenuScene();
