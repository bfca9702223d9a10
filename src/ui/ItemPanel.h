#pragma once
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class ItemTemplate;

// One row of a template list view: the widgets built from the list's item template, and the row's
// user value (what the adapter stored on it, typically the index of the record it shows).
class ItemPanel {
public:
    explicit ItemPanel(const ItemTemplate& itemTemplate, QWidget* parent);
    ~ItemPanel();
    ItemPanel(const ItemPanel&) = delete;
    ItemPanel& operator=(const ItemPanel&) = delete;

    bool HasChildren() const { return root_ != nullptr; }
    // Builds the template's widgets for this row; does nothing when they exist.
    void CreateChildren();
    // The built template's top widget (nullptr before CreateChildren).
    QWidget* root() const { return root_; }

    // A widget of this row by name, accepted only when it is of the class (a layout class name,
    // as in the window lookups); nullptr otherwise.
    QWidget* FindChild(const QString& name, const char* className = "window") const;
    const QList<QPointer<QWidget>>& widgets() const { return widgets_; }

    int userValue() const { return userValue_; }
    // Also readable from any widget of the row (UserValueOf), so that a handler can tell which
    // row its sender belongs to.
    void SetUserValue(int value);
    static int UserValueOf(const QObject* widget, int none = -1);

private:
    const ItemTemplate& template_;
    QPointer<QWidget> parent_;
    QPointer<QWidget> root_;
    QList<QPointer<QWidget>> widgets_;
    int userValue_ = -1;
};
