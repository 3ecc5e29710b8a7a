#include "frontend/toolkit/FileRequester.h"

#include <algorithm>

#include "app/window/KeyListeners.h"
#include "core/files/FileSystem.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "render/RenderApi.h"

namespace
{
// Window-relative areas, right and bottom exclusive.
constexpr ScreenRect kListArea{176, 43, 278, 186};
constexpr int32_t kFirstRowY = 45;
constexpr ScreenRect kUpArrow{282, 41, 290, 49};
constexpr ScreenRect kDownArrow{282, 180, 290, 188};
constexpr ScreenRect kNameField{8, 224, 288, 242};
constexpr ScreenRect kOkButton{12, 266, 60, 284};
constexpr ScreenRect kDeleteButton{120, 266, 169, 284};
constexpr ScreenRect kCancelButton{236, 266, 279, 284};
constexpr ScreenRect kYesButton{48, 149, 88, 168};
constexpr ScreenRect kNoButton{202, 149, 245, 168};
constexpr ScreenRect kQuestionBox{30, 100, 262, 176};
constexpr int32_t kScrollStep = 4;
constexpr uint32_t kRepeatAfterMs = 600;
constexpr uint32_t kSelectedBar = 0xB07058;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr int32_t kFallbackWidth = 296;
constexpr int32_t kFallbackHeight = 296;

FileRequester* g_listening = nullptr;

int32_t ListenToKeys(uint32_t kind, uint32_t key)
{
    return g_listening != nullptr ? g_listening->OnKey(kind, key) : 0;
}

bool Inside(const ScreenRect& rect, int32_t x, int32_t y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos;
}
}  // namespace

FileRequester g_fileRequester;

std::array<std::string, FileRequester::kLabelCount> FileRequester::LanguageLabels(int32_t language)
{
    if (language == 1)
    {
        return {"", "OK", "Delete", "Cancel", "Delete", "?", "Yes", "No"};
    }
    return {"", "OK", "L\xF6schen", "Abbruch", "", "wirklich l\xF6schen?", "Ja", "Nein"};
}

void FileRequester::Open(int32_t mode)
{
    Reset();
    names_.clear();
    result_ = kPending;
    hoverRow_ = -1;
    shift_ = false;
    questionShown_ = false;
    questionName_.clear();
    loadFailure_.clear();
    arrowHeld_ = false;
    mode_ = mode == kTypeName ? kTypeName : kPickFile;
    if (g_listening != nullptr)
    {
        RemoveKeyListener(ListenToKeys);
    }
    g_listening = this;
    AddKeyListener(ListenToKeys);
    open_ = true;
}

void FileRequester::Close()
{
    if (g_listening == this)
    {
        RemoveKeyListener(ListenToKeys);
        g_listening = nullptr;
    }
    open_ = false;
    ClearList();
}

void FileRequester::Reset()
{
    scroll_ = 0;
    secondScroll_ = 0;
    selected_ = -1;
    typed_.clear();
    directory_.clear();
    first_ = nullptr;
    second_ = nullptr;
}

bool FileRequester::SetDirectory(const std::string& path)
{
    if (!files::IsDirectory(path))
    {
        Beep();
        return false;
    }
    directory_ = path;
    return true;
}

bool FileRequester::ScanDirectory(const std::string& extension)
{
    names_.clear();
    extension_ = extension;
    if (directory_.empty() || !files::IsDirectory(directory_))
    {
        Beep();
        return false;
    }
    for (const files::DirectoryEntry& entry : files::List(directory_))
    {
        if (entry.isDirectory || entry.name.size() <= extension.size() ||
            !entry.name.ends_with(extension))
        {
            continue;
        }
        names_.push_back(entry.name);
    }
    return true;
}

void FileRequester::ClearList()
{
    names_.clear();
    selected_ = -1;
    hoverRow_ = -1;
}

int32_t FileRequester::GetResult(std::string* name) const
{
    if (result_ == kAccepted && name != nullptr)
    {
        *name = mode_ == kTypeName ? typed_ : names_.at(static_cast<size_t>(selected_));
    }
    return result_;
}

const std::string* FileRequester::GetEntry(int32_t index) const
{
    if (index < 0 || index >= EntryCount())
    {
        return nullptr;
    }
    return &names_[static_cast<size_t>(index)];
}

ScreenRect FileRequester::GetRect() const
{
    const Texture* picture = GetMenuPicture(MenuPicture::FileRequester);
    const int32_t width = picture != nullptr ? picture->width : kFallbackWidth;
    const int32_t height = picture != nullptr ? picture->height : kFallbackHeight;
    return {x_, y_, x_ + width, y_ + height};
}

void FileRequester::SetDirtyLists(DirtyRectList* first, DirtyRectList* second)
{
    first_ = first;
    second_ = second;
}

void FileRequester::SetScroll(int32_t which, int32_t value)
{
    (which == 0 ? scroll_ : secondScroll_) = value;
}

void FileRequester::MoveTo(int32_t x, int32_t y)
{
    const ScreenRect old = GetRect();
    x_ = x;
    y_ = y;
    const ScreenRect moved = GetRect();
    for (DirtyRectList* list : {first_, second_})
    {
        if (list != nullptr)
        {
            list->AddRect(old);
            list->AddRect(moved);
        }
    }
}

