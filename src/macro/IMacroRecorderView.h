#pragma once
#include <cstdint>
#include <string>

// The assignment dialog as the recorder sees it.
class IMacroRecorderView {
public:
    virtual ~IMacroRecorderView() = default;
    // The shown tab of tab_macro_mode_selection (an AssignmentPage).
    virtual int CurrentPage() const = 0;
    virtual bool IsRecordChecked() const = 0;
    // The modal "Warning" box of the recording limit; returns when the user has closed it.
    virtual void ShowRecordLimitWarning(const char* text, const char* caption) = 0;
    // edit_single_key: show the captured key's name and keep its usage.
    virtual void ShowSingleKey(const std::string& name, uint8_t usage) = 0;
    // edit_single_key: forget the captured usage (0), keep the text shown.
    virtual void ForgetSingleKey() = 0;
    // Rebuild the rows of the event list.
    virtual void RefreshEvents() = 0;
};
