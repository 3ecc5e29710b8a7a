#include "kit/menu/MenuCanvas.h"

#include <array>

#include "kit/font/FontPicture.h"

namespace kit
{
namespace
{
constexpr uint32_t kLightEdge = 0xF0F0F0;
constexpr uint32_t kDarkEdge = 0x303038;
}  // namespace

MenuCanvas::MenuCanvas(int width, int height, uint32_t colour) : picture_{width, height, {}}
{
    picture_.rgba.resize(static_cast<size_t>(width) * height * 4);
    Fill({0, 0, width, height}, colour);
}

void MenuCanvas::SetPixel(int x, int y, uint32_t colour)
{
    if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height)
    {
        return;
    }
    uint8_t* pixel = &picture_.rgba[(static_cast<size_t>(y) * picture_.width + x) * 4];
    pixel[0] = static_cast<uint8_t>(colour >> 16);
    pixel[1] = static_cast<uint8_t>(colour >> 8);
    pixel[2] = static_cast<uint8_t>(colour);
    pixel[3] = 255;
}

void MenuCanvas::Fill(const Box& box, uint32_t colour)
{
    for (int y = box.top; y < box.bottom; ++y)
    {
        for (int x = box.left; x < box.right; ++x)
        {
            SetPixel(x, y, colour);
        }
    }
}

void MenuCanvas::Bevel(const Box& box, uint32_t face, bool sunken)
{
    Fill(box, face);
    const uint32_t topLeft = sunken ? kDarkEdge : kLightEdge;
    const uint32_t bottomRight = sunken ? kLightEdge : kDarkEdge;
    Fill({box.left, box.top, box.right, box.top + 1}, topLeft);
    Fill({box.left, box.top, box.left + 1, box.bottom}, topLeft);
    Fill({box.left, box.bottom - 1, box.right, box.bottom}, bottomRight);
    Fill({box.right - 1, box.top, box.right, box.bottom}, bottomRight);
}

void MenuCanvas::Label(const Box& box, std::string_view text, int scale, uint32_t colour)
{
    const FontStyle style{.cellWidth = box.right - box.left,
                          .cellHeight = box.bottom - box.top,
                          .scaleX = scale,
                          .scaleY = scale,
                          .bold = false,
                          .topColour = colour,
                          .bottomColour = colour};
    const std::array<CellLabel, 1> labels{{{text, LabelPlace::Centre}}};
    const RgbaPicture glyphs = DrawLabelPicture(labels, style);
    for (int y = 0; y < glyphs.height; ++y)
    {
        for (int x = 0; x < glyphs.width; ++x)
        {
            const uint8_t* pixel = &glyphs.rgba[(static_cast<size_t>(y) * glyphs.width + x) * 4];
            if (pixel[3] != 0)
            {
                SetPixel(box.left + x, box.top + y, colour);
            }
        }
    }
}

}  // namespace kit
