#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

// The rows of a list view are built from an item template: a widget of the window's layout whose
// XML is kept and built anew for every row.
class ItemTemplate {
public:
    // Builds the widgets of a layout document (a Qt Designer .ui) under parent.
    using Builder = std::function<QWidget*(const QByteArray& layout, QWidget* parent)>;

    ItemTemplate() = default;
    ItemTemplate(QByteArray layout, Builder builder) : layout_(std::move(layout)), builder_(std::move(builder)) {}

    // The widget named `name` of the layout document `layout`, with the layout's custom widget
    // declarations, as a layout of its own. Invalid when the document has no such widget.
    static ItemTemplate FromLayout(const QByteArray& layout, const QString& name, Builder builder);

    bool IsValid() const { return !layout_.isEmpty() && builder_; }
    const QByteArray& layout() const { return layout_; }
    // A fresh copy of the template under parent; nullptr when invalid or when building failed.
    QWidget* Create(QWidget* parent) const;

private:
    QByteArray layout_;
    Builder builder_;
};