void FileRequester::SetLabels(const std::array<std::string, kLabelCount>& labels)
{
    labels_ = labels;
}

void FileRequester::SetTitle(const std::string& title)
{
    labels_[kTitle] = title;
}

void FileRequester::SetLoadFailure(const std::string& name)
{
    loadFailure_ = name;
    MarkDirty(0, 0, GetRect().right - x_, GetRect().bottom - y_);
}

bool FileRequester::DeleteFileAndRescan(const std::string& name)
{
    if (directory_.empty() || !IsPlainFileName(name))
    {
        return false;
    }
    const bool deleted = files::Remove(directory_ + "/" + name);
    ScanDirectory(extension_);
    selected_ = -1;
    MarkDirty(kListArea.left, kListArea.top, kListArea.right, kListArea.bottom);
    return deleted;
}

void FileRequester::MarkDirty(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    for (DirtyRectList* list : {first_, second_})
    {
        if (list != nullptr)
        {
            list->Add(x_ + left, y_ + top, x_ + right, y_ + bottom);
        }
    }
}

void FileRequester::MarkRow(int32_t row)
{
    if (row < 0)
    {
        return;
    }
    const int32_t top = kFirstRowY + row * kRowHeight - scroll_;
    MarkDirty(kListArea.left, std::max(top, kListArea.top), kListArea.right,
              std::min(top + kRowHeight, kListArea.bottom));
}

int32_t FileRequester::RowAt(int32_t windowY) const
{
    const int32_t offset = windowY + scroll_ - kFirstRowY;
    if (offset < 0)
    {
        return -1;
    }
    const int32_t row = offset / kRowHeight;
    return row < EntryCount() ? row : -1;
}

void FileRequester::ScrollBy(int32_t pixels)
{
    const int32_t end = std::max(0, EntryCount() * kRowHeight - kRowsShown * kRowHeight);
    const int32_t scrolled = std::clamp(scroll_ + pixels, 0, end);
    if (scrolled != scroll_)
    {
        scroll_ = scrolled;
        MarkDirty(kListArea.left, kListArea.top, kListArea.right, kListArea.bottom);
    }
}

void FileRequester::Accept(bool fromEnter)
{
    const bool full = static_cast<int32_t>(typed_.size()) >= kMaxNameLength;
    const bool ready = mode_ == kPickFile ? selected_ >= 0 : !typed_.empty();
    // A full name takes no more keys, Enter included: only the OK button accepts it.
    if (!ready || (fromEnter && full))
    {
        Beep();
        return;
    }
    result_ = kAccepted;
}

void FileRequester::AskDelete()
{
    if (mode_ == kPickFile && selected_ >= 0)
    {
        questionName_ = names_[static_cast<size_t>(selected_)];
    }
    else if (mode_ == kTypeName && !typed_.empty())
    {
        questionName_ = typed_;
    }
    else
    {
        Beep();
        return;
    }
    questionShown_ = true;
    MarkDirty(kQuestionBox.left, kQuestionBox.top, kQuestionBox.right, kQuestionBox.bottom);
}

int32_t FileRequester::OnKey(uint32_t kind, uint32_t key)
{
    if (key == vk::Shift || key == vk::LeftShift || key == vk::RightShift)
    {
        shift_ = kind == kKeyWentDown;
        return 1;
    }
    if (kind != kKeyWentDown || result_ != kPending)
    {
        return 1;
    }
    const bool full = static_cast<int32_t>(typed_.size()) >= kMaxNameLength;
    const bool letter = key >= vk::LetterA && key <= vk::LetterA + 25;
    const bool digit = key >= vk::Digit0 && key <= vk::Digit0 + 9;
    if (key == vk::Back)
    {
        if (!typed_.empty())
        {
            typed_.pop_back();
        }
    }
    else if (full && (letter || digit || key == vk::Space || key == vk::Return))
    {
        Beep();
        return 1;
    }
    else if (letter)
    {
        typed_ += static_cast<char>(shift_ ? key : key - vk::LetterA + 'a');
    }
    else if (digit || key == vk::Space)
    {
        typed_ += static_cast<char>(key);
    }
    else if (key == vk::Return)
    {
        Accept(true);
        return 1;
    }
    else
    {
        return 1;
    }
    MarkDirty(kNameField.left, kNameField.top, kNameField.right, kNameField.bottom);
    return 1;
}

