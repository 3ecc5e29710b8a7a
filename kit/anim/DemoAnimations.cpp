#include "kit/anim/DemoAnimations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{

constexpr int kStride = 2 * kDemoAnimationWidth;
constexpr double kPi = 3.14159265358979323846;

constexpr uint16_t Rgb565(int red, int green, int blue)
{
    return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

class Canvas
{
public:
    Canvas() : bytes_(static_cast<size_t>(kStride) * kDemoAnimationHeight) {}

    void Set(int x, int y, uint16_t pixel)
    {
        if (x >= 0 && y >= 0 && x < kDemoAnimationWidth && y < kDemoAnimationHeight)
        {
            StoreLe16(&bytes_[static_cast<size_t>(y) * kStride + 2 * static_cast<size_t>(x)],
                      pixel);
        }
    }
    void FillRect(int x, int y, int width, int height, uint16_t pixel)
    {
        for (int row = y; row < y + height; ++row)
        {
            for (int column = x; column < x + width; ++column)
            {
                Set(column, row, pixel);
            }
        }
    }
    void FillDisc(double cx, double cy, double radius, uint16_t pixel)
    {
        for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius); ++y)
        {
            for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius); ++x)
            {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                {
                    Set(x, y, pixel);
                }
            }
        }
    }
    void Line(double x0, double y0, double x1, double y1, uint16_t pixel)
    {
        const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
        for (int i = 0; i <= steps; ++i)
        {
            const double t = static_cast<double>(i) / steps;
            Set(static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
                static_cast<int>(std::lround(y0 + (y1 - y0) * t)), pixel);
        }
    }

    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

struct Palette
{
    std::array<int, 3> skyTop;
    std::array<int, 3> skyBottom;
    uint16_t road;
    uint16_t body;
};

constexpr int kRoadTop = 92;

void DrawStreet(Canvas& canvas, const Palette& palette, int frame, int direction)
{
    for (int y = 0; y < kRoadTop; ++y)
    {
        std::array<int, 3> colour{};
        for (size_t c = 0; c < colour.size(); ++c)
        {
            colour[c] =
                palette.skyTop[c] + (palette.skyBottom[c] - palette.skyTop[c]) * y / kRoadTop;
        }
        canvas.FillRect(0, y, kDemoAnimationWidth, 1, Rgb565(colour[0], colour[1], colour[2]));
    }
    canvas.FillRect(0, kRoadTop, kDemoAnimationWidth, kDemoAnimationHeight - kRoadTop,
                    palette.road);
    // Lane marks slide the other way, so that the ground seems to pass.
    const int shift = (frame * 6 * direction) % 32;
    for (int x = -32; x < kDemoAnimationWidth + 32; x += 32)
    {
        canvas.FillRect(x - shift, 114, 16, 3, Rgb565(240, 240, 220));
    }
}

void DrawWheel(Canvas& canvas, double cx, double cy, double turn)
{
    canvas.FillDisc(cx, cy, 11, Rgb565(24, 24, 24));
    canvas.FillDisc(cx, cy, 7, Rgb565(180, 180, 190));
    for (int spoke = 0; spoke < 3; ++spoke)
    {
        const double angle = turn + spoke * kPi / 3;
        canvas.Line(cx - 7 * std::cos(angle), cy - 7 * std::sin(angle), cx + 7 * std::cos(angle),
                    cy + 7 * std::sin(angle), Rgb565(60, 60, 70));
    }
}

// A bike with its rider, its rear wheel at x, riding in the direction (1 right, -1 left).
void DrawBike(Canvas& canvas, double x, int frame, int direction, uint16_t body)
{
    const double front = x + 40 * direction;
    const double wheelY = 100;
    const double turn = frame * 0.9 * direction;
    DrawWheel(canvas, x, wheelY, turn);
    DrawWheel(canvas, front, wheelY, turn);
    const int left = static_cast<int>(std::min(x, front)) + 6;
    canvas.FillRect(left, 82, 28, 12, body);
    canvas.FillRect(static_cast<int>(x + 14 * direction) - 5, 66, 10, 17, Rgb565(40, 40, 60));
    canvas.FillDisc(x + 18 * direction, 60, 7, body);
    canvas.FillRect(static_cast<int>(x + 18 * direction + 2 * direction) - 3, 57, 6, 3,
                    Rgb565(20, 20, 30));
}

std::vector<uint8_t> RidingFrame(int frame, int direction, const Palette& palette)
{
    Canvas canvas;
    DrawStreet(canvas, palette, frame, direction);
    // The rear wheel runs from 16 pixels in to 56 before the far side, the front one ahead.
    const double travel = 16.0 + (kDemoAnimationWidth - 72.0) * frame / (kDemoAnimationFrames - 1);
    const double x = direction > 0 ? travel : kDemoAnimationWidth - travel;
    DrawBike(canvas, x, frame, direction, palette.body);
    return canvas.Take();
}

std::vector<uint8_t> FlagFrame(int frame)
{
    Canvas canvas;
    canvas.FillRect(0, 0, kDemoAnimationWidth, kDemoAnimationHeight, Rgb565(70, 130, 200));
    canvas.FillRect(22, 16, 5, 110, Rgb565(90, 70, 50));
    constexpr int kSquare = 14;
    for (int column = 0; column < 9; ++column)
    {
        for (int x = 0; x < kSquare; ++x)
        {
            const int across = column * kSquare + x;
            // The wave grows from the pole outwards.
            const double wave = std::sin(across * 0.07 - frame * 0.5) * across * 0.08;
            for (int row = 0; row < 5; ++row)
            {
                const bool dark = (column + row) % 2 == 0;
                canvas.FillRect(27 + across, static_cast<int>(18 + row * kSquare + wave), 1,
                                kSquare, dark ? Rgb565(16, 16, 16) : Rgb565(245, 245, 245));
            }
        }
    }
    return canvas.Take();
}

constexpr std::string_view kNames[] = {"mainmenu/test3.ani", "mainmenu/test4.ani",
                                       "mainmenu/test5.ani"};

}  // namespace

std::string_view DemoAnimationName(int index)
{
    return kNames[index];
}

AnimationFrames DemoAnimationFrames(int index)
{
    static constexpr Palette kDay{
        {90, 150, 230}, {200, 225, 250}, Rgb565(80, 80, 88), Rgb565(220, 30, 30)};
    static constexpr Palette kDusk{
        {40, 30, 90}, {250, 140, 60}, Rgb565(60, 56, 64), Rgb565(40, 110, 230)};
    AnimationFrames frames{kDemoAnimationWidth, kDemoAnimationHeight, kStride, {}};
    for (int frame = 0; frame < kDemoAnimationFrames; ++frame)
    {
        switch (index)
        {
            case 0:
                frames.pictures.push_back(RidingFrame(frame, 1, kDay));
                break;
            case 1:
                frames.pictures.push_back(RidingFrame(frame, -1, kDusk));
                break;
            default:
                frames.pictures.push_back(FlagFrame(frame));
                break;
        }
    }
    return frames;
}

bool AddDemoAnimations(CprWriter& menuArchive, std::string& error)
{
    for (int index = 0; index < static_cast<int>(std::size(kNames)); ++index)
    {
        std::vector<uint8_t> file;
        if (!WriteAnimation(DemoAnimationFrames(index), file, error) ||
            !menuArchive.Add(kNames[index], file, MemberStorage::Stored, error))
        {
            return false;
        }
    }
    return true;
}

}  // namespace kit
