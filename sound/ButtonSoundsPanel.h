#pragma once

// The menu-sound editor as an in-game modal panel, drawn with the menu toolkit over the menu
// screen: the sound files ("Overview:"), the highlighted and pressed sound of the button with
// their volume and pitch, a file choice from the "sound" folder for Add and Replace, and OK.
// It runs as every screen does: Enter, then Step once a frame after the owner has pumped the
// window's messages, until Step reports it closed (OK or Esc, which both save), then Leave.
//
// It sits beside its model in the sound subsystem: it only needs the toolkit below it, and the
// menus that open it sit above.
//
// Main thread only; one panel is open at a time (it listens to the keys while entered).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/MenuPointer.h"
#include "sound/MenuSoundEditor.h"

class ButtonSoundsPanel
{
public:
    static constexpr int32_t kStay = 0;
    static constexpr int32_t kClosed = 1;
    static constexpr int kVisibleEntries = 14;

    // The numbers fields, in the order they are shown.
    enum class Field
    {
        HighlightedVolume,
        HighlightedPitch,
        PressedVolume,
        PressedPitch,
        None,
    };

    explicit ButtonSoundsPanel(MenuSoundEditor& editor);
    ~ButtonSoundsPanel();
    ButtonSoundsPanel(const ButtonSoundsPanel&) = delete;
    ButtonSoundsPanel& operator=(const ButtonSoundsPanel&) = delete;

    void Enter();
    // Reads the pointer and the keys, draws; kClosed once OK or Esc has saved.
    int32_t Step();
    void Leave();

    // What a click at the point or a key does (Step feeds them; tests call them).
    void Click(int32_t x, int32_t y);
    void Key(uint8_t virtualKey);
    void Draw();

    bool IsClosed() const { return closed_; }
    bool Saved() const { return saved_; }
    int32_t Selected() const { return selected_; }
    Field Focus() const { return focus_; }
    const std::string& ChosenFile() const;
    // Keys a number field refused (the machine's beep).
    uint32_t Beeps() const { return beeps_; }
    // Where a control lies, for a pointer to find it.
    const Gadget& Control(size_t index) const { return controls_[index]; }

    enum Control : size_t
    {
        kHighlightedPrevious,
        kHighlightedNext,
        kPressedPrevious,
        kPressedNext,
        kHighlightedVolume,
        kHighlightedPitch,
        kPressedVolume,
        kPressedPitch,
        kFilePrevious,
        kFileNext,
        kAdd,
        kDelete,
        kReplace,
        kOk,
        kListUp,
        kListDown,
        kList,
        kControlCount,
    };

private:
    static int32_t ListenToKeys(uint32_t kind, uint32_t virtualKey);
    std::string* FieldText(Field field);
    void Close();
    void Choose(int32_t& sound, int32_t direction);
    void DrawList();
    void DrawChoices();
    void DrawButtons();

    MenuSoundEditor& editor_;
    std::array<Gadget, kControlCount> controls_{};
    GadgetList gadgets_;
    MenuPointer pointer_;
    DirtyRectList repaint_;
    std::vector<std::string> files_;  // .wav files of the "sound" folder
    int32_t fileChoice_ = 0;
    int32_t selected_ = 0;
    int32_t firstShown_ = 0;
    Field focus_ = Field::None;
    uint32_t beeps_ = 0;
    bool closed_ = false;
    bool saved_ = false;
    bool entered_ = false;
};
