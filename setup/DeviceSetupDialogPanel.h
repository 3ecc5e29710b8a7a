#pragma once

// The 3D-device dialog as a modal in-game panel, drawn with the menu toolkit: the lists of
// render libraries, their devices, display modes and refresh rates on the left, the full-screen
// box and the sound group on the right, OK and Cancel below. A choice in a list runs the
// dialog's handler for it; Escape closes the panel as Cancel. The owner calls Enter, then Step
// every frame until it returns a result. Main thread only.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "setup/DeviceSetupDialog.h"
#include "setup/DialogHost.h"

class DeviceSetupDialogPanel : public DialogHost
{
public:
    explicit DeviceSetupDialogPanel(DeviceSetupDialog& dialog) : m_dialog(dialog) {}

    void Enter();
    // One frame: the mouse and Escape, then the panel drawn into the list.
    DialogResult Step(const DirtyRectList& list);
    void Draw(const DirtyRectList& list);

    void SetRange(int32_t /*control*/, int32_t /*minimum*/, int32_t /*maximum*/) override {}
    void SetPos(int32_t /*control*/, int32_t /*position*/) override {}
    int32_t GetPos(int32_t /*control*/) const override { return 0; }
    void SetRadio(int32_t /*firstControl*/, int32_t /*index*/) override {}
    int32_t GetRadio(int32_t /*firstControl*/) const override { return 0; }
    void SetText(int32_t control, std::string_view text) override;
    void End(DialogResult result) override { m_result = result; }
    void ClearItems(int32_t control) override;
    void AddItem(int32_t control, std::string_view text) override;
    void SetSel(int32_t control, int32_t index) override;
    int32_t GetSel(int32_t control) const override;
    void SetCheck(int32_t control, bool checked) override;
    bool GetCheck(int32_t control) const override;

    // What a list shows, for the owner's tests and the drawing.
    const std::vector<std::string>& Items(int32_t control) const;
    std::string Text(int32_t control) const;

private:
    struct List
    {
        int32_t control;
        ScreenRect box;
        std::vector<std::string> items;
        int32_t selected = -1;
        int32_t first = 0;  // the top row shown
    };

    List* ListOf(int32_t control);
    const List* ListOf(int32_t control) const;
    void Click(int32_t x, int32_t y);
    void Choose(List& list, int32_t row);
    void DrawList(const List& list) const;

    DeviceSetupDialog& m_dialog;
    std::vector<List> m_lists;
    std::map<int32_t, bool> m_checks;
    std::map<int32_t, std::string> m_texts;
    DialogResult m_result = DialogResult::Open;
    bool m_buttonHeld = false;
};
