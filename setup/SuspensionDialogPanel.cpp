#include "setup/SuspensionDialogPanel.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "setup/PanelDrawing.h"

namespace
{
constexpr ScreenRect kPanel{80, 30, 560, 450};
constexpr uint32_t kText = kPanelText;
constexpr uint32_t kTrack = 0x505050;
constexpr ScreenRect kOkButton{200, 412, 280, 436};
constexpr ScreenRect kCancelButton{360, 412, 440, 436};
constexpr std::array<int32_t, 2> kColumnX = {100, 340};
constexpr int32_t kSliderWidth = 180;
constexpr std::array<int32_t, 2> kSliderY = {108, 148};
constexpr int32_t kSpringTop = 196;
constexpr int32_t kOilTop = 306;
constexpr int32_t kRadioRow = 16;

constexpr std::array<std::string_view, 5> kSpringTexts = {"sehr weich", "weich", "mittel", "hart",
                                                          "sehr hart"};
constexpr std::array<std::string_view, 5> kOilTexts = {"sehr d\xFCnnfl\xFCssig",
                                                       "d\xFCnnfl\xFCssig", "normal",
                                                       "z\xE4hfl\xFCssig", "sehr z\xE4hfl\xFCssig"};

// Groups in the order front spring, rear spring, front oil, rear oil.
constexpr std::array<int32_t, 4> kGroupIds = {
    SuspensionDialog::kFrontSpring[0], SuspensionDialog::kRearSpring[0],
    SuspensionDialog::kFrontOil[0], SuspensionDialog::kRearOil[0]};

int32_t GroupX(int group)
{
    return kColumnX[static_cast<size_t>(group % 2)];
}

int32_t GroupTop(int group)
{
    return group < 2 ? kSpringTop : kOilTop;
}

}  // namespace

void SuspensionDialogPanel::Enter()
{
    for (size_t i = 0; i < m_sliders.size(); ++i)
    {
        Slider& slider = m_sliders[i];
        slider.x = static_cast<uint16_t>(kColumnX[i / 2]);
        slider.y = static_cast<uint16_t>(kSliderY[i % 2]);
        slider.width = kSliderWidth;
        slider.height = 8;
        slider.knobWidth = 12;
        slider.knobHeight = 8;
    }
    m_result = DialogResult::Open;
    m_dialog.OnInitDialog(*this);
    ClearKey(vk::LeftButton);
}

int SuspensionDialogPanel::SliderIndex(int32_t control) const
{
    // Front compression, front rebound, rear compression, rear rebound.
    const auto& ids = SuspensionDialog::kClickSliders;
    const auto at = std::find(ids.begin(), ids.end(), control);
    return at == ids.end() ? -1 : static_cast<int>(at - ids.begin());
}

int SuspensionDialogPanel::GroupIndex(int32_t firstControl) const
{
    const auto at = std::find(kGroupIds.begin(), kGroupIds.end(), firstControl);
    return at == kGroupIds.end() ? -1 : static_cast<int>(at - kGroupIds.begin());
}

void SuspensionDialogPanel::SetRange(int32_t control, int32_t minimum, int32_t maximum)
{
    if (const int i = SliderIndex(control); i >= 0)
    {
        m_sliders[static_cast<size_t>(i)].minimum = static_cast<float>(minimum);
        m_sliders[static_cast<size_t>(i)].maximum = static_cast<float>(maximum);
        m_sliders[static_cast<size_t>(i)].UpdateKnob();
    }
}

void SuspensionDialogPanel::SetPos(int32_t control, int32_t position)
{
    if (const int i = SliderIndex(control); i >= 0)
    {
        m_sliders[static_cast<size_t>(i)].value = static_cast<float>(position);
        m_sliders[static_cast<size_t>(i)].UpdateKnob();
    }
}

int32_t SuspensionDialogPanel::GetPos(int32_t control) const
{
    const int i = SliderIndex(control);
    return i < 0 ? 0 : static_cast<int32_t>(std::lround(m_sliders[static_cast<size_t>(i)].value));
}

