#include "frontend/mainmenu/ControlAssignment.h"

#include "app/input/ControlMap.h"

namespace
{
constexpr uint8_t kFirstAxisCode = 4;
constexpr uint8_t kLastAxisCode = 11;
constexpr size_t kNameCount = 64;

// The codes rows can take, in the order of their names (a code's name is at its place + 1).
constexpr std::array<uint8_t, kNameCount - 1> kAssignableCodes = {'A',
                                                                  'B',
                                                                  'C',
                                                                  'D',
                                                                  'E',
                                                                  'F',
                                                                  'G',
                                                                  'H',
                                                                  'I',
                                                                  'J',
                                                                  'K',
                                                                  'L',
                                                                  'M',
                                                                  'N',
                                                                  'O',
                                                                  'P',
                                                                  'Q',
                                                                  'R',
                                                                  'S',
                                                                  'T',
                                                                  'U',
                                                                  'V',
                                                                  'W',
                                                                  'X',
                                                                  'Y',
                                                                  'Z',
                                                                  0x60,
                                                                  0x61,
                                                                  0x62,
                                                                  0x63,
                                                                  0x64,
                                                                  0x65,
                                                                  0x66,
                                                                  0x67,
                                                                  0x68,
                                                                  0x69,
                                                                  vk::Left,
                                                                  vk::Up,
                                                                  vk::Right,
                                                                  vk::Down,
                                                                  vk::Shift,
                                                                  vk::LeftShift,
                                                                  vk::RightShift,
                                                                  vk::Control,
                                                                  vk::LeftControl,
                                                                  vk::RightControl,
                                                                  vk::Menu,
                                                                  vk::LeftMenu,
                                                                  vk::RightMenu,
                                                                  vk::Space,
                                                                  vk::Return,
                                                                  0,
                                                                  1,
                                                                  2,
                                                                  3,
                                                                  4,
                                                                  5,
                                                                  6,
                                                                  7,
                                                                  8,
                                                                  9,
                                                                  10,
                                                                  11};

using NameTable = std::array<const char*, kNameCount>;
constexpr NameTable Names(bool english)
{
    NameTable names{"A",    "A",    "B",    "C",    "D",    "E",    "F",   "G",    "H",    "I",
                    "J",    "K",    "L",    "M",    "N",    "O",    "P",   "Q",    "R",    "S",
                    "T",    "U",    "V",    "W",    "X",    "Y",    "Z",   "Num0", "Num1", "Num2",
                    "Num3", "Num4", "Num5", "Num6", "Num7", "Num8", "Num9"};
    const std::array<const char*, 27> german = {
        "links",    "hoch",     "rechts",   "runter",   "Umsch.",   "L-Umsch.", "R-Umsch.",
        "Strg",     "L-Strg",   "R-Strg",   "Alt",      "L-Alt",    "R-Alt",    "Space",
        "Return",   "Button 1", "Button 2", "Button 3", "Button 4", "Joy 1 X",  "Joy 1 X-",
        "Joy 1 Y-", "Joy 1 Y",  "Joy 2 X",  "Joy 2 X-", "Joy 2 Y-", "Joy 2 Y"};
    const std::array<const char*, 27> englishNames = {
        "left",     "up",       "right",    "down",     "Shift",    "L-Shift",  "R-Shift",
        "Ctrl",     "L-Ctrl",   "R-Ctrl",   "Alt",      "L-Alt",    "R-Alt",    "Space",
        "Return",   "Button 1", "Button 2", "Button 3", "Button 4", "Joy 1 X+", "Joy 1 X-",
        "Joy 1 Y+", "Joy 1 Y-", "Joy 2 X+", "Joy 2 X-", "Joy 2 Y+", "Joy 2 Y-"};
    for (size_t name = 0; name < german.size(); ++name)
    {
        names[37 + name] = english ? englishNames[name] : german[name];
    }
    return names;
}
constexpr NameTable kGermanNames = Names(false);
constexpr NameTable kEnglishNames = Names(true);

constexpr std::array<uint8_t, 256> PermissionTable()
{
    std::array<uint8_t, 256> table{};
    for (size_t place = 0; place < kAssignableCodes.size(); ++place)
    {
        table[kAssignableCodes[place]] = static_cast<uint8_t>(place + 1);
    }
    return table;
}
constexpr std::array<uint8_t, 256> kPermissions = PermissionTable();

bool IsAxisCode(uint8_t code)
{
    return code >= kFirstAxisCode && code <= kLastAxisCode;
}

uint8_t Opposite(uint8_t code)
{
    return code ^ 1;
}

// The first row from the last one down, other than the waiting one, that holds the code.
std::optional<size_t> RowHolding(ControlCodes codes, size_t waiting, uint8_t code)
{
    for (size_t row = kControlRows; row-- > 0;)
    {
        if (row != waiting && codes[row] == code)
        {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<size_t> LowestRowHolding(ControlCodes codes, size_t waiting, uint8_t code)
{
    for (size_t row = 0; row < kControlRows; ++row)
    {
        if (row != waiting && codes[row] == code)
        {
            return row;
        }
    }
    return std::nullopt;
}

void GiveIfHeld(ControlCodes codes, std::optional<size_t> row, uint8_t code)
{
    if (row)
    {
        codes[*row] = code;
    }
}
}  // namespace

uint8_t ControlCodePermission(uint8_t code)
{
    return kPermissions[code];
}

const char* ControlCodeName(uint8_t code, Language language)
{
    const NameTable& names = language == Language::English ? kEnglishNames : kGermanNames;
    return names[kPermissions[code]];
}

bool AssignKey(ControlCodes codes, size_t waiting, uint8_t key)
{
    // Mouse buttons, Backspace and Tab share their numbers with joystick codes: only a real
    // key may land in a row through the keyboard.
    if (waiting >= kControlRows || waiting == kClutchRow || ControlCodePermission(key) == 0 ||
        !IsKeyboardControl(key))
    {
        return false;
    }
    const std::optional<size_t> holder = RowHolding(codes, waiting, key);
    if (holder == kClutchRow)
    {
        return false;
    }
    GiveIfHeld(codes, holder, codes[waiting]);
    codes[waiting] = key;
    return true;
}

bool AssignJoystickCode(ControlCodes codes, size_t waiting, uint8_t code)
{
    if (waiting >= kControlRows)
    {
        return true;
    }
    const uint8_t old = codes[waiting];
    if (code == old)
    {
        return true;
    }
    if (waiting == kClutchRow)
    {
        if (!IsAxisCode(code))
        {
            return false;
        }
        const std::optional<size_t> holder = LowestRowHolding(codes, waiting, code);
        const std::optional<size_t> oppositeHolder =
            LowestRowHolding(codes, waiting, Opposite(code));
        GiveIfHeld(codes, holder, old);
        GiveIfHeld(codes, oppositeHolder, Opposite(old));
        codes[kClutchRow] = code;
        return true;
    }
    const uint8_t clutch = codes[kClutchRow];
    if (code == clutch || Opposite(code) == clutch)
    {
        if (IsAxisCode(old))
        {
            const std::optional<size_t> oppositeHolder = RowHolding(codes, waiting, Opposite(old));
            codes[kClutchRow] = old;
            GiveIfHeld(codes, oppositeHolder, Opposite(code));
            codes[waiting] = code;
        }
        return true;
    }
    GiveIfHeld(codes, RowHolding(codes, waiting, code), old);
    codes[waiting] = code;
    return true;
}

std::optional<uint8_t> JoystickCodeReader::Read(const JoystickBlock& joystick)
{
    for (uint8_t button = 0; button < 4; ++button)
    {
        if ((joystick.buttons & (1u << button)) != 0)
        {
            return button;
        }
    }
    std::optional<uint8_t> found;
    int deflections = 0;
    for (size_t axis = 0; axis < kJoystickAxisCount; ++axis)
    {
        const AxisCalibration& range = joystick.calibration[axis];
        const int32_t position = joystick.axes[axis];
        const bool plus = position > range.centre + (range.maximum - range.centre) / 2;
        const bool minus = position < range.centre - (range.centre - range.minimum) / 2;
        if (!plus && !minus)
        {
            armed_[axis] = true;
            continue;
        }
        if (armed_[axis])
        {
            armed_[axis] = false;
            ++deflections;
            found = static_cast<uint8_t>(kFirstAxisCode + 2 * axis + (plus ? 0 : 1));
        }
    }
    return deflections == 1 ? found : std::nullopt;
}
