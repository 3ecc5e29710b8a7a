#pragma once

// The controls of a modal dialog, addressed by their control ids: what a dialog's handlers
// read and set, whether the dialog is shown as an in-game panel or driven by a test script.
// Main thread only.

#include <cstdint>
#include <string_view>

enum class DialogResult : int32_t
{
    Open = 0,
    Ok = 1,
    Cancel = 2,
};

class DialogHost
{
public:
    virtual ~DialogHost() = default;

    // Sliders.
    virtual void SetRange(int32_t control, int32_t minimum, int32_t maximum) = 0;
    virtual void SetPos(int32_t control, int32_t position) = 0;
    virtual int32_t GetPos(int32_t control) const = 0;
    // A group of radio buttons, named by the ids of its buttons in order: the index of the
    // checked one.
    virtual void SetRadio(int32_t firstControl, int32_t index) = 0;
    virtual int32_t GetRadio(int32_t firstControl) const = 0;
    virtual void SetText(int32_t control, std::string_view text) = 0;
    virtual void End(DialogResult result) = 0;

    // Lists and check boxes; a host whose dialog has none keeps these.
    virtual void ClearItems(int32_t /*control*/) {}
    virtual void AddItem(int32_t /*control*/, std::string_view /*text*/) {}
    virtual void SetSel(int32_t /*control*/, int32_t /*index*/) {}
    virtual int32_t GetSel(int32_t /*control*/) const { return -1; }  // -1: nothing chosen
    virtual void SetCheck(int32_t /*control*/, bool /*checked*/) {}
    virtual bool GetCheck(int32_t /*control*/) const { return false; }
};
