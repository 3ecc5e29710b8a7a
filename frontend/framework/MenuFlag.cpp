#include "frontend/framework/MenuFlag.h"

#include <algorithm>
#include <array>

#include "app/device/RenderDevice.h"
#include "app/settings/MenuState.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"

MenuFlag g_menuFlag;

namespace
{
constexpr uint32_t kWorldBytes = 0x100000;
// A grid of 10 x 10 points over a cloth of 20 x 12 units, as the marshal's.
constexpr uint32_t kCells = 10;
constexpr int32_t kClothWidth = 20;
constexpr int32_t kClothHeight = 12;
constexpr uint32_t kFogColour = 0xF0D7C0;

constexpr std::array<const char*, MenuFlag::kNationCount> kFlagPictures = {
    "flaggen/Mala.bmp", "flaggen/JPN.bmp",  "flaggen/Es.bmp",  "flaggen/I.bmp",
    "flaggen/A.bmp",    "flaggen/F.bmp",    "flaggen/Nl.bmp",  "flaggen/San.bmp",
    "flaggen/D.bmp",    "flaggen/Bra.bmp",  "flaggen/Gb.bmp",  "flaggen/Tch.bmp",
    "flaggen/C.bmp",    "flaggen/Indo.bmp", "flaggen/Aus.bmp", "flaggen/Qimrn.bmp",
};
}  // namespace

int32_t NationOfCircuit(uint32_t circuit)
{
    return static_cast<int32_t>(std::min<uint32_t>(circuit, MenuFlag::kNationCount - 1));
}

bool MenuFlag::Create()
{
    g_renderDevice.SetFieldOfView(600.0f, 1.0f);
    root_ = g_renderDevice.CreateWorld(kWorldBytes);
    if (root_ == nullptr)
    {
        return false;
    }
    cloth_ =
        CreateFlagMesh(g_renderDevice, kCells, kCells, kClothWidth, kClothHeight, kFlagTexture);
    if (cloth_ == nullptr)
    {
        g_renderDevice.FreeWorld();
        root_ = nullptr;
        return false;
    }
    g_renderDevice.AttachObject(cloth_, root_, 48.0f, 38.0f, 113.0f, kAttachChild, 10000.0f);
    cloth_->flags |= 0x104;
    cloth_->pivot = {0.0f, 0.0f, 0.0f};
    cloth_->fogTable.set(g_renderDevice.FogGenerateLinear(1.0f, 65000.0f));
    cloth_->fogColour = kFogColour;
    // Every flag waves from the start: two menu visits look the same.
    wave_ = {};
    nation_ = kNoNation;
    ShowNationOf(g_menuState.U32At(MenuState::kCircuitOffset));
    return true;
}

void MenuFlag::Destroy()
{
    if (Exists())
    {
        g_renderDevice.FreeWorld();
        RenderDevice::CleanUpIfBound();
    }
    root_ = nullptr;
    cloth_ = nullptr;
    nation_ = kNoNation;
}

void MenuFlag::Wave(float dt)
{
    if (Exists())
    {
        AnimateFlagMesh(kCells, kCells, *cloth_, dt, wave_);
    }
}

void MenuFlag::ShowNationOf(uint32_t circuit)
{
    const int32_t nation = NationOfCircuit(circuit);
    if (!Exists() || nation == nation_)
    {
        return;
    }
    const char* picture = kFlagPictures[static_cast<size_t>(nation)];
    const bool loaded = nation_ == kNoNation
                            ? g_renderDevice.LoadTexture(picture, kFlagTexture, 0, 0) != nullptr
                            : g_renderDevice.ReLoadTexture(picture, kFlagTexture, 0, 0) != nullptr;
    nation_ = loaded ? nation : kNoNation;
}

bool HasMenuFlag()
{
    return g_menuFlag.Exists();
}

void DestroyMenuFlag()
{
    g_menuFlag.Destroy();
}

void DrawMenuScene()
{
    if (HasMenuFlag())
    {
        g_renderDevice.SetClipRect(0, 0, g_renderDevice.ScreenWidth(),
                                   g_renderDevice.ScreenHeight());
        g_renderDevice.DrawScene(0);
    }
}
