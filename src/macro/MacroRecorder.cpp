#include "macro/MacroRecorder.h"

#include <string>

#include "app/KeyCodeTable.h"
#include "macro/KeyboardHookEvent.h"

namespace {

bool IsDown(uint32_t message) { return message == kMsgKeyDown || message == kMsgSysKeyDown; }
bool IsUp(uint32_t message) { return message == kMsgKeyUp || message == kMsgSysKeyUp; }

}  // namespace

MacroRecorder::MacroRecorder(MacroEventEditor& events, AssignmentDialogState& state, const ProgramClock& clock,
                             IMacroRecorderView& view)
    : events_(events), state_(state), clock_(clock), view_(view) {}

void MacroRecorder::Reset() {
    lastEventTime_ = -1;
    warningShown_ = false;
}

bool MacroRecorder::OnKey(uint32_t message, uint32_t virtualKey) {
    const uint8_t vk = static_cast<uint8_t>(virtualKey & 0xFF);
    switch (view_.CurrentPage()) {
        case AssignmentPageSingleKey: return OnSingleKeyPage(message, vk);
        case AssignmentPageMacro: return OnMacroPage(message, vk);
        default: return false;
    }
}

bool MacroRecorder::OnSingleKeyPage(uint32_t message, uint8_t vk) {
    if (IsDown(message)) {
        const std::optional<uint8_t> usage = UsageForVirtualKey(vk);
        const char* name = usage ? NameForUsage(*usage) : nullptr;
        if (name) {
            view_.ShowSingleKey(name, *usage);
            state_.sgcode = *usage;
            state_.Save();
        } else {
            view_.ForgetSingleKey();
        }
    }
    // Every key, released ones too, belongs to the capture while this tab is shown.
    return true;
}

bool MacroRecorder::OnMacroPage(uint32_t message, uint8_t vk) {
    if (!view_.IsRecordChecked()) return false;
    if (events_.EventCount() >= kMaxEvents) {
        // One box at a time: key events keep arriving while it is open.
        if (!warningShown_) {
            warningShown_ = true;
            view_.ShowRecordLimitWarning(kLimitText, kLimitCaption);
            warningShown_ = false;
        }
        return false;  // the key works normally
    }
    int state = 0;
    if (IsDown(message)) {
        if (events_.EventCount() > 0) StampLastEvent();
    } else if (IsUp(message)) {
        if (events_.EventCount() == 0) return true;  // a release whose press was not recorded
        StampLastEvent();
        state = 1;
    } else {
        return true;
    }
    if (const std::optional<uint8_t> usage = UsageForVirtualKey(vk)) {
        const char* name = NameForUsage(*usage);
        events_.AddEvent(*usage, state, name ? name : "", 0);
    }
    view_.RefreshEvents();
    lastEventTime_ = clock_.NowMs();
    return true;
}

void MacroRecorder::StampLastEvent() {
    MacroGroup* group = events_.currentGroup();
    MacroEvent* last = group ? group->Event(group->EventCount() - 1) : nullptr;
    if (!last) return;
    int64_t delay = 0;
    if (state_.dlymode == DelayModeReal) delay = clock_.NowMs() - lastEventTime_;
    else if (state_.dlymode == DelayModeFixed) delay = state_.delay;
    // Reaches the file with the next save, the one of the event that follows.
    last->delay = std::to_string(delay);
}
