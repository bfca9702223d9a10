#include "ui/TemplateListView.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeView>
#include <QVariant>

namespace {
constexpr const char* kControllerProperty = "kbd_template_list";
}

// Rows without data of their own: the row widgets show everything.
class RowModel : public QAbstractTableModel {
public:
    explicit RowModel(TemplateListView* owner) : QAbstractTableModel(owner), owner_(owner) {}

    int rows = 0;
    int columns = 1;
    int rowHeight = 0;
    QStringList headers;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : columns; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::SizeHintRole && index.isValid() && rowHeight > 0) return QSize(0, rowHeight);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= headers.size()) return {};
        return QCoreApplication::translate("macro", headers[section].toUtf8().constData());
    }
    void Insert(int from, int to) {
        beginInsertRows({}, from, to);
        rows = to + 1;
        endInsertRows();
    }
    void Remove(int from, int to) {
        beginRemoveRows({}, from, to);
        rows = from;
        endRemoveRows();
    }
    void HeadersChanged() { emit headerDataChanged(Qt::Horizontal, 0, columns - 1); }

private:
    TemplateListView* owner_;
};

TemplateListView::TemplateListView(QAbstractItemView* view, ItemTemplate itemTemplate)
    : QObject(view), view_(view), template_(std::move(itemTemplate)), model_(new RowModel(this)) {
    view->setProperty(kControllerProperty, QVariant::fromValue<QObject*>(this));
    const QString headers = view->property("headers").toString();
    if (!headers.isEmpty()) model_->headers = headers.split(';');
    model_->columns = std::max<int>(1, model_->headers.size());
    marks_.assign(static_cast<size_t>(model_->columns), McListAdapterBase::SortMark::None);
    view->setModel(model_);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        tree->setRootIsDecorated(false);
        tree->setItemsExpandable(false);
        tree->setSortingEnabled(false);
        QHeaderView* header = tree->header();
        header->setSectionsClickable(true);
        header->setSortIndicatorShown(true);
        header->setSortIndicator(-1, Qt::AscendingOrder);
        header->setStretchLastSection(true);
        connect(header, &QHeaderView::sectionClicked, this, &TemplateListView::OnHeaderClicked);
    }
}

TemplateListView::~TemplateListView() {
    if (adapter_) adapter_->RemoveObserver(observerId_);
}

TemplateListView* TemplateListView::Of(const QAbstractItemView* view) {
    return view ? qobject_cast<TemplateListView*>(view->property(kControllerProperty).value<QObject*>()) : nullptr;
}

void TemplateListView::SetAdapter(std::shared_ptr<ListAdapterBase> adapter) {
    if (adapter_) adapter_->RemoveObserver(observerId_);
    adapter_ = std::move(adapter);
    if (adapter_) observerId_ = adapter_->AddObserver([this] { Refresh(); });
    Refresh();
}

int TemplateListView::ColumnCount() const { return model_->columns; }

ItemPanel* TemplateListView::Row(int row) const {
    return row >= 0 && row < RowCount() ? rows_[static_cast<size_t>(row)].get() : nullptr;
}

int TemplateListView::SelectedRow() const {
    if (!view_ || !view_->selectionModel()) return -1;
    const QModelIndexList selected = view_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TemplateListView::SetSelectedRow(int row) {
    if (!view_ || !view_->selectionModel()) return;
    if (row == -1) {
        view_->selectionModel()->clearSelection();
        return;
    }
    if (row < 0 || row >= RowCount()) return;
    const QModelIndex index = model_->index(row, 0);
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TemplateListView::Refresh() {
    if (!view_) return;
    const int count = adapter_ ? std::max(0, adapter_->GetCount()) : 0;
    const int old = RowCount();
    if (count > old) {
        for (int i = old; i < count; ++i) rows_.push_back(std::make_unique<ItemPanel>(template_, view_->viewport()));
        placed_.resize(static_cast<size_t>(count), false);
        model_->Insert(old, count - 1);
    } else if (count < old) {
        // A selection on a row that went away is gone; Qt would move it to a neighbour.
        const int selected = SelectedRow();
        // The view lets go of the cells of removed rows itself.
        model_->Remove(count, old - 1);
        rows_.resize(static_cast<size_t>(count));
        placed_.resize(static_cast<size_t>(count));
        if (selected >= count) view_->selectionModel()->clear();
        else SetSelectedRow(selected);
    }
    for (int i = 0; i < count; ++i) {
        ItemPanel& panel = *rows_[static_cast<size_t>(i)];
        const bool hadChildren = panel.HasChildren();
        adapter_->GetView(i, panel);
        if (!hadChildren && panel.HasChildren() && rowBuilt_) rowBuilt_(panel);
        if (!placed_[static_cast<size_t>(i)] && panel.HasChildren()) PlaceRow(i);
    }
}

void TemplateListView::PlaceRow(int row) {
    ItemPanel& panel = *rows_[static_cast<size_t>(row)];
    placed_[static_cast<size_t>(row)] = true;
    QWidget* root = panel.root();
    if (model_->rowHeight == 0) {
        model_->rowHeight = root->sizeHint().height();
        if (model_->rowHeight > 0) emit model_->layoutChanged();
    }
    for (const QPointer<QWidget>& w : panel.widgets()) {
        if (w && w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
    }
    auto* mc = dynamic_cast<McListAdapterBase*>(adapter_.get());
    if (!mc) {
        view_->setIndexWidget(model_->index(row, 0), root);
        return;
    }
    for (int c = 0; c < ColumnCount(); ++c) {
        if (QWidget* cell = panel.FindChild(mc->GetColumnName(c))) {
            view_->setIndexWidget(model_->index(row, c), cell);
            if (auto* tree = qobject_cast<QTreeView*>(view_.data()); tree && row == 0 && c + 1 < ColumnCount())
                tree->header()->resizeSection(c, std::max(cell->minimumWidth(), cell->sizeHint().width()));
        }
    }
    root->hide();
}

bool TemplateListView::eventFilter(QObject* watched, QEvent* event) {
    // An edit inside a row takes the mouse itself; the row is still the one clicked.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && view_) {
            for (int i = 0; i < RowCount(); ++i) {
                if (!rows_[static_cast<size_t>(i)]->widgets().contains(qobject_cast<QWidget*>(watched))) continue;
                if (event->type() == QEvent::MouseButtonPress) SetSelectedRow(i);
                else emit view_->clicked(model_->index(i, 0));
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void TemplateListView::RetranslateHeader() { model_->HeadersChanged(); }

void TemplateListView::OnHeaderClicked(int column) {
    auto* mc = dynamic_cast<McListAdapterBase*>(adapter_.get());
    std::vector<McListAdapterBase::SortMark> marks = marks_;
    if (mc && mc->OnSort(column, marks.data(), static_cast<int>(marks.size()))) marks_ = marks;
    ShowMarks();
}

void TemplateListView::ShowMarks() {
    auto* tree = qobject_cast<QTreeView*>(view_.data());
    if (!tree) return;
    for (size_t c = 0; c < marks_.size(); ++c) {
        if (marks_[c] == McListAdapterBase::SortMark::None) continue;
        tree->header()->setSortIndicator(static_cast<int>(c), marks_[c] == McListAdapterBase::SortMark::Up
                                                                   ? Qt::AscendingOrder
                                                                   : Qt::DescendingOrder);
        return;
    }
    tree->header()->setSortIndicator(-1, Qt::AscendingOrder);
}
