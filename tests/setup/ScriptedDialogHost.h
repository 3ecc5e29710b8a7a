#pragma once

// A dialog host that a test drives: controls are plain values by id, and the dialog's end is
// recorded.

#include <map>
#include <string>

#include "setup/DialogHost.h"

class ScriptedDialogHost : public DialogHost
{
public:
    struct Range
    {
        int32_t minimum;
        int32_t maximum;
    };

    void SetRange(int32_t control, int32_t minimum, int32_t maximum) override
    {
        ranges[control] = {minimum, maximum};
    }
    void SetPos(int32_t control, int32_t position) override { positions[control] = position; }
    int32_t GetPos(int32_t control) const override { return positions.at(control); }
    void SetRadio(int32_t firstControl, int32_t index) override { radios[firstControl] = index; }
    int32_t GetRadio(int32_t firstControl) const override { return radios.at(firstControl); }
    void SetText(int32_t control, std::string_view text) override
    {
        texts[control] = std::string(text);
    }
    void End(DialogResult endedWith) override { result = endedWith; }

    std::map<int32_t, Range> ranges;
    std::map<int32_t, int32_t> positions;
    std::map<int32_t, int32_t> radios;
    std::map<int32_t, std::string> texts;
    DialogResult result = DialogResult::Open;
};
