#include "render/text/TextSettings.h"

#include "glide/UntilUnload.h"
#include "render/text/GameFont.h"

namespace render
{

TextSettings& TheTextSettings()
{
    return glide::UntilUnload<TextSettings>();
}

void DestroyFont(TextSettings& settings, GameFont* font)
{
    if (settings.font == font)
    {
        settings.font = nullptr;
    }
    // Fonts cross to the game as plain pointers and come back here to be destroyed.
    delete font;
}

}  // namespace render