int32_t FileRequester::OnMouse(int32_t x, int32_t y, bool click, bool held, uint32_t nowMs)
{
    if (!open_)
    {
        return 1;
    }
    const int32_t wx = x - x_;
    const int32_t wy = y - y_;
    const ScreenRect window = GetRect();
    if (!Inside({0, 0, window.right - x_, window.bottom - y_}, wx, wy))
    {
        arrowHeld_ = false;
        return 1;
    }
    if (questionShown_)
    {
        if (click && Inside(kYesButton, wx, wy))
        {
            questionShown_ = false;
            DeleteFileAndRescan(questionName_);
            MarkDirty(0, 0, window.right - x_, window.bottom - y_);
        }
        else if (click && Inside(kNoButton, wx, wy))
        {
            questionShown_ = false;
            MarkDirty(0, 0, window.right - x_, window.bottom - y_);
        }
        return 0;
    }

    const int32_t row = Inside(kListArea, wx, wy) ? RowAt(wy) : -1;
    if (row != hoverRow_)
    {
        MarkRow(hoverRow_);
        MarkRow(row);
        hoverRow_ = row;
    }
    // A scroll arrow held past the delay repeats on every event.
    const bool onArrow = Inside(kUpArrow, wx, wy) || Inside(kDownArrow, wx, wy);
    if (click && onArrow)
    {
        arrowHeld_ = true;
        pressMs_ = nowMs;
    }
    if (!held)
    {
        arrowHeld_ = false;
    }
    const bool repeat =
        !click && held && arrowHeld_ && onArrow && nowMs - pressMs_ > kRepeatAfterMs;
    if (!click && !repeat)
    {
        return 0;
    }
    if (Inside(kUpArrow, wx, wy))
    {
        ScrollBy(-kScrollStep);
    }
    else if (Inside(kDownArrow, wx, wy))
    {
        ScrollBy(kScrollStep);
    }
    else if (row >= 0)
    {
        MarkRow(selected_);
        selected_ = row;
        MarkRow(row);
    }
    else if (Inside(kOkButton, wx, wy))
    {
        Accept(false);
    }
    else if (Inside(kDeleteButton, wx, wy))
    {
        AskDelete();
    }
    else if (Inside(kCancelButton, wx, wy))
    {
        result_ = kCancelled;
    }
    return 0;
}

void FileRequester::DrawLabel(int32_t x, int32_t y, const std::string& text,
                              int32_t alignment) const
{
    DrawColorTextClipped(x_ + x + 1, y_ + y + 1, kBlack, text.c_str(), alignment);
    DrawColorTextClipped(x_ + x, y_ + y, kWhite, text.c_str(), alignment);
}

void FileRequester::Draw() const
{
    if (!open_)
    {
        return;
    }
    const ScreenRect window = GetRect();
    Texture* background = GetMenuPicture(MenuPicture::FileRequester);
    DrawBitmapClipped(background, 0, 0, x_, y_, window.right - x_, window.bottom - y_, 0);

    SetTextFont(GetRaceFont(RaceFont::Requester));
    DrawLabel(12, 12, labels_[kTitle], kAlignLeft);

    SetExtraClipRect(x_ + kListArea.left, y_ + kListArea.top, x_ + kListArea.right,
                     y_ + kListArea.bottom);
    for (int32_t row = 0; row < EntryCount(); ++row)
    {
        const int32_t top = y_ + kFirstRowY + row * kRowHeight - scroll_;
        if (top + kRowHeight <= y_ + kListArea.top || top >= y_ + kListArea.bottom)
        {
            continue;
        }
        if (row == selected_)
        {
            FillRectClipped(x_ + kListArea.left, top, x_ + kListArea.right, top + kRowHeight,
                            kSelectedBar);
        }
        const uint32_t colour = row == hoverRow_ ? 0x80FFFF : kWhite;
        DrawColorTextClipped(x_ + kListArea.left + 2, top, colour,
                             names_[static_cast<size_t>(row)].c_str(), kAlignLeft);
    }
    ClearExtraClipRect();

    if (mode_ == kTypeName)
    {
        DrawLabel(kNameField.left + 4, kNameField.top + 3, typed_, kAlignLeft);
    }
    const auto centre = [](const ScreenRect& rect) { return (rect.left + rect.right) / 2; };
    DrawLabel(centre(kOkButton), kOkButton.top + 3, labels_[kOk], kAlignCentre);
    DrawLabel(centre(kDeleteButton), kDeleteButton.top + 3, labels_[kDelete], kAlignCentre);
    DrawLabel(centre(kCancelButton), kCancelButton.top + 3, labels_[kCancel], kAlignCentre);
    if (!loadFailure_.empty())
    {
        DrawLabel(kNameField.left + 4, kNameField.bottom + 4,
                  loadFailure_ + " kann nicht geladen werden", kAlignLeft);
    }
    if (questionShown_)
    {
        FillRectClipped(x_ + kQuestionBox.left, y_ + kQuestionBox.top, x_ + kQuestionBox.right,
                        y_ + kQuestionBox.bottom, 0x403020);
        const int32_t middle = centre(kQuestionBox);
        DrawLabel(middle, kQuestionBox.top + 6, labels_[kQuestionBefore], kAlignCentre);
        DrawLabel(middle, kQuestionBox.top + 20, questionName_, kAlignCentre);
        DrawLabel(middle, kQuestionBox.top + 34, labels_[kQuestionAfter], kAlignCentre);
        DrawLabel(centre(kYesButton), kYesButton.top + 3, labels_[kYes], kAlignCentre);
        DrawLabel(centre(kNoButton), kNoButton.top + 3, labels_[kNo], kAlignCentre);
    }
}
