#pragma once
#include <cstdint>

#include "macro/AssignmentDialogState.h"
#include "macro/IMacroRecorderView.h"
#include "macro/MacroEventEditor.h"
#include "macro/ProgramClock.h"

// Turns key events from the keyboard hook into macro events of the shown group (macro tab, while
// the record box is checked) or into the single key (single-key tab), and stamps the delays.
// Keys it takes are swallowed, so that a recorded key reaches nothing but the macro.
class MacroRecorder {
public:
    // Every button is a press and a release: 40 buttons are 80 events.
    static constexpr int kMaxEvents = 80;
    static constexpr const char* kLimitText = "Insufficient space, recording up to 40 buttons!";
    static constexpr const char* kLimitCaption = "Warning";

    MacroRecorder(MacroEventEditor& events, AssignmentDialogState& state, const ProgramClock& clock,
                  IMacroRecorderView& view);

    // As at the dialog's initialisation: no event recorded yet, no warning open.
    void Reset();

    // One key event: the keyboard message and the virtual-key code. True swallows it.
    bool OnKey(uint32_t message, uint32_t virtualKey);

    int64_t lastEventTime() const { return lastEventTime_; }
    bool warningShown() const { return warningShown_; }

private:
    bool OnSingleKeyPage(uint32_t message, uint8_t vk);
    bool OnMacroPage(uint32_t message, uint8_t vk);
    // The delay of the newest event, measured or fixed by the delay mode.
    void StampLastEvent();

    MacroEventEditor& events_;
    AssignmentDialogState& state_;
    const ProgramClock& clock_;
    IMacroRecorderView& view_;
    int64_t lastEventTime_ = -1;
    bool warningShown_ = false;
};
