#pragma once

// The pictures and fonts of the head-up display: loaded through the render library before a
// race, freed after it. A picture that cannot be loaded stays null and draws nothing; so does
// text in a font whose sheet is missing. Main thread only.

#include <array>
#include <cstddef>

#include "core/game/GameEnums.h"
#include "view/hud/HudCanvas.h"

struct GameFont;
struct Texture;

inline constexpr size_t kPortraitCount = 30;

class HudResources
{
public:
    HudResources() = default;
    ~HudResources();
    HudResources(const HudResources&) = delete;
    HudResources& operator=(const HudResources&) = delete;

    // Pictures from the texture archive; the portraits of the class only where the menu
    // archive has them. The front end's race fonts are taken as they are loaded now.
    void Load(BikeClass bikeClass);
    void Free();

    GameFont* Font(HudFont font) const;
    Texture* Picture(PictureRef picture) const;

private:
    // The display's own fonts and the sheets they are made from.
    std::array<GameFont*, kHudFontCount> fonts_{};
    std::array<Texture*, 6> sheets_{};
    Texture* logo_ = nullptr;
    Texture* instrumentCalm_ = nullptr;
    Texture* instrumentRedline_ = nullptr;
    Texture* startLights_ = nullptr;
    Texture* keyLamps_ = nullptr;
    std::array<Texture*, 8> curveSigns_{};
    std::array<Texture*, kPortraitCount> portraits_{};
};

// The file name of a rider's portrait in the class's folder ("%s%.2d.bmp", rider + 1).
std::array<char, 64> PortraitName(BikeClass bikeClass, size_t rider);
