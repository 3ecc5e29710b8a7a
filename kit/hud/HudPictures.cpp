#include "kit/hud/HudPictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"
#include "view/hud/HudResources.h"

namespace kit
{
namespace
{
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDial = 0x181C24;
constexpr uint32_t kRim = 0x8C96AA;
constexpr uint32_t kHousing = 0x303846;

// The start lights' pieces as the display cuts them from the strip: top and height.
constexpr std::array<std::array<int, 3>, 10> kLightPieces = {{
    {0, 103, 160},
    {160, 100, 52},
    {212, 100, 74},
    {286, 96, 69},
    {355, 96, 83},
    {438, 96, 48},
    {486, 96, 74},
    {560, 96, 141},
    {701, 96, 152},
    {853, 96, 157},
}};
constexpr int kLightStripHeight = 1010;

void Disc(MenuCanvas& canvas, int cx, int cy, int radius, uint32_t colour)
{
    for (int y = cy - radius; y <= cy + radius; ++y)
    {
        for (int x = cx - radius; x <= cx + radius; ++x)
        {
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
            {
                canvas.SetPixel(x, y, colour);
            }
        }
    }
}

// A dial with ticks every `step` radians from `from` to `to` (the needle's angles).
void Dial(MenuCanvas& canvas, int cx, int cy, int radius, float from, float to)
{
    Disc(canvas, cx, cy, radius + 3, kRim);
    Disc(canvas, cx, cy, radius, kDial);
    for (float angle = from; angle <= to; angle += 0.35f)
    {
        for (int r = radius - 6; r < radius; ++r)
        {
            canvas.SetPixel(cx + static_cast<int>(std::sin(angle) * static_cast<float>(r)),
                            cy - static_cast<int>(std::cos(angle) * static_cast<float>(r)), kWhite);
        }
    }
}

bool AddBmp(CprWriter& archive, std::string_view name, const RgbaPicture& picture,
            std::string& error)
{
    return archive.Add(name, WriteBmp24(picture), MemberStorage::Smaller, error);
}
}  // namespace

RgbaPicture DemoLogoPicture()
{
    MenuCanvas canvas(96, 32, 0x1030A0);
    canvas.Bevel({0, 0, 96, 32}, 0x1030A0, false);
    canvas.Label({0, 0, 96, 32}, "QIM LIVE", 1, kWhite);
    return canvas.Picture();
}

RgbaPicture DemoInstrumentPicture(bool atLimit)
{
    constexpr int kWidth = 216;
    constexpr int kHeight = 142;
    MenuCanvas canvas(kWidth, kHeight, kBlack);
    canvas.Fill({8, 30, kWidth - 4, kHeight - 4}, kHousing);
    // The needles turn round (45, 92) and (144, 70): the panel's speed and engine dials.
    Dial(canvas, 45, 92, 36, -4.08f, 1.2f);
    Dial(canvas, 144, 70, 52, -3.19f, 0.6f);
    canvas.Fill({150, 64, 210, 86}, kDial);  // behind the speed digits
    Disc(canvas, 196, 112, 7, atLimit ? 0xF02018 : 0x402020);
    canvas.Label({120, 120, 190, 138}, atLimit ? "LIMIT" : "RPM", 1, atLimit ? 0xF02018 : kRim);
    return canvas.Picture();
}

RgbaPicture DemoStartLightsPicture()
{
    MenuCanvas canvas(103, kLightStripHeight, kBlack);
    for (size_t index = 0; index < kLightPieces.size(); ++index)
    {
        const auto [top, width, height] = kLightPieces[index];
        // Gantry parts first, then the lamps: red while counting down, green for the last.
        const bool lamp = index >= 3;
        const uint32_t colour = !lamp ? kHousing : index == 9 ? 0x20D040 : 0xE02818;
        canvas.Fill({2, top + 2, width - 2, top + height - 2}, kHousing);
        if (lamp)
        {
            Disc(canvas, width / 2, top + height / 2, std::min(width, height) / 2 - 6, colour);
        }
        else
        {
            canvas.Bevel({2, top + 2, width - 2, top + height - 2}, kHousing, false);
        }
        const std::string number(1, static_cast<char>('0' + index));
        canvas.Label({4, top + 4, 20, top + 20}, number, 1, kWhite);
    }
    return canvas.Picture();
}

RgbaPicture DemoCurveSignPicture(int sign)
{
    constexpr int kSize = 64;
    const bool right = sign % 2 == 1;
    const int severity = sign / 2;
    MenuCanvas canvas(kSize, kSize, kBlack);
    canvas.Bevel({2, 2, kSize - 2, kSize - 2}, 0xF0C020, false);
    // One chevron per step of severity, pointing into the bend.
    for (int chevron = 0; chevron <= severity; ++chevron)
    {
        const int offset = 10 + chevron * 10;
        for (int y = 14; y < 50; ++y)
        {
            const int reach = 18 - std::abs(y - 32);
            for (int thickness = 0; thickness < 5; ++thickness)
            {
                const int x = offset + reach / 2 + thickness;
                canvas.SetPixel(right ? x : kSize - 1 - x, y, 0x181818);
            }
        }
    }
    return canvas.Picture();
}

RgbaPicture DemoKeyLampsPicture()
{
    constexpr std::array<std::array<int, 2>, 4> kKeys = {{{0, 13}, {13, 14}, {27, 14}, {41, 13}}};
    constexpr std::array<std::string_view, 4> kLabels = {"G", "S", "L", "K"};
    MenuCanvas canvas(54, 24, kBlack);
    for (size_t key = 0; key < kKeys.size(); ++key)
    {
        const auto [x, width] = kKeys[key];
        for (int row = 0; row < 2; ++row)
        {
            const uint32_t face = row == 0 ? 0x404850 : 0x40E060;
            canvas.Bevel({x, row * 12, x + width, row * 12 + 12}, face, row == 1);
            canvas.Label({x, row * 12, x + width, row * 12 + 12}, kLabels[key], 1,
                         row == 0 ? 0x909898 : 0x103010);
        }
    }
    return canvas.Picture();
}

RgbaPicture DemoPortraitPicture(BikeClass bikeClass, int rider)
{
    constexpr int kWidth = 104;
    constexpr int kHeight = 83;
    const uint32_t background = 0x283C78 + static_cast<uint32_t>(rider * 0x050307) +
                                static_cast<uint32_t>(ToIndex(bikeClass)) * 0x300000;
    MenuCanvas canvas(kWidth, kHeight, background);
    canvas.Bevel({0, 0, kWidth, kHeight}, background, false);
    Disc(canvas, 36, 40, 24, 0xE8B890);  // the face
    Disc(canvas, 28, 34, 3, 0x202020);
    Disc(canvas, 44, 34, 3, 0x202020);
    canvas.Fill({28, 50, 45, 53}, 0x803030);
    const std::string number = std::to_string(rider + 1);
    canvas.Label({64, 24, 100, 60}, number, 2, kWhite);
    return canvas.Picture();
}

bool AddDemoHudPictures(DemoArchives& archives, std::string& error)
{
    CprWriter& textures = archives.textures;
    bool added =
        AddBmp(textures, "texturen/spezial/QimLive.bmp", DemoLogoPicture(), error) &&
        AddBmp(textures, "texturen/spezial/a1.bmp", DemoInstrumentPicture(false), error) &&
        AddBmp(textures, "texturen/spezial/a2.bmp", DemoInstrumentPicture(true), error) &&
        AddBmp(textures, "texturen/spezial/amblneu.bmp", DemoStartLightsPicture(), error) &&
        AddBmp(textures, "texturen/spezial/tasten.bmp", DemoKeyLampsPicture(), error);
    constexpr std::array<std::string_view, 8> kSigns = {
        "Kurve_li0", "Kurve_re0", "Kurve_li1", "Kurve_re1",
        "Kurve_li2", "Kurve_re2", "Kurve_li3", "Kurve_re3",
    };
    for (int sign = 0; added && sign < 8; ++sign)
    {
        added = AddBmp(textures, "texturen/spezial/" + std::string(kSigns[sign]) + ".bmp",
                       DemoCurveSignPicture(sign), error);
    }
    for (size_t bikeClass = 0; added && bikeClass < kBikeClassCount; ++bikeClass)
    {
        for (size_t rider = 0; added && rider < kPortraitCount; ++rider)
        {
            const auto classId = static_cast<BikeClass>(bikeClass);
            const std::vector<uint8_t> bmp =
                WriteBmp24(DemoPortraitPicture(classId, static_cast<int>(rider)));
            std::string name = PortraitName(classId, rider).data();
            std::replace(name.begin(), name.end(), '\\', '/');
            added = textures.Add(name, bmp, MemberStorage::Smaller, error) &&
                    archives.menu.Add(name, bmp, MemberStorage::Smaller, error);
        }
    }
    return added;
}

}  // namespace kit
