#include "ui/TemplateListView.h"

#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "ui/UiLoader.h"
#include "ui/UiResources.h"
#include "ui/WidgetTree.h"

namespace {

const char* kLayout = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="window">
  <widget class="QWidget" name="templates">
   <widget class="QWidget" name="row_item">
    <layout class="QHBoxLayout" name="l1"><item><widget class="QLineEdit" name="row_edit"/></item></layout>
   </widget>
   <widget class="QWidget" name="mc_item">
    <layout class="QHBoxLayout" name="l2">
     <item><widget class="QWidget" name="col1"><layout class="QHBoxLayout" name="c1"><item><widget class="QLabel" name="cell_a"/></item></layout></widget></item>
     <item><widget class="QWidget" name="col2"><layout class="QHBoxLayout" name="c2"><item><widget class="editex" name="cell_b"/></item></layout></widget></item>
    </layout>
   </widget>
  </widget>
 </widget>
</ui>)";

ItemTemplate::Builder Builder() {
    if (!UiLoader::IsRegistered("editex")) UiLoader::RegisterToolkitClasses();
    return [](const QByteArray& layout, QWidget* parent) {
        static UiResources none;
        UiLoader loader(none);
        QByteArray copy = layout;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        return loader.load(&buffer, parent);
    };
}

struct RowsAdapter : ListAdapterBase {
    int count = 0;
    int built = 0;
    int GetCount() override { return count; }
    void GetView(int position, ItemPanel& item) override {
        if (!item.HasChildren()) {
            item.CreateChildren();
            ++built;
        }
        item.SetUserValue(position);
        if (auto* edit = qobject_cast<QLineEdit*>(item.FindChild("row_edit", "edit"))) edit->setText(QString::number(position));
    }
};

struct ColumnsAdapter : McListAdapterBase {
    int GetCount() override { return 2; }
    void GetView(int position, ItemPanel& item) override {
        item.CreateChildren();
        if (auto* a = qobject_cast<QLabel*>(item.FindChild("cell_a", "text"))) a->setText(QString("a%1").arg(position));
    }
    QString GetColumnName(int column) const override { return QString("col%1").arg(column + 1); }
    bool OnSort(int column, SortMark* marks, int count) override {
        const SortMark next = marks[column] == SortMark::Up ? SortMark::Down : SortMark::Up;
        for (int i = 0; i < count; ++i) marks[i] = SortMark::None;
        marks[column] = next;
        return true;
    }
};

TEST(TemplateListView, BuildsOnlyNewRowsAndKeepsTheSelection) {
    QListView view;
    view.resize(200, 300);
    view.show();
    auto* list = new TemplateListView(&view, ItemTemplate::FromLayout(kLayout, "row_item", Builder()));
    auto adapter = std::make_shared<RowsAdapter>();
    adapter->count = 3;
    list->SetAdapter(adapter);
    EXPECT_EQ(adapter->built, 3);
    ASSERT_EQ(list->RowCount(), 3);
    EXPECT_EQ(qobject_cast<QLineEdit*>(list->Row(2)->FindChild("row_edit", "edit"))->text(), "2");
    EXPECT_EQ(view.indexWidget(view.model()->index(1, 0)), list->Row(1)->root());

    list->SetSelectedRow(1);
    EXPECT_EQ(list->SelectedRow(), 1);
    list->SetSelectedRow(7);  // outside: ignored
    EXPECT_EQ(list->SelectedRow(), 1);

    adapter->count = 5;
    adapter->NotifyDataSetChanged();
    EXPECT_EQ(adapter->built, 5);
    EXPECT_EQ(list->SelectedRow(), 1);

    adapter->count = 1;
    adapter->NotifyDataSetChanged();
    EXPECT_EQ(list->RowCount(), 1);
    EXPECT_EQ(list->SelectedRow(), -1);  // the selected row went away
    list->SetSelectedRow(0);
    list->SetSelectedRow(-1);
    EXPECT_EQ(list->SelectedRow(), -1);
}

TEST(TemplateListView, AClickIntoAnEditInsideARowSelectsAndReportsTheRow) {
    QListView view;
    view.resize(200, 300);
    view.show();
    auto* list = new TemplateListView(&view, ItemTemplate::FromLayout(kLayout, "row_item", Builder()));
    auto adapter = std::make_shared<RowsAdapter>();
    adapter->count = 3;
    list->SetAdapter(adapter);
    int clicked = -1;
    QObject::connect(&view, &QAbstractItemView::clicked, [&](const QModelIndex& i) { clicked = i.row(); });
    QWidget* edit = list->Row(2)->FindChild("row_edit", "edit");
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_EQ(list->SelectedRow(), 2);
    EXPECT_EQ(clicked, 2);
    EXPECT_EQ(ItemPanel::UserValueOf(edit), 2);
}

TEST(TemplateListView, ColumnsTakeTheirChildrenAndSortMarksNeverReorder) {
    QTreeView view;
    view.setProperty("headers", "First;Second");
    view.resize(300, 200);
    view.show();
    auto* list = new TemplateListView(&view, ItemTemplate::FromLayout(kLayout, "mc_item", Builder()));
    list->SetAdapter(std::make_shared<ColumnsAdapter>());
    ASSERT_EQ(view.model()->columnCount(), 2);
    EXPECT_EQ(view.model()->headerData(1, Qt::Horizontal).toString(), "Second");
    QWidget* b = view.indexWidget(view.model()->index(1, 1));
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(WidgetTree::IsClass(b->findChild<QWidget*>("cell_b"), "editex"));

    using M = McListAdapterBase::SortMark;
    emit view.header()->sectionClicked(1);
    EXPECT_EQ(list->sortMarks(), (std::vector<M>{M::None, M::Up}));
    EXPECT_EQ(view.header()->sortIndicatorSection(), 1);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::AscendingOrder);
    emit view.header()->sectionClicked(1);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    emit view.header()->sectionClicked(0);
    EXPECT_EQ(list->sortMarks(), (std::vector<M>{M::Up, M::None}));
    EXPECT_EQ(qobject_cast<QLabel*>(list->Row(0)->FindChild("cell_a", "text"))->text(), "a0");
}

TEST(ItemTemplate, MissingWidgetGivesAnInvalidTemplate) {
    EXPECT_FALSE(ItemTemplate::FromLayout(kLayout, "nothing", Builder()).IsValid());
    EXPECT_FALSE(ItemTemplate::FromLayout("not xml", "row_item", Builder()).IsValid());
}

}  // namespace
