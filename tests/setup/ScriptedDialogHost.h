#pragma once

// A dialog host that a test drives: controls are plain values by id, and the dialog's end is
// recorded.

#include <map>
#include <string>
#include <vector>

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
    void ClearItems(int32_t control) override { items[control].clear(); }
    void AddItem(int32_t control, std::string_view text) override
    {
        items[control].emplace_back(text);
    }
    void SetSel(int32_t control, int32_t index) override { selections[control] = index; }
    int32_t GetSel(int32_t control) const override
    {
        const auto at = selections.find(control);
        return at == selections.end() ? -1 : at->second;
    }
    void SetCheck(int32_t control, bool checked) override { checks[control] = checked; }
    bool GetCheck(int32_t control) const override
    {
        const auto at = checks.find(control);
        return at != checks.end() && at->second;
    }

    std::map<int32_t, Range> ranges;
    std::map<int32_t, int32_t> positions;
    std::map<int32_t, int32_t> radios;
    std::map<int32_t, std::string> texts;
    std::map<int32_t, std::vector<std::string>> items;
    std::map<int32_t, int32_t> selections;
    std::map<int32_t, bool> checks;
    DialogResult result = DialogResult::Open;
};
