#include "setup/DeviceSetupDialogPanel.h"

#include <algorithm>

#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "platform/VirtualKeys.h"
#include "setup/PanelDrawing.h"

namespace
{
using D = DeviceSetupDialog;

constexpr ScreenRect kPanel{40, 20, 600, 460};
constexpr ScreenRect kSoundGroup{336, 84, 584, 396};
constexpr ScreenRect kOkButton{200, 420, 280, 444};
constexpr ScreenRect kCancelButton{360, 420, 440, 444};
constexpr int32_t kRow = 13;
constexpr int32_t kArrowWidth = 12;
constexpr uint32_t kListFace = 0xF0F0F0;
constexpr uint32_t kSelectedRow = 0x783C28;
constexpr uint32_t kArrowFace = 0xC0C0C0;

struct ListPlace
{
    int32_t control;
    ScreenRect box;
    int32_t labelControl;  // the text the dialog sets above the list; -1 none
};

// The sound labels' ids as the dialog sets them.
constexpr std::array<ListPlace, 7> kListPlaces = {{
    {D::kLibraries, {56, 56, 316, 108}, -1},
    {D::kDevices, {56, 126, 316, 178}, -1},
    {D::kModes, {56, 196, 316, 300}, -1},
    {D::kRefreshRates, {56, 318, 316, 397}, -1},
    {D::kFrequencies, {352, 126, 464, 166}, 2002},
    {D::kBufferSizes, {352, 200, 464, 266}, 2003},
    {D::kVoices, {352, 300, 464, 340}, 2004},
}};
constexpr int32_t kCheckX = 352;
constexpr int32_t kFullScreenY = 56;
constexpr int32_t kSoundOffY = 350;
constexpr int32_t kInterpolatedY = 368;

int32_t RowsShown(const ScreenRect& box)
{
    return (box.bottom - box.top - 2) / kRow;
}

ScreenRect UpArrow(const ScreenRect& box)
{
    return {box.right - kArrowWidth, box.top, box.right, box.top + kArrowWidth};
}

ScreenRect DownArrow(const ScreenRect& box)
{
    return {box.right - kArrowWidth, box.bottom - kArrowWidth, box.right, box.bottom};
}

ScreenRect CheckRect(int32_t y)
{
    return {kCheckX, y, kCheckX + 160, y + kRow + 1};
}
}  // namespace

void DeviceSetupDialogPanel::Enter()
{
    m_lists.clear();
    for (const ListPlace& place : kListPlaces)
    {
        m_lists.push_back({place.control, place.box, {}, -1, 0});
    }
    m_checks.clear();
    m_result = DialogResult::Open;
    m_dialog.OnInitDialog(*this);
    ClearKey(vk::LeftButton);
    ClearKey(vk::Escape);
}

DeviceSetupDialogPanel::List* DeviceSetupDialogPanel::ListOf(int32_t control)
{
    const auto at = std::find_if(m_lists.begin(), m_lists.end(),
                                 [control](const List& list) { return list.control == control; });
    return at == m_lists.end() ? nullptr : &*at;
}

const DeviceSetupDialogPanel::List* DeviceSetupDialogPanel::ListOf(int32_t control) const
{
    return const_cast<DeviceSetupDialogPanel*>(this)->ListOf(control);
}

void DeviceSetupDialogPanel::SetText(int32_t control, std::string_view text)
{
    m_texts[control] = std::string(text);
}

std::string DeviceSetupDialogPanel::Text(int32_t control) const
{
    const auto at = m_texts.find(control);
    return at == m_texts.end() ? std::string() : at->second;
}

void DeviceSetupDialogPanel::ClearItems(int32_t control)
{
    if (List* list = ListOf(control))
    {
        list->items.clear();
        list->selected = -1;
        list->first = 0;
    }
}

void DeviceSetupDialogPanel::AddItem(int32_t control, std::string_view text)
{
    if (List* list = ListOf(control))
    {
        list->items.emplace_back(text);
    }
}

// The chosen row is scrolled into view.
void DeviceSetupDialogPanel::SetSel(int32_t control, int32_t index)
{
    List* list = ListOf(control);
    if (list == nullptr)
    {
        return;
    }
    const auto count = static_cast<int32_t>(list->items.size());
    list->selected = index >= 0 && index < count ? index : -1;
    const int32_t rows = RowsShown(list->box);
    if (list->selected >= 0 &&
        (list->selected < list->first || list->selected >= list->first + rows))
    {
        list->first = std::clamp(list->selected - rows + 1, 0, std::max(count - rows, 0));
    }
}

int32_t DeviceSetupDialogPanel::GetSel(int32_t control) const
{
    const List* list = ListOf(control);
    return list == nullptr ? -1 : list->selected;
}

void DeviceSetupDialogPanel::SetCheck(int32_t control, bool checked)
{
    m_checks[control] = checked;
}

bool DeviceSetupDialogPanel::GetCheck(int32_t control) const
{
    const auto at = m_checks.find(control);
    return at != m_checks.end() && at->second;
}

const std::vector<std::string>& DeviceSetupDialogPanel::Items(int32_t control) const
{
    static const std::vector<std::string> kNone;
    const List* list = ListOf(control);
    return list == nullptr ? kNone : list->items;
}

