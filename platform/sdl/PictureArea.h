#pragma once

// Where the game's fixed-size picture lies in a window of another size: scaled as large as
// it fits with its aspect kept, centred, the rest left black. Drawing and the mouse both go
// through this, so a click lands on the pixel it points at.

#include <algorithm>
#include <cstdint>

#include "platform/Platform.h"

struct PictureArea
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

constexpr PictureArea FitPicture(int outerWidth, int outerHeight, int pictureWidth,
                                 int pictureHeight)
{
    if (outerWidth <= 0 || outerHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
    {
        return {};
    }
    PictureArea area;
    if (int64_t{outerWidth} * pictureHeight <= int64_t{outerHeight} * pictureWidth)
    {
        area.width = outerWidth;
        area.height = static_cast<int>(int64_t{outerWidth} * pictureHeight / pictureWidth);
    }
    else
    {
        area.height = outerHeight;
        area.width = static_cast<int>(int64_t{outerHeight} * pictureWidth / pictureHeight);
    }
    area.x = (outerWidth - area.width) / 2;
    area.y = (outerHeight - area.height) / 2;
    return area;
}

// A point of the window as a picture pixel; points on the black borders clamp to the edge.
constexpr PicturePoint WindowToPicture(int windowX, int windowY, const PictureArea& area,
                                       int pictureWidth, int pictureHeight)
{
    if (area.width <= 0 || area.height <= 0)
    {
        return {};
    }
    const auto scale = [](int offset, int areaSize, int pictureSize)
    {
        // Border points clamp to the area's edge first, so they land on the edge pixels.
        const int64_t inside = std::clamp<int64_t>(offset, 0, areaSize - 1);
        return static_cast<int>(inside * pictureSize / areaSize);
    };
    return {scale(windowX - area.x, area.width, pictureWidth),
            scale(windowY - area.y, area.height, pictureHeight)};
}
