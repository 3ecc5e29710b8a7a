#pragma once

// The menu-sound editor's model: for the menu button being edited, the sound, volume and pitch
// it plays when it lights up and when it is pressed, and for every button the list of sound
// files, saved as "sound/menusounds.dat". Position 0 of the list and of both sound choices is
// "None" (sound index 0); position i is sound file i. The four numbers are kept as the texts
// the player types; saving reads them, keeping a volume within 0..1 and a pitch within
// 1000..44100 Hz, and a text that is no number leaves the value as it was.
//
// Main thread only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sound/MenuSoundTable.h"

class MenuSoundEditor
{
public:
    static constexpr const char* kNone = "None";
    static constexpr const char* kSoundFolder = "sound/";

    // The number texts of a button sound, as the editor shows them.
    struct Fields
    {
        int32_t highlighted = 0;  // list position
        int32_t pressed = 0;
        std::string highlightedVolume;
        std::string highlightedPitch;
        std::string pressedVolume;
        std::string pressedPitch;
    };

    MenuSoundEditor(MenuSoundTable table, uint32_t button);

    // "title   ButtonID: nn".
    std::string Title(std::string_view title) const;
    // "None", then the file-name part of every sound file.
    std::vector<std::string> ListEntries() const;

    Fields& Values() { return fields_; }
    const MenuSoundTable& Table() const { return table_; }
    uint32_t Button() const { return button_; }

    // A new last sound file "sound/<fileName>". False (nothing added) at 99 sound files.
    bool Add(std::string_view fileName);
    // Removes list position 1 or later; every sound index above it moves down one, and every
    // use of it (in all buttons and in the editor's two choices) becomes None.
    bool Delete(int32_t position);
    bool Replace(int32_t position, std::string_view fileName);
    // Takes the fields into the button's entry and writes the file, replacing it whole. False
    // when it cannot be written.
    bool Save(std::string_view path = "sound/menusounds.dat");

    // The characters a number field takes: digits, the point and backspace.
    static bool IsNumberKey(char typed);
    static std::string StripDirectory(std::string_view path);

private:
    void TakeFields();

    MenuSoundTable table_;
    uint32_t button_;
    Fields fields_;
};
