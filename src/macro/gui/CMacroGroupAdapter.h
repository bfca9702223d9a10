#pragma once
#include <QString>
#include <functional>

#include "macro/IOnMacroGroupClickedListener.h"
#include "macro/MacroGroupEditor.h"
#include "macro/MacroLibrary.h"
#include "ui/ListAdapterBase.h"
#include "ui/UiEvent.h"

class TemplateListView;

// The rows of the macro group list (macro_group): one per group of the library, each with an edit
// box group_name holding the group's name. Typing in the box renames the group and saves at once
// (without rebuilding the list); a click on a row tells the click listener. The group buttons'
// operations save the library and rebuild the rows.
class CMacroGroupAdapter : public ListAdapterBase {
public:
    // Neither the library nor the listener is owned; both must outlive the adapter.
    CMacroGroupAdapter(MacroLibrary& library, IOnMacroGroupClickedListener* listener);

    // Hands the adapter to the list and subscribes to its row clicks. The list's window must have
    // an event hub.
    static void Attach(TemplateListView& list, std::shared_ptr<CMacroGroupAdapter> adapter);

    int GetCount() override;
    void GetView(int position, ItemPanel& item) override;

    // Empty names add nothing at all.
    void AddNamedGroup(const std::string& name);
    void AddDefaultGroup();
    // -1 removes the last group.
    void RemoveGroup(int index);

    // The groupAdd and groupDel buttons with the list's selected row: the row to select afterwards
    // (without notification), which the dialog then shows.
    int OnAddButton(int selectedRow);
    int OnDeleteButton(int selectedRow);

    MacroGroupEditor& editor() { return editor_; }

    // Called after an edit typed into a row (a rename, a delay) was handled.
    void SetEditedHandler(std::function<void()> handler) { edited_ = std::move(handler); }

private:
    bool OnRename(UiEvent& event);
    bool OnRowClick(const TemplateListView& list, UiEvent& event);

    MacroLibrary& library_;
    IOnMacroGroupClickedListener* listener_;
    MacroGroupEditor editor_;
    std::function<void()> edited_;
};
