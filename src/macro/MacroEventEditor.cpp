#include "macro/MacroEventEditor.h"

#include "app/NumberText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a scan with one decimal conversion would fail on text: it fails when the first
// non-blank character cannot begin a number, and does not when the text ends before it.
bool BeginsLikeDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return true;
    if (text[i] == '+' || text[i] == '-') ++i;
    return i < text.size() && IsDigit(text[i]);
}

}  // namespace

bool MacroEventEditor::Save() {
    m_lastSaveOk = m_library.Save();
    return true;
}

bool MacroEventEditor::AddEvent(int code, int state, const std::string& keyName, int delay) {
    return m_group && m_group->AddEvent(code, state, keyName, delay) && Save();
}

bool MacroEventEditor::MoveUp(int index) {
    if (!m_group) return false;
    const bool moved = m_group->MoveEvent(index, index - 1);
    Save();
    return moved;
}

bool MacroEventEditor::MoveDown(int index) {
    if (!m_group) return false;
    const bool moved = m_group->MoveEvent(index, index + 1);
    Save();
    return moved;
}

bool MacroEventEditor::RemoveEvent(int index) {
    if (!m_group) return false;
    m_group->RemoveEvent(index);
    return Save();
}

bool MacroEventEditor::Clear() {
    if (!m_group) return false;
    m_group->ClearEvents();
    return Save();
}

int MacroEventEditor::UpButton(int selectedRow) {
    return selectedRow > 0 && MoveUp(selectedRow) ? selectedRow - 1 : selectedRow;
}

int MacroEventEditor::DownButton(int selectedRow) {
    // Moving the last row "down" succeeds without changing anything; the list then ignores the
    // request to select the row past the end.
    if (selectedRow < EventCount() && MoveDown(selectedRow) && selectedRow + 1 < EventCount()) return selectedRow + 1;
    return selectedRow;
}

MacroEventEditor::DelayEdit MacroEventEditor::EditDelay(int index, const std::string& text) {
    MacroEvent* event = m_group ? m_group->Event(index) : nullptr;
    if (!event) return DelayEdit::Ignored;
    if (!BeginsLikeDecimal(text)) return DelayEdit::Rejected;
    if (event->delay == text) return DelayEdit::Unchanged;
    event->delay = text;
    Save();
    return DelayEdit::Stored;
}

const char* MacroEventEditor::StateText(const std::string& state) {
    switch (ParseDecimal32(state)) {
        case 0: return "key down";
        case 1: return "key up";
        default: return "replace";
    }
}
