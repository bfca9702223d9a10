#include "macro/gui/CMacroGroupAdapter.h"

#include <QLineEdit>

#include "ui/ItemPanel.h"
#include "ui/TemplateListView.h"
#include "ui/UiEventHub.h"

CMacroGroupAdapter::CMacroGroupAdapter(MacroLibrary& library, IOnMacroGroupClickedListener* listener)
    : library_(library), listener_(listener), editor_(library) {}

void CMacroGroupAdapter::Attach(TemplateListView& list, std::shared_ptr<CMacroGroupAdapter> adapter) {
    // The subscriptions outlive a replaced adapter; they then do nothing.
    std::weak_ptr<CMacroGroupAdapter> weak = adapter;
    if (UiEventHub* hub = UiEventHub::HubOf(list.view())) {
        TemplateListView* listPtr = &list;
        hub->Subscribe(list.view(), EventCmd, [weak, listPtr](UiEvent& e) {
            const auto self = weak.lock();
            return self && self->OnRowClick(*listPtr, e);
        });
        list.SetRowBuiltHandler([hub, weak](ItemPanel& row) {
            hub->Attach(row.root());
            if (QWidget* name = row.FindChild("group_name", "edit"))
                hub->Subscribe(name, EventRENotify, [weak](UiEvent& e) {
                    const auto self = weak.lock();
                    return self && self->OnRename(e);
                });
        });
    }
    list.SetAdapter(std::move(adapter));
}

int CMacroGroupAdapter::GetCount() { return library_.GroupCount(); }

void CMacroGroupAdapter::GetView(int position, ItemPanel& item) {
    item.CreateChildren();
    item.SetUserValue(position);
    auto* name = qobject_cast<QLineEdit*>(item.FindChild("group_name", "edit"));
    const MacroGroup* group = library_.Group(position);
    if (name && group) {
        const QString text = QString::fromStdString(group->name);
        // Rewriting an unchanged name would throw away the cursor of someone typing in it.
        if (name->text() != text) name->setText(text);
    }
}

bool CMacroGroupAdapter::OnRename(UiEvent& event) {
    auto* edit = qobject_cast<QLineEdit*>(event.sender.data());
    if (!edit) return false;
    editor_.Rename(ItemPanel::UserValueOf(edit), edit->text().toStdString());
    if (edited_) edited_();
    return true;
}

bool CMacroGroupAdapter::OnRowClick(const TemplateListView& list, UiEvent& event) {
    const ItemPanel* row = list.Row(event.value);
    const int index = row ? row->userValue() : -1;
    const MacroGroup* group = library_.Group(index);
    if (group && listener_) listener_->OnMacroGroupClicked(index, group->name);
    return true;
}

void CMacroGroupAdapter::AddNamedGroup(const std::string& name) {
    if (editor_.AddNamedGroup(name)) NotifyDataSetChanged();
}

void CMacroGroupAdapter::AddDefaultGroup() {
    editor_.AddDefaultGroup();
    NotifyDataSetChanged();
}

void CMacroGroupAdapter::RemoveGroup(int index) {
    editor_.RemoveGroup(index);
    NotifyDataSetChanged();
}

int CMacroGroupAdapter::OnAddButton(int selectedRow) {
    const int next = editor_.AddButton(selectedRow);
    NotifyDataSetChanged();
    return next;
}

int CMacroGroupAdapter::OnDeleteButton(int selectedRow) {
    const int next = editor_.DeleteButton(selectedRow);
    NotifyDataSetChanged();
    return next;
}
