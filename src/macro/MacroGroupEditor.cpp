#include "macro/MacroGroupEditor.h"

bool MacroGroupEditor::AddNamedGroup(const std::string& name) {
    if (!m_library.AddGroup(name)) return false;
    Save();
    return true;
}

void MacroGroupEditor::AddDefaultGroup() {
    m_library.AddDefaultGroup();
    Save();
}

void MacroGroupEditor::RemoveGroup(int index) {
    m_library.RemoveGroup(index);
    Save();
}

bool MacroGroupEditor::Rename(int index, const std::string& text) {
    MacroGroup* group = m_library.Group(index);
    if (!group || group->name == text) return false;
    group->name = text;
    Save();
    return true;
}

int MacroGroupEditor::AddButton(int selectedRow) {
    AddDefaultGroup();
    if (selectedRow >= 0 && selectedRow < m_library.GroupCount() - 1) return selectedRow + 1;
    return selectedRow;
}

int MacroGroupEditor::DeleteButton(int selectedRow) {
    RemoveGroup(selectedRow);
    if (selectedRow != 0 && selectedRow >= m_library.GroupCount()) return selectedRow - 1;
    return selectedRow;
}
