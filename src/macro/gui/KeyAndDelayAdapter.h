#pragma once
#include <functional>
#include <memory>

#include "macro/MacroEventEditor.h"
#include "macro/MacroLibrary.h"
#include "ui/McListAdapterBase.h"
#include "ui/UiEvent.h"

class TemplateListView;

// The rows of the key-and-delay list (key_info): the events of the shown group with key code,
// key name, press or release and the delay after each, the delay editable in place. Every change
// of the events goes through here (or through editor(), followed by NotifyDataSetChanged) and is
// saved at once. Without a shown group every operation does nothing.
class KeyAndDelayAdapter : public McListAdapterBase {
public:
    explicit KeyAndDelayAdapter(MacroLibrary& library) : editor_(library) {}

    // Hands the adapter to the list; the list's window must have an event hub.
    static void Attach(TemplateListView& list, std::shared_ptr<KeyAndDelayAdapter> adapter);

    int GetCount() override { return editor_.EventCount(); }
    void GetView(int position, ItemPanel& item) override;
    // "col1" … "col4".
    QString GetColumnName(int column) const override;
    // Moves the up mark and the down mark between the columns; the rows keep their order.
    bool OnSort(int column, SortMark* marks, int count) override;

    // The group shown (nullptr for none). It points into the library: show it again, or none,
    // after any change to the set of groups.
    void ShowGroup(MacroGroup* group);
    MacroGroup* currentGroup() const { return editor_.currentGroup(); }

    // The item_up, item_down, item_delete and item_clear buttons with the list's selected row
    // (-1 for none): the row to select afterwards, without notification.
    int OnUpButton(int selectedRow);
    int OnDownButton(int selectedRow);
    void OnDeleteButton(int selectedRow);
    void OnClearButton();

    MacroEventEditor& editor() { return editor_; }

    // Called after an edit typed into a row (a rename, a delay) was handled.
    void SetEditedHandler(std::function<void()> handler) { edited_ = std::move(handler); }

private:
    bool OnDelayEdited(UiEvent& event);
    // Rebuilds the rows after a change of the shown group.
    void Changed();

    MacroEventEditor editor_;
    std::function<void()> edited_;
};
