#pragma once

// The library-wide text settings: the font that screen and picture texts are drawn in, and the
// background picture that picture texts may start from. Neither is owned. One instance, living
// as long as the library; main thread only.

#include "render/RenderApi.h"

namespace render
{

struct TextSettings
{
    GameFont* font = nullptr;
    Texture* background = nullptr;
};

TextSettings& TheTextSettings();

// Destroys a font; the settings forget it when it is their font.
void DestroyFont(TextSettings& settings, GameFont* font);

}  // namespace render
