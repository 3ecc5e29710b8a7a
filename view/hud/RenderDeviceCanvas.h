#pragma once

// The display's canvas on the game's render device: the screen's back buffer.

#include "view/hud/HudCanvas.h"

class HudResources;

class RenderDeviceCanvas final : public HudCanvas
{
public:
    explicit RenderDeviceCanvas(const HudResources& resources) : resources_(resources) {}

    void SetFont(HudFont font) override;
    void Text(int32_t x, int32_t y, const char* text, TextAlign align) override;
    void ColourText(int32_t x, int32_t y, uint32_t colour, const char* text,
                    TextAlign align) override;
    int32_t TextWidth(const char* text) override;
    int32_t PictureWidth(PictureRef picture) override;
    int32_t PictureHeight(PictureRef picture) override;
    void Picture(PictureRef picture, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t width,
                 int32_t height) override;
    void Rect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, float u,
              float v, float du, float dv, int32_t alpha) override;
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) override;
    void Clip(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

private:
    const HudResources& resources_;
    bool fontLoaded_ = false;  // text in a missing font draws nothing
};
