#pragma once

// The suspension dialog as a modal in-game panel over the menu screen, drawn with the menu
// toolkit: four click sliders, the spring and oil steps of each wheel as radio rows, OK and
// Abbruch. The dialog's handlers address its controls by id through DialogHost. The owner calls
// Enter, then Step every frame until it returns a result, then draws nothing more of it.
// Main thread only.

#include <array>
#include <cstdint>
#include <string>

#include "app/device/DirtyRectList.h"
#include "frontend/toolkit/Slider.h"
#include "setup/DialogHost.h"
#include "setup/SuspensionDialog.h"

class SuspensionDialogPanel : public DialogHost
{
public:
    explicit SuspensionDialogPanel(SuspensionDialog& dialog) : m_dialog(dialog) {}

    void Enter();
    // One frame: the mouse, then the panel drawn into the list (both buffers' lists when the
    // owner flips). Open while the dialog runs.
    DialogResult Step(const DirtyRectList& list);
    void Draw(const DirtyRectList& list);

    void SetRange(int32_t control, int32_t minimum, int32_t maximum) override;
    void SetPos(int32_t control, int32_t position) override;
    int32_t GetPos(int32_t control) const override;
    void SetRadio(int32_t firstControl, int32_t index) override;
    int32_t GetRadio(int32_t firstControl) const override;
    void SetText(int32_t control, std::string_view text) override;
    void End(DialogResult result) override { m_result = result; }

private:
    static constexpr int kGroups = 4;
    int SliderIndex(int32_t control) const;
    int GroupIndex(int32_t firstControl) const;
    void Click(int32_t x, int32_t y);

    SuspensionDialog& m_dialog;
    std::array<Slider, 4> m_sliders{};
    std::array<int32_t, kGroups> m_radio{};
    DialogResult m_result = DialogResult::Open;
    bool m_buttonHeld = false;
    int m_dragged = -1;
};
