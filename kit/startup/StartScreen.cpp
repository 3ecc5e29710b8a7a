#include "kit/startup/StartScreen.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "kit/startup/JpegWriter.h"

namespace kit
{
namespace
{
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kHorizon = 200;
constexpr int kJpegQuality = 90;

struct Rgb
{
    int red;
    int green;
    int blue;
};

Rgb Blend(Rgb from, Rgb to, int step, int steps)
{
    return {from.red + (to.red - from.red) * step / steps,
            from.green + (to.green - from.green) * step / steps,
            from.blue + (to.blue - from.blue) * step / steps};
}

// The road narrows from the bottom edge to a point on the horizon; a dashed line runs
// down its middle.
Rgb GroundColour(int x, int y)
{
    const int depth = y - kHorizon;  // 1 .. below the horizon
    const int halfWidth = depth * 3 / 4;
    const int offset = std::abs(x - kWidth / 2);
    if (offset > halfWidth)
    {
        return Blend({40, 90, 30}, {70, 140, 50}, depth, kHeight - kHorizon);
    }
    const bool dash = offset < std::max(1, depth / 40) && (depth / 12) % 2 == 0;
    return dash ? Rgb{235, 235, 220} : Rgb{90, 90, 95};
}

Rgb SkyColour(int y)
{
    return Blend({40, 60, 140}, {250, 160, 80}, y, kHorizon);
}
}  // namespace

RgbaPicture DemoStartScreen()
{
    RgbaPicture picture{kWidth, kHeight, {}};
    picture.rgba.reserve(static_cast<size_t>(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
    {
        for (int x = 0; x < kWidth; ++x)
        {
            const Rgb colour = y < kHorizon ? SkyColour(y) : GroundColour(x, y);
            picture.rgba.insert(picture.rgba.end(), {static_cast<uint8_t>(colour.red),
                                                     static_cast<uint8_t>(colour.green),
                                                     static_cast<uint8_t>(colour.blue), 255});
        }
    }
    return picture;
}

bool AddStartScreen(CprWriter& menuArchive, std::string& error)
{
    const std::optional<std::vector<uint8_t>> jpeg = WriteJpeg(DemoStartScreen(), kJpegQuality);
    if (!jpeg)
    {
        error = "cannot encode the start screen";
        return false;
    }
    return menuArchive.Add(kStartScreenName, *jpeg, MemberStorage::Stored, error);
}
}  // namespace kit
