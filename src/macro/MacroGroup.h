#pragma once
#include <string>
#include <vector>

#include "macro/MacroEvent.h"

// A named macro: an ordered list of key events. None of the operations saves; the caller saves the
// library that holds the group after each change.
class MacroGroup {
public:
    std::string name;  // may be empty (written as name="", so the group survives a reload)
    std::vector<MacroEvent> events;

    // Appends an event with the decimal texts of code, state and delay. A code of 0 adds nothing;
    // returns whether an event was added.
    bool AddEvent(int code, int state, const std::string& keyName, int delay);
    // Removes the event at index; −1 is the last one. Nothing happens for other indices outside
    // the list or when it is empty.
    void RemoveEvent(int index);
    // Takes the event at from out and inserts it at to (to −1 or past the end: at the end).
    // Refused (false, nothing changed) when from is outside the list or equals to.
    bool MoveEvent(int from, int to);
    void ClearEvents();

    int EventCount() const { return static_cast<int>(events.size()); }
    // The event at index, or nullptr outside 0..EventCount()−1.
    MacroEvent* Event(int index);
    const MacroEvent* Event(int index) const;

    bool operator==(const MacroGroup&) const = default;
};
