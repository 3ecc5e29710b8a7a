#include "frontend/netlobby/LobbyPageLayout.h"

namespace
{
constexpr int32_t kValueX = 282;
constexpr int32_t kLabelX = 150;
constexpr int32_t kRowHeight = 20;

// The top of each command's row; -1 for numbers that are no command.
constexpr std::array<int32_t, kServerCommandCount> kRowTop = {
    91,  114, -1,  -1,  196, 219, -1,  -1,  288, -1,  -1, 371, 401,
    440, 440, 160, 160, 325, 325, 348, 348, 138, 138, 91, 114};

ScreenRect Row(int32_t top, int32_t left, int32_t right)
{
    return {left, top - 2, right, top - 2 + kRowHeight};
}
}  // namespace

ScreenRect ServerCommandArea(int32_t command)
{
    if (command < 0 || command >= static_cast<int32_t>(kServerCommandCount) || kRowTop[command] < 0)
    {
        return {};
    }
    const int32_t top = kRowTop[command];
    switch (command)
    {
        case 0:
        case 1:
            return Row(top, kLabelX, kValueX - 4);  // the row's label
        case 12:
            return {kValueX, top - 2, kValueX + 9 * 32, top + 2 * 23};
        case 13:
            return {20, top, 100, top + 26};
        case 14:
            return {540, top, 620, top + 26};
        case 15:
        case 17:
        case 19:
        case 21:
            return Row(top, kValueX, kValueX + 24);  // minus, left of the value
        case 16:
        case 18:
        case 20:
        case 22:
            return Row(top, kValueX + 80, kValueX + 104);  // plus, right of it
        default:
            return Row(top, kValueX, kValueX + 180);
    }
}

ScreenRect ServerRowArea(int32_t command)
{
    if (command < 0 || command >= static_cast<int32_t>(kServerCommandCount) || kRowTop[command] < 0)
    {
        return {};
    }
    if (command == 4)
    {
        // A new class can lower the rider count above it.
        return {kLabelX, kRowTop[21] - 2, 640, kRowTop[4] + kRowHeight};
    }
    return Row(kRowTop[command], kLabelX, 640);
}

ScreenRect CalendarCellArea(uint32_t circuit)
{
    constexpr uint32_t kPerRow = 5;
    const int32_t column = static_cast<int32_t>(circuit % kPerRow);
    const int32_t row = static_cast<int32_t>(circuit / kPerRow);
    const int32_t left = 40 + column * 114;
    const int32_t top = 164 + row * 90;
    return {left, top, left + 104, top + 60};
}

ScreenRect RiderCellArea(uint32_t rider, uint32_t riderCount)
{
    // Rows of 6, 7, 7 and the rest (5, or 6 in a class of 26).
    constexpr std::array<uint32_t, 4> kRowStart = {0, 6, 13, 20};
    constexpr std::array<int32_t, 4> kRowY = {164, 254, 344, 434};
    constexpr std::array<int32_t, 4> kRowX = {178, 88, 88, 178};
    if (rider >= riderCount)
    {
        return {};
    }
    uint32_t row = 3;
    while (rider < kRowStart[row])
    {
        --row;
    }
    // The cells end at their x: the names are right-aligned there.
    const int32_t right = kRowX[row] + static_cast<int32_t>(rider - kRowStart[row]) * 90;
    return {right - 85, kRowY[row], right, kRowY[row] + 26};
}

ScreenRect ServerRowAt(uint32_t row)
{
    const int32_t top = kServerRowTop + static_cast<int32_t>(row) * kServerRowHeight;
    return {kServerFrameArea.left, top, kServerFrameArea.right, top + kServerRowHeight};
}

ScreenRect PlayerRowAt(uint32_t slot)
{
    const int32_t column = static_cast<int32_t>(slot / 13);
    const int32_t row = static_cast<int32_t>(slot % 13);
    const int32_t left = kWaitingFrameArea.left + column * 165;
    const int32_t top = kWaitingFrameArea.top + row * 18;
    return {left, top, left + 160, top + 18};
}

bool Contains(const ScreenRect& area, int32_t x, int32_t y)
{
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}
