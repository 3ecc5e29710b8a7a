#include "view/hud/PlaceLabels.h"

#include <array>
#include <cstdio>

#include "view/hud/HudTexts.h"

namespace
{
std::array<char, 12> NumberText(int32_t number)
{
    std::array<char, 12> text{};
    std::snprintf(text.data(), text.size(), "%d", number);
    return text;
}

void DrawSuffix(HudCanvas& canvas, int32_t x, int32_t y, int32_t place)
{
    const char suffix[2] = {OrdinalSuffix(place), '\0'};
    canvas.SetFont(HudFont::Tv);
    canvas.Text(x, y, suffix, TextAlign::Left);
}
}  // namespace

void DrawPlace(HudCanvas& canvas, int32_t x, int32_t y, int32_t place)
{
    canvas.SetFont(HudFont::Zeichen);
    canvas.Text(x, y + 10, "AB", TextAlign::Centre);
    const std::array<char, 12> number = NumberText(place);
    canvas.SetFont(HudFont::BigDigits);
    const int32_t halfWidth = canvas.TextWidth(number.data()) / 2;
    canvas.Text(x, y + 7, number.data(), TextAlign::Centre);
    DrawSuffix(canvas, x + halfWidth + 2, y, place);
}

void DrawPlaceSmall(HudCanvas& canvas, int32_t x, int32_t y, int32_t place)
{
    canvas.SetFont(HudFont::Zeichen);
    canvas.Text(x, y, "D", TextAlign::Centre);
    const std::array<char, 12> number = NumberText(place);
    canvas.SetFont(HudFont::Tv);
    const int32_t halfWidth = canvas.TextWidth(number.data()) / 2;
    canvas.Text(x, y, number.data(), TextAlign::Centre);
    DrawSuffix(canvas, x + halfWidth + 2, y, place);
}

void DrawNumber(HudCanvas& canvas, int32_t x, int32_t y, int32_t number)
{
    canvas.SetFont(HudFont::Zeichen);
    canvas.Text(x, y + 3, "E", TextAlign::Left);
    canvas.SetFont(HudFont::Tv);
    canvas.Text(x + 4, y, NumberText(number).data(), TextAlign::Left);
}