// A choice in the library, device or mode list lists what it offers in the lists below it.
void DeviceSetupDialogPanel::Choose(List& list, int32_t row)
{
    if (row < 0 || row >= static_cast<int32_t>(list.items.size()) || row == list.selected)
    {
        return;
    }
    list.selected = row;
    switch (list.control)
    {
        case D::kLibraries:
            m_dialog.OnLibraryChanged(*this);
            break;
        case D::kDevices:
            m_dialog.OnDeviceChanged(*this);
            break;
        case D::kModes:
            m_dialog.OnModeChanged(*this);
            break;
        default:
            break;
    }
}

void DeviceSetupDialogPanel::Click(int32_t x, int32_t y)
{
    for (List& list : m_lists)
    {
        if (!Inside(list.box, x, y))
        {
            continue;
        }
        const auto count = static_cast<int32_t>(list.items.size());
        const int32_t rows = RowsShown(list.box);
        if (count > rows && Inside(UpArrow(list.box), x, y))
        {
            list.first = std::max(list.first - 1, 0);
        }
        else if (count > rows && Inside(DownArrow(list.box), x, y))
        {
            list.first = std::min(list.first + 1, count - rows);
        }
        else
        {
            Choose(list, list.first + (y - list.box.top - 1) / kRow);
        }
        return;
    }
    for (const auto& [control, top] :
         {std::pair{D::kFullScreen, kFullScreenY}, std::pair{D::kSoundOff, kSoundOffY},
          std::pair{D::kInterpolated, kInterpolatedY}})
    {
        if (Inside(CheckRect(top), x, y))
        {
            m_checks[control] = !GetCheck(control);
            return;
        }
    }
    if (Inside(kOkButton, x, y))
    {
        m_dialog.OnOK(*this);
    }
    else if (Inside(kCancelButton, x, y))
    {
        m_dialog.OnCancel(*this);
    }
}

DialogResult DeviceSetupDialogPanel::Step(const DirtyRectList& list)
{
    std::array<int32_t, 3> cursor{};
    g_renderDevice.GetCursorData(cursor.data());
    const bool held = (ReadKey(vk::LeftButton) & kKeyHeld) != 0;
    if (held && !m_buttonHeld)
    {
        Click(cursor[0], cursor[1]);
    }
    m_buttonHeld = held;
    if (m_result == DialogResult::Open && (ReadKey(vk::Escape) & kKeyPressed) != 0)
    {
        m_dialog.OnCancel(*this);  // closing the window
    }
    Draw(list);
    return m_result;
}

void DeviceSetupDialogPanel::DrawList(const List& list) const
{
    const ScreenRect& box = list.box;
    DrawFrame(box, kListFace);
    const auto count = static_cast<int32_t>(list.items.size());
    const int32_t rows = RowsShown(box);
    const bool scrolls = count > rows;
    const int32_t right = scrolls ? box.right - kArrowWidth : box.right - 1;
    for (int32_t row = 0; row < rows && list.first + row < count; ++row)
    {
        const int32_t entry = list.first + row;
        const int32_t top = box.top + 1 + row * kRow;
        const bool chosen = entry == list.selected;
        if (chosen)
        {
            FillRectClipped(box.left + 1, top, right, top + kRow, kSelectedRow);
        }
        DrawColorTextClipped(box.left + 4, top, chosen ? 0xFFFFFF : kPanelText,
                             list.items[static_cast<size_t>(entry)].c_str(), kAlignLeft);
    }
    if (scrolls)
    {
        DrawArrowButton(UpArrow(box), ArrowDirection::Up, kArrowFace, kPanelText);
        DrawArrowButton(DownArrow(box), ArrowDirection::Down, kArrowFace, kPanelText);
    }
}

void DeviceSetupDialogPanel::Draw(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    DrawPanelWithTitle(kPanel, Text(D::kTitle).c_str());
    DrawFrame(kSoundGroup, 0xA0A8B4);
    DrawColorTextClipped(kSoundGroup.left + 8, kSoundGroup.top + 4, kPanelText,
                         Text(D::kSoundGroup).c_str(), kAlignLeft);
    for (size_t i = 0; i < m_lists.size(); ++i)
    {
        const ListPlace& place = kListPlaces[i];
        if (place.labelControl >= 0)
        {
            DrawColorTextClipped(place.box.left, place.box.top - 15, kPanelText,
                                 Text(place.labelControl).c_str(), kAlignLeft);
        }
        DrawList(m_lists[i]);
    }
    DrawCheckBox(kCheckX, kFullScreenY, GetCheck(D::kFullScreen), Text(D::kFullScreen).c_str());
    DrawCheckBox(kCheckX, kSoundOffY, GetCheck(D::kSoundOff), Text(D::kSoundOff).c_str());
    DrawCheckBox(kCheckX, kInterpolatedY, GetCheck(D::kInterpolated),
                 Text(D::kInterpolated).c_str());
    DrawButton(kOkButton, Text(D::kOk).c_str());
    DrawButton(kCancelButton, Text(D::kCancel).c_str());
}
