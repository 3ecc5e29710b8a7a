#include "view/tv/OverlayDrawing.h"

#include <algorithm>

namespace
{
float WipeFraction(int32_t clock, bool inverted)
{
    const int32_t clamped = std::clamp(clock, 0, 1000);
    return static_cast<float>(inverted ? 1000 - clamped : clamped) / 1000.0f;
}
}  // namespace

void WipeFromCentre(HudCanvas& canvas, int32_t width, int32_t height, int32_t top, int32_t clock,
                    bool inverted)
{
    const float k = WipeFraction(clock, inverted);
    const int32_t centreX = width / 2;
    const int32_t centreY = top + (height - top) / 2;
    const auto halfWidth = static_cast<int32_t>(k * static_cast<float>(width) / 2.0f);
    const auto halfHeight = static_cast<int32_t>(k * static_cast<float>(height - top) / 2.0f);
    canvas.Clip(centreX - halfWidth, centreY - halfHeight, centreX + halfWidth,
                centreY + halfHeight);
}

void WipeFromLeft(HudCanvas& canvas, int32_t width, int32_t height, int32_t top, int32_t clock,
                  bool inverted)
{
    const float k = WipeFraction(clock, inverted);
    canvas.Clip(0, top, static_cast<int32_t>(k * static_cast<float>(width)), height);
}

void DrawTvLogo(HudCanvas& canvas, int32_t width)
{
    const PictureRef logo{HudPicture::Logo};
    const int32_t logoWidth = canvas.PictureWidth(logo);
    if (logoWidth > 0)
    {
        canvas.Picture(logo, 0, 0, width - logoWidth - 16, 10, logoWidth,
                       canvas.PictureHeight(logo));
    }
}
