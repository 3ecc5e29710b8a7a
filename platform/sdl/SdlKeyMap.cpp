#include "platform/sdl/SdlKeyMap.h"

#include <SDL_keyboard.h>

#include "platform/VirtualKeys.h"

namespace
{
struct PositionalKey
{
    SDL_Scancode scancode;
    uint8_t virtualKey;
};

// Letters and digits: found by the character the layout gives; usPosition is where the key
// sits on a US board, which counts only when the layout gives no Latin character there.
struct CharacterKey
{
    SDL_Keycode keycode;
    SDL_Scancode usPosition;
    uint8_t virtualKey;
};

struct GenericModifier
{
    uint8_t generic;
    uint8_t left;
    uint8_t right;
};

constexpr PositionalKey kFixedKeys[] = {
    {SDL_SCANCODE_F1, vk::Function(1)},
    {SDL_SCANCODE_F2, vk::Function(2)},
    {SDL_SCANCODE_F3, vk::Function(3)},
    {SDL_SCANCODE_F4, vk::Function(4)},
    {SDL_SCANCODE_F5, vk::Function(5)},
    {SDL_SCANCODE_F6, vk::Function(6)},
    {SDL_SCANCODE_F7, vk::Function(7)},
    {SDL_SCANCODE_F8, vk::Function(8)},
    {SDL_SCANCODE_F9, vk::Function(9)},
    {SDL_SCANCODE_F10, vk::Function(10)},
    {SDL_SCANCODE_F11, vk::Function(11)},
    {SDL_SCANCODE_F12, vk::Function(12)},

    {SDL_SCANCODE_LEFT, vk::Left},
    {SDL_SCANCODE_UP, vk::Up},
    {SDL_SCANCODE_RIGHT, vk::Right},
    {SDL_SCANCODE_DOWN, vk::Down},

    {SDL_SCANCODE_INSERT, vk::Insert},
    {SDL_SCANCODE_DELETE, vk::Delete},
    {SDL_SCANCODE_HOME, vk::Home},
    {SDL_SCANCODE_END, vk::End},
    {SDL_SCANCODE_PAGEUP, vk::Prior},
    {SDL_SCANCODE_PAGEDOWN, vk::Next},

    {SDL_SCANCODE_ESCAPE, vk::Escape},
    {SDL_SCANCODE_RETURN, vk::Return},
    {SDL_SCANCODE_SPACE, vk::Space},
    {SDL_SCANCODE_BACKSPACE, vk::Back},
    {SDL_SCANCODE_TAB, vk::Tab},
    {SDL_SCANCODE_PAUSE, vk::Pause},
    {SDL_SCANCODE_CAPSLOCK, vk::Capital},
    {SDL_SCANCODE_PRINTSCREEN, vk::Snapshot},
    {SDL_SCANCODE_NUMLOCKCLEAR, vk::NumLock},
    {SDL_SCANCODE_SCROLLLOCK, vk::Scroll},

    {SDL_SCANCODE_KP_0, vk::Numpad0},
    {SDL_SCANCODE_KP_1, vk::Numpad0 + 1},
    {SDL_SCANCODE_KP_2, vk::Numpad0 + 2},
    {SDL_SCANCODE_KP_3, vk::Numpad0 + 3},
    {SDL_SCANCODE_KP_4, vk::Numpad0 + 4},
    {SDL_SCANCODE_KP_5, vk::Numpad0 + 5},
    {SDL_SCANCODE_KP_6, vk::Numpad0 + 6},
    {SDL_SCANCODE_KP_7, vk::Numpad0 + 7},
    {SDL_SCANCODE_KP_8, vk::Numpad0 + 8},
    {SDL_SCANCODE_KP_9, vk::Numpad0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, vk::Multiply},
    {SDL_SCANCODE_KP_PLUS, vk::Add},
    {SDL_SCANCODE_KP_MINUS, vk::Subtract},
    {SDL_SCANCODE_KP_PERIOD, vk::Decimal},
    {SDL_SCANCODE_KP_DIVIDE, vk::Divide},
    {SDL_SCANCODE_KP_ENTER, vk::Return},  // Windows gives both Enter keys one code

    {SDL_SCANCODE_LSHIFT, vk::LeftShift},
    {SDL_SCANCODE_RSHIFT, vk::RightShift},
    {SDL_SCANCODE_LCTRL, vk::LeftControl},
    {SDL_SCANCODE_RCTRL, vk::RightControl},
    {SDL_SCANCODE_LALT, vk::LeftMenu},
    {SDL_SCANCODE_RALT, vk::RightMenu},
};

constexpr CharacterKey kCharacterKeys[] = {
    {SDLK_a, SDL_SCANCODE_A, vk::Letter('A')}, {SDLK_b, SDL_SCANCODE_B, vk::Letter('B')},
    {SDLK_c, SDL_SCANCODE_C, vk::Letter('C')}, {SDLK_d, SDL_SCANCODE_D, vk::Letter('D')},
    {SDLK_e, SDL_SCANCODE_E, vk::Letter('E')}, {SDLK_f, SDL_SCANCODE_F, vk::Letter('F')},
    {SDLK_g, SDL_SCANCODE_G, vk::Letter('G')}, {SDLK_h, SDL_SCANCODE_H, vk::Letter('H')},
    {SDLK_i, SDL_SCANCODE_I, vk::Letter('I')}, {SDLK_j, SDL_SCANCODE_J, vk::Letter('J')},
    {SDLK_k, SDL_SCANCODE_K, vk::Letter('K')}, {SDLK_l, SDL_SCANCODE_L, vk::Letter('L')},
    {SDLK_m, SDL_SCANCODE_M, vk::Letter('M')}, {SDLK_n, SDL_SCANCODE_N, vk::Letter('N')},
    {SDLK_o, SDL_SCANCODE_O, vk::Letter('O')}, {SDLK_p, SDL_SCANCODE_P, vk::Letter('P')},
    {SDLK_q, SDL_SCANCODE_Q, vk::Letter('Q')}, {SDLK_r, SDL_SCANCODE_R, vk::Letter('R')},
    {SDLK_s, SDL_SCANCODE_S, vk::Letter('S')}, {SDLK_t, SDL_SCANCODE_T, vk::Letter('T')},
    {SDLK_u, SDL_SCANCODE_U, vk::Letter('U')}, {SDLK_v, SDL_SCANCODE_V, vk::Letter('V')},
    {SDLK_w, SDL_SCANCODE_W, vk::Letter('W')}, {SDLK_x, SDL_SCANCODE_X, vk::Letter('X')},
    {SDLK_y, SDL_SCANCODE_Y, vk::Letter('Y')}, {SDLK_z, SDL_SCANCODE_Z, vk::Letter('Z')},

    {SDLK_0, SDL_SCANCODE_0, vk::Digit(0)},    {SDLK_1, SDL_SCANCODE_1, vk::Digit(1)},
    {SDLK_2, SDL_SCANCODE_2, vk::Digit(2)},    {SDLK_3, SDL_SCANCODE_3, vk::Digit(3)},
    {SDLK_4, SDL_SCANCODE_4, vk::Digit(4)},    {SDLK_5, SDL_SCANCODE_5, vk::Digit(5)},
    {SDLK_6, SDL_SCANCODE_6, vk::Digit(6)},    {SDLK_7, SDL_SCANCODE_7, vk::Digit(7)},
    {SDLK_8, SDL_SCANCODE_8, vk::Digit(8)},    {SDLK_9, SDL_SCANCODE_9, vk::Digit(9)},
};

// By position on a US board. The ISO key beside Return shares the backslash key's code, as
// it does on Windows.
constexpr PositionalKey kOemKeys[] = {
    {SDL_SCANCODE_SEMICOLON, vk::Oem1},
    {SDL_SCANCODE_EQUALS, vk::OemPlus},
    {SDL_SCANCODE_COMMA, vk::OemComma},
    {SDL_SCANCODE_MINUS, vk::OemMinus},
    {SDL_SCANCODE_PERIOD, vk::OemPeriod},
    {SDL_SCANCODE_SLASH, vk::Oem2},
    {SDL_SCANCODE_GRAVE, vk::Oem3},
    {SDL_SCANCODE_LEFTBRACKET, vk::Oem4},
    {SDL_SCANCODE_BACKSLASH, vk::Oem5},
    {SDL_SCANCODE_NONUSHASH, vk::Oem5},
    {SDL_SCANCODE_RIGHTBRACKET, vk::Oem6},
    {SDL_SCANCODE_APOSTROPHE, vk::Oem7},
    {SDL_SCANCODE_NONUSBACKSLASH, vk::Oem102},
};

constexpr GenericModifier kGenericModifiers[] = {
    {vk::Shift, vk::LeftShift, vk::RightShift},
    {vk::Control, vk::LeftControl, vk::RightControl},
    {vk::Menu, vk::LeftMenu, vk::RightMenu},
};

uint8_t FindByPosition(const auto& table, SDL_Scancode scancode)
{
    for (const PositionalKey& key : table)
    {
        if (key.scancode == scancode)
        {
            return key.virtualKey;
        }
    }
    return 0;
}

// Layouts of other scripts (Cyrillic, Greek) give no Latin letters; Windows then names the
// letter keys by their position, and so do we.
bool IsNonLatinCharacter(SDL_Keycode keycode)
{
    return (keycode & SDLK_SCANCODE_MASK) == 0 && keycode > 0x7F;
}

void AddPositions(const auto& table, uint8_t virtualKey, std::vector<SDL_Scancode>& scancodes)
{
    for (const PositionalKey& key : table)
    {
        if (key.virtualKey == virtualKey)
        {
            scancodes.push_back(key.scancode);
        }
    }
}
}  // namespace

