#pragma once
#include "ui/ListAdapterBase.h"

// The data behind a multi-column template list view. A row's template holds one child per column,
// named as GetColumnName answers for that column; the view puts each into its column.
class McListAdapterBase : public ListAdapterBase {
public:
    enum class SortMark { None, Up, Down };

    virtual QString GetColumnName(int column) const = 0;
    // A click on a column header. marks holds the mark of every column (count of them) and may be
    // changed; true shows the new marks in the header, false keeps the old ones.
    virtual bool OnSort(int column, SortMark* marks, int count) = 0;
};
