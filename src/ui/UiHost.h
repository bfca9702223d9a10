#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/UiEventHub.h"
#include "ui/WidgetTree.h"

class QWidget;
class UiResources;

// What a window built from a layout has: the layout's widgets filling the window, the event hub
// that reports their events, and lookups by name or id. UiHostWindow and UiHostDialog are the two
// kinds of window made of it.
//
// Widgets of the layout with the property caption=true move the window when dragged, as a title
// bar does; the windows are frameless and draw their own.
class UiHost : public QObject {
    Q_OBJECT
public:
    explicit UiHost(QWidget* window);

    // Builds LAYOUT:layoutName into the window; its events go to `hook` (after the widgets' own
    // subscriptions). The window takes the layout's size and title.
    bool Load(const UiResources& resources, const QString& layoutName, UiEventHub::Handler hook,
              QString* error = nullptr);

    QWidget* root() const { return root_; }
    UiEventHub& hub() { return hub_; }

    QWidget* FindByName(const QString& name, const char* className = "window") const {
        return WidgetTree::FindByName(window_, name, className);
    }
    QWidget* FindById(int id, const char* className = "window") const {
        return WidgetTree::FindById(window_, id, className);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPointer<QWidget> root_;
    UiEventHub hub_;
    QPoint dragOffset_;
    bool dragging_ = false;
};
