#include "frontend/netlobby/LobbyTextField.h"

#include "app/window/KeyListeners.h"
#include "platform/VirtualKeys.h"

void LobbyTextField::BeginEditing(std::string_view text)
{
    text_ = text.substr(0, MaxLength());
    editing_ = true;
}

bool LobbyTextField::OnKey(uint32_t kind, uint32_t key)
{
    if (key == vk::Shift || key == vk::LeftShift || key == vk::RightShift)
    {
        shift_ = kind == kKeyWentDown;
        return false;
    }
    if (!editing_ || kind != kKeyWentDown)
    {
        return false;
    }
    if (key == vk::Return)
    {
        editing_ = false;
        return true;
    }
    if (key == vk::Back)
    {
        if (!text_.empty())
        {
            text_.pop_back();
        }
        return false;
    }
    const char typed = Typed(key);
    if (typed != 0 && text_.size() < MaxLength())
    {
        text_.push_back(typed);
    }
    return false;
}

char LobbyTextField::Typed(uint32_t key) const
{
    if (key == vk::Space || (key >= vk::Digit0 && key <= vk::Digit0 + 9))
    {
        return static_cast<char>(key);
    }
    const uint32_t lastLetter = kind_ == Kind::Port ? vk::LetterA + 5 : vk::LetterA + 25;
    if (key >= vk::LetterA && key <= lastLetter)
    {
        // Hex digits are shown as "%.4x" writes them.
        const bool upper = kind_ == Kind::Name && shift_;
        return static_cast<char>(upper ? key : key - vk::LetterA + 'a');
    }
    return 0;
}

int32_t ParsePortText(std::string_view text, int32_t previous)
{
    int32_t value = 0;
    bool anyDigit = false;
    for (const char c : text)
    {
        int32_t digit = -1;
        if (c >= '0' && c <= '9')
        {
            digit = c - '0';
        }
        else if (c >= 'a' && c <= 'f')
        {
            digit = c - 'a' + 10;
        }
        else if (c >= 'A' && c <= 'F')
        {
            digit = c - 'A' + 10;
        }
        if (digit >= 0)
        {
            value = value * 16 + digit;
            anyDigit = true;
        }
    }
    return anyDigit && value != 0 ? value : previous;
}
