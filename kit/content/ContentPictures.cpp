#include "kit/content/ContentPictures.h"

#include <algorithm>

#include "kit/picture/BmpWriter.h"
#include "kit/picture/TgaWriter.h"

namespace kit
{
namespace
{
uint32_t Darker(uint32_t colour)
{
    const uint32_t r = (colour >> 16 & 0xFF) * 3 / 5;
    const uint32_t g = (colour >> 8 & 0xFF) * 3 / 5;
    const uint32_t b = (colour & 0xFF) * 3 / 5;
    return r << 16 | g << 8 | b;
}

uint32_t Blend(uint32_t a, uint32_t b, int weight, int total)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
    {
        const int ca = static_cast<int>(a >> shift & 0xFF);
        const int cb = static_cast<int>(b >> shift & 0xFF);
        out |= static_cast<uint32_t>((ca * (total - weight) + cb * weight) / total) << shift;
    }
    return out;
}

uint32_t PatternColour(int x, int y, int width, int height, uint32_t colour, uint32_t accent,
                       PicturePattern pattern)
{
    switch (pattern)
    {
        case PicturePattern::Plain:
        {
            const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            return edge && width > 4 && height > 4 ? Darker(colour) : colour;
        }
        case PicturePattern::Stripes:
        {
            const int band = (x + y) * 4 / std::max(width, 1);
            return band == 1 || band == 5 ? accent : colour;
        }
        case PicturePattern::Speckle:
        {
            const uint32_t hash =
                static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
            return hash % 7 == 0 ? Darker(colour) : hash % 11 == 0 ? accent : colour;
        }
        case PicturePattern::Gradient:
            return Blend(colour, accent, y, std::max(height - 1, 1));
    }
    return colour;
}

bool EndsWithBmp(std::string_view name)
{
    if (name.size() < 4)
    {
        return false;
    }
    std::string_view tail = name.substr(name.size() - 4);
    const char expected[] = ".bmp";
    for (size_t i = 0; i < 4; ++i)
    {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] + 32) : tail[i];
        if (c != expected[i])
        {
            return false;
        }
    }
    return true;
}
}  // namespace

RgbaPicture MakePicture(int width, int height, uint32_t colour, uint32_t accent,
                        PicturePattern pattern, uint8_t alpha)
{
    RgbaPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.reserve(static_cast<size_t>(width * height * 4));
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const uint32_t rgb = PatternColour(x, y, width, height, colour, accent, pattern);
            picture.rgba.insert(picture.rgba.end(),
                                {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                 static_cast<uint8_t>(rgb), alpha});
        }
    }
    return picture;
}

uint32_t ColourOfName(std::string_view name)
{
    uint32_t hash = 2166136261u;
    for (const char c : name)
    {
        hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    // Each channel in 64..255.
    const uint32_t r = 64 + (hash & 0xFF) * 3 / 4;
    const uint32_t g = 64 + (hash >> 8 & 0xFF) * 3 / 4;
    const uint32_t b = 64 + (hash >> 16 & 0xFF) * 3 / 4;
    return r << 16 | g << 8 | b;
}

std::vector<uint8_t> PictureFile(std::string_view name, const RgbaPicture& picture)
{
    return EndsWithBmp(name) ? WriteBmp24(picture) : WriteTga(picture, 32);
}
}  // namespace kit
