#pragma once
#include <string>

#include "macro/MacroLibrary.h"

// What the group list (macro_group) and its buttons do to the library, without any widget: each
// change is saved at once. The list adapter calls these and then refreshes its rows when the
// function says the library changed.
class MacroGroupEditor {
public:
    explicit MacroGroupEditor(MacroLibrary& library) : m_library(library) {}

    // AddGroup and save. An empty name does nothing at all: false, no save, no refresh.
    bool AddNamedGroup(const std::string& name);
    // AddDefaultGroup ("Group N") and save.
    void AddDefaultGroup();
    // RemoveGroup (−1 = last) and save, also when nothing was removed.
    void RemoveGroup(int index);
    // A keystroke in a row's name box: when the group exists and its name differs, take the text
    // and save. Returns whether it did. The list is not refreshed for a rename.
    bool Rename(int index, const std::string& text);

    // The groupAdd button with the list's selected row (−1 none): adds "Group N", saves, and
    // returns the row to select afterwards, to be selected without notification and passed to
    // OnMacroGroupClicked. The selection moves to the new group only from the previously last row.
    int AddButton(int selectedRow);
    // The groupDel button: removes the selected group (the last one with no selection), saves, and
    // returns the row to select afterwards in the same way.
    int DeleteButton(int selectedRow);

    // Whether the last save succeeded, for telling the user that the file could not be written.
    bool lastSaveOk() const { return m_lastSaveOk; }

private:
    void Save() { m_lastSaveOk = m_library.Save(); }

    MacroLibrary& m_library;
    bool m_lastSaveOk = true;
};
