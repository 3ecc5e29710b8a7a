#include "sound/ButtonSoundsPanel.h"

#include <algorithm>

#include "app/device/RenderDevice.h"
#include "app/window/KeyListeners.h"
#include "core/files/FileSystem.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"

namespace
{
constexpr int32_t kLeft = 60;
constexpr int32_t kTop = 40;
constexpr int32_t kRight = 580;
constexpr int32_t kBottom = 440;
constexpr int32_t kRowHeight = 18;
constexpr int32_t kListX = kLeft + 16;
constexpr int32_t kListY = kTop + 60;
constexpr int32_t kListWidth = 180;
constexpr int32_t kChoiceX = 300;
constexpr uint32_t kPanelColour = 0x00302010;
constexpr uint32_t kFieldColour = 0x00100800;
constexpr uint32_t kButtonColour = 0x00604020;
constexpr uint32_t kSelectedColour = 0x00A06030;
constexpr uint32_t kTextColour = 0x00FFFFFF;
constexpr uint32_t kFocusColour = 0x0040C0FF;
const std::string kNoFile;

ButtonSoundsPanel* g_listeningPanel = nullptr;

void Fill(const Gadget& gadget, uint32_t colour)
{
    FillRectClipped(gadget.screenX, gadget.screenY, gadget.screenX + gadget.width,
                    gadget.screenY + gadget.height, colour);
}

void Label(const Gadget& gadget, const char* text, uint32_t colour = kTextColour)
{
    DrawColorTextClipped(gadget.screenX + gadget.width / 2, gadget.screenY + 3, colour, text,
                         kAlignCentre);
}

char TypedCharacter(uint8_t virtualKey)
{
    if (virtualKey >= '0' && virtualKey <= '9')
    {
        return static_cast<char>(virtualKey);
    }
    if (virtualKey >= vk::Numpad0 && virtualKey <= vk::Numpad0 + 9)
    {
        return static_cast<char>('0' + virtualKey - vk::Numpad0);
    }
    if (virtualKey == vk::Decimal || virtualKey == vk::OemPeriod)
    {
        return '.';
    }
    return virtualKey == vk::Back ? '\b' : static_cast<char>(virtualKey);
}
}  // namespace

ButtonSoundsPanel::ButtonSoundsPanel(MenuSoundEditor& editor) : editor_(editor)
{
    const int32_t row = kListY;
    controls_[kHighlightedPrevious] = VisibleGadget(kChoiceX + 90, row, 20, 16);
    controls_[kHighlightedNext] = VisibleGadget(kChoiceX + 250, row, 20, 16);
    controls_[kHighlightedVolume] = VisibleGadget(kChoiceX + 90, row + 24, 120, 16);
    controls_[kHighlightedPitch] = VisibleGadget(kChoiceX + 90, row + 48, 120, 16);
    controls_[kPressedPrevious] = VisibleGadget(kChoiceX + 90, row + 90, 20, 16);
    controls_[kPressedNext] = VisibleGadget(kChoiceX + 250, row + 90, 20, 16);
    controls_[kPressedVolume] = VisibleGadget(kChoiceX + 90, row + 114, 120, 16);
    controls_[kPressedPitch] = VisibleGadget(kChoiceX + 90, row + 138, 120, 16);
    controls_[kFilePrevious] = VisibleGadget(kChoiceX + 90, row + 190, 20, 16);
    controls_[kFileNext] = VisibleGadget(kChoiceX + 250, row + 190, 20, 16);
    controls_[kAdd] = VisibleGadget(kChoiceX, row + 220, 80, 20);
    controls_[kDelete] = VisibleGadget(kChoiceX + 90, row + 220, 80, 20);
    controls_[kReplace] = VisibleGadget(kChoiceX + 180, row + 220, 80, 20);
    controls_[kOk] = VisibleGadget(kRight - 100, kBottom - 36, 80, 24);
    controls_[kListUp] = VisibleGadget(kListX + kListWidth + 4, kListY, 26, 16);
    controls_[kListDown] =
        VisibleGadget(kListX + kListWidth + 4, kListY + kRowHeight * (kVisibleEntries - 1), 26, 16);
    controls_[kList] = VisibleGadget(kListX, kListY, kListWidth, kRowHeight * kVisibleEntries);
    for (Gadget& control : controls_)
    {
        AddPlainGadget(gadgets_, control);
    }
    for (const files::DirectoryEntry& entry : files::List("sound"))
    {
        const std::string& name = entry.name;
        if (!entry.isDirectory && name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0)
        {
            files_.push_back(name);
        }
    }
}

