#pragma once
#include <QAbstractItemView>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "ui/ItemPanel.h"
#include "ui/ItemTemplate.h"
#include "ui/ListAdapterBase.h"
#include "ui/McListAdapterBase.h"

class RowModel;

// Drives a list view of a layout (a QListView, or a QTreeView for several columns) with an adapter
// whose rows are built from an item template. Rows are kept and refilled when the adapter reports
// a change; only rows past the old end are built, and rows past the new end are dropped.
//
// For several columns the adapter is a McListAdapterBase: each row's child named after a column
// goes into that column's cell; the header shows the view's "headers" property (texts separated
// by ";", translated) and the adapter's sort marks, and never reorders the rows.
//
// A click on a row, also on an edit inside it, selects the row and reports it as the view's
// clicked signal (which the window's event hub turns into a command event).
class TemplateListView : public QObject {
    Q_OBJECT
public:
    TemplateListView(QAbstractItemView* view, ItemTemplate itemTemplate);
    ~TemplateListView() override;

    // The controller attached to a view, or nullptr.
    static TemplateListView* Of(const QAbstractItemView* view);

    void SetAdapter(std::shared_ptr<ListAdapterBase> adapter);
    ListAdapterBase* adapter() const { return adapter_.get(); }
    QAbstractItemView* view() const { return view_; }

    // Called for every row whose widgets were just built, before the adapter fills it again.
    void SetRowBuiltHandler(std::function<void(ItemPanel&)> handler) { rowBuilt_ = std::move(handler); }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    ItemPanel* Row(int row) const;
    // The selected row, -1 when none.
    int SelectedRow() const;
    // Selects a row without any notification; a row outside the list is ignored, -1 clears.
    void SetSelectedRow(int row);

    // Rebuilds after an adapter change (the adapter's observer).
    void Refresh();

    std::vector<McListAdapterBase::SortMark> sortMarks() const { return marks_; }
    // The header shows its texts in the current language.
    void RetranslateHeader();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceRow(int row);
    void OnHeaderClicked(int column);
    void ShowMarks();
    int ColumnCount() const;

    QPointer<QAbstractItemView> view_;
    ItemTemplate template_;
    std::shared_ptr<ListAdapterBase> adapter_;
    int observerId_ = 0;
    RowModel* model_;
    std::vector<std::unique_ptr<ItemPanel>> rows_;
    std::vector<bool> placed_;
    std::vector<McListAdapterBase::SortMark> marks_;
    std::function<void(ItemPanel&)> rowBuilt_;
};
