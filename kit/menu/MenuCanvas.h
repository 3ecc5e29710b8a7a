#pragma once

// Painting the menu pictures of the demo installation: panels, raised and sunken boxes and
// labels in the kit's glyphs, on an RGBA picture. Black is what the game's keyed drawing
// leaves out, so painted parts that must show are never pure black.

#include <cstdint>
#include <string_view>

#include "kit/picture/Picture.h"

namespace kit
{

struct Box
{
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
};

class MenuCanvas
{
public:
    MenuCanvas(int width, int height, uint32_t colour);  // colours 0xRRGGBB

    void Fill(const Box& box, uint32_t colour);
    // A box with a light edge at the top and left and a dark one at the bottom and right;
    // sunken swaps the two.
    void Bevel(const Box& box, uint32_t face, bool sunken);
    // A label in the kit's glyphs, scaled, centred in the box.
    void Label(const Box& box, std::string_view text, int scale, uint32_t colour);
    void SetPixel(int x, int y, uint32_t colour);

    const RgbaPicture& Picture() const { return picture_; }

private:
    RgbaPicture picture_;
};

}  // namespace kit