ButtonSoundsPanel::~ButtonSoundsPanel()
{
    Leave();
}

const std::string& ButtonSoundsPanel::ChosenFile() const
{
    return files_.empty() ? kNoFile : files_[static_cast<size_t>(fileChoice_)];
}

void ButtonSoundsPanel::Enter()
{
    if (!entered_ && g_listeningPanel == nullptr)
    {
        g_listeningPanel = this;
        AddKeyListener(&ButtonSoundsPanel::ListenToKeys);
        entered_ = true;
    }
}

void ButtonSoundsPanel::Leave()
{
    if (entered_)
    {
        RemoveKeyListener(&ButtonSoundsPanel::ListenToKeys);
        g_listeningPanel = nullptr;
        entered_ = false;
    }
}

int32_t ButtonSoundsPanel::ListenToKeys(uint32_t kind, uint32_t virtualKey)
{
    if (kind != kKeyWentDown || g_listeningPanel == nullptr)
    {
        return 0;
    }
    g_listeningPanel->Key(static_cast<uint8_t>(virtualKey));
    return 1;
}

int32_t ButtonSoundsPanel::Step()
{
    repaint_.Clear();
    repaint_.Add(0, 0, 640, 480);
    pointer_.Update(1, 1, false, repaint_, repaint_);
    if (pointer_.TakeClick())
    {
        Click(pointer_.X(), pointer_.Y());
    }
    if (!closed_)
    {
        Draw();
    }
    return closed_ ? kClosed : kStay;
}

std::string* ButtonSoundsPanel::FieldText(Field field)
{
    MenuSoundEditor::Fields& values = editor_.Values();
    switch (field)
    {
        case Field::HighlightedVolume:
            return &values.highlightedVolume;
        case Field::HighlightedPitch:
            return &values.highlightedPitch;
        case Field::PressedVolume:
            return &values.pressedVolume;
        case Field::PressedPitch:
            return &values.pressedPitch;
        case Field::None:
            break;
    }
    return nullptr;
}

void ButtonSoundsPanel::Key(uint8_t virtualKey)
{
    if (virtualKey == vk::Escape || virtualKey == vk::Return)
    {
        Close();
        return;
    }
    std::string* text = FieldText(focus_);
    if (text == nullptr)
    {
        return;
    }
    const char typed = TypedCharacter(virtualKey);
    if (!MenuSoundEditor::IsNumberKey(typed))
    {
        ++beeps_;
    }
    else if (typed == '\b')
    {
        if (!text->empty())
        {
            text->pop_back();
        }
    }
    else
    {
        text->push_back(typed);
    }
}

void ButtonSoundsPanel::Close()
{
    saved_ = editor_.Save();
    closed_ = true;
}

// Steps a sound choice through None and the list, wrapping.
void ButtonSoundsPanel::Choose(int32_t& sound, int32_t direction)
{
    const auto choices = static_cast<int32_t>(editor_.Table().SoundCount()) + 1;
    sound = ((sound + direction) % choices + choices) % choices;
}

void ButtonSoundsPanel::Click(int32_t x, int32_t y)
{
    const Gadget* hit = FindGadgetAt(gadgets_, x, y);
    if (hit == nullptr)
    {
        return;
    }
    const auto control = static_cast<size_t>(hit - controls_.data());
    MenuSoundEditor::Fields& values = editor_.Values();
    const auto entries = static_cast<int32_t>(editor_.ListEntries().size());
    const auto files = static_cast<int32_t>(std::max<size_t>(files_.size(), 1));
    switch (control)
    {
        case kHighlightedPrevious:
        case kHighlightedNext:
            Choose(values.highlighted, control == kHighlightedNext ? 1 : -1);
            break;
        case kPressedPrevious:
        case kPressedNext:
            Choose(values.pressed, control == kPressedNext ? 1 : -1);
            break;
        case kHighlightedVolume:
        case kHighlightedPitch:
        case kPressedVolume:
        case kPressedPitch:
            focus_ = static_cast<Field>(control - kHighlightedVolume);
            break;
        case kFilePrevious:
        case kFileNext:
            fileChoice_ = (fileChoice_ + (control == kFileNext ? 1 : files - 1)) % files;
            break;
        case kAdd:
            if (!editor_.Add(ChosenFile()))
            {
                ++beeps_;
            }
            break;
        case kDelete:
            editor_.Delete(selected_);
            selected_ = std::min(selected_, static_cast<int32_t>(editor_.Table().SoundCount()));
            break;
        case kReplace:
            editor_.Replace(selected_, ChosenFile());
            break;
        case kOk:
            Close();
            break;
        case kListUp:
            firstShown_ = std::max(firstShown_ - 1, 0);
            break;
        case kListDown:
            firstShown_ = std::min(firstShown_ + 1, std::max(entries - kVisibleEntries, 0));
            break;
        case kList:
            selected_ = std::min(firstShown_ + (y - kListY) / kRowHeight, entries - 1);
            break;
        default:
            break;
    }
}

