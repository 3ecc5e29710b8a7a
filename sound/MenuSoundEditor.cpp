#include "sound/MenuSoundEditor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/files/FileSystem.h"

namespace
{
constexpr float kMinVolume = 0.0f;
constexpr float kMaxVolume = 1.0f;
constexpr float kMinPitch = 1000.0f;
constexpr float kMaxPitch = 44100.0f;

std::string FormatNumber(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

// The number the text holds, clamped; the old value when it holds none.
float ParseNumber(const std::string& text, float old, float low, float high)
{
    float value = 0.0f;
    if (std::sscanf(text.c_str(), "%f", &value) != 1)
    {
        return old;
    }
    return std::clamp(value, low, high);
}

// A sound index after list position `removed` has gone.
uint32_t Remapped(uint32_t sound, uint32_t removed)
{
    return sound == removed ? 0 : sound > removed ? sound - 1 : sound;
}
}  // namespace

MenuSoundEditor::MenuSoundEditor(MenuSoundTable table, uint32_t button)
    : table_(std::move(table)),
      button_(std::min<uint32_t>(button, MenuSoundTable::kButtonCount - 1))
{
    const ButtonSoundEntry& entry = table_.buttons[button_];
    fields_ = {static_cast<int32_t>(entry.highlighted.sound),
               static_cast<int32_t>(entry.pressed.sound),
               FormatNumber(entry.highlighted.volume),
               FormatNumber(entry.highlighted.pitch),
               FormatNumber(entry.pressed.volume),
               FormatNumber(entry.pressed.pitch)};
}

std::string MenuSoundEditor::Title(std::string_view title) const
{
    char text[32];
    std::snprintf(text, sizeof text, "   ButtonID: %.2u", button_);
    return std::string(title) + text;
}

std::string MenuSoundEditor::StripDirectory(std::string_view path)
{
    const size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::vector<std::string> MenuSoundEditor::ListEntries() const
{
    std::vector<std::string> entries = {kNone};
    for (uint32_t i = 1; i <= table_.SoundCount(); ++i)
    {
        entries.push_back(StripDirectory(table_.files[i]));
    }
    return entries;
}

bool MenuSoundEditor::Add(std::string_view fileName)
{
    if (table_.SoundCount() >= MenuSoundTable::kMaxSounds || fileName.empty())
    {
        return false;
    }
    table_.files.push_back(kSoundFolder + StripDirectory(fileName));
    return true;
}

bool MenuSoundEditor::Delete(int32_t position)
{
    if (position < 1 || static_cast<uint32_t>(position) > table_.SoundCount())
    {
        return false;
    }
    const auto removed = static_cast<uint32_t>(position);
    table_.files.erase(table_.files.begin() + position);
    for (ButtonSoundEntry& entry : table_.buttons)
    {
        entry.highlighted.sound = Remapped(entry.highlighted.sound, removed);
        entry.pressed.sound = Remapped(entry.pressed.sound, removed);
    }
    fields_.highlighted =
        static_cast<int32_t>(Remapped(static_cast<uint32_t>(fields_.highlighted), removed));
    fields_.pressed =
        static_cast<int32_t>(Remapped(static_cast<uint32_t>(fields_.pressed), removed));
    return true;
}

bool MenuSoundEditor::Replace(int32_t position, std::string_view fileName)
{
    if (position < 1 || static_cast<uint32_t>(position) > table_.SoundCount() || fileName.empty())
    {
        return false;
    }
    table_.files[static_cast<size_t>(position)] = kSoundFolder + StripDirectory(fileName);
    return true;
}

void MenuSoundEditor::TakeFields()
{
    ButtonSoundEntry& entry = table_.buttons[button_];
    const auto sound = [this](int32_t position)
    {
        return position >= 0 && static_cast<uint32_t>(position) <= table_.SoundCount()
                   ? static_cast<uint32_t>(position)
                   : 0u;
    };
    entry.highlighted.sound = sound(fields_.highlighted);
    entry.pressed.sound = sound(fields_.pressed);
    entry.highlighted.volume =
        ParseNumber(fields_.highlightedVolume, entry.highlighted.volume, kMinVolume, kMaxVolume);
    entry.highlighted.pitch =
        ParseNumber(fields_.highlightedPitch, entry.highlighted.pitch, kMinPitch, kMaxPitch);
    entry.pressed.volume =
        ParseNumber(fields_.pressedVolume, entry.pressed.volume, kMinVolume, kMaxVolume);
    entry.pressed.pitch =
        ParseNumber(fields_.pressedPitch, entry.pressed.pitch, kMinPitch, kMaxPitch);
}

bool MenuSoundEditor::Save(std::string_view path)
{
    TakeFields();
    return files::ReplaceAtomically(path, BuildMenuSoundTable(table_));
}

bool MenuSoundEditor::IsNumberKey(char typed)
{
    return (typed >= '0' && typed <= '9') || typed == '.' || typed == '\b';
}
