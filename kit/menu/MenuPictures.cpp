#include "kit/menu/MenuPictures.h"

#include <array>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"

namespace kit
{
namespace
{
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kOutline = 0x202028;
constexpr uint32_t kPanel = 0x5A6478;
constexpr uint32_t kField = 0x1C2030;
constexpr uint32_t kButton = 0x8C96AA;
constexpr uint32_t kTitleBar = 0x283C78;

// The arrow's body: rows 0..15 widen to the right, then the stem runs down to the right.
bool InArrow(int x, int y)
{
    const bool head = y < 16 && x <= y * 2 / 3;
    const int stemLeft = (y - 10) / 2 + 2;
    const bool stem = y >= 10 && y < 24 && x >= stemLeft && x <= stemLeft + 3;
    return head || stem;
}

void DrawWindowFrame(MenuCanvas& canvas, int width, int height)
{
    canvas.Bevel({0, 0, width, height}, kPanel, false);
    canvas.Fill({4, 4, width - 4, 30}, kTitleBar);
}
}  // namespace

RgbaPicture DemoPointerPicture()
{
    constexpr int kSize = 32;
    MenuCanvas canvas(kSize, kSize, kBlack);
    for (int y = 0; y < kSize; ++y)
    {
        for (int x = 0; x < kSize; ++x)
        {
            if (!InArrow(x, y))
            {
                continue;
            }
            const bool edge = !InArrow(x - 1, y) || !InArrow(x + 1, y) || !InArrow(x, y - 1) ||
                              !InArrow(x, y + 1);
            canvas.SetPixel(x, y, edge ? kOutline : kWhite);
        }
    }
    return canvas.Picture();
}

RgbaPicture DemoClassPicture()
{
    constexpr int kWidth = 160;
    constexpr int kRowHeight = 31;
    constexpr std::array<std::string_view, 3> kClasses = {"125ccm", "250ccm", "500ccm"};
    constexpr std::array<uint32_t, 3> kRowColours = {0x3C5AA0, 0xA03C3C, 0x3C8C50};
    MenuCanvas canvas(kWidth, kRowHeight * static_cast<int>(kClasses.size()), kBlack);
    for (size_t row = 0; row < kClasses.size(); ++row)
    {
        const int top = static_cast<int>(row) * kRowHeight;
        const Box box{0, top, kWidth, top + kRowHeight};
        canvas.Bevel(box, kRowColours[row], false);
        canvas.Label(box, kClasses[row], 2, kWhite);
    }
    return canvas.Picture();
}

RgbaPicture DemoFileRequesterPicture()
{
    constexpr int kWidth = 296;
    constexpr int kHeight = 292;
    MenuCanvas canvas(kWidth, kHeight, kPanel);
    DrawWindowFrame(canvas, kWidth, kHeight);
    // The requester's fields, right and bottom inclusive as it lays them out.
    constexpr std::array<Box, 6> kSunken = {{
        {176, 43, 279, 187},   // list
        {282, 41, 290, 49},    // scroll up
        {282, 180, 290, 188},  // scroll down
        {172, 191, 181, 202},
        {271, 191, 280, 202},
        {8, 224, 289, 243},  // typed name
    }};
    for (const Box& box : kSunken)
    {
        canvas.Bevel(box, kField, true);
    }
    constexpr std::array<Box, 3> kButtons = {{
        {12, 266, 61, 285},    // OK
        {120, 266, 170, 285},  // delete
        {236, 266, 280, 285},  // cancel
    }};
    for (const Box& box : kButtons)
    {
        canvas.Bevel(box, kButton, false);
    }
    return canvas.Picture();
}

RgbaPicture DemoAskRequesterPicture()
{
    constexpr int kWidth = 296;
    constexpr int kHeight = 184;
    MenuCanvas canvas(kWidth, kHeight, kPanel);
    DrawWindowFrame(canvas, kWidth, kHeight);
    canvas.Bevel({48, 149, 89, 169}, kButton, false);    // yes
    canvas.Bevel({202, 149, 246, 169}, kButton, false);  // no
    return canvas.Picture();
}

bool AddMenuPictures(CprWriter& menuArchive, std::string& error)
{
    const struct
    {
        std::string_view name;
        RgbaPicture picture;
    } pictures[] = {
        {kPointerPictureName, DemoPointerPicture()},
        {kClassPictureName, DemoClassPicture()},
        {kFileRequesterPictureName, DemoFileRequesterPicture()},
        {kAskRequesterPictureName, DemoAskRequesterPicture()},
    };
    for (const auto& entry : pictures)
    {
        if (!menuArchive.Add(entry.name, WriteBmp24(entry.picture), MemberStorage::Smaller, error))
        {
            return false;
        }
    }
    return true;
}
}  // namespace kit