void ButtonSoundsPanel::Draw()
{
    if (g_renderDevice.BeginDraw() == 0)
    {
        return;
    }
    SetActiveRectList(&repaint_);
    FillRectClipped(kLeft, kTop, kRight, kBottom, kPanelColour);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    DrawColorTextClipped((kLeft + kRight) / 2, kTop + 10, kTextColour,
                         editor_.Title("ButtonSounds").c_str(), kAlignCentre);
    DrawList();
    DrawChoices();
    DrawButtons();
    SetActiveRectList(nullptr);
    g_renderDevice.Wait(0);
    g_renderDevice.Flip();
    g_renderDevice.EndDraw();
}

void ButtonSoundsPanel::DrawList()
{
    DrawColorTextClipped(kListX, kListY - 20, kTextColour, "Overview:", kAlignLeft);
    Fill(controls_[kList], kFieldColour);
    const std::vector<std::string> entries = editor_.ListEntries();
    for (int32_t row = 0; row < kVisibleEntries; ++row)
    {
        const int32_t entry = firstShown_ + row;
        if (entry >= static_cast<int32_t>(entries.size()))
        {
            break;
        }
        const int32_t y = kListY + row * kRowHeight;
        if (entry == selected_)
        {
            FillRectClipped(kListX, y, kListX + kListWidth, y + kRowHeight, kSelectedColour);
        }
        DrawColorTextClipped(kListX + 4, y + 3, kTextColour, entries[entry].c_str(), kAlignLeft);
    }
    Fill(controls_[kListUp], kButtonColour);
    Label(controls_[kListUp], "Up");
    Fill(controls_[kListDown], kButtonColour);
    Label(controls_[kListDown], "Dn");
}

void ButtonSoundsPanel::DrawChoices()
{
    const std::vector<std::string> entries = editor_.ListEntries();
    const MenuSoundEditor::Fields& values = editor_.Values();
    const auto name = [&](int32_t sound)
    {
        return sound >= 0 && static_cast<size_t>(sound) < entries.size() ? entries[sound]
                                                                         : std::string();
    };
    const struct
    {
        const char* label;
        size_t previous;
        std::string shown;
    } choices[] = {{"HighLighted:", kHighlightedPrevious, name(values.highlighted)},
                   {"Pressed:", kPressedPrevious, name(values.pressed)},
                   {"File:", kFilePrevious, ChosenFile()}};
    for (const auto& choice : choices)
    {
        const Gadget& previous = controls_[choice.previous];
        const Gadget& next = controls_[choice.previous + 1];
        DrawColorTextClipped(kChoiceX, previous.screenY + 3, kTextColour, choice.label, kAlignLeft);
        Fill(previous, kButtonColour);
        Label(previous, "(");
        Fill(next, kButtonColour);
        Label(next, ")");
        DrawColorTextClipped((previous.screenX + next.screenX + 20) / 2, previous.screenY + 3,
                             kTextColour, choice.shown.c_str(), kAlignCentre);
    }
    for (size_t field = 0; field < 4; ++field)
    {
        const Gadget& box = controls_[kHighlightedVolume + field];
        DrawColorTextClipped(kChoiceX, box.screenY + 3, kTextColour,
                             field % 2 == 0 ? "Volume:" : "Pitch:", kAlignLeft);
        Fill(box, kFieldColour);
        const bool focused = focus_ == static_cast<Field>(field);
        DrawColorTextClipped(box.screenX + 4, box.screenY + 3, focused ? kFocusColour : kTextColour,
                             FieldText(static_cast<Field>(field))->c_str(), kAlignLeft);
    }
}

void ButtonSoundsPanel::DrawButtons()
{
    const struct
    {
        size_t control;
        const char* text;
    } buttons[] = {{kAdd, "Add"}, {kDelete, "Delete"}, {kReplace, "Replace"}, {kOk, "OK"}};
    for (const auto& button : buttons)
    {
        Fill(controls_[button.control], kButtonColour);
        Label(controls_[button.control], button.text);
    }
}
