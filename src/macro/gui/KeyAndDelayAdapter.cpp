#include "macro/gui/KeyAndDelayAdapter.h"

#include <QLabel>
#include <QLineEdit>

#include "ui/ItemPanel.h"
#include "ui/TemplateListView.h"
#include "ui/UiEventHub.h"
#include "ui/UiLanguage.h"

namespace {

void SetLabel(const ItemPanel& item, const char* name, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(item.FindChild(name, "text"))) label->setText(text);
}

}  // namespace

void KeyAndDelayAdapter::Attach(TemplateListView& list, std::shared_ptr<KeyAndDelayAdapter> adapter) {
    std::weak_ptr<KeyAndDelayAdapter> weak = adapter;
    if (UiEventHub* hub = UiEventHub::HubOf(list.view())) {
        list.SetRowBuiltHandler([hub, weak](ItemPanel& row) {
            for (const QPointer<QWidget>& w : row.widgets())
                if (w) hub->Attach(w);
            if (QWidget* delay = row.FindChild("key_delay", "editex"))
                hub->Subscribe(delay, EventRENotify, [weak](UiEvent& e) {
                    const auto self = weak.lock();
                    return self && self->OnDelayEdited(e);
                });
        });
    }
    list.SetAdapter(std::move(adapter));
}

void KeyAndDelayAdapter::GetView(int position, ItemPanel& item) {
    item.CreateChildren();
    const MacroGroup* group = editor_.currentGroup();
    const MacroEvent* event = group ? group->Event(position) : nullptr;
    if (!event) return;
    SetLabel(item, "key_code", UiLanguage::Tr(event->code.c_str()));
    SetLabel(item, "key_name", QString::fromStdString(event->name));
    SetLabel(item, "key_state", UiLanguage::Tr(MacroEventEditor::StateText(event->state)));
    item.SetUserValue(position);
    if (auto* delay = qobject_cast<QLineEdit*>(item.FindChild("key_delay", "editex"))) {
        const QString text = UiLanguage::Tr(event->delay.c_str());
        if (delay->text() != text) delay->setText(text);
    }
}

QString KeyAndDelayAdapter::GetColumnName(int column) const { return QStringLiteral("col%1").arg(column + 1); }

bool KeyAndDelayAdapter::OnSort(int column, SortMark* marks, int count) {
    if (column == 5) return false;
    if (column < 0 || column >= count) return false;
    SortMark next = marks[column];
    if (next == SortMark::None || next == SortMark::Down) next = SortMark::Up;
    else if (next == SortMark::Up) next = SortMark::Down;
    for (int i = 0; i < count; ++i) marks[i] = SortMark::None;
    marks[column] = next;
    return true;
}

void KeyAndDelayAdapter::ShowGroup(MacroGroup* group) {
    editor_.ShowGroup(group);
    NotifyDataSetChanged();
}

void KeyAndDelayAdapter::Changed() {
    if (editor_.currentGroup()) NotifyDataSetChanged();
}

int KeyAndDelayAdapter::OnUpButton(int selectedRow) {
    const int next = editor_.UpButton(selectedRow);
    Changed();
    return next;
}

int KeyAndDelayAdapter::OnDownButton(int selectedRow) {
    const int next = editor_.DownButton(selectedRow);
    Changed();
    return next;
}

void KeyAndDelayAdapter::OnDeleteButton(int selectedRow) {
    editor_.RemoveEvent(selectedRow);
    Changed();
}

void KeyAndDelayAdapter::OnClearButton() {
    editor_.Clear();
    Changed();
}

bool KeyAndDelayAdapter::OnDelayEdited(UiEvent& event) {
    auto* edit = qobject_cast<QLineEdit*>(event.sender.data());
    if (!edit) return false;
    const int index = ItemPanel::UserValueOf(edit);
    if (editor_.EditDelay(index, edit->text().toStdString()) == MacroEventEditor::DelayEdit::Rejected) {
        const MacroEvent* stored = editor_.currentGroup()->Event(index);
        edit->setText(QString::fromStdString(stored->delay));
    }
    if (edited_) edited_();
    return true;
}
