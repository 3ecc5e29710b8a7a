#pragma once

// The file requester: the one window of the game for picking a file of a folder (championship
// saves, set-ups, ghost laps) or typing a name to save under, drawn over the menu screen that
// opened it. It lists the folder by its full path and never changes the process's working
// directory; typed names hold letters, digits and spaces only, so no name leaves the folder.
// Main thread only.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"

class FileRequester
{
public:
    enum Mode : int32_t
    {
        kPickFile = 1,
        kTypeName = 2,
    };
    enum Result : int32_t
    {
        kPending = 0,
        kAccepted = 1,
        kCancelled = 2,
    };
    // The texts of the window, per language.
    enum Label : size_t
    {
        kTitle,
        kOk,
        kDelete,
        kCancel,
        kQuestionBefore,  // the line above the name in the question
        kQuestionAfter,   // and below it
        kYes,
        kNo,
        kLabelCount,
    };
    static constexpr int32_t kMaxNameLength = 31;
    static constexpr int32_t kDefaultX = 197;
    static constexpr int32_t kDefaultY = 93;
    static constexpr int32_t kRowHeight = 12;
    static constexpr int32_t kRowsShown = 13;

    // Clears all state, listens to the keys, sets the mode.
    void Open(int32_t mode);
    void Close();
    void Reset();
    bool IsOpen() const { return open_; }
    int32_t GetMode() const { return mode_; }

    // The folder by its game path; false, with a beep, when it is no folder.
    bool SetDirectory(const std::string& path);
    const std::string& Directory() const { return directory_; }
    // Lists the folder's files whose names end with the extension (case-sensitive) and are
    // longer than it; false, with a beep, when no folder is set or it is gone.
    bool ScanDirectory(const std::string& extension);
    void ClearList();
    int32_t GetResult(std::string* name) const;
    const std::string* GetEntry(int32_t index) const;
    int32_t EntryCount() const { return static_cast<int32_t>(names_.size()); }
    int32_t Selected() const { return selected_; }
    const std::string& TypedName() const { return typed_; }
    ScreenRect GetRect() const;
    void SetDirtyLists(DirtyRectList* first, DirtyRectList* second);
    void SetScroll(int32_t which, int32_t value);
    int32_t Scroll() const { return scroll_; }
    void MoveTo(int32_t x, int32_t y);
    void SetLabels(const std::array<std::string, kLabelCount>& labels);
    void SetTitle(const std::string& title);
    // The window's texts in the language (0 German, 1 English), title left empty.
    static std::array<std::string, kLabelCount> LanguageLabels(int32_t language);
    // Shows "<name> kann nicht geladen werden" under the list; an empty name hides it.
    void SetLoadFailure(const std::string& name);
    bool IsQuestionShown() const { return questionShown_; }

    // Deletes the file of the folder and lists the folder again; false for a name that is no
    // plain file name of the folder.
    bool DeleteFileAndRescan(const std::string& name);

    // The pointer in screen coordinates, a new click, the button held, the frame clock in ms.
    // Returns 0 when the requester took the event, 1 when it lies outside.
    int32_t OnMouse(int32_t x, int32_t y, bool click, bool held, uint32_t nowMs);
    // Key presses (kind kKeyWentDown) and releases; returns 1 (the key is taken).
    int32_t OnKey(uint32_t kind, uint32_t key);

    // Clipped to the active repaint list.
    void Draw() const;
    // Beeps since the requester was created (the machine's beep stands in for an error text).
    uint32_t Beeps() const { return beeps_; }

private:
    void Beep() { ++beeps_; }
    void Accept(bool fromEnter);
    void AskDelete();
    void MarkDirty(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void MarkRow(int32_t row);
    void ScrollBy(int32_t pixels);
    int32_t RowAt(int32_t windowY) const;
    void DrawLabel(int32_t x, int32_t y, const std::string& text, int32_t alignment) const;

    bool open_ = false;
    int32_t mode_ = kPickFile;
    int32_t result_ = kPending;
    int32_t x_ = kDefaultX;
    int32_t y_ = kDefaultY;
    std::string directory_;
    std::string extension_;
    std::vector<std::string> names_;
    int32_t selected_ = -1;
    int32_t hoverRow_ = -1;
    std::string typed_;
    bool shift_ = false;
    int32_t scroll_ = 0;
    int32_t secondScroll_ = 0;
    bool questionShown_ = false;
    std::string questionName_;
    std::string loadFailure_;
    DirtyRectList* first_ = nullptr;
    DirtyRectList* second_ = nullptr;
    std::array<std::string, kLabelCount> labels_ = LanguageLabels(0);
    bool arrowHeld_ = false;
    uint32_t pressMs_ = 0;
    uint32_t beeps_ = 0;
};

// The game's requester; its key listener reaches it while it is open.
extern FileRequester g_fileRequester;
