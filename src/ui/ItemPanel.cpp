#include "ui/ItemPanel.h"

#include <QVariant>

#include "ui/ItemTemplate.h"
#include "ui/WidgetTree.h"

namespace {
constexpr const char* kUserValueProperty = "kbd_row_value";
}

ItemPanel::ItemPanel(const ItemTemplate& itemTemplate, QWidget* parent) : template_(itemTemplate), parent_(parent) {}

ItemPanel::~ItemPanel() {
    // Widgets handed to cells of a view belong to the view now; the rest go with the row.
    delete root_.data();
}

void ItemPanel::CreateChildren() {
    if (root_) return;
    root_ = template_.Create(parent_);
    if (!root_) return;
    widgets_.clear();
    widgets_.append(root_.data());
    for (QWidget* w : root_->findChildren<QWidget*>()) widgets_.append(w);
    SetUserValue(userValue_);
}

QWidget* ItemPanel::FindChild(const QString& name, const char* className) const {
    for (const QPointer<QWidget>& w : widgets_) {
        if (w && w->objectName() == name) return WidgetTree::IsClass(w, className) ? w.data() : nullptr;
    }
    return nullptr;
}

void ItemPanel::SetUserValue(int value) {
    userValue_ = value;
    for (const QPointer<QWidget>& w : widgets_)
        if (w) w->setProperty(kUserValueProperty, value);
}

int ItemPanel::UserValueOf(const QObject* widget, int none) {
    if (!widget) return none;
    const QVariant v = widget->property(kUserValueProperty);
    return v.isValid() ? v.toInt() : none;
}
