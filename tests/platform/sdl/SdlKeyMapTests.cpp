#include "platform/sdl/SdlKeyMap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{
struct KeyCase
{
    const char* key;
    SDL_Keycode keycode;
    SDL_Scancode scancode;
    int virtualKey;
};

// Windows' own numbers, written out rather than taken from the code under test.
const KeyCase kKeyCases[] = {
    // Letters and digits follow the layout.
    {"A", SDLK_a, SDL_SCANCODE_A, 0x41},
    {"Z", SDLK_z, SDL_SCANCODE_Z, 0x5A},
    {"German Z, where US has Y", SDLK_z, SDL_SCANCODE_Y, 0x5A},
    {"German Y, where US has Z", SDLK_y, SDL_SCANCODE_Z, 0x59},
    {"French Q, where US has A", SDLK_q, SDL_SCANCODE_A, 0x51},
    {"French M, on a punctuation key", SDLK_m, SDL_SCANCODE_SEMICOLON, 0x4D},
    {"Cyrillic ef: no Latin letter, so by position", 0x0444, SDL_SCANCODE_A, 0x41},
    {"0", SDLK_0, SDL_SCANCODE_0, 0x30},
    {"5", SDLK_5, SDL_SCANCODE_5, 0x35},
    {"9", SDLK_9, SDL_SCANCODE_9, 0x39},
    // Function keys.
    {"F1", SDLK_F1, SDL_SCANCODE_F1, 0x70},
    {"F4", SDLK_F4, SDL_SCANCODE_F4, 0x73},
    {"F12", SDLK_F12, SDL_SCANCODE_F12, 0x7B},
    // Arrows and editing keys.
    {"Left", SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
    {"Up", SDLK_UP, SDL_SCANCODE_UP, 0x26},
    {"Right", SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
    {"Down", SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
    {"Page Up", SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21},
    {"Page Down", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
    {"End", SDLK_END, SDL_SCANCODE_END, 0x23},
    {"Home", SDLK_HOME, SDL_SCANCODE_HOME, 0x24},
    {"Insert", SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
    {"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, 0x2E},
    // Named keys.
    {"Esc", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
    {"Return", SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
    {"Space", SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
    {"Backspace", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
    {"Tab", SDLK_TAB, SDL_SCANCODE_TAB, 0x09},
    {"Pause", SDLK_PAUSE, SDL_SCANCODE_PAUSE, 0x13},
    {"Caps Lock", SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0x14},
    {"Print Screen", SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {"Num Lock", SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {"Scroll Lock", SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, 0x91},
    // Keypad, whatever character the layout puts on it.
    {"keypad 0", SDLK_KP_0, SDL_SCANCODE_KP_0, 0x60},
    {"keypad 1 giving a digit", SDLK_1, SDL_SCANCODE_KP_1, 0x61},
    {"keypad 5", SDLK_KP_5, SDL_SCANCODE_KP_5, 0x65},
    {"keypad 9", SDLK_KP_9, SDL_SCANCODE_KP_9, 0x69},
    {"keypad *", SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {"keypad +", SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0x6B},
    {"keypad -", SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 0x6D},
    {"keypad .", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 0x6E},
    {"keypad /", SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {"keypad Enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
    // Modifiers, by side.
    {"left Shift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 160},
    {"right Shift", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 161},
    {"left Ctrl", SDLK_LCTRL, SDL_SCANCODE_LCTRL, 162},
    {"right Ctrl", SDLK_RCTRL, SDL_SCANCODE_RCTRL, 163},
    {"left Alt", SDLK_LALT, SDL_SCANCODE_LALT, 164},
    {"right Alt", SDLK_RALT, SDL_SCANCODE_RALT, 165},
    // Punctuation keys by position, whatever the layout prints on them.
    {"; (German o umlaut)", 0xF6, SDL_SCANCODE_SEMICOLON, 0xBA},
    {"=", SDLK_EQUALS, SDL_SCANCODE_EQUALS, 0xBB},
    {",", SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC},
    {"- (German sharp s)", 0xDF, SDL_SCANCODE_MINUS, 0xBD},
    {".", SDLK_PERIOD, SDL_SCANCODE_PERIOD, 0xBE},
    {"/ (German -)", SDLK_MINUS, SDL_SCANCODE_SLASH, 0xBF},
    {"`", SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0xC0},
    {"[ (German u umlaut)", 0xFC, SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {"\\", SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, 0xDC},
    {"ISO key beside Return", SDLK_HASH, SDL_SCANCODE_NONUSHASH, 0xDC},
    {"]", SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {"' (German a umlaut)", 0xE4, SDL_SCANCODE_APOSTROPHE, 0xDE},
    {"ISO key beside left Shift", SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    // No Windows code.
    {"F13", SDLK_F13, SDL_SCANCODE_F13, 0},
    {"left Windows key", SDLK_LGUI, SDL_SCANCODE_LGUI, 0},
    {"unknown", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
};

TEST(SdlKeyMapTest, GivesWindowsVirtualKeyCodes)
{
    for (const KeyCase& c : kKeyCases)
    {
        EXPECT_EQ(VirtualKeyFromSdl(c.keycode, c.scancode), c.virtualKey) << c.key;
    }
}

bool Contains(const std::vector<SDL_Scancode>& scancodes, SDL_Scancode scancode)
{
    return std::find(scancodes.begin(), scancodes.end(), scancode) != scancodes.end();
}

// The scancodes of letters come from SDL's keymap, which the dummy display fills with a US
// layout.
class ScancodesOfVirtualKeyTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }
};

TEST_F(ScancodesOfVirtualKeyTest, FindsEveryKeyThatGivesTheCode)
{
    using Scancodes = std::vector<SDL_Scancode>;
    EXPECT_EQ(ScancodesOfVirtualKey(0x41), Scancodes{SDL_SCANCODE_A});
    EXPECT_EQ(ScancodesOfVirtualKey(0x1B), Scancodes{SDL_SCANCODE_ESCAPE});
    EXPECT_EQ(ScancodesOfVirtualKey(0xBA), Scancodes{SDL_SCANCODE_SEMICOLON});
    EXPECT_EQ(ScancodesOfVirtualKey(160), Scancodes{SDL_SCANCODE_LSHIFT});

    const Scancodes enter = ScancodesOfVirtualKey(0x0D);
    EXPECT_TRUE(Contains(enter, SDL_SCANCODE_RETURN) && Contains(enter, SDL_SCANCODE_KP_ENTER));

    // The generic modifier codes take either side.
    const Scancodes shift = ScancodesOfVirtualKey(0x10);
    EXPECT_TRUE(Contains(shift, SDL_SCANCODE_LSHIFT) && Contains(shift, SDL_SCANCODE_RSHIFT));
    const Scancodes ctrl = ScancodesOfVirtualKey(0x11);
    EXPECT_TRUE(Contains(ctrl, SDL_SCANCODE_LCTRL) && Contains(ctrl, SDL_SCANCODE_RCTRL));
    const Scancodes alt = ScancodesOfVirtualKey(0x12);
    EXPECT_TRUE(Contains(alt, SDL_SCANCODE_LALT) && Contains(alt, SDL_SCANCODE_RALT));

    EXPECT_TRUE(ScancodesOfVirtualKey(0x07).empty());
    EXPECT_TRUE(ScancodesOfVirtualKey(0xFF).empty());
}

// Every key that reports a code in its events is watched again for that code, so IsKeyDown
// and the events agree.
TEST_F(ScancodesOfVirtualKeyTest, AgreesWithTheEventMappingOnAUsBoard)
{
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
    {
        const auto key = static_cast<SDL_Scancode>(scancode);
        const uint8_t virtualKey = VirtualKeyFromSdl(SDL_GetKeyFromScancode(key), key);
        if (virtualKey != 0)
        {
            EXPECT_TRUE(Contains(ScancodesOfVirtualKey(virtualKey), key))
                << SDL_GetScancodeName(key) << " -> " << int{virtualKey};
        }
    }
}
}  // namespace
