#pragma once
#include <string>

#include "macro/MacroLibrary.h"

// What the key-and-delay list (key_info), its buttons and the recorder do to the events of the
// shown group, without any widget. Every operation is inert (returns false, saves nothing) while
// no group is shown; otherwise it changes the group, saves the library at once and returns true,
// and the list adapter then refreshes its rows.
class MacroEventEditor {
public:
    enum class DelayEdit {
        Ignored,    // no group shown, or no event at that row
        Unchanged,  // the text equals the stored delay
        Stored,     // the text became the delay and was saved
        Rejected,   // not a number: put the stored delay back into the edit
    };

    explicit MacroEventEditor(MacroLibrary& library) : m_library(library) {}

    // The group whose events are shown (nullptr for none). It points into the library: show it
    // again, or none, after any change to the set of groups.
    void ShowGroup(MacroGroup* group) { m_group = group; }
    MacroGroup* currentGroup() const { return m_group; }
    int EventCount() const { return m_group ? m_group->EventCount() : 0; }

    // AddEvent on the shown group; a code of 0 does nothing at all (false, no save).
    bool AddEvent(int code, int state, const std::string& keyName, int delay);
    // MoveEvent (index, index − 1) / (index, index + 1). The library is saved even when the move
    // is refused; the return value is whether the move was made.
    bool MoveUp(int index);
    bool MoveDown(int index);
    // RemoveEvent (−1 = last) / ClearEvents, then save.
    bool RemoveEvent(int index);
    bool Clear();

    // The item_up / item_down buttons with the list's selected row (−1 none): the row to select
    // afterwards without notification (the same row when nothing moved).
    int UpButton(int selectedRow);
    int DownButton(int selectedRow);

    // A change of the delay edit in the row of event index. The text is kept as typed when it
    // starts like a decimal number ("250", " -3", "1x", also empty or blank text).
    DelayEdit EditDelay(int index, const std::string& text);

    // The key_state column: "key down" for a state whose decimal value is 0 (also a non-number),
    // "key up" for 1, "replace" for anything else.
    static const char* StateText(const std::string& state);

    bool lastSaveOk() const { return m_lastSaveOk; }

private:
    bool Save();

    MacroLibrary& m_library;
    MacroGroup* m_group = nullptr;
    bool m_lastSaveOk = true;
};