uint8_t VirtualKeyFromSdl(SDL_Keycode keycode, SDL_Scancode scancode)
{
    if (const uint8_t fixed = FindByPosition(kFixedKeys, scancode))
    {
        return fixed;
    }
    for (const CharacterKey& key : kCharacterKeys)
    {
        if (key.keycode == keycode)
        {
            return key.virtualKey;
        }
    }
    if (const uint8_t oem = FindByPosition(kOemKeys, scancode))
    {
        return oem;
    }
    if (IsNonLatinCharacter(keycode))
    {
        for (const CharacterKey& key : kCharacterKeys)
        {
            if (key.usPosition == scancode)
            {
                return key.virtualKey;
            }
        }
    }
    return 0;
}

std::vector<SDL_Scancode> ScancodesOfVirtualKey(uint8_t virtualKey)
{
    std::vector<SDL_Scancode> scancodes;
    for (const GenericModifier& modifier : kGenericModifiers)
    {
        if (modifier.generic == virtualKey)
        {
            AddPositions(kFixedKeys, modifier.left, scancodes);
            AddPositions(kFixedKeys, modifier.right, scancodes);
        }
    }
    AddPositions(kFixedKeys, virtualKey, scancodes);
    AddPositions(kOemKeys, virtualKey, scancodes);
    for (const CharacterKey& key : kCharacterKeys)
    {
        if (key.virtualKey == virtualKey)
        {
            const SDL_Scancode onLayout = SDL_GetScancodeFromKey(key.keycode);
            scancodes.push_back(onLayout != SDL_SCANCODE_UNKNOWN ? onLayout : key.usPosition);
        }
    }
    return scancodes;
}