void SuspensionDialogPanel::SetRadio(int32_t firstControl, int32_t index)
{
    if (const int group = GroupIndex(firstControl); group >= 0)
    {
        m_radio[static_cast<size_t>(group)] = std::clamp(index, 0, 4);
    }
}

int32_t SuspensionDialogPanel::GetRadio(int32_t firstControl) const
{
    const int group = GroupIndex(firstControl);
    return group < 0 ? 0 : m_radio[static_cast<size_t>(group)];
}

void SuspensionDialogPanel::SetText(int32_t /*control*/, std::string_view /*text*/)
{
    // The panel's texts are its own; the dialog sets none.
}

void SuspensionDialogPanel::Click(int32_t x, int32_t y)
{
    for (size_t i = 0; i < m_sliders.size(); ++i)
    {
        const Slider& s = m_sliders[i];
        if (x >= s.x - 6 && x <= s.x + s.width + 6 && y >= s.y - 4 && y < s.y + s.height + 4)
        {
            m_dragged = static_cast<int>(i);
            return;
        }
    }
    for (int group = 0; group < kGroups; ++group)
    {
        for (int row = 0; row < 5; ++row)
        {
            const int32_t top = GroupTop(group) + kRadioRow * row;
            if (Inside({GroupX(group), top, GroupX(group) + 180, top + kRadioRow}, x, y))
            {
                m_radio[static_cast<size_t>(group)] = row;
                return;
            }
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

DialogResult SuspensionDialogPanel::Step(const DirtyRectList& list)
{
    std::array<int32_t, 3> cursor{};
    g_renderDevice.GetCursorData(cursor.data());
    const bool held = (ReadKey(vk::LeftButton) & kKeyHeld) != 0;
    if (held && !m_buttonHeld)
    {
        Click(cursor[0], cursor[1]);
    }
    if (!held)
    {
        m_dragged = -1;
    }
    m_buttonHeld = held;
    if (m_dragged >= 0)
    {
        Slider& slider = m_sliders[static_cast<size_t>(m_dragged)];
        slider.SetFromMouse(cursor[0]);
        slider.value = std::round(slider.value);  // whole clicks
        slider.UpdateKnob();
    }
    Draw(list);
    return m_result;
}

void SuspensionDialogPanel::Draw(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    DrawPanelWithTitle(kPanel, "Federh\xE4rte einstellen");
    for (int wheel = 0; wheel < 2; ++wheel)
    {
        const int32_t x = kColumnX[static_cast<size_t>(wheel)];
        DrawColorTextClipped(x, 64, kText, wheel == 0 ? "Vorderrad:" : "Hinterrad:", kAlignLeft);
        DrawColorTextClipped(x, 92, kText, "Compression", kAlignLeft);
        DrawColorTextClipped(x, 132, kText, "Rebound clicks", kAlignLeft);
        DrawColorTextClipped(x, kSpringTop - 16, kText, "Federh\xE4rte", kAlignLeft);
        DrawColorTextClipped(x, kOilTop - 16, kText, "Viskosit\xE4t des D\xE4mpfer\xF6ls",
                             kAlignLeft);
    }
    for (const Slider& slider : m_sliders)
    {
        FillRectClipped(slider.x, slider.y + 3, slider.x + slider.width, slider.y + 5, kTrack);
        FillRectClipped(slider.knobPosition, slider.y, slider.knobPosition + slider.knobWidth,
                        slider.y + slider.knobHeight, 0x2040C0);
        const std::string value = std::to_string(static_cast<int>(std::lround(slider.value)));
        DrawColorTextClipped(slider.x + slider.width + 12, slider.y - 3, kText, value.c_str(),
                             kAlignLeft);
    }
    for (int group = 0; group < kGroups; ++group)
    {
        const auto& texts = group < 2 ? kSpringTexts : kOilTexts;
        for (int row = 0; row < 5; ++row)
        {
            const int32_t x = GroupX(group);
            const int32_t y = GroupTop(group) + kRadioRow * row;
            DrawCheckBox(x, y, m_radio[static_cast<size_t>(group)] == row,
                         std::string(texts[static_cast<size_t>(row)]).c_str());
        }
    }
    DrawButton(kOkButton, "OK");
    DrawButton(kCancelButton, "Abbruch");
}
