#include "frontend/pitbox/GhostNameEntry.h"

#include "platform/VirtualKeys.h"

bool GhostNameEntry::OnKey(std::string& name, bool released, uint32_t key, bool shiftHeld)
{
    if (!active_)
    {
        return false;
    }
    if (released)
    {
        return true;
    }
    typed_ = true;
    const bool letter = key >= vk::LetterA && key < vk::LetterA + 26u;
    const bool digit = key >= vk::Digit0 && key < vk::Digit0 + 10u;
    if (key == vk::Back)
    {
        if (!name.empty())
        {
            name.pop_back();
        }
    }
    else if (key == vk::Return)
    {
        active_ = false;
    }
    else if (name.size() >= kLongestName)
    {
        ++beeps_;
    }
    else if (letter)
    {
        name.push_back(static_cast<char>(shiftHeld ? key : key - vk::LetterA + 'a'));
    }
    else if (digit)
    {
        name.push_back(static_cast<char>(key));
    }
    return true;
}

bool GhostNameEntry::TakeTyped()
{
    const bool typed = typed_;
    typed_ = false;
    return typed;
}
