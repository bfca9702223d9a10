#include "ui/UiHost.h"

#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include "ui/UiLoader.h"
#include "ui/UiResources.h"

UiHost::UiHost(QWidget* window) : QObject(window), window_(window), hub_(this) {}

bool UiHost::Load(const UiResources& resources, const QString& layoutName, UiEventHub::Handler hook, QString* error) {
    UiLoader loader(resources);
    QWidget* root = loader.LoadLayout(layoutName, window_, error);
    if (!root) return false;
    root_ = root;
    if (!window_->layout()) {
        auto* box = new QVBoxLayout(window_);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
    }
    window_->layout()->addWidget(root);
    if (!root->windowTitle().isEmpty()) window_->setWindowTitle(root->windowTitle());
    window_->resize(root->size());

    hub_.SetHook(std::move(hook));
    hub_.Attach(window_);
    for (QWidget* w : window_->findChildren<QWidget*>())
        if (w->property("caption").toBool()) w->installEventFilter(this);
    return true;
}

bool UiHost::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton) break;
        // The window manager moves the window where it can (X11, Wayland); elsewhere we do.
        if (window_->windowHandle() && window_->windowHandle()->startSystemMove()) return true;
        dragging_ = true;
        dragOffset_ = me->globalPosition().toPoint() - window_->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (dragging_) {
            window_->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
