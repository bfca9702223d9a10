#include "macro/MacroGroup.h"

bool MacroGroup::AddEvent(int code, int state, const std::string& keyName, int delay) {
    if (code == 0) return false;
    events.push_back(MacroEvent{std::to_string(code), keyName, std::to_string(state), std::to_string(delay)});
    return true;
}

void MacroGroup::RemoveEvent(int index) {
    if (events.empty()) return;
    if (index == -1) index = EventCount() - 1;
    if (index < 0 || index >= EventCount()) return;
    events.erase(events.begin() + index);
}

bool MacroGroup::MoveEvent(int from, int to) {
    if (from < 0 || from >= EventCount() || from == to) return false;
    MacroEvent moved = std::move(events[static_cast<size_t>(from)]);
    events.erase(events.begin() + from);
    if (to < 0 || to >= EventCount()) events.push_back(std::move(moved));
    else events.insert(events.begin() + to, std::move(moved));
    return true;
}

void MacroGroup::ClearEvents() { events.clear(); }

MacroEvent* MacroGroup::Event(int index) {
    return index >= 0 && index < EventCount() ? &events[static_cast<size_t>(index)] : nullptr;
}

const MacroEvent* MacroGroup::Event(int index) const {
    return index >= 0 && index < EventCount() ? &events[static_cast<size_t>(index)] : nullptr;
}
