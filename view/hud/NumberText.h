#pragma once

// A number's text that is formatted again only when the number changes, so that a panel costs
// only its draws frame after frame.

#include <array>
#include <cstdint>
#include <cstdio>

class NumberText
{
public:
    // "%d" of the value.
    const char* Of(int32_t value)
    {
        if (!valid_ || value != value_)
        {
            std::snprintf(text_.data(), text_.size(), "%d", value);
            value_ = value;
            valid_ = true;
        }
        return text_.data();
    }
    void Forget() { valid_ = false; }

private:
    int32_t value_ = -1;
    bool valid_ = false;
    std::array<char, 12> text_{};
};
